// What a player reads on the demo data, drawn on the GL back end (under Xvfb): the windows whose texts are
// tight (the name field with sixteen wide letters, a locked episode card, the level select with its locked
// hardcore button, the upgrade shop, the in-game menu, a confirmation) and levels 1-2 and 1-4 with cannons,
// an upgraded one, their shells in flight and an open tower ring. Every picture is kept in the test's build
// folder for a look; the checks are the ones a screenshot answers cheaply.
#include "Source/TD/Game.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/GameWindow.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/HUD/Menus/HUDModalInput.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Harness/TDPicture.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using tdtest::GameHarness;
using tdtest::Picture;
using tdtest::takePicture;

Picture keep(GameHarness& harness, const std::string& file, int frames = 40)
{
    harness.step(frames);
    Picture picture = takePicture(harness);
    picture.save(std::string(CORV_SHOT_DIR) + "/" + file);
    return picture;
}

TEST(DemoArtGL, TightWindowsAndLevelsAPlayerReads)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    HUD& hud = *map->mHud;
    TDTutorial::Instance()->skip();

    // Sixteen of the widest letter in the name field.
    hud.deleteWindows();
    map->mState = kStateNewProfileName;
    hud.showModalInput();
    harness.step();
    for (int i = 0; i < 20; ++i)
        harness.key(8); // the suggested name goes
    for (int i = 0; i < 20; ++i)
        harness.type(L"W");
    keep(harness, "art_name_input.png");

    // The episode carousel on the second (locked) card, then on the coming-soon card.
    hud.deleteWindows();
    map->mState = kStateMainMenu;
    map->mProfile->createProfile(L"Ada");
    hud.openEpisodeSelect();
    harness.step(5);
    harness.click(harness.buttonCentre(L"arrow_right").x, harness.buttonCentre(L"arrow_right").y);
    keep(harness, "art_episode_locked.png", 60);
    for (int i = 0; i < 4; ++i)
    {
        const math::Point2 right = harness.buttonCentre(L"arrow_right");
        if (right.x < 0)
            break;
        harness.click(right.x, right.y);
        harness.step(40);
    }
    keep(harness, "art_episode_soon.png", 40);

    // The level select with the locked hardcore button and the first tab chosen.
    hud.deleteWindows();
    map->mMode = kModeNormal;
    map->mEpisode = 0;
    hud.openLevelSelect();
    keep(harness, "art_level_select.png");

    // The upgrade shop with gems to spend.
    hud.deleteWindows();
    map->mProfile->setGems(500);
    hud.openShop(0);
    keep(harness, "art_upgrade_shop.png");

    // A confirmation over the profiles screen.
    hud.deleteWindows();
    hud.openProfiles();
    harness.step(5);
    hud.showProfileDeletionDialog();
    keep(harness, "art_confirmation.png");
    harness.game()->GetGameWindow()->mOverlayDialog->mActive = 0;

    // Level 1-2 with a plain and an upgraded cannon, shells in flight, and the ring of the plain one.
    hud.deleteWindows();
    harness.loadLevel(kModeNormal, 0, 1);
    TDTutorial::Instance()->skip();
    harness.step(200);
    map->mEconomy->mMoney = 5000;
    std::vector<TDTower*> cannons;
    for (TDFrameEntry* frame : map->mLevelArt->mSpotFrames)
        if (cannons.size() < 2 && frame->mLink && (frame->mLink->mOwned || map->buySpot(frame)))
            if (TDTower* tower = map->buildTower(map->mProtoTable->find(20000), frame))
                cannons.push_back(tower);
    ASSERT_EQ(cannons.size(), 2u);
    ASSERT_TRUE(cannons[1]->upgrade(2, 0.0f));
    map->mSpeed = 1.0f;
    map->updateSpeedButtons();
    harness.step(1100);
    keep(harness, "art_level_01_02.png", 1);
    harness.click(cannons[0]->mBaseX, cannons[0]->mBaseY - 20.0f);
    keep(harness, "art_tower_ring.png", 30);

    // The in-game menu over the level.
    harness.click(cannons[0]->mBaseX, cannons[0]->mBaseY - 20.0f);
    harness.step(30);
    map->openIngameMenu();
    keep(harness, "art_ingame_menu.png");
    // Its restart asks first: the message box with two buttons.
    const math::Point2 restart = harness.buttonCentre(L"restart");
    ASSERT_GE(restart.x, 0.0f);
    harness.click(restart.x, restart.y);
    keep(harness, "art_message_box.png");

    // Level 1-4 before its first wave: the marker's countdown.
    hud.deleteWindows();
    harness.loadLevel(kModeNormal, 0, 3);
    TDTutorial::Instance()->skip();
    keep(harness, "art_level_01_04.png", 200);
}

} // namespace
