// The upgrade shop on the demo data: sections as tabs, the list scrolled by the slider, the buttons and the
// wheel, buying steps with gems (refused when short, stored in the profile when bought, never in hardcore or
// at the end of a drag), the tutorial's block, and more steps than the plate has star slots.
#include "ShopTestSupport.h"

#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/HUD/Controls/HUDScrollBar.h"
#include "Source/TD/HUD/Controls/HUDTabBar.h"
#include "Source/TD/HUD/Shops/HUDShopPlate.h"
#include "Source/TD/HUD/Shops/HUDShopWindow.h"
#include "Source/TD/Sprites/TDButtonFrame.h"

#include <memory>
#include <set>

namespace
{
using shoptest::buyX;
using shoptest::buyY;
using tdtest::GameHarness;

class UpgradeShop : public ::testing::Test
{
protected:
    // A started game with the profile given, and the shop opened from a menu.
    HUDShopWindow* open(const std::string& profile, int fromGame = 0)
    {
        shoptest::writeProfile(harness, profile);
        if (!harness.start())
            return nullptr;
        map = harness.map();
        map->mHud->openShop(fromGame);
        harness.step();
        return shoptest::topWindow<HUDShopWindow>(harness);
    }
    std::vector<int> plateIds(const HUDShopWindow& shop) const
    {
        std::vector<int> ids;
        for (const HUDShopPlate* plate : shop.mPlates)
            ids.push_back(plate->mUpgradeId);
        return ids;
    }
    float listY(const HUDShopWindow& shop) const { return shop.mContainer->GetPosition().y; }
    bool visible(HUDShopWindow& shop, const wchar_t* button) { return shop.findButton(button)->mVisible; }

    GameHarness harness;
    TDMap* map = nullptr;
};

TEST_F(UpgradeShop, TabsRebuildThePlatesOfTheirSectionAndTheScrollControlsFollowTheCount)
{
    HUDShopWindow* shop = open(shoptest::kProgress);
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(map->mState, kStateShop);
    ASSERT_EQ(shop->mTabs->mTabs.size(), 3u);

    struct Case
    {
        int tab;
        std::vector<int> ids;
        bool scrolls;
    };
    const Case cases[] = {
        {2, {12, 13, 14}, false},
        {1, {8, 9, 10}, false},
        {0, {1, 2, 3, 4, 5, 6, 7}, true},
    };
    EXPECT_EQ(plateIds(*shop), cases[2].ids) << "the first section opens";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.tab);
        // Scrolled away first, so that the switch has to bring the list back.
        shop->mScrollBar->mPosition = 1.0f;
        shop->applyScroll(1.0f);
        harness.click(shoptest::tabX(c.tab), shoptest::kTabY);
        EXPECT_EQ(shop->mSection, c.tab);
        EXPECT_EQ(plateIds(*shop), c.ids);
        EXPECT_EQ(shop->mScrollBar->mPosition, 0.0f);
        EXPECT_EQ(listY(*shop), 0.0f);
        for (std::size_t i = 0; i < shop->mPlates.size(); ++i)
        {
            EXPECT_EQ(shop->mPlates[i]->mRoot->GetPosition().y, 206.0f + 99.0f * static_cast<float>(i));
        }
        EXPECT_EQ(shop->mScrollBar->mRoot->IsVisible(), c.scrolls);
        EXPECT_EQ(visible(*shop, L"down_in"), c.scrolls);
        EXPECT_EQ(visible(*shop, L"up_in"), c.scrolls);
        EXPECT_EQ(shop->mTabs->mTabs[static_cast<std::size_t>(c.tab)]->mSelected, 1);
    }
    EXPECT_EQ(harness.sounds().tags.back(), L"simple");
}

// An upgrade list of the given sections, one upgrade for the whole game each, in place of the map's.
void replaceUpgrades(TDMap& map, const std::vector<int>& sections)
{
    std::string xml = "<upgrades>";
    for (std::size_t i = 0; i < sections.size(); ++i)
        xml += "<upgrade id=\"" + std::to_string(80 + i) + "\" section=\"" + std::to_string(sections[i]) +
               "\" icon=\"walls\"><unlock episode=\"0\" level=\"0\"/><targets><target id=\"-1\"/></targets>"
               "<steps><step cost_g=\"0\" cost_r=\"1\"><attributes/></step></steps></upgrade>";
    xml += "</upgrades>";
    auto upgrades = std::make_unique<TDUpgradeList>();
    upgrades->parse(xml, L"sections");
    upgrades->setProfile(map.mProfile.get());
    upgrades->setUnlocks(map.mUnlocks.get());
    map.mProfile->setUpgradeList(upgrades.get());
    map.mUpgrades = std::move(upgrades);
}

TEST_F(UpgradeShop, TabsOfSectionsWithoutUpgradesCannotBePressedAndTheFirstTabStartsSelected)
{
    struct Case
    {
        std::vector<int> sections;
        std::size_t platesAtOpening;
        float pressX;
        int sectionAfterPress; // the tab standing at that place
    };
    const Case cases[] = {
        // The empty second section's tab gives its place to the third.
        {{0, 2, 2}, 1, 500.0f, 2},
        // The first tab is selected with nothing to show; the second stands in its place.
        {{1, 2}, 0, 300.0f, 1},
        {{0, 1, 1, 1, 1, 2}, 1, 500.0f, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sections.size());
        GameHarness own;
        ASSERT_TRUE(own.start());
        replaceUpgrades(*own.map(), c.sections);
        own.map()->mHud->openShop(0);
        own.step();
        auto* shop = shoptest::topWindow<HUDShopWindow>(own);
        ASSERT_NE(shop, nullptr);
        EXPECT_EQ(shop->mTabs->mTabs[0]->mSelected, 1);
        EXPECT_EQ(shop->mPlates.size(), c.platesAtOpening);
        own.click(c.pressX, shoptest::kTabY);
        EXPECT_EQ(shop->mSection, c.sectionAfterPress);
        int expected = 0;
        for (const int section : c.sections)
            expected += section == c.sectionAfterPress ? 1 : 0;
        EXPECT_EQ(static_cast<int>(shop->mPlates.size()), expected);
    }
}

TEST_F(UpgradeShop, ScrollingBySliderButtonsAndWheel)
{
    HUDShopWindow* shop = open(shoptest::kProgress);
    ASSERT_NE(shop, nullptr);
    ASSERT_EQ(shop->mPlates.size(), 7u);
    // Four plates beyond the three in view, 105 each.
    const float range = 4.0f * 105.0f;

    // The slider follows the pointer within its track and the list follows the slider.
    harness.move(shoptest::kSliderX, shoptest::kSliderTopY);
    harness.press(shoptest::kSliderX, shoptest::kSliderTopY);
    struct DragCase
    {
        float y;
        float position;
    };
    for (const DragCase c :
         {DragCase{372.0f, 121.0f / 243.0f}, DragCase{900.0f, 1.0f}, DragCase{10.0f, 0.0f}})
    {
        harness.move(shoptest::kSliderX, c.y);
        EXPECT_FLOAT_EQ(shop->mScrollBar->mPosition, c.position) << c.y;
        EXPECT_FLOAT_EQ(listY(*shop), -range * c.position) << c.y;
    }
    harness.release(shoptest::kSliderX, 10.0f);
    harness.move(shoptest::kSliderX, 400.0f);
    EXPECT_EQ(shop->mScrollBar->mPosition, 0.0f) << "released, the slider stays";

    // The buttons step by a quarter and stop at the ends; the wheel moves by delta / 1024 of the range.
    struct StepCase
    {
        const char* what;
        float start;
        float end;
    };
    const StepCase steps[] = {{"down", 0.0f, 0.25f},
                              {"down", 0.9f, 1.0f},
                              {"up", 0.1f, 0.0f},
                              {"up", 0.75f, 0.5f},
                              {"wheel -120", 0.0f, 120.0f / 1024.0f},
                              {"wheel 120", 0.05f, 0.0f},
                              {"wheel -1200", 0.5f, 1.0f}};
    for (const StepCase& c : steps)
    {
        SCOPED_TRACE(c.what);
        shop->mScrollBar->mPosition = c.start;
        const std::string what = c.what;
        if (what == "down")
            harness.click(887.0f, 570.0f);
        else if (what == "up")
            harness.click(887.0f, 178.0f);
        else
            harness.wheel(500.0f, 400.0f, std::stoi(what.substr(6)));
        EXPECT_FLOAT_EQ(shop->mScrollBar->mPosition, c.end);
        EXPECT_FLOAT_EQ(listY(*shop), -range * c.end);
        EXPECT_FLOAT_EQ(shop->mScrollBar->mSlider->GetPosition().y, 221.0f + 243.0f * c.end);
    }
}

TEST_F(UpgradeShop, ShortListsScrollOnlyByTheSliderAndOnlyAsFarAsTheirHiddenPlates)
{
    struct Case
    {
        const char* profile;
        int tab;
        std::size_t plates;
        float dragRange; // how far a drag of the (hidden) slider moves the list
    };
    const Case cases[] = {{"", 0, 4, 105.0f}, {"", 2, 3, 0.0f}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.plates);
        GameHarness own;
        shoptest::writeProfile(own, c.profile);
        ASSERT_TRUE(own.start());
        own.map()->mHud->openShop(0);
        own.step();
        auto* shop = shoptest::topWindow<HUDShopWindow>(own);
        ASSERT_NE(shop, nullptr);
        own.click(shoptest::tabX(c.tab), shoptest::kTabY);
        ASSERT_EQ(shop->mPlates.size(), c.plates);
        own.wheel(500.0f, 400.0f, -600);
        EXPECT_EQ(shop->mScrollBar->mPosition, 0.0f) << "the wheel does nothing";
        own.move(shoptest::kSliderX, shoptest::kSliderTopY);
        own.press(shoptest::kSliderX, shoptest::kSliderTopY);
        own.move(shoptest::kSliderX, 600.0f);
        EXPECT_FLOAT_EQ(shop->mContainer->GetPosition().y, -c.dragRange);
        own.release(shoptest::kSliderX, 600.0f);
    }
}

TEST_F(UpgradeShop, BuyingTakesTheGemsAndStoresTheStepOnlyWhenTheGemsCoverIt)
{
    // "Thick walls" (the first plate) costs 5, 10 and 20 gems for its three steps.
    struct Case
    {
        const char* name;
        int gems;
        int storedLevel; // -1: none stored yet
        int levelAfter;
        int gemsAfter;
        bool warned; // the price in the warning colour after the attempt
    };
    const Case cases[] = {
        {"two gems short of the first step", 3, -1, -1, 3, true},
        {"just enough for the first step", 5, -1, 0, 0, true},
        {"the second step", 30, 0, 1, 20, false},
        {"fully bought", 100, 2, 2, 100, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GameHarness own;
        std::string profile = "<gems amount=\"" + std::to_string(c.gems) + "\"/>";
        if (c.storedLevel >= 0)
            profile +=
                "<upgrades><upgrade id=\"1\" level=\"" + std::to_string(c.storedLevel) + "\"/></upgrades>";
        shoptest::writeProfile(own, profile);
        ASSERT_TRUE(own.start());
        own.map()->mHud->openShop(0);
        own.step();
        auto* shop = shoptest::topWindow<HUDShopWindow>(own);
        ASSERT_NE(shop, nullptr);
        HUDShopPlate* plate = shop->mPlates.at(0);
        ASSERT_EQ(plate->mUpgradeId, 1);
        own.sounds().clear();

        own.click(buyX(), buyY(0));
        own.step();
        TDMap* played = own.map();
        EXPECT_EQ(played->mProfile->getUpgradeLevel(1), c.levelAfter);
        EXPECT_EQ(played->mEconomy->mGems, c.gemsAfter);
        const std::string saved = shoptest::savedProfiles(own);
        EXPECT_NE(saved.find("amount=\"" + std::to_string(c.gemsAfter) + "\""), std::string::npos) << saved;
        if (c.levelAfter >= 0)
        {
            EXPECT_NE(saved.find("id=\"1\" level=\"" + std::to_string(c.levelAfter) + "\""),
                      std::string::npos)
                << saved;
        }
        // Stars: one per bought step.
        for (int i = 0; i < 3; ++i)
        {
            EXPECT_EQ(plate->mStars[static_cast<std::size_t>(i)]->IsVisible(), i <= c.levelAfter) << i;
        }
        const bool maxed = c.levelAfter == 2;
        EXPECT_EQ(plate->mMaxed, maxed ? 1 : 0);
        EXPECT_EQ(plate->mPrice->IsVisible(), !maxed);
        EXPECT_EQ(plate->mBuyInactive->IsVisible(), !maxed);
        if (!maxed)
        {
            EXPECT_EQ(plate->mPrice->GetColor()[1] < 0.5f, c.warned);
        }
        // The press on the button plays "simple", bought or not (also where a fully bought plate had it).
        EXPECT_EQ(own.sounds().tags, std::vector<std::wstring>{L"simple"});
    }
}

TEST_F(UpgradeShop, AReleaseThatEndsADragOfTheListBuysNothing)
{
    HUDShopWindow* shop = open(std::string(shoptest::kProgress) + "<gems amount=\"50\"/>");
    ASSERT_NE(shop, nullptr);
    // Grab the slider, drag it a little (the list moves 5 up), let go over the first buy button.
    harness.move(shoptest::kSliderX, shoptest::kSliderTopY);
    harness.press(shoptest::kSliderX, shoptest::kSliderTopY);
    harness.move(buyX(), buyY(0) + 2.0f);
    ASSERT_EQ(shop->mDragState, 2);
    ASSERT_TRUE(shop->mPlates[0]->hitBuyButton(static_cast<int>(buyX()), static_cast<int>(buyY(0))));
    harness.release(buyX(), buyY(0));
    EXPECT_EQ(map->mProfile->getUpgradeLevel(1), -1);
    EXPECT_EQ(map->mEconomy->mGems, 50);
    EXPECT_EQ(shop->mDragState, 0);
    // The next plain click there buys.
    harness.click(buyX(), buyY(0));
    EXPECT_EQ(map->mProfile->getUpgradeLevel(1), 0);
}

TEST_F(UpgradeShop, TheHardcoreShopShowsNothingBoughtAndSellsNothing)
{
    // Bought in the other modes: level 1 of "Thick walls".
    shoptest::writeProfile(harness,
                           "<gems amount=\"100\"/><upgrades><upgrade id=\"1\" level=\"1\"/></upgrades>");
    ASSERT_TRUE(harness.start());
    map = harness.map();
    map->mMode = kModeHardcore;
    map->mHud->openShop(1);
    harness.step();
    auto* shop = shoptest::topWindow<HUDShopWindow>(harness);
    ASSERT_NE(shop, nullptr);
    HUDShopPlate* plate = shop->mPlates.at(0);
    for (layer::ImageLayer* star : plate->mStars)
        if (star != nullptr)
        {
            EXPECT_FALSE(star->IsVisible());
        }
    EXPECT_FALSE(plate->mBuyInactive->IsVisible());
    EXPECT_FALSE(plate->mPrice->IsVisible());

    harness.click(buyX(), buyY(0));
    plate->buy();
    EXPECT_EQ(map->mEconomy->mGems, 100);
    map->mMode = kModeEasy;
    EXPECT_EQ(map->mProfile->getUpgradeLevel(1), 1) << "the level bought in the other modes stays";
    EXPECT_NE(shoptest::savedProfiles(harness).find("id=\"1\" level=\"1\""), std::string::npos);
}

TEST_F(UpgradeShop, TheTutorialsBlockStopsTabsButtonsAndTheSliderButNotThePlatesOrTheWheel)
{
    HUDShopWindow* shop = open(std::string(shoptest::kProgress) + "<gems amount=\"50\"/>");
    ASSERT_NE(shop, nullptr);
    map->mHud->mBlockShop = 1;
    harness.click(shoptest::tabX(1), shoptest::kTabY);
    EXPECT_EQ(shop->mSection, 0);
    harness.click(887.0f, 570.0f); // "down_in"
    EXPECT_EQ(shop->mScrollBar->mPosition, 0.0f);
    harness.click(66.0f, 696.0f); // "back_ac"
    EXPECT_EQ(map->mState, kStateShop);
    EXPECT_EQ(shoptest::topWindow<HUDShopWindow>(harness), shop);
    harness.press(shoptest::kSliderX, shoptest::kSliderTopY);
    EXPECT_EQ(shop->mScrollBar->mDragState, -1);
    harness.release(shoptest::kSliderX, shoptest::kSliderTopY);

    harness.click(buyX(), buyY(0));
    EXPECT_EQ(map->mProfile->getUpgradeLevel(1), 0);
    harness.wheel(500.0f, 400.0f, -256);
    EXPECT_FLOAT_EQ(shop->mScrollBar->mPosition, 0.25f);
}

TEST_F(UpgradeShop, AnUpgradeWithMoreStepsThanStarSlotsShowsTenStarsAndStillSellsEveryStep)
{
    HUDShopWindow* shop =
        open("<gems amount=\"1000\"/><upgrades><upgrade id=\"90\" level=\"10\"/></upgrades>");
    ASSERT_NE(shop, nullptr);
    // Twelve steps of one gem each, for the whole game.
    std::string xml = "<upgrades><upgrade id=\"90\" section=\"0\" icon=\"walls\"><unlock episode=\"0\" "
                      "level=\"0\"/><targets><target id=\"-1\"/></targets><steps>";
    for (int i = 0; i < 12; ++i)
        xml += "<step cost_g=\"0\" cost_r=\"1\"><attributes/></step>";
    xml += "</steps></upgrade></upgrades>";
    auto upgrades = std::make_unique<TDUpgradeList>();
    upgrades->parse(xml, L"twelve steps");
    upgrades->setProfile(map->mProfile.get());
    upgrades->setUnlocks(map->mUnlocks.get());
    map->mProfile->setUpgradeList(upgrades.get());
    map->mUpgrades = std::move(upgrades);
    shop->showSection(0);
    ASSERT_EQ(shop->mPlates.size(), 1u);
    HUDShopPlate* plate = shop->mPlates[0];
    // Ten stars, each with its own picture at its own place in the layout (the tenth is "star_010").
    std::set<render::Image*> pictures;
    std::set<float> places;
    for (layer::ImageLayer* star : plate->mStars)
    {
        ASSERT_NE(star, nullptr);
        EXPECT_TRUE(star->IsVisible());
        EXPECT_NE(star->GetImage(), nullptr);
        pictures.insert(star->GetImage());
        places.insert(star->GetPosition().x);
    }
    pictures.erase(nullptr);
    EXPECT_EQ(pictures.size(), plate->mStars.size());
    EXPECT_EQ(places.size(), plate->mStars.size());

    harness.click(buyX(), buyY(0));
    EXPECT_EQ(map->mProfile->getUpgradeLevel(90), 11);
    EXPECT_EQ(map->mEconomy->mGems, 999);
    EXPECT_EQ(plate->mMaxed, 1);
    harness.click(buyX(), buyY(0));
    EXPECT_EQ(map->mEconomy->mGems, 999) << "nothing past the last step";
}

} // namespace
