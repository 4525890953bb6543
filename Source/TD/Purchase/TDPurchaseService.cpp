#include "Source/TD/Purchase/TDPurchaseService.h"

#include "Source/TD/Data/LocalStrings.h"

TDPurchaseService::TDPurchaseService()
{
    static const wchar_t* const kPackPrices[kGemPackCount] = {L"$0.99", L"$2.99", L"$4.99", L"$9.99",
                                                              L"$19.99"};
    for (int i = 0; i < kGemPackCount; ++i)
        mCatalogue.push_back({gemPackProductIds[i].productId, kPackPrices[i], false});
    mCatalogue.push_back({kHealthProductId, L"$0.99", false});
}

const TDProduct* TDPurchaseService::findProduct(const std::wstring& id) const
{
    for (const TDProduct& product : mCatalogue)
    {
        if (product.id == id)
            return &product;
    }
    return nullptr;
}

bool TDPurchaseService::purchase(const std::wstring& id)
{
    if (mPending)
        return false;
    for (TDProduct& product : mCatalogue)
    {
        if (product.id == id)
        {
            mPending = &product;
            product.pending = true;
            mElapsed = 0.0f;
            mUpdates = 0;
            return true;
        }
    }
    return false;
}

void TDPurchaseService::update(float dt)
{
    if (!mPending)
        return;
    mElapsed += dt;
    ++mUpdates;
    // A request made during this frame's input sees this frame's update first: the answer waits for the
    // next frame's.
    if (mUpdates < 2)
        return;
    if (mOutcome != TDPurchaseOutcome::NoAnswer && mElapsed >= mAnswerDelay)
    {
        if (mOutcome == TDPurchaseOutcome::Success)
            answer(TPurchaseResult::PurchaseSuccess, std::wstring());
        else
            answer(TPurchaseResult::PurchaseFail, LocalStrings::Instance()->get(L"purchase_failed"));
        return;
    }
    if (mElapsed >= mTimeout)
        answer(TPurchaseResult::PurchaseFail, LocalStrings::Instance()->get(L"purchase_timeout"));
}

void TDPurchaseService::answer(int type, const std::wstring& text)
{
    TPurchaseResult result;
    result.type = type;
    result.productId = mPending->id;
    result.text = text;
    // The request is over before the listener hears of it, so that it may ask for the next one.
    mPending->pending = false;
    mPending = nullptr;
    if (mListener)
        mListener->Invoke(result);
}
