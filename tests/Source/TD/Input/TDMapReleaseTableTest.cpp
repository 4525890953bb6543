// The release table: for each state, what a release on each of its screen's buttons does, driven through the
// frame manager on the screens as the HUD's openers put them up. A state with no screen of its own gets a
// window with the one button the row releases on.
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/HUD/Menus/HUDModalDialog.h"
#include "Source/TD/HUD/Shops/HUDBuyGemScreen.h"
#include "Source/TD/HUD/Shops/HUDGemPack.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Purchase/TDPurchaseService.h"
#include "Source/TD/Sprites/TDButtonFrame.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
using tdtest::GameHarness;

// A window with one button of that name in the middle of the screen.
HUDWindow* standIn(const std::wstring& name)
{
    auto* window = new HUDWindow;
    auto* button = new TDButtonFrame;
    button->mName = name;
    button->mRect = math::Rect(432.0f, 354.0f, 160.0f, 60.0f);
    window->mButtons.push_back(button);
    return window;
}

// A point of the top window's button of that name (frame button or child button; a stand-in is put up when
// the window lacks it).
bool buttonPoint(GameHarness& harness, const std::wstring& name, float& x, float& y)
{
    math::Point2 at = harness.buttonCentre(name);
    if (at.x < 0.0f)
    {
        harness.map()->mHud->showWindow(standIn(name));
        harness.step();
        at = harness.buttonCentre(name);
    }
    x = at.x;
    y = at.y;
    return at.x >= 0.0f;
}

// A point inside the gem shop's first pack.
bool packPoint(GameHarness& harness, float& x, float& y)
{
    auto* shop = dynamic_cast<HUDBuyGemScreen*>(harness.map()->mHud->getWindows().back());
    if (!shop || shop->mPacks.empty())
        return false;
    for (int py = 0; py < 768; py += 4)
        for (int px = 0; px < 1024; px += 4)
            if (shop->mPacks.front()->contains(px, py))
            {
                x = static_cast<float>(px);
                y = static_cast<float>(py);
                return true;
            }
    return false;
}

struct Row
{
    const char* name;
    std::function<void(TDMap&)> enter; // puts the state and its screen up
    const wchar_t* button;             // released on; null: the first gem pack
    int stateAfter;
    std::function<void(GameHarness&)> check; // what else the row does
};

void enterRefillOffer(TDMap& map)
{
    map.onPurchaseResult({TPurchaseResult::PurchaseFail, L"buy_health", L""});
}

TEST(ReleaseTable, EveryRowOfEveryStateDoesWhatItSays)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    auto shopFrom = [](const wchar_t* back)
    {
        return [back](TDMap& map)
        {
            shopReturnScreen() = back;
            map.mHud->openShop(0);
        };
    };
    auto gemShopFrom = [](const wchar_t* back) { return [back](TDMap& map) { map.mHud->openGemShop(back); }; };
    auto resultAction = [](int action)
    {
        return [action](TDMap& map)
        {
            map.mResultAction = action;
            map.mHud->openShop(1);
        };
    };
    auto nothing = [](GameHarness&) {};
    const Row rows[] = {
        // Upgrade shop (8).
        {"shop back to the main menu", shopFrom(L"mmenu"), L"back_ac", kStateMainMenu, nothing},
        {"shop back to the levels", shopFrom(L"levels"), L"back_ac", kStateLevelSelect, nothing},
        {"shop back to the episodes", shopFrom(L"episodes"), L"back_ac", kStateEpisodeSelect, nothing},
        {"shop to the gem shop", shopFrom(L"mmenu"), L"gem_shop0", kStateGemShop,
         [](GameHarness&) { EXPECT_EQ(gemShopReturnScreen(), L"shop0"); }},
        // The lost level, 1-1, starts again with its news.
        {"shop returns to a lost level", resultAction(1), L"return_ac", kStateUnlockMessage,
         [](GameHarness& h)
         {
             EXPECT_EQ(h.map()->mLevel, 0);
             EXPECT_EQ(h.map()->mResultAction, -1);
         }},
        // The next level starts with the news of what it unlocks; play goes on once that is read.
        {"shop goes on after a won level", resultAction(2), L"return_ac", kStateUnlockMessage,
         [](GameHarness& h)
         {
             EXPECT_EQ(h.map()->mLevel, 1);
             EXPECT_TRUE(h.dismissUnlockMessage());
             EXPECT_EQ(h.map()->mState, kStatePlaying);
         }},
        // Gem shop (18).
        {"gem shop back to the game", gemShopFrom(L"game"), L"back_in", kStatePlaying, nothing},
        {"gem shop back to the shop", gemShopFrom(L"shop0"), L"back_in", kStateShop, nothing},
        {"gem shop back to the levels", gemShopFrom(L"levels"), L"back_in", kStateLevelSelect, nothing},
        {"gem shop back to the episodes", gemShopFrom(L"episodes"), L"back_in", kStateEpisodeSelect, nothing},
        {"gem shop buys a pack", gemShopFrom(L"game"), nullptr, kStateGemShop,
         [](GameHarness& h) { EXPECT_TRUE(h.map()->mPurchaseService->isBusy()); }},
        // Refill offer (22) and the wait for the refill (23).
        {"refill offer buys", enterRefillOffer, L"ok", kStateRefillWait,
         [](GameHarness& h)
         {
             EXPECT_TRUE(h.map()->mPurchaseService->isBusy());
             EXPECT_EQ(h.map()->mHud->topWindow(), nullptr) << "the offer closes";
         }},
        {"refill offer gives up", enterRefillOffer, L"cancel", kStateLost,
         [](GameHarness& h) { EXPECT_EQ(dynamic_cast<HUDModalDialog*>(h.map()->mHud->topWindow()), nullptr); }},
        {"waiting for the refill", [](TDMap& map) { map.mState = kStateRefillWait; }, L"ok", kStateRefillWait,
         nothing},
        {"a level starting", [](TDMap& map) { map.mState = kStateStarting; }, L"ok", kStateStarting, nothing},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        harness.loadLevel(kModeNormal, 0, 0);
        TDMap* map = harness.map();
        // A request of the row before must not be answered into this one.
        for (int frame = 0; frame < 120 && map->mPurchaseService->isBusy(); ++frame)
            harness.step();
        row.enter(*map);
        harness.step();
        float x = 0.0f, y = 0.0f;
        ASSERT_TRUE(row.button ? buttonPoint(harness, row.button, x, y) : packPoint(harness, x, y));
        harness.click(x, y);
        EXPECT_EQ(map->mState, row.stateAfter);
        row.check(harness);
        harness.step();
    }
}

} // namespace
