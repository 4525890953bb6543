// What a finished purchase of a gem pack does.
#include "Source/TD/Map/TDMap.h"

#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/HUD/HUD.h"

bool TDMap::onGemShopPurchase(const TPurchaseResult& result)
{
    const int gems = gemsForProduct(result.productId);
    if (gems <= 0)
        return false;
    // Failures of a pack are silent: the player simply keeps the gems they had.
    if (result.type == TPurchaseResult::PurchaseSuccess || result.type == TPurchaseResult::RestoreSuccess)
        mEconomy->addGems(gems);
    mHud->refreshTopWindow();
    return true;
}
