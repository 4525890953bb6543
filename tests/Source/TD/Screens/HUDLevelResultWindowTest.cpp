// The result window of a won level counting its rows, frame by frame on an exact clock of 1/8 s: each row
// counts from 0 to its value in a second, rounded to the nearest; an empty kill or combo row is passed over
// at once; the combo row shows ten times the bonus and the total leaves it out.
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDLevelResultWindow.h"
#include "Source/TD/Harness/TDDrawCapture.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Map/TDMap.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace
{
using tdtest::GameHarness;

constexpr float kDt = 0.125f;

const wchar_t* const kRows[] = {L"killScore", L"goldBonus", L"lifeBonus", L"totalScore"};
const wchar_t* const kCaptions[] = {L"game_kill_score", L"game_combo_bonus", L"game_life_bonus",
                                    L"game_total_score"};

// The number a row shows after its caption; -1 when the text is not the row's caption and a number.
int rowValue(const HUDWindow& window, int row)
{
    const std::wstring caption = LocalStrings::Instance()->get(kCaptions[row]);
    for (const auto& [name, text] : window.mTexts)
        if (name == kRows[row])
        {
            if (text.rfind(caption, 0) != 0 || text.size() == caption.size())
                return -1;
            return std::stoi(text.substr(caption.size()));
        }
    return -1;
}

// One frame of the window as the HUD runs it: its update, then its draw.
struct Shown
{
    int phase = 0;       // while drawn
    float elapsed = 0.0f; // in that phase
    int values[4] = {};
};

class ResultWindowRun
{
public:
    // The level is won with these scores; the window comes up as the game opens it.
    bool start(int kills, int combo, float lives)
    {
        if (!mHarness.start())
            return false;
        TDMap& map = *mHarness.map();
        map.mEconomy->mKillScore = kills;
        map.mEconomy->mComboBonus = combo;
        map.mLives = lives;
        map.levelWon();
        mHarness.step(); // the window joins the HUD and is drawn once, at scale 0
        mWindow = dynamic_cast<HUDLevelResultWindow*>(map.mHud->topWindow());
        return mWindow != nullptr && mWindow->mPhase == 0 && mWindow->mElapsed == 0.0f;
    }

    // Frames until the counting has ended (at most 10 s).
    void playToTheEnd()
    {
        for (int i = 0; i < 80 && mWindow->mPhase != 5; ++i)
        {
            mWindow->update(kDt);
            Shown shown;
            shown.phase = mWindow->mPhase;
            shown.elapsed = mWindow->mElapsed;
            {
                tdtest::RecordedFrame frame(mHarness.recording());
                mWindow->draw(frame.graphics());
            }
            for (int row = 0; row < 4; ++row)
                shown.values[row] = rowValue(*mWindow, row);
            mFrames.push_back(shown);
        }
    }

    // What a row showed when its phase had run for that long; -1 when never drawn then.
    int valueAt(int row, float elapsed) const
    {
        for (const Shown& shown : mFrames)
            if (shown.phase == row + 1 && shown.elapsed == elapsed)
                return shown.values[row];
        return -1;
    }
    int framesIn(int phase) const
    {
        int n = 0;
        for (const Shown& shown : mFrames)
            n += shown.phase == phase ? 1 : 0;
        return n;
    }

    GameHarness mHarness;
    HUDLevelResultWindow* mWindow = nullptr;
    std::vector<Shown> mFrames;
};

TEST(HUDLevelResultWindow, RowsCountUpRoundedPassOverEmptyRowsAndTheTotalLeavesOutTheCombo)
{
    struct Case
    {
        const char* name;
        int kills;
        int combo;
        float lives;
        int finals[4]; // kill, combo (x 10), life, total
        // A row's value after 1/8 s and after 1/2 s of counting; -1: not counted.
        int eighth[4];
        int half[4];
    };
    const Case cases[] = {
        // 301 x 0.125 = 37.6 shows 38 and 301 x 0.5 = 150.5 shows 151: rounded, not cut.
        {"kills only", 301, 0, 2.5f, {301, 0, 250, 551}, {38, -1, 31, 69}, {151, -1, 125, 276}},
        // The combo row counts ten times the bonus; the total is kills and lives alone.
        {"kills and combo", 100, 7, 3.0f, {100, 70, 300, 400}, {13, 9, 38, 50}, {50, 35, 150, 200}},
        {"no kills, a combo", 0, 3, 0.5f, {0, 30, 50, 50}, {-1, 4, 6, 6}, {-1, 15, 25, 25}},
        {"neither kills nor combo", 0, 0, 1.0f, {0, 0, 100, 100}, {-1, -1, 13, 13}, {-1, -1, 50, 50}},
        // Lives x 100 is cut, not rounded: 2.999 lives are worth 299.
        {"lives cut to whole points", 40, 0, 2.999f, {40, 0, 299, 339}, {5, -1, 37, 42}, {20, -1, 150, 170}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ResultWindowRun run;
        ASSERT_TRUE(run.start(c.kills, c.combo, c.lives));
        run.playToTheEnd();
        ASSERT_EQ(run.mWindow->mPhase, 5) << "the counting ends";
        for (int row = 0; row < 4; ++row)
        {
            SCOPED_TRACE(testing::Message() << "row " << row);
            EXPECT_EQ(run.mFrames.back().values[row], c.finals[row]);
            EXPECT_EQ(run.valueAt(row, kDt), c.eighth[row]);
            EXPECT_EQ(run.valueAt(row, 0.5f), c.half[row]);
        }
        // An empty kill or combo row is left at once (it is drawn at most once, at 0); a counted row is shown
        // for its second and the frame after it (a row that begins in a draw is first drawn 1/8 s in).
        const auto expectShownFor = [&](int phase, bool counted)
        {
            SCOPED_TRACE(testing::Message() << "phase " << phase);
            if (counted)
            {
                EXPECT_GE(run.framesIn(phase), 9);
                EXPECT_LE(run.framesIn(phase), 10);
            }
            else
            {
                EXPECT_LE(run.framesIn(phase), 1);
            }
        };
        expectShownFor(1, c.kills != 0);
        expectShownFor(2, c.combo != 0);
        expectShownFor(3, true);
        expectShownFor(4, true);
    }
}

} // namespace
