// The lives refill: the release table's rows of its offer (the dialog shown after a refill purchase failed)
// and what a result of the refill purchase does.
#include "Source/TD/Map/TDMap.h"

#include "Core/Base/Log.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Purchase/TDPurchaseService.h"

bool TDMap::releaseInRefill(const std::wstring& c, int, int)
{
    if (c == L"ok")
    {
        mHud->closeTopWindow();
        mHud->mFadeState = 0;
        mState = kStateRefillWait;
        // A purchase the service does not take would leave the game waiting for an answer that never comes:
        // it counts as failed, and the offer comes again.
        if (!mPurchaseService->purchase(kHealthProductId))
            handlePurchaseResult({TPurchaseResult::PurchaseFail, kHealthProductId, L""}, *mEconomy, this);
    }
    else if (c == L"cancel")
    {
        mHud->closeTopWindow();
        mHud->mFadeState = 0;
        levelLost();
    }
    return false;
}

bool TDMap::onRefillPurchase(const TPurchaseResult& result)
{
    if (result.productId != kHealthProductId)
        return false;
    // The refill belongs to a level being played or lost: over a menu a success would start play without a
    // level, and a failure would put the offer over a screen that has no level behind it.
    if (mState != kStatePlaying && mState != kStateRefillOffer && mState != kStateRefillWait)
    {
        base::LogMessage(*base::MainLog::Instance(),
                         L"A lives refill result arrived in state %d, where no level waits for it; ignored.\n") %
            mState;
        return true;
    }
    handlePurchaseResult(result, *mEconomy, this);
    return true;
}
