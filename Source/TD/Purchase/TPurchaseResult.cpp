#include "Source/TD/Purchase/TPurchaseResult.h"

#include "Core/Base/TextFormat.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"

const TDGemPack gemPackProductIds[kGemPackCount] = {
    {L"buy_50_cr", 100},   {L"buy_150_cr", 335},   {L"buy_300_cr", 575},
    {L"buy_500_cr", 1200}, {L"buy_1000_cr", 3125},
};

int gemsForProduct(const std::wstring& productId)
{
    for (const TDGemPack& pack : gemPackProductIds)
    {
        if (productId == pack.productId)
            return pack.gems;
    }
    return 0;
}

void handlePurchaseResult(const TPurchaseResult& result, TDEconomy& economy, TDPurchaseHooks* hooks)
{
    const bool success =
        result.type == TPurchaseResult::PurchaseSuccess || result.type == TPurchaseResult::RestoreSuccess;
    const int gems = gemsForProduct(result.productId);
    if (success && gems > 0)
        economy.addGems(gems);

    if (result.productId != kHealthProductId || !hooks)
        return;
    if (result.type == TPurchaseResult::PurchaseSuccess)
    {
        hooks->onHealthRefilled();
        return;
    }
    LocalStrings* strings = LocalStrings::Instance();
    const std::wstring caption = strings->get(L"buyHealthDialogTitle");
    base::TextFormat message(strings->get(L"buyHealthDialogText"));
    message % result.text;
    message.Finish();
    hooks->onHealthPurchaseFailed(caption, message.GetResult());
}
