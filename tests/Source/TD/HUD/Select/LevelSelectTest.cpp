// The level select on the demo data: plates by progress, "new" badges, the mode tabs, the hardcore buttons
// and the way into a level.
#include "SelectTestSupport.h"

#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/ParticlesLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/HUD/Controls/HUDTabBar.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDModalMessage.h"
#include "Source/TD/HUD/Select/HUDEpisodeSelectIOS.h"
#include "Source/TD/HUD/Select/HUDLevelPlate.h"
#include "Source/TD/HUD/Select/HUDLevelSelect.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"

#include <tinyxml2.h>

namespace
{
using selecttest::SelectScreens;

class LevelSelect : public SelectScreens
{
protected:
    HUDLevelSelect* open(int mode, int episode = 0)
    {
        mMap->mMode = mode;
        mMap->mEpisode = episode;
        hud().openLevelSelect();
        mHarness.step();
        return top<HUDLevelSelect>();
    }
    void setStars(int level, int mode, int stars)
    {
        TDLevelResult result;
        result.stars = stars;
        mMap->mProfile->saveLevelResult(0, level, mode, result);
    }
    bool visible(HUDLevelSelect* screen, const wchar_t* button)
    {
        const TDButtonFrame* b = screen->findButton(button);
        return b != nullptr && b->mVisible;
    }
};

TEST_F(LevelSelect, PlatesShowProgressStarsTheNextLevelAndNewBadgesOnce)
{
    setStars(0, kModeNormal, 3);
    setStars(1, kModeNormal, 2);
    HUDLevelSelect* screen = open(kModeNormal);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(mMap->mState, kStateLevelSelect);
    ASSERT_EQ(static_cast<int>(screen->mPlates.size()), mMap->getLevelCount(0));
    ASSERT_GE(screen->mPlates.size(), 4u);

    struct Case
    {
        const char* what;
        bool open;
        bool completed;
        int stars;
        bool number;
        bool active;
        bool badge;
    };
    const Case cases[] = {
        {"three stars: super, no number", true, true, 3, false, false, true},
        {"two stars: complete with its number", true, true, 2, true, false, true},
        {"the next level: open, green, particles", true, false, 0, true, true, true},
        {"beyond: locked, no number", false, false, 0, false, false, false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
    {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        const HUDLevelPlate* plate = screen->mPlates[i];
        EXPECT_EQ(plate->mOpen, c.open);
        EXPECT_EQ(plate->mCompleted, c.completed);
        int starLayers = 0;
        for (const layer::ImageLayer* star : plate->mStarLayers)
            starLayers += star != nullptr;
        EXPECT_EQ(starLayers, c.stars);
        EXPECT_EQ(plate->mStarsPlate != nullptr, c.completed);
        EXPECT_EQ(plate->mNumber->IsVisible(), c.number);
        EXPECT_EQ(plate->mParticles != nullptr, c.active);
        EXPECT_EQ(plate->mNewBadge != nullptr, c.badge);
        if (c.active)
        {
            EXPECT_EQ(plate->mNumber->GetColor()[0], 0.0f) << "green";
        }
        EXPECT_EQ(plate->mX, 80 + 125 * static_cast<int>(i));
        EXPECT_EQ(plate->mY, 220);
    }
    EXPECT_EQ(screen->mPlates[0]->mStarLayers[2]->GetPosition().x, 58.0f);

    hud().closeTopWindow();
    screen = open(kModeNormal);
    ASSERT_NE(screen, nullptr);
    for (const HUDLevelPlate* plate : screen->mPlates)
        EXPECT_EQ(plate->mNewBadge, nullptr) << "a second visit shows no badges";
}

TEST_F(LevelSelect, AHandEditedStarCountAndAFinishedEpisodeStayWithinThePlate)
{
    const int levels = mMap->getLevelCount(0);
    for (int level = 0; level < levels; ++level)
        setStars(level, kModeEasy, 1);
    mMap->mProfile->getLevelElement(0, 0, kModeEasy)->SetAttribute("stars", 7);
    HUDLevelSelect* screen = open(kModeEasy);
    ASSERT_NE(screen, nullptr);
    const HUDLevelPlate* edited = screen->mPlates[0];
    EXPECT_EQ(edited->mStars, 3);
    EXPECT_FALSE(edited->mNumber->IsVisible());
    for (const HUDLevelPlate* plate : screen->mPlates)
        EXPECT_EQ(plate->mParticles, nullptr) << "every level has stars: none is the next one";
}

TEST_F(LevelSelect, ATabSwitchesTheModeOnThePressAndAPlateStartsItsLevel)
{
    setStars(0, kModeNormal, 2);
    HUDLevelSelect* screen = open(kModeNormal);
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(screen->mTabBar->mTabs.size(), 3u);
    EXPECT_TRUE(screen->mPlates[1]->mOpen);

    // The hard tab stands third, 200 apart from x 300, on the bottom edge of the tab picture (y 200).
    mHarness.move(700.0f, 180.0f);
    mHarness.press(700.0f, 180.0f);
    EXPECT_EQ(mMap->mMode, kModeHard);
    EXPECT_EQ(mMap->mProfile->getMode(), kModeHard);
    ASSERT_EQ(top<HUDLevelSelect>(), screen) << "the screen stays; only its plates change";
    EXPECT_FALSE(screen->mPlates[1]->mOpen) << "hard has its own progress";
    mHarness.release(700.0f, 180.0f);
    mHarness.step();

    // A press outside the tabs changes nothing.
    clickAt(512.0f, 700.0f);
    EXPECT_EQ(mMap->mMode, kModeHard);

    // A locked plate does nothing; the open one loads its level in the mode shown.
    const HUDLevelPlate* locked = screen->mPlates[1];
    clickAt(locked->mX + locked->mWidth / 2.0f, locked->mY + locked->mHeight / 2.0f);
    EXPECT_EQ(mMap->mState, kStateLevelSelect);
    const HUDLevelPlate* first = screen->mPlates[0];
    clickAt(first->mX + first->mWidth / 2.0f, first->mY + first->mHeight / 2.0f);
    EXPECT_EQ(mMap->mState, kStateUnlockMessage) << "the level opens with its news";
    EXPECT_EQ(mMap->mLevelFile, TDMap::levelFileName(kModeHard, 0, 0));
    EXPECT_EQ(top<HUDLevelSelect>(), nullptr);
}

TEST_F(LevelSelect, HardcoreOpensByStarsAndGoesBackToTheProfilesMode)
{
    HUDLevelSelect* screen = open(kModeNormal);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(visible(screen, L"locked_d"));
    EXPECT_FALSE(visible(screen, L"unlocked_d"));
    EXPECT_NE(screen->mBadgeImage, nullptr) << "hardcore never shown: the button has the badge";

    press(L"locked_d");
    EXPECT_EQ(mMap->mState, kStateModal);
    ASSERT_NE(top<HUDModalMessage>(), nullptr);
    EXPECT_EQ(mMap->mProfile->getEpisodeVisited(0, kModeHardcore), mMap->getHardcoreLevelCount(0));
    hud().closeTopWindow();
    EXPECT_EQ(mMap->mState, kStateLevelSelect);
    hud().closeTopWindow();

    const int levels = mMap->getLevelCount(0);
    for (int level = 0; level < levels; ++level)
        setStars(level, kModeNormal, 3);
    mMap->mProfile->setMode(kModeNormal);
    screen = open(kModeNormal);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->mBadgeImage, nullptr);
    EXPECT_TRUE(visible(screen, L"unlocked_d"));
    press(L"unlocked_d");
    mHarness.step();
    EXPECT_EQ(mMap->mMode, kModeHardcore);
    // The first hardcore visit explains the mode once.
    EXPECT_EQ(mMap->mState, kStateModal);
    ASSERT_NE(top<HUDModalMessage>(), nullptr);
    hud().closeTopWindow();
    mHarness.step();
    screen = top<HUDLevelSelect>();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(mMap->mState, kStateLevelSelect);
    EXPECT_TRUE(screen->mTabBar->mTabs.empty());
    EXPECT_FALSE(visible(screen, L"upgrade"));
    EXPECT_EQ(static_cast<int>(screen->mPlates.size()), mMap->getHardcoreLevelCount(0));
    EXPECT_EQ(screen->mCaption->GetText(), LocalStrings::Instance()->get(L"episodeHardcore0"));

    press(L"back");
    mHarness.step();
    EXPECT_EQ(mMap->mMode, kModeNormal);
    EXPECT_EQ(mMap->mState, kStateLevelSelect) << "no second explanation";
    ASSERT_NE(top<HUDLevelSelect>(), nullptr);
    press(L"back");
    EXPECT_EQ(mMap->mState, kStateEpisodeSelect);
}

} // namespace

namespace
{
TEST_F(LevelSelect, TheWaysIntoTheUpgradeShopRememberWhereTheyCameFrom)
{
    struct Case
    {
        const wchar_t* button;
        bool fromLevels;
        const wchar_t* returnTo;
    };
    for (const Case& c : {Case{L"upgrade", true, L"levels"}, Case{L"shop", false, L"episodes"}})
    {
        SCOPED_TRACE(std::string(c.returnTo, c.returnTo + std::wcslen(c.returnTo)));
        hud().deleteWindows();
        if (c.fromLevels)
        {
            ASSERT_NE(open(kModeNormal), nullptr);
        }
        else
        {
            hud().openEpisodeSelect();
            mHarness.step(2);
        }
        press(c.button);
        EXPECT_EQ(mMap->mState, kStateShop);
        EXPECT_EQ(shopReturnScreen(), c.returnTo);
        mHarness.step();
        ASSERT_NE(topWindow(), nullptr);
        EXPECT_EQ(top<HUDLevelSelect>(), nullptr);
        EXPECT_EQ(top<HUDEpisodeSelectIOS>(), nullptr);
    }
}
} // namespace
