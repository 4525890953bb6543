// The episode carousel on the demo data: cards, locks and texts, swipes and arrows, and the way into the level
// select.
#include "SelectTestSupport.h"

#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Select/HUDEpisodeCarousel.h"
#include "Source/TD/HUD/Select/HUDEpisodeSelectIOS.h"
#include "Source/TD/HUD/Select/HUDLevelSelect.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cwchar>

namespace
{
using selecttest::SelectScreens;

std::wstring text(const std::wstring& key)
{
    return LocalStrings::Instance()->get(key);
}

class EpisodeSelect : public SelectScreens
{
protected:
    HUDEpisodeSelectIOS* open()
    {
        hud().openEpisodeSelect();
        mHarness.step(2); // it joins the screens, then runs its first update
        HUDEpisodeSelectIOS* screen = top<HUDEpisodeSelectIOS>();
        if (screen != nullptr)
            mCarousel = screen->mCarousel.get();
        return screen;
    }
    std::wstring shownText(HUDEpisodeSelectIOS* screen, const wchar_t* rect)
    {
        for (const auto& [name, shown] : screen->mTexts)
            if (name == rect)
                return shown;
        return L"(none)";
    }
    bool visible(HUDEpisodeSelectIOS* screen, const wchar_t* button)
    {
        const TDButtonFrame* b = screen->findButton(button);
        return b != nullptr && b->mVisible;
    }
    // Presses on the cards, moves the pointer dx across in two moves, waits, and releases.
    void swipe(float dx, int framesBeforeRelease)
    {
        const float x = 600.0f, y = 380.0f;
        mHarness.move(x, y);
        mHarness.press(x, y);
        mHarness.move(x + 1.0f, y);
        mHarness.move(x + 1.0f + dx, y);
        mHarness.step(framesBeforeRelease);
        mHarness.release(x + 1.0f + dx, y);
    }
    HUDEpisodeCarousel* mCarousel = nullptr;
};

TEST_F(EpisodeSelect, CardsShowWhatIsOpenLockedOrToComeAndTheStarTotal)
{
    HUDEpisodeSelectIOS* screen = open();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(mMap->mState, kStateEpisodeSelect);
    ASSERT_EQ(mCarousel->count(), mMap->getEpisodeCount());
    ASSERT_EQ(mCarousel->count(), 4);
    const auto& cards = mCarousel->mCards;
    // The first episode is open and new; the second needs stars; the fourth id has no row: coming soon.
    EXPECT_EQ(cards[0].overlay, nullptr);
    EXPECT_EQ(cards[0].newBadge, screen->mNewImage.get());
    EXPECT_TRUE(cards[0].text.empty());
    EXPECT_EQ(cards[1].overlay, screen->mLockImage.get());
    EXPECT_EQ(cards[1].newBadge, nullptr);
    std::wstring locked = text(L"unlockEpisodeText");
    ASSERT_NE(locked.find(L"%d"), std::wstring::npos);
    locked.replace(locked.find(L"%d"), 2, std::to_wstring(mMap->getStarsRequired(1)));
    EXPECT_EQ(cards[1].text, locked);
    EXPECT_EQ(cards[3].overlay, screen->mLockImage.get());
    EXPECT_EQ(cards[3].text, text(L"comingSoon"));
    EXPECT_EQ(shownText(screen, L"levelName"), text(L"episode0"));
    EXPECT_EQ(shownText(screen, L"stars"), L"0/" + std::to_wstring(9 * mMap->getTotalLevelCount()));
    EXPECT_FALSE(visible(screen, L"arrow_left"));
    EXPECT_TRUE(visible(screen, L"arrow_right"));
}

TEST_F(EpisodeSelect, SwipesMoveByOneCardPastAQuarterOrOnAFlick)
{
    struct Case
    {
        const char* what;
        int from;
        float dx;
        int frames;
        int to;
    };
    const Case cases[] = {
        {"90 left, slow: next", 0, -90.0f, 30, 1},
        {"60 left, slow: back to rest", 0, -60.0f, 30, 0},
        {"60 left, quick: next", 0, -60.0f, 12, 1},
        {"60 right, quick: previous", 2, 60.0f, 12, 1},
        {"90 right, slow: previous", 2, 90.0f, 30, 1},
        {"right at the first card: nothing moves", 0, 90.0f, 12, 0},
        {"left at the last card: nothing moves", 3, -90.0f, 12, 3},
        {"a long drag still moves one card", 1, -500.0f, 30, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        HUDEpisodeSelectIOS* screen = open();
        ASSERT_NE(screen, nullptr);
        mCarousel->mCurrent = c.from;
        screen->onEpisodeChanged(c.from);
        swipe(c.dx, c.frames);
        EXPECT_EQ(mCarousel->mCurrent, c.to);
        mHarness.step(60);
        EXPECT_EQ(mCarousel->mState, HUDEpisodeCarousel::kRest);
        EXPECT_EQ(mCarousel->mOffset, 0.0f);
        EXPECT_EQ(mMap->mState, kStateEpisodeSelect) << "a swipe never opens an episode";
        EXPECT_EQ(shownText(screen, L"levelName"), text(L"episode" + std::to_wstring(c.to)));
        hud().closeTopWindow();
    }
}

TEST_F(EpisodeSelect, PlayFadesWhileTheRowMovesAndArrowsStep)
{
    HUDEpisodeSelectIOS* screen = open();
    ASSERT_NE(screen, nullptr);
    press(L"arrow_right");
    EXPECT_EQ(mCarousel->mCurrent, 1);
    EXPECT_EQ(screen->mFadeState, HUDEpisodeSelectIOS::kFadingOut);
    mHarness.step(15);
    EXPECT_FALSE(visible(screen, L"play")) << "faded out within a quarter second";
    mHarness.step(30);
    EXPECT_EQ(mCarousel->mState, HUDEpisodeCarousel::kRest);
    mHarness.step(16);
    EXPECT_TRUE(visible(screen, L"play"));
    EXPECT_EQ(screen->mFadeState, HUDEpisodeSelectIOS::kSteady);
    EXPECT_TRUE(visible(screen, L"arrow_left"));

    // The second episode is locked: neither "play" nor the card opens it.
    press(L"play");
    EXPECT_EQ(mMap->mState, kStateEpisodeSelect);
    clickAt(512.0f, 384.0f);
    EXPECT_EQ(mMap->mState, kStateEpisodeSelect);

    press(L"arrow_left");
    mHarness.step(60);
    press(L"play");
    EXPECT_EQ(mMap->mState, kStateLevelSelect);
    EXPECT_EQ(mMap->mEpisode, 0);
    EXPECT_NE(top<HUDLevelSelect>(), nullptr);
}

// A tap on empty space while the row still slides after an arrow step runs the release rules on what is left
// of the offset; with no drag before it, it is never taken for a flick.
TEST_F(EpisodeSelect, ATapDuringASlideJudgesTheOffsetLeft)
{
    struct Case
    {
        const char* what;
        int framesAfterArrow;
        int to;
    };
    const Case cases[] = {
        {"more than a quarter left: back to the card before the step", 6, 0},
        {"a little left: the step stands", 21, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ASSERT_NE(open(), nullptr);
        press(L"arrow_right");
        mHarness.step(c.framesAfterArrow - 1);
        ASSERT_EQ(mCarousel->mState, HUDEpisodeCarousel::kSlidingRight);
        clickAt(900.0f, 250.0f);
        mHarness.step(60);
        EXPECT_EQ(mCarousel->mCurrent, c.to);
        EXPECT_EQ(mCarousel->mOffset, 0.0f);
        hud().closeTopWindow();
    }
}

TEST_F(EpisodeSelect, ALastEpisodeOutsideTheTableStartsOnTheLastCard)
{
    mMap->mProfile->getElement()->SetAttribute("lastEpisode", 9);
    HUDEpisodeSelectIOS* screen = open();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(mCarousel->mCurrent, mCarousel->count() - 1);
    EXPECT_EQ(shownText(screen, L"levelName"), text(L"episode" + std::to_wstring(mCarousel->count() - 1)));
}

TEST_F(EpisodeSelect, ATapOnTheMiddleCardOpensItAndBackLeadsToTheMenu)
{
    ASSERT_NE(open(), nullptr);
    clickAt(512.0f, 384.0f);
    EXPECT_EQ(mMap->mState, kStateLevelSelect);
    hud().closeTopWindow();

    ASSERT_NE(open(), nullptr);
    press(L"back");
    EXPECT_EQ(mMap->mState, kStateMainMenu);
    EXPECT_EQ(top<HUDEpisodeSelectIOS>(), nullptr);
}

// One press sounds once: the release plays "simple" for the button under it; the press before it and the
// screen's own look at the point stay silent, and a press on no button is silent throughout.
TEST_F(EpisodeSelect, APressOnAButtonSoundsOnce)
{
    const struct
    {
        const wchar_t* button; // empty: the middle card, no button
        int simple;
    } cases[] = {{L"arrow_right", 1}, {L"arrow_left", 1}, {L"play", 1}, {L"shop", 1}, {L"back", 1}, {L"", 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "button '" << std::string(c.button, c.button + wcslen(c.button))
                                        << "'");
        if (top<HUDEpisodeSelectIOS>() == nullptr)
        {
            ASSERT_NE(open(), nullptr);
        }
        mHarness.step(60); // at rest, "play" shown
        if (std::wstring(c.button) == L"arrow_left")
        {
            ASSERT_GT(mCarousel->mCurrent, 0);
        }
        mHarness.sounds().clear();
        if (*c.button)
            press(c.button);
        else
            clickAt(512.0f, 384.0f);
        const auto& tags = mHarness.sounds().tags;
        EXPECT_EQ(std::count(tags.begin(), tags.end(), std::wstring(L"simple")), c.simple);
        if (top<HUDEpisodeSelectIOS>() == nullptr)
            hud().closeTopWindow();
    }
}

} // namespace
