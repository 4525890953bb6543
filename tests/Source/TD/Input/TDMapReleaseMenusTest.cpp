// The release table of the menus reached from the splash: the main menu, the profiles, the name entry, modal
// messages and the episode and level select. Each row walks there as a player does, then releases once.
#include "ReleaseWalk.h"

#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDMainMenu.h"
#include "Source/TD/HUD/Menus/HUDModalInput.h"
#include "Source/TD/HUD/Menus/OptionsDialog.h"
#include "Source/TD/HUD/Menus/TDSplashScreens.h"
#include "Source/TD/HUD/Select/HUDEpisodeSelectIOS.h"
#include "Source/TD/HUD/Select/HUDLevelPlate.h"
#include "Source/TD/HUD/Select/HUDLevelSelect.h"
#include "Source/TD/HUD/Select/HUDProfiles.h"
#include "Source/TD/Map/TDMap.h"

#include <gtest/gtest.h>

namespace
{
using namespace releasetest;
using Opening = tdtest::GameHarness::Opening;

constexpr int kBackspace = 8;
// The main menu's bottom band answers "profile".
constexpr float kProfileBandX = 512.0f, kProfileBandY = 736.0f;
// The profiles screen's rename button.
constexpr float kRenameX = 512.0f, kRenameY = 594.0f;
// The episode card in the middle of the row.
constexpr float kCardX = 512.0f, kCardY = 384.0f;

void mainMenu(Walk& w)
{
    w.toMainMenu();
}

void namedMainMenu(Walk& w)
{
    w.toMainMenu();
    w.map().mProfile->createProfile(L"Anna");
}

void profiles(Walk& w)
{
    namedMainMenu(w);
    w.clickAt(kProfileBandX, kProfileBandY);
}

void episodes(Walk& w)
{
    namedMainMenu(w);
    w.press(L"play");
}

void openCard(Walk& w)
{
    (void)w.waitFor(L"play");
    w.clickAt(kCardX, kCardY);
}

void levels(Walk& w)
{
    episodes(w);
    openCard(w);
}

// The named player has every level of the first episode with three stars: the hardcore mode opens.
void levelsWithAllStars(Walk& w)
{
    episodes(w);
    for (int level = 0; level < w.map().getLevelCount(0); ++level)
    {
        TDLevelResult result;
        result.stars = 3;
        w.map().mProfile->saveLevelResult(0, level, kModeNormal, result);
    }
    openCard(w);
}

Target plate(std::size_t index)
{
    return [index](Walk& w)
    {
        auto* screen = w.top<HUDLevelSelect>();
        if (!screen || screen->mPlates.size() <= index)
            return math::Point2(-1.0f, -1.0f);
        const HUDLevelPlate& p = *screen->mPlates[index];
        return math::Point2(p.mX + p.mWidth / 2.0f, p.mY + p.mHeight / 2.0f);
    };
}

template <class Screen>
std::function<void(Walk&)> topIs()
{
    return [](Walk& w) { EXPECT_NE(w.top<Screen>(), nullptr); };
}

TEST(ReleaseTable, MainMenuAndProfiles)
{
    const Row rows[] = {
        // The splash has no release row: the press skips a logo, the release changes nothing.
        {"splash", Opening::Splash, [](Walk& w) { w.harness().step(5); }, kStateSplash, point(300.0f, 300.0f),
         kStateSplash, topIs<TDSplashScreens>()},
        // Main menu (7).
        {"play, named", Opening::Splash, namedMainMenu, kStateMainMenu, button(L"play"), kStateEpisodeSelect,
         topIs<HUDEpisodeSelectIOS>()},
        {"play, no name yet", Opening::Splash, mainMenu, kStateMainMenu, button(L"play"), kStateNewProfileName,
         [](Walk& w)
         {
             EXPECT_NE(w.top<HUDModalInput>(), nullptr);
             EXPECT_EQ(w.map().mCurrentScreen, L"mmenu");
         }},
        {"shop, named", Opening::Splash, namedMainMenu, kStateMainMenu, button(L"shop"), kStateShop,
         [](Walk&) { EXPECT_EQ(shopReturnScreen(), L"mmenu"); }},
        {"shop, no name yet", Opening::Splash, mainMenu, kStateMainMenu, button(L"shop"), kStateNewProfileName,
         [](Walk& w) { EXPECT_EQ(w.map().mCurrentScreen, L"shop"); }},
        {"options", Opening::Splash, mainMenu, kStateMainMenu, button(L"options"), kStateMainMenu,
         [](Walk& w) { EXPECT_NE(w.dialog<OptionsDialog>(), nullptr); }},
        {"profile", Opening::Splash, mainMenu, kStateMainMenu, point(kProfileBandX, kProfileBandY),
         kStateProfiles,
         [](Walk& w)
         {
             EXPECT_NE(w.top<HUDProfiles>(), nullptr);
             EXPECT_EQ(w.map().mHud->getWindows().size(), 1u) << "the menu closed";
         }},
        {"cloze", Opening::Splash, mainMenu, kStateMainMenu, button(L"cloze"), kStateMainMenu,
         [](Walk& w) { EXPECT_TRUE(w.harness().game()->IsFinished()); }},
        // Profiles (13).
        {"create", Opening::Splash, profiles, kStateProfiles, button(L"create"), kStateNewProfileName,
         topIs<HUDModalInput>()},
        {"create with five profiles", Opening::Splash,
         [](Walk& w)
         {
             for (const wchar_t* name : {L"Ada", L"Bob", L"Cid", L"Dan"})
                 w.map().mProfile->createProfile(name);
             profiles(w);
         },
         kStateProfiles, button(L"create"), kStateModal,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mRestoreState, kStateProfiles);
             w.map().mProfile->refreshNames();
             EXPECT_EQ(w.map().mProfile->getUserProfileNames().size(), 5u);
         }},
        {"back", Opening::Splash, profiles, kStateProfiles, button(L"back"), kStateMainMenu, topIs<HUDMainMenu>()},
        {"confirm", Opening::Splash, profiles, kStateProfiles, button(L"confirm"), kStateMainMenu,
         topIs<HUDMainMenu>()},
        {"rename, named", Opening::Splash, profiles, kStateProfiles, button(L"rename"), kStateRenameProfile,
         topIs<HUDModalInput>()},
        // Without a player there is no name to change: the place of the rename button does nothing.
        {"rename, no name yet", Opening::Splash,
         [](Walk& w)
         {
             mainMenu(w);
             w.clickAt(kProfileBandX, kProfileBandY);
         },
         kStateProfiles, point(kRenameX, kRenameY), kStateProfiles, topIs<HUDProfiles>()},
        // Name entry for a new profile (14) and for a new name (15): the entry answers for itself.
        {"cancel a name asked by play", Opening::Splash, [](Walk& w) { mainMenu(w), w.press(L"play"); },
         kStateNewProfileName, button(L"cancel"), kStateMainMenu, topIs<HUDMainMenu>()},
        {"cancel a name asked by the profiles", Opening::Splash, [](Walk& w) { profiles(w), w.press(L"create"); },
         kStateNewProfileName, button(L"cancel"), kStateProfiles,
         [](Walk& w)
         {
             EXPECT_NE(w.top<HUDProfiles>(), nullptr);
             w.map().mProfile->refreshNames();
             EXPECT_EQ(w.map().mProfile->getUserProfileNames().size(), 1u);
         }},
        {"rename cancelled", Opening::Splash, [](Walk& w) { profiles(w), w.press(L"rename"); },
         kStateRenameProfile, button(L"cancel"), kStateProfiles,
         [](Walk& w) { EXPECT_EQ(w.map().mProfile->getCurrentName(), L"Anna"); }},
        {"rename confirmed", Opening::Splash,
         [](Walk& w)
         {
             profiles(w);
             w.press(L"rename");
             for (int i = 0; i < 20; ++i)
                 w.harness().key(kBackspace);
             w.harness().type(L"Bea");
         },
         kStateRenameProfile, button(L"ok"), kStateProfiles,
         [](Walk& w) { EXPECT_EQ(w.map().mProfile->getCurrentName(), L"Bea"); }},
        // A modal message (16) returns to the state it was opened over.
        {"ok on the profile limit", Opening::Splash,
         [](Walk& w)
         {
             for (const wchar_t* name : {L"Ada", L"Bob", L"Cid", L"Dan"})
                 w.map().mProfile->createProfile(name);
             profiles(w);
             w.press(L"create");
         },
         kStateModal, button(L"ok"), kStateProfiles, topIs<HUDProfiles>()},
    };
    runRows(rows);
}

TEST(ReleaseTable, EpisodeAndLevelSelect)
{
    const Row rows[] = {
        // Episode select (5).
        {"back", Opening::Splash, episodes, kStateEpisodeSelect, button(L"back"), kStateMainMenu,
         topIs<HUDMainMenu>()},
        {"shop", Opening::Splash, episodes, kStateEpisodeSelect, button(L"shop"), kStateShop,
         [](Walk&) { EXPECT_EQ(shopReturnScreen(), L"episodes"); }},
        {"an open episode", Opening::Splash, episodes, kStateEpisodeSelect, point(kCardX, kCardY),
         kStateLevelSelect,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mEpisode, 0);
             EXPECT_NE(w.top<HUDLevelSelect>(), nullptr);
         }},
        {"a locked episode", Opening::Splash,
         [](Walk& w)
         {
             episodes(w);
             w.press(L"arrow_right");
             w.harness().step(60);
         },
         kStateEpisodeSelect, point(kCardX, kCardY), kStateEpisodeSelect, topIs<HUDEpisodeSelectIOS>()},
        // Level select (6).
        {"back", Opening::Splash, levels, kStateLevelSelect, button(L"back"), kStateEpisodeSelect,
         topIs<HUDEpisodeSelectIOS>()},
        {"upgrade", Opening::Splash, levels, kStateLevelSelect, button(L"upgrade"), kStateShop,
         [](Walk&) { EXPECT_EQ(shopReturnScreen(), L"levels"); }},
        // 1-1 starts with the news of what it unlocks.
        {"an open level", Opening::Splash, levels, kStateLevelSelect, plate(0), kStateUnlockMessage,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mLevelFile, TDMap::levelFileName(w.map().mMode, 0, 0));
             EXPECT_EQ(w.top<HUDLevelSelect>(), nullptr);
         }},
        {"a locked level", Opening::Splash, levels, kStateLevelSelect, plate(1), kStateLevelSelect,
         topIs<HUDLevelSelect>()},
        {"hardcore, locked", Opening::Splash, levels, kStateLevelSelect, button(L"locked_d"), kStateModal,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mRestoreState, kStateLevelSelect);
             EXPECT_EQ(w.map().mProfile->getEpisodeVisited(0, kModeHardcore), w.map().getHardcoreLevelCount(0));
         }},
        // The hardcore levels; on the first visit they explain the mode over them as they show.
        {"hardcore, unlocked", Opening::Splash, levelsWithAllStars, kStateLevelSelect,
         button(L"unlocked_d"), kStateLevelSelect,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mMode, kModeHardcore);
             w.harness().step(2);
             EXPECT_EQ(w.map().mState, kStateModal);
             EXPECT_EQ(w.map().mRestoreState, kStateLevelSelect);
         }},
        {"back from hardcore", Opening::Splash,
         [](Walk& w)
         {
             levelsWithAllStars(w);
             w.press(L"unlocked_d");
             w.press(L"ok");
         },
         kStateLevelSelect, button(L"back"), kStateLevelSelect,
         [](Walk& w)
         {
             EXPECT_EQ(w.map().mMode, w.map().mProfile->getMode());
             EXPECT_NE(w.map().mMode, kModeHardcore);
             EXPECT_NE(w.top<HUDLevelSelect>(), nullptr);
         }},
        // A modal message (16) over the level select.
        {"ok on the hardcore lock", Opening::Splash, [](Walk& w) { levels(w), w.press(L"locked_d"); }, kStateModal,
         button(L"ok"), kStateLevelSelect, topIs<HUDLevelSelect>()},
    };
    runRows(rows);
}

} // namespace
