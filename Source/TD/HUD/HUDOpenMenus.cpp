// The HUD's openers of the splash, the main menu, the result window and the level name banner.
#include "Source/TD/Game.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDLevelResultWindow.h"
#include "Source/TD/HUD/Menus/HUDMainMenu.h"
#include "Source/TD/HUD/Menus/TDSplashScreens.h"
#include "Source/TD/HUD/Play/HUDLevelName.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"

#include "Core/Base/TextStream.h"

namespace
{
std::wstring decimal(int value)
{
    base::TextStream stream;
    stream.WriteInt(value);
    return stream.GetText();
}

std::wstring difficultyName(int mode)
{
    switch (mode)
    {
    case kModeEasy:
        return LocalStrings::Instance()->get(L"diff_easy");
    case kModeNormal:
        return LocalStrings::Instance()->get(L"diff_normal");
    case kModeHard:
        return LocalStrings::Instance()->get(L"diff_hard");
    default: // hardcore is its own difficulty
        return LocalStrings::Instance()->get(L"HardcoreTitle");
    }
}
} // namespace

void HUD::openSplashScreens()
{
    mMap.mState = kStateSplash;
    showWindow(new TDSplashScreens);
}

void HUD::openMainMenu()
{
    mMap.mState = kStateMainMenu;
    showWindow(new HUDMainMenu);
}

void HUD::showLevelResult(bool won)
{
    auto* window = new HUDLevelResultWindow(mMap);
    showWindow(window);
    LocalStrings* strings = LocalStrings::Instance();
    const std::wstring zero = L"0";
    if (won)
    {
        for (const wchar_t* image : {L"back_lose", L"diffictly_lose", L"defeat_label", L"victory_label"})
            window->setImageVisible(image, false);
        window->setText(L"levelResult", strings->get(L"game_win"));
    }
    else
    {
        for (const wchar_t* image : {L"back_win", L"diffictly", L"victory_label", L"defeat_label"})
            window->setImageVisible(image, false);
        window->setImageVisible(L"diffictly_lose", true);
        for (const wchar_t* star : {L"star0", L"star1", L"star2"})
            window->setImageVisible(star, false);
        window->setText(L"levelResult", strings->get(L"game_lose"));
    }
    // Both endings read alike: one font, the level's name and difficulty, and every score row with its
    // caption (a defeat's rows stay at 0, so none of them is an empty line).
    window->setFont(boardFont(TDBoardFont::Main42_3));
    const std::wstring episodeKey =
        (mMap.mMode == kModeHardcore ? L"episodeHardcore" : L"episode") + decimal(mMap.mEpisode);
    window->setText(L"levelName", strings->get(episodeKey) + L" " + decimal(mMap.mEpisode + 1) + L" - " +
                                      decimal(mMap.mLevel + 1));
    window->setText(L"gameName", difficultyName(mMap.mMode));
    window->setText(L"killScore", strings->get(L"game_kill_score") + zero);
    window->setText(L"goldBonus", strings->get(L"game_combo_bonus") + zero);
    window->setText(L"lifeBonus", strings->get(L"game_life_bonus") + zero);
    window->setText(L"totalScore", strings->get(L"game_total_score") + zero);
}

void HUD::showLevelName()
{
    Game* game = Game::Get();
    GameWindow* board = game ? game->GetGameWindow() : nullptr;
    if (!board)
        return;
    delete board->mLevelBanner;
    board->mLevelBanner = new HUDLevelName(mMap.mMode, mMap.mEpisode, mMap.mLevel);
}
