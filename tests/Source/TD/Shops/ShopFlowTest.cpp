// The ways into and out of the shops: each variant of the upgrade shop offers its own way out and its own
// way to the gem shop, every return name leads somewhere (an unknown one to the main menu), the return after
// a level restarts it or moves on, and a closed shop leaves nothing on the board.
#include "ShopTestSupport.h"

#include "Core/Base/Log.h"
#include "Core/Base/LogOutput.h"
#include "Core/Layer/Layer.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/HUD/Shops/HUDBuyGemScreen.h"
#include "Source/TD/HUD/Shops/HUDShopWindow.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDButtonFrame.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{
using tdtest::GameHarness;

// The frame buttons of the demo layouts.
constexpr float kBackX = 66.0f, kBackY = 696.0f;       // "back_ac"
constexpr float kReturnX = 958.0f, kReturnY = 696.0f;  // "return_ac"
constexpr float kGemX = 512.0f, kGemY = 698.0f;        // "gem_shop0" and "gem_shop1"
constexpr float kGemBackX = 56.0f, kGemBackY = 720.0f; // the gem shop's "back_in"

// What the game logs from the moment it is added (the log owns it; the text stays here). The log singleton
// writes its last lines after static objects are gone, so the text lives on the heap for the whole process.
std::wstring& loggedText()
{
    static std::wstring* text = new std::wstring;
    return *text;
}
class LogCapture : public base::LogOutput
{
public:
    void Write(const std::wstring& text) override { loggedText() += text; }
};

// A started level may first show what it unlocks; it plays once that is dismissed.
int settled(int state)
{
    return state == kStateUnlockMessage ? kStatePlaying : state;
}

int windowCount(const GameHarness& harness)
{
    return static_cast<int>(harness.map()->mHud->getWindows().size());
}

TEST(ShopFlow, EachVariantShowsItsWayOutAndItsWayToTheGemShop)
{
    struct Case
    {
        int fromGame;
        bool back, ret, gem0, gem1;
    };
    for (const Case c : {Case{0, true, false, true, false}, Case{1, false, true, false, true}})
    {
        GameHarness harness;
        ASSERT_TRUE(harness.start());
        harness.map()->mHud->openShop(c.fromGame);
        harness.step();
        auto* shop = shoptest::topWindow<HUDShopWindow>(harness);
        ASSERT_NE(shop, nullptr);
        EXPECT_EQ(shop->findButton(L"back_ac")->mVisible, c.back) << c.fromGame;
        EXPECT_EQ(shop->findButton(L"return_ac")->mVisible, c.ret) << c.fromGame;
        EXPECT_EQ(shop->findButton(L"gem_shop0")->mVisible, c.gem0) << c.fromGame;
        EXPECT_EQ(shop->findButton(L"gem_shop1")->mVisible, c.gem1) << c.fromGame;
    }
}

TEST(ShopFlow, BackAndReturnLeadWhereTheShopWasOpenedFrom)
{
    struct Case
    {
        const char* name;
        int fromGame;
        const wchar_t* returnScreen;
        int resultAction;
        float x, y;
        int state;
        int level; // the level afterwards
    };
    const Case cases[] = {
        {"back to the main menu", 0, L"mmenu", -1, kBackX, kBackY, kStateMainMenu, 0},
        {"back to the level select", 0, L"levels", -1, kBackX, kBackY, kStateLevelSelect, 0},
        {"back to the episode select", 0, L"episodes", -1, kBackX, kBackY, kStateEpisodeSelect, 0},
        {"back with a name nobody knows", 0, L"nowhere", -1, kBackX, kBackY, kStateMainMenu, 0},
        {"after a lost level: the level again", 1, L"game", 1, kReturnX, kReturnY, kStatePlaying, 0},
        {"after a won level: the next level", 1, L"game", 2, kReturnX, kReturnY, kStatePlaying, 1},
        {"nothing pending: the main menu", 1, L"game", -1, kReturnX, kReturnY, kStateMainMenu, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GameHarness harness;
        ASSERT_TRUE(harness.start());
        TDMap* map = harness.map();
        shopReturnScreen() = c.returnScreen;
        map->mResultAction = c.resultAction;
        map->mHud->openShop(c.fromGame);
        harness.step();
        ASSERT_NE(shoptest::topWindow<HUDShopWindow>(harness), nullptr);
        harness.click(c.x, c.y);
        harness.step();
        EXPECT_EQ(settled(map->mState), c.state);
        EXPECT_EQ(map->mLevel, c.level);
        EXPECT_EQ(shoptest::topWindow<HUDShopWindow>(harness), nullptr);
        EXPECT_EQ(map->mResultAction, c.fromGame == 1 ? -1 : c.resultAction);
    }
}

TEST(ShopFlow, AWonLevelsShopReturnsToTheNextLevel)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    TDMap* map = harness.map();
    map->levelWon();
    ASSERT_EQ(map->mResultAction, 2);
    // The result window's "done" opens the shop from the game.
    map->mHud->deleteWindows();
    map->mHud->openShop(1);
    harness.step();
    harness.click(kReturnX, kReturnY);
    harness.step();
    EXPECT_EQ(settled(map->mState), kStatePlaying);
    EXPECT_EQ(map->mLevel, 1);
}

TEST(ShopFlow, TheGemShopReturnsToTheScreenThatOpenedIt)
{
    struct Case
    {
        const wchar_t* returnScreen;
        int state;
        int shopVariant; // -1: no shop
    };
    const Case cases[] = {
        {L"game", kStatePlaying, -1},       {L"episodes", kStateEpisodeSelect, -1},
        {L"levels", kStateLevelSelect, -1}, {L"shop0", kStateShop, 0},
        {L"shop1", kStateShop, 1},          {L"nowhere", kStateMainMenu, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.returnScreen, c.returnScreen + wcslen(c.returnScreen)));
        GameHarness harness;
        ASSERT_TRUE(harness.start());
        TDMap* map = harness.map();
        map->mHud->mFadeState = 2;
        map->mHud->openGemShop(c.returnScreen);
        harness.step();
        ASSERT_EQ(map->mState, kStateGemShop);
        harness.click(kGemBackX, kGemBackY);
        harness.step();
        EXPECT_EQ(settled(map->mState), c.state);
        EXPECT_EQ(shoptest::topWindow<HUDBuyGemScreen>(harness), nullptr);
        auto* shop = shoptest::topWindow<HUDShopWindow>(harness);
        EXPECT_EQ(shop != nullptr ? shop->mFromGame : -1, c.shopVariant);
        if (c.state == kStatePlaying)
        {
            EXPECT_EQ(map->mHud->mFadeState, 0);
        }
    }
}

TEST(ShopFlow, ARoundTripThroughTheGemShopKeepsWhereTheUpgradeShopLeadsAndLeavesNothingOnTheBoard)
{
    struct Case
    {
        int fromGame;
        const wchar_t* gemReturn;
        float outX, outY;
        int state; // after leaving the upgrade shop again
        int level;
    };
    for (const Case c : {Case{0, L"shop0", kBackX, kBackY, kStateLevelSelect, 0},
                         Case{1, L"shop1", kReturnX, kReturnY, kStatePlaying, 1}})
    {
        SCOPED_TRACE(c.fromGame);
        GameHarness harness;
        ASSERT_TRUE(harness.start());
        TDMap* map = harness.map();
        layer::Layer* board = boardRootLayer();
        ASSERT_NE(board, nullptr);
        const std::size_t boardLayers = board->GetChildren().size();
        shopReturnScreen() = L"levels";
        map->mResultAction = 2;
        map->mHud->openShop(c.fromGame);
        harness.step();
        EXPECT_GT(board->GetChildren().size(), boardLayers);

        harness.click(kGemX, kGemY);
        harness.step();
        ASSERT_EQ(map->mState, kStateGemShop);
        EXPECT_EQ(gemShopReturnScreen(), c.gemReturn);
        EXPECT_EQ(board->GetChildren().size(), boardLayers) << "the shop took its layers with it";
        EXPECT_EQ(windowCount(harness), 1);

        harness.click(kGemBackX, kGemBackY);
        harness.step();
        auto* shop = shoptest::topWindow<HUDShopWindow>(harness);
        ASSERT_NE(shop, nullptr);
        EXPECT_EQ(shop->mFromGame, c.fromGame);
        harness.click(c.outX, c.outY);
        harness.step();
        EXPECT_EQ(settled(map->mState), c.state);
        EXPECT_EQ(map->mLevel, c.level);
    }
}

TEST(ShopFlow, BothShopsFindEveryPictureAndTextTheyLookUp)
{
    GameHarness harness;
    shoptest::writeProfile(harness, std::string(shoptest::kProgress) + "<gems amount=\"50\"/>");
    ASSERT_TRUE(harness.start());
    base::MainLog::Instance()->AddTextOutput(new LogCapture);
    loggedText().clear();
    TDMap* map = harness.map();
    map->mHud->openShop(1);
    harness.step(2);
    for (int tab : {1, 2, 0})
        harness.click(shoptest::tabX(tab), shoptest::kTabY);
    harness.click(shoptest::buyX(), shoptest::buyY(0));
    harness.click(kGemX, kGemY);
    harness.step(2);
    harness.click(217.0f, 306.0f);
    harness.step(60);
    const std::wstring log = loggedText();
    for (const wchar_t* problem : {L"has no layer", L"no button", L"???", L"cannot"})
        EXPECT_EQ(log.find(problem), std::wstring::npos) << std::string(log.begin(), log.end());
}

// Keeps only the layers of a layout whose names start with one of the prefixes, and puts the layout back
// when it goes.
class StrippedLayout
{
public:
    StrippedLayout(const std::filesystem::path& folder, const std::vector<std::string>& keep)
        : mFile(folder / "layers.xml")
    {
        std::ifstream in(mFile);
        std::stringstream text;
        text << in.rdbuf();
        mOriginal = text.str();
        std::istringstream lines(mOriginal);
        std::string stripped;
        for (std::string line; std::getline(lines, line);)
        {
            const std::size_t name = line.find("name=\"");
            bool kept = name == std::string::npos;
            for (const std::string& prefix : keep)
                kept = kept || line.compare(name + 6, prefix.size(), prefix) == 0;
            if (kept)
                stripped += line + "\n";
        }
        std::ofstream(mFile) << stripped;
    }
    ~StrippedLayout() { std::ofstream(mFile) << mOriginal; }

private:
    std::filesystem::path mFile;
    std::string mOriginal;
};

TEST(ShopFlow, LayoutsLackingTheirPartsStillOpenWorkAndClose)
{
    // The upgrade shop keeps only its back button, the gem shop its first plate's button and its back button.
    const StrippedLayout shopLayout(tdtest::demoDataRoot() / "td" / "shop", {"button/back_ac"});
    const StrippedLayout gemLayout(tdtest::demoDataRoot() / "td" / "gem_shop",
                                   {"button/b_01_in", "button/back_in"});
    GameHarness harness;
    shoptest::writeProfile(harness, std::string(shoptest::kProgress) + "<gems amount=\"50\"/>");
    ASSERT_TRUE(harness.start());
    TDMap* map = harness.map();
    shopReturnScreen() = L"episodes";
    map->mHud->openShop(0);
    harness.step(2);
    auto* shop = shoptest::topWindow<HUDShopWindow>(harness);
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(shop->mPlates.size(), 7u) << "the plates stand without their pictures";
    for (const float y : {shoptest::buyY(0), shoptest::kSliderTopY, 570.0f})
    {
        harness.click(shoptest::buyX(), y);
        harness.click(shoptest::kSliderX, y);
    }
    harness.wheel(500.0f, 400.0f, -240);
    harness.step(2);
    EXPECT_EQ(map->mEconomy->mGems, 50) << "no buy button to hit";
    harness.click(kBackX, kBackY);
    harness.step();
    EXPECT_EQ(map->mState, kStateEpisodeSelect);

    map->mHud->openGemShop(L"levels");
    harness.step(2);
    auto* gems = shoptest::topWindow<HUDBuyGemScreen>(harness);
    ASSERT_NE(gems, nullptr);
    harness.move(215.0f, 387.0f);
    harness.step(2);
    // The first plate has its rectangle and so still sells; the others have nothing to press.
    EXPECT_EQ(gems->click(215, 387), L"buy_50_cr");
    EXPECT_EQ(gems->click(512, 306), L"");
    harness.click(kGemBackX, kGemBackY);
    harness.step();
    EXPECT_EQ(map->mState, kStateLevelSelect);
}

} // namespace
