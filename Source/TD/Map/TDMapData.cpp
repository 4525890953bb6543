// The map's data: the sheets, the episode table's questions, the player's profile and the purchases.
#include "Source/TD/Map/TDMap.h"

#include "Framework/GameApplication.h"
#include "Framework/GameWindow.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/TMessageBox.h"
#include "Source/TD/Map/TDGameSheets.h"
#include "Source/TD/Tutorial/TDTutorial.h"

void TDMap::loadSheets()
{
    if (!mProtoTable)
        mProtoTable = std::make_unique<TDProtoTable>();
    const TDSheetSettings settings = loadGameSheets(*mProtoTable, mEpisodes);
    mSellRatio = settings.sellRatio;
    mNewProfileGems = settings.newProfileGems;
    if (mProfile)
        mProfile->mStartingGems = settings.newProfileGems;
}

int TDMap::getEpisodeCount() const
{
    return mEpisodes.getEpisodeCount();
}

int TDMap::getLevelCount(int episode) const
{
    return mEpisodes.getLevelCount(episode);
}

int TDMap::getHardcoreLevelCount(int episode) const
{
    return mEpisodes.getHardcoreLevelCount(episode);
}

int TDMap::getStarsRequired(int episode) const
{
    return mEpisodes.getStarsRequired(episode);
}

int TDMap::getTotalLevelCount() const
{
    return mEpisodes.getTotalLevelCount();
}

bool TDMap::isEpisodeUnlocked(int episode) const
{
    return mEpisodes.isEpisodeUnlocked(episode, mProfile->getStars(-1));
}

bool TDMap::isHardcoreUnlocked(int episode) const
{
    return mEpisodes.isHardcoreUnlocked(episode, mProfile->getStars(episode));
}

void TDMap::onPurchaseResult(const TPurchaseResult& result)
{
    if (onGemShopPurchase(result) || onRefillPurchase(result))
        return;
    handlePurchaseResult(result, *mEconomy, this);
}

void TDMap::onProfileSelected(TDProfile& profile)
{
    mEconomy->mGems = profile.getGems();
    mHud->updateGemsText();
    mMode = profile.getMode();
    // A tutorial not made yet reads the profile when it is.
    if (base::Singletone<TDTutorial>::Exists())
        TDTutorial::Instance()->reloadState();
}

bool TDMap::isFullscreen() const
{
    const Game* game = Game::Get();
    if (!game)
        return false;
    return game->GetWindow() ? !game->GetWindow()->IsWindowed() : !game->IsWindowed();
}

void TDMap::switchScreenMode()
{
    if (Game* game = Game::Get())
        (void)game->SwitchScreenMode();
}

bool TDMap::onSaveFailed(const std::wstring& why)
{
    framework::GameApplication* app = framework::GetGameApplication();
    if (!app || !app->GetFrameManager())
        return false;
    return TamselDialog::openModal(new TMessageBox(L"save_failed", std::wstring(), why),
                                   app->GetFrameManager()) == VN_OK;
}

void TDMap::onHealthRefilled()
{
    mLives = mMaxLives;
    mState = kStatePlaying;
    mHud->mFadeState = 0;
    mHud->updateLivesText();
    mHud->resetSpells();
}

void TDMap::onHealthPurchaseFailed(const std::wstring& caption, const std::wstring& message)
{
    mHud->showModalDialog(caption, message, -1);
    mState = kStateRefillOffer;
}
