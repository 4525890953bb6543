// The lives refill in play: a failed refill purchase offers it again, and the offer's answers (buy, with
// the purchase succeeding or failing again, or give up) through the pointer; results that arrive where no
// level waits for them.
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/HUD/Menus/HUDModalDialog.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Purchase/TDPurchaseService.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
using tdtest::GameHarness;
using tdtest::LogCapture;

// Clicks the named button of the top window through the frame manager.
void clickButton(GameHarness& harness, const std::wstring& name)
{
    const math::Point2 at = harness.buttonCentre(name);
    ASSERT_GE(at.x, 0.0f) << "no visible button of that name on the top window";
    harness.click(at.x, at.y);
}

// The frames until the purchase service has answered the request under way.
void waitForAnswer(GameHarness& harness)
{
    for (int frame = 0; frame < 600 && harness.map()->mPurchaseService->isBusy(); ++frame)
        harness.step();
    harness.step();
}

// Plays 1-1 with no lives left and a refill purchase that failed: the offer is up (state 22).
void offerRefill(GameHarness& harness)
{
    TDMap* map = harness.map();
    map->mLives = 0.0f;
    map->mHud->mFadeState = 2;
    map->mPurchaseService->setOutcome(TDPurchaseOutcome::Fail);
    ASSERT_TRUE(map->mPurchaseService->purchase(L"buy_health"));
    waitForAnswer(harness);
    ASSERT_EQ(map->mState, kStateRefillOffer);
    harness.step();
    // The offer is the failed-refill dialog: its caption and both answers.
    auto* offer = dynamic_cast<HUDModalDialog*>(map->mHud->topWindow());
    ASSERT_NE(offer, nullptr);
    const std::pair<std::wstring, std::wstring> caption(L"caption",
                                                        LocalStrings::Instance()->get(L"buyHealthDialogTitle"));
    EXPECT_NE(std::find(offer->mTexts.begin(), offer->mTexts.end(), caption), offer->mTexts.end());
    EXPECT_NE(harness.buttonCentre(L"ok").x, -1.0f);
    EXPECT_NE(harness.buttonCentre(L"cancel").x, -1.0f);
}

TEST(Refill, TheOfferBuysTheLivesAgainOrGivesTheLevelUp)
{
    struct Case
    {
        const char* name;
        const wchar_t* answer;
        TDPurchaseOutcome outcome;
        int state;
        bool refilled;
    };
    const Case cases[] = {
        {"bought", L"ok", TDPurchaseOutcome::Success, kStatePlaying, true},
        {"failed again", L"ok", TDPurchaseOutcome::Fail, kStateRefillOffer, false},
        {"given up", L"cancel", TDPurchaseOutcome::Success, kStateLost, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GameHarness harness;
        ASSERT_TRUE(harness.start());
        TDMap* map = harness.map();
        offerRefill(harness);
        const std::size_t windows = map->mHud->getWindows().size();
        map->mPurchaseService->setOutcome(c.outcome);
        clickButton(harness, c.answer);
        EXPECT_EQ(map->mHud->getWindows().size(), windows - 1) << "the offer closes";
        EXPECT_EQ(map->mHud->mFadeState, 0);
        if (std::wstring(c.answer) == L"ok")
        {
            EXPECT_EQ(map->mState, kStateRefillWait);
            EXPECT_TRUE(map->mPurchaseService->isBusy()) << "the refill is bought";
        }
        waitForAnswer(harness);
        EXPECT_EQ(map->mState, c.state);
        EXPECT_EQ(map->mLives, c.refilled ? map->mMaxLives : 0.0f);
        EXPECT_GT(map->mMaxLives, 0.0f);
    }
}

TEST(Refill, ARestoredRefillIsOfferedAgainAndResultsWithoutALevelAreIgnored)
{
    GameHarness harness;
    ASSERT_TRUE(harness.start());
    TDMap* map = harness.map();
    LogCapture::Reset();
    struct Case
    {
        int stateBefore;
        int type;
        int stateAfter;
    };
    const Case cases[] = {
        {kStatePlaying, TPurchaseResult::RestoreSuccess, kStateRefillOffer},
        {kStateRefillWait, TPurchaseResult::PurchaseFail, kStateRefillOffer},
        {kStateRefillWait, TPurchaseResult::PurchaseSuccess, kStatePlaying},
        {kStateMainMenu, TPurchaseResult::PurchaseSuccess, kStateMainMenu},
        {kStateLevelSelect, TPurchaseResult::PurchaseFail, kStateLevelSelect},
        {kStateGemShop, TPurchaseResult::PurchaseSuccess, kStateGemShop},
    };
    int ignored = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "state " << c.stateBefore << ", result " << c.type);
        map->mState = c.stateBefore;
        map->mLives = 1.0f;
        map->onPurchaseResult({c.type, L"buy_health", L"no network"});
        EXPECT_EQ(map->mState, c.stateAfter);
        EXPECT_EQ(map->mLives, c.stateAfter == kStatePlaying ? map->mMaxLives : 1.0f);
        if (c.stateBefore == c.stateAfter)
            ++ignored;
    }
    EXPECT_EQ(LogCapture::CountLines(L"lives refill result arrived"), ignored);
}

} // namespace
