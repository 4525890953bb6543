// The HUD overlay in play, driven with the mouse through the harness: its counters and buttons, the speed
// buttons, the spell buttons (arm, cast, recharge, disarm), the window stack, and what the overlay keeps to
// itself (a point on its own buttons never arms a spell).
#include "Core/Render/BMFont.h"
#include "Core/Render/Image.h"
#include "Core/Render/TextLayout.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/Units/TDWaveCallMarkers.h"
#include "Source/TD/Units/TDWaves.h"
#include "tests/Source/TD/Play/PlayFixture.h"

namespace
{
using tdtest::GameHarness;
using tdtest::PlayFixture;

int countLines(const std::vector<std::string>& frame, const std::string& start)
{
    return static_cast<int>(std::count_if(
        frame.begin(), frame.end(), [&](const std::string& line) { return line.rfind(start, 0) == 0; }));
}

TEST_F(PlayFixture, TheOverlayShowsItsPicturesCountersAndButtonsButNotBehindTheMenus)
{
    ASSERT_TRUE(startLevel());
    // Root pictures in layout order, the eight speed and menu buttons, five spell places, four counters.
    EXPECT_EQ(hud().mImages.size(), 6u);
    EXPECT_EQ(hud().mButtons.size(), 8u);
    EXPECT_EQ(hud().getSpellSlots().size(), 5u);
    for (const wchar_t* name : {L"text/crystals", L"text/mana", L"text/coins", L"text/waves"})
        EXPECT_EQ(hud().mTextRects.count(name), 1u) << "text place under its full name";
    EXPECT_EQ(hud().getText(L"text/coins"), L"200");

    const int playing = countLines(mHarness.lastFrame(), "DrawIndexedPrimitive");
    struct Case
    {
        int state;
        bool overlay;
    };
    for (const Case& c :
         {Case{kStateMainMenu, false}, Case{kStateSplash, false}, Case{kStateEpisodeSelect, false},
          Case{kStateLevelSelect, false}, Case{kStateIngameMenu, true}})
    {
        mMap->mState = c.state;
        mHarness.step();
        const bool drawsImage = countLines(mHarness.lastFrame(), "SetTexture") > 2 &&
                                countLines(mHarness.lastFrame(), "DrawIndexedPrimitive") >= playing;
        EXPECT_EQ(drawsImage, c.overlay) << "state " << c.state;
    }
}

TEST_F(PlayFixture, PauseAndSpeedButtonsShowTheLitButtonOfTheCurrentSpeed)
{
    ASSERT_TRUE(startLevel());
    EXPECT_FLOAT_EQ(mMap->mSpeed, 1.0f);
    EXPECT_TRUE(button(L"play_btn_ac").mVisible);
    EXPECT_FALSE(button(L"play_btn").mVisible);

    clickButton(L"pause_btn");
    EXPECT_FLOAT_EQ(mMap->mSpeed, 0.0f);
    EXPECT_TRUE(button(L"pause_btn_ac").mVisible);
    EXPECT_FALSE(button(L"pause_btn").mVisible);
    const float clock = mMap->mGameTime;
    mHarness.step(10);
    EXPECT_FLOAT_EQ(mMap->mGameTime, clock) << "paused";

    clickButton(L"speed_btn");
    EXPECT_FLOAT_EQ(mMap->mSpeed, 2.0f);
    EXPECT_TRUE(button(L"speed_btn_ac").mVisible);
    EXPECT_TRUE(button(L"pause_btn").mVisible);
    // The lit button of the current speed does nothing.
    clickButton(L"speed_btn_ac");
    EXPECT_FLOAT_EQ(mMap->mSpeed, 2.0f);

    // The tutorial's lock: play works up to 1, speed only at 0.
    struct Case
    {
        int lock;
        const wchar_t* press;
        float before;
        float after;
    };
    for (const Case& c : {Case{1, L"speed_btn", 1.0f, 1.0f}, Case{1, L"play_btn", 0.0f, 1.0f},
                          Case{2, L"play_btn", 0.0f, 0.0f}, Case{0, L"speed_btn", 1.0f, 2.0f}})
    {
        hud().mBlockUI = c.lock;
        mMap->mSpeed = c.before;
        mMap->updateSpeedButtons();
        clickButton(c.press);
        EXPECT_FLOAT_EQ(mMap->mSpeed, c.after) << "lock " << c.lock;
    }
}

TEST_F(PlayFixture, OptionsButtonPausesIntoTheIngameMenu)
{
    ASSERT_TRUE(startLevel());
    clickButton(L"options_btn");
    EXPECT_EQ(mMap->mState, kStateIngameMenu);
    EXPECT_FLOAT_EQ(mMap->mSpeed, 0.0f);
}

TEST_F(PlayFixture, ASpellIsArmedCastRechargesAndCanBeDisarmed)
{
    ASSERT_TRUE(startLevel(kModeHardcore));
    ASSERT_EQ(hud().getSpellButtons().size(), 5u) << "hardcore offers every spell";
    for (std::size_t i = 0; i < 5; ++i)
    {
        EXPECT_EQ(spell(i).getSpellId(), static_cast<int>(i));
        EXPECT_EQ(spell(i).mIndex, static_cast<int>(i));
        const TDFrameEntry& slot = *hud().getSpellSlots()[i];
        EXPECT_EQ(spell(i).mName, slot.mName);
        EXPECT_FLOAT_EQ(spell(i).mCenterX, slot.mRect.x + slot.mRect.width * 0.5f);
    }

    // Armed by a release on it, disarmed by another. (The level's unlock message, answered on the way in,
    // has played sounds of its own.)
    mHarness.sounds().clear();
    clickSpell(0);
    EXPECT_EQ(mMap->mArmedSpell, &spell(0));
    EXPECT_EQ(count(L"simple"), 1u);
    clickSpell(0);
    EXPECT_EQ(mMap->mArmedSpell, nullptr);
    EXPECT_FALSE(spell(0).isCooling());

    // Cast where the next release lands on the map.
    clickSpell(0);
    mHarness.sounds().clear();
    mHarness.click(300.0f, 400.0f);
    mHarness.step();
    EXPECT_EQ(mMap->mArmedSpell, nullptr);
    EXPECT_EQ(count(L"spell0"), 1u);
    ASSERT_TRUE(spell(0).isCooling());
    const float full = spell(0).getRemaining();
    EXPECT_GT(full, 1.0f);
    EXPECT_EQ(mMap->mContextMenu, nullptr) << "the cast release opens nothing";

    // While recharging: not usable (the HUD answers -2 there) and a release on it arms nothing.
    EXPECT_EQ(hud().hitTest(static_cast<int>(spell(0).mCenterX), static_cast<int>(spell(0).mCenterY)),
              HUD::kHitSpellNotReady);
    clickSpell(0);
    EXPECT_EQ(mMap->mArmedSpell, nullptr);
    // It counts down with the game speed: not while paused, twice as fast at 2.0.
    const float before = spell(0).getRemaining();
    mMap->mSpeed = 0.0f;
    mHarness.step(30);
    EXPECT_FLOAT_EQ(spell(0).getRemaining(), before);
    mMap->mSpeed = 2.0f;
    mHarness.step(30);
    EXPECT_NEAR(spell(0).getRemaining(), before - 1.0f, 1e-3f);
    EXPECT_NEAR(spell(0).shadeFraction(), spell(0).getRemaining() / full, 1e-3f);
    mHarness.step(static_cast<int>(full * 30.0f) + 2);
    EXPECT_FALSE(spell(0).isCooling());
    EXPECT_NE(spell(0).mGlint, nullptr) << "ready again, with the glint";
}

// The recharge starts from the upgraded cooldown and the shade measures it against the table's: lowered, the
// shade starts below the icon's height; raised, above it.
TEST_F(PlayFixture, AnUpgradedCooldownStartsTheShadeBelowOrAboveFullHeight)
{
    ASSERT_TRUE(startLevel());
    HUDSpellButton& button = spell(0);
    const TDUnitProto* table = mMap->mProtoTable->find(button.getProtoId());
    ASSERT_NE(table, nullptr);
    ASSERT_GT(table->cooldown, 0.0f);
    struct Case
    {
        int percentOff; // of the cooldown, bought as one upgrade step
        float shade;
    };
    for (const Case& c : {Case{50, 0.5f}, Case{0, 1.0f}, Case{-50, 1.5f}})
    {
        SCOPED_TRACE(c.percentOff);
        const std::string xml = "<upgrades><upgrade id=\"95\" section=\"0\" icon=\"walls\"><unlock episode=\"0\" "
                                "level=\"0\"/><targets><target id=\"-1\"/><target id=\"" +
                                std::to_string(button.getProtoId()) +
                                "\"/></targets><steps><step cost_g=\"0\" cost_r=\"1\"><attributes><a "
                                "name=\"cooldown\" value=\"" +
                                std::to_string(c.percentOff) + "\"/></attributes></step></steps></upgrade></upgrades>";
        auto upgrades = std::make_unique<TDUpgradeList>();
        upgrades->parse(xml, L"spell cooldown");
        upgrades->setProfile(mMap->mProfile.get());
        upgrades->setUnlocks(mMap->mUnlocks.get());
        mMap->mProfile->setUpgradeList(upgrades.get());
        mMap->mUpgrades = std::move(upgrades);
        mMap->mProfile->setUpgradeLevel(95, 0);

        button.startCooldown();
        EXPECT_NEAR(button.getRemaining(), table->cooldown * c.shade, 1e-4f);
        EXPECT_NEAR(button.shadeFraction(), c.shade, 1e-5f);
        hud().resetSpells();
    }
}

TEST_F(PlayFixture, TheRechargeShowsWholeSecondsCountedUp)
{
    struct Case
    {
        float remaining;
        int shown;
    };
    for (const Case& c : {Case{2.5f, 3}, Case{0.2f, 1}, Case{3.0f, 4}, Case{0.0f, 1}})
        EXPECT_EQ(HUDSpellButton::secondsShown(c.remaining), c.shown) << c.remaining;
}

TEST_F(PlayFixture, TheWarcryActsAtOnceAndOnlyWithATowerToBoost)
{
    ASSERT_TRUE(startLevel(kModeHardcore));
    ASSERT_EQ(hud().getSpellButtons().size(), 5u);
    HUDSpellButton& warcry = spell(4);
    while (!mMap->mTowers.empty()) // the level's own towers
        mMap->sellTower(mMap->mTowers.back());
    const int x = static_cast<int>(warcry.mCenterX);
    const int y = static_cast<int>(warcry.mCenterY);
    // No tower: it cannot be pressed, but the point is on it.
    EXPECT_FALSE(warcry.hitTest(x, y));
    EXPECT_TRUE(warcry.contains(x, y));
    EXPECT_EQ(hud().hitTest(x, y), HUD::kHitSpellNotReady);
    clickSpell(4);
    EXPECT_EQ(mMap->mArmedSpell, nullptr);
    EXPECT_FALSE(warcry.isCooling());

    // With a tower on the map it is cast the moment its button is released, without staying armed.
    TDFrameEntry* spot = mMap->findSpotAt(481, 510);
    ASSERT_NE(mMap->buildTower(mMap->mProtoTable->find(10000), spot), nullptr);
    mHarness.sounds().clear();
    clickSpell(4);
    EXPECT_EQ(mMap->mArmedSpell, nullptr);
    EXPECT_TRUE(warcry.isCooling());
    EXPECT_EQ(count(L"spell4"), 1u);
}

TEST_F(PlayFixture, APointOnTheHudsOwnButtonsNeverArmsASpell)
{
    ASSERT_TRUE(startLevel(kModeHardcore));
    // The layout's buttons come before any spell in its index order; a hidden one must not read as the spell
    // of the same index. Hide the pause pair and release where they are.
    TDButtonFrame& pause = button(L"pause_btn");
    TDButtonFrame& pauseLit = button(L"pause_btn_ac");
    pause.mVisible = false;
    pauseLit.mVisible = false;
    const int x = static_cast<int>(pause.mRect.x + pause.mRect.width * 0.5f);
    const int y = static_cast<int>(pause.mRect.y + pause.mRect.height * 0.5f);
    EXPECT_EQ(hud().hitTest(x, y), -1);
    mHarness.click(static_cast<float>(x), static_cast<float>(y));
    mHarness.step();
    EXPECT_EQ(mMap->mArmedSpell, nullptr);
    // A visible one answers its own code.
    const math::Rect& play = button(L"play_btn_ac").mRect;
    EXPECT_EQ(hud().hitTest(static_cast<int>(play.x + 2), static_cast<int>(play.y + 2)), HUD::kHitOwnButton);

    // An armed spell is not cast by a release on a HUD button: the button acts.
    clickSpell(1);
    ASSERT_EQ(mMap->mArmedSpell, &spell(1));
    clickButton(L"speed_btn");
    EXPECT_EQ(mMap->mArmedSpell, &spell(1));
    EXPECT_FALSE(spell(1).isCooling());
    EXPECT_FLOAT_EQ(mMap->mSpeed, 2.0f);
}

TEST_F(PlayFixture, SpellButtonsBeyondTheLayoutsPlacesOrWithoutASpellAreNotMade)
{
    ASSERT_TRUE(startLevel(kModeHardcore));
    ASSERT_EQ(hud().getSpellButtons().size(), 5u);
    hud().addSpellButton(0);  // a sixth: no place left
    hud().addSpellButton(77); // no such spell
    EXPECT_EQ(hud().getSpellButtons().size(), 5u);
    // A level start deletes them (and an armed one is forgotten) before it adds the level's.
    clickSpell(2);
    ASSERT_NE(mMap->mArmedSpell, nullptr);
    mHarness.loadLevel(kModeEasy, 0, 0);
    EXPECT_EQ(mMap->mArmedSpell, nullptr);
    EXPECT_EQ(hud().getSpellButtons().size(), 1u);
}

TEST_F(PlayFixture, ASpellWithoutCooldownOrIconNeitherDividesByZeroNorLosesItsPlace)
{
    ASSERT_TRUE(startLevel());
    // Prototype 10000 is a tower: used as a spell it has a cooldown; an unknown id has none.
    HUDSpellButton noRow(*mMap, 9, 424242, nullptr, nullptr);
    noRow.mCenterX = 100.0f;
    noRow.mCenterY = 100.0f;
    noRow.startCooldown();
    EXPECT_FLOAT_EQ(noRow.getRemaining(), 0.0f);
    noRow.mElapsed = 5.0f;
    EXPECT_EQ(noRow.shadeFraction(), 0.0f);
    // Without an icon it keeps a 70-unit square.
    EXPECT_TRUE(noRow.contains(135, 135));
    EXPECT_FALSE(noRow.contains(136, 100));
    noRow.draw(nullptr);
}

TEST_F(PlayFixture, TwoScreensQueuedInOneFrameJoinInOrderAndTheSecondTakesThePresses)
{
    ASSERT_TRUE(startLevel());
    struct Counting : HUDWindow
    {
        int presses = 0;
        void mouseDown(int, int) override { ++presses; }
    };
    auto* first = new Counting;
    auto* second = new Counting;
    hud().showWindow(first);
    hud().showWindow(second);
    EXPECT_TRUE(hud().getWindows().empty()) << "they join at the end of the next update";
    mHarness.step();
    ASSERT_EQ(hud().getWindows().size(), 2u);
    EXPECT_EQ(hud().getWindows()[0], first);
    EXPECT_EQ(hud().getWindows()[1], second);
    mMap->mState = kStateIngameMenu;
    mHarness.press(500.0f, 300.0f);
    mHarness.release(500.0f, 300.0f);
    EXPECT_EQ(second->presses, 1);
    EXPECT_EQ(first->presses, 0);
    // With a window open the overlay's buttons are not answered.
    const math::Rect& r = button(L"play_btn_ac").mRect;
    EXPECT_EQ(hud().hitTest(static_cast<int>(r.x + 2), static_cast<int>(r.y + 2)), -1);
    EXPECT_EQ(hud().click(static_cast<int>(r.x + 2), static_cast<int>(r.y + 2)), L"");
}

TEST_F(PlayFixture, CallingTheNextWaveEarlyPaysTwoMoneyPerSecondSkipped)
{
    ASSERT_TRUE(startLevel());
    TDWaveCallMarkers& markers = *mMap->mWaveCallMarkers;
    markers.clear();
    markers.add(mMap->getFirstSpawnPoint());
    ASSERT_FALSE(markers.getMarkers().empty());
    const TDFrameEntry& marker = *markers.getMarkers()[0];
    // 12.7 seconds before the wave: 25 money.
    markers.mDueTime = 30.0f;
    mMap->mWaves->mClock = markers.mDueTime - 12.7f;
    const int money = mMap->mEconomy->mMoney;
    const float x = marker.mRect.x + marker.mRect.width * 0.5f;
    const float y = marker.mRect.y + marker.mRect.height * 0.5f;

    hud().mBlockUI = 2; // the tutorial holds the waves back
    mHarness.click(x, y);
    EXPECT_EQ(mMap->mEconomy->mMoney, money);
    EXPECT_FALSE(markers.getMarkers().empty());

    hud().mBlockUI = 3;
    mHarness.click(x, y);
    EXPECT_EQ(mMap->mEconomy->mMoney, money + 25);
    EXPECT_TRUE(markers.getMarkers().empty());
    EXPECT_FLOAT_EQ(mMap->mWaves->mClock, markers.mDueTime);
    ASSERT_FALSE(mMap->mPopups->getNotices().empty());
    EXPECT_EQ(mMap->mPopups->getNotices().back()->mText, L"+ 25");
}
} // namespace

namespace
{
// Paused, a tower is bought through its menu: the money goes, the spot is taken and the tower stands on the
// map at once, drawn whole, without waiting for Play.
TEST_F(PlayFixture, ATowerBuiltWhilePausedIsDrawnAtOnce)
{
    ASSERT_TRUE(startLevel());
    clickButton(L"pause_btn");
    ASSERT_EQ(mMap->mSpeed, 0.0f);
    const int money = mMap->mEconomy->mMoney;
    TDFrameEntry* spot = spotFrameAt(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY);
    openMenuAt(tdtest::kOwnedSpotX, tdtest::kOwnedSpotY);
    ASSERT_TRUE(chooseItem(10000));
    ASSERT_FALSE(mMap->mTowers.empty());
    const TDTower* tower = mMap->mTowers.back();
    EXPECT_LT(mMap->mEconomy->mMoney, money);
    EXPECT_FALSE(spot->mVisible);
    mHarness.step(60);
    EXPECT_EQ(mMap->mSpeed, 0.0f);
    EXPECT_FLOAT_EQ(tower->mAlpha, 1.0f) << "faded in within a second of real time";
}
} // namespace

namespace
{
// The counters' longest texts stay on one line of their wells: 100 lives (the developer key), five digits of
// money, four of gems and a wave count of two digits.
TEST_F(PlayFixture, TheCountersFitTheirWellsOnOneLine)
{
    ASSERT_TRUE(startLevel());
    mMap->mDeveloperMode = true;
    mHarness.key('h');
    ASSERT_EQ(hud().getText(L"text/mana"), L"100/100");
    const auto* font = dynamic_cast<const render::BMFont*>(hud().mFont.Get());
    ASSERT_NE(font, nullptr);
    const struct
    {
        const wchar_t* rect;
        std::wstring text;
    } counters[] = {{L"text/mana", hud().getText(L"text/mana")},
                    {L"text/coins", L"99999"},
                    {L"text/crystals", L"9999"},
                    {L"text/waves", LocalStrings::Instance()->get(L"game_wave") + L" 10/10"}};
    for (const auto& c : counters)
    {
        render::TextLayout layout;
        layout.mWidth = hud().mTextRects.at(c.rect)->mRect.width;
        std::vector<render::TextLine> lines;
        font->LayoutLines(c.text, layout, lines);
        EXPECT_EQ(lines.size(), 1u) << "\"" << std::string(c.text.begin(), c.text.end()) << "\" in "
                                    << layout.mWidth;
    }
}
} // namespace
