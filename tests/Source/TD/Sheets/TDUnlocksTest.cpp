#include "Source/TD/Data/TDUnlocks.h"

#include "Core/Base/Sanitizer.h"
#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

#if CORV_ASAN
#include <sanitizer/allocator_interface.h>
#else
#include <malloc.h>
#endif

namespace
{
// Bytes the heap hands out now.
std::size_t heapBytes()
{
#if CORV_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

class UnlocksTest : public tdtest::GameDataTest
{
protected:
    TDUnlocks Load(const std::string& text)
    {
        Write("td/unlocks.csv", text);
        return TDUnlocks(mCursor);
    }
    std::vector<int> NewIds(const TDUnlocks& unlocks)
    {
        std::vector<int> ids{99};
        unlocks.getNewIds(ids);
        return ids;
    }

    tdtest::Cursor mCursor;
};

TEST_F(UnlocksTest, EachLineAddsToEveryEarlierLine)
{
    TDUnlocks unlocks = Load("0;0;1,2\n0;1;3\n\n1; 0 ;4 , 5\n");
    struct Case
    {
        int episode, level;
        std::vector<int> unlocked, fresh;
    } cases[] = {
        {0, 0, {1, 2}, {1, 2}},
        {0, 1, {1, 2, 3}, {3}},
        {1, 0, {1, 2, 3, 4, 5}, {4, 5}},
        {0, 2, {}, {}}, // a level without a line offers nothing
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.episode) + "/" + std::to_string(c.level));
        mCursor.episode = c.episode;
        mCursor.level = c.level;
        EXPECT_EQ(unlocks.getUnlocked(c.episode, c.level), c.unlocked);
        EXPECT_EQ(NewIds(unlocks), c.fresh);
        for (int id : {1, 3, 4})
        {
            const bool listed = std::find(c.unlocked.begin(), c.unlocked.end(), id) != c.unlocked.end();
            EXPECT_EQ(unlocks.isUnlocked(id), listed) << id;
        }
    }
}

TEST_F(UnlocksTest, MinusOneOffersEveryIdAndHardcoreOffersEverything)
{
    TDUnlocks unlocks = Load("0;0;1\n0;1;-1,7\n");
    mCursor.level = 1;
    EXPECT_TRUE(unlocks.isUnlocked(12345));
    mCursor.level = 0;
    EXPECT_FALSE(unlocks.isUnlocked(12345));

    mCursor.mode = kModeHardcore;
    EXPECT_TRUE(unlocks.isUnlocked(12345));
    EXPECT_EQ(NewIds(unlocks), (std::vector<int>{36, 37, 38}));
    mCursor.level = 1;
    EXPECT_EQ(NewIds(unlocks), std::vector<int>{}) << "hardcore's new ids belong to its first level only";
    mCursor.episode = 5;
    EXPECT_TRUE(unlocks.isUnlocked(1));
}

TEST_F(UnlocksTest, CrLfLinesAndDamagedLinesAreHandled)
{
    // A line ending in ";" before CR LF has no ids; a later line for the same level replaces it; a line that
    // names no level is left out (its ids go nowhere) and said in the log.
    TDUnlocks unlocks = Load("0;0;1,,2\r\n0;1;\r\n7\r\n0;2;3\r\n0;2;4\r\n");
    EXPECT_EQ(unlocks.getNew(0, 1), std::vector<int>{});
    EXPECT_EQ(unlocks.getUnlocked(0, 1), (std::vector<int>{1, 2}));
    EXPECT_EQ(unlocks.getNew(0, 2), std::vector<int>{4});
    EXPECT_EQ(unlocks.getUnlocked(0, 2), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"line 3 names no episode and level"), 1);
    EXPECT_EQ(unlocks.getUnlocked(0, 0), (std::vector<int>{1, 2})) << "the short line did not reuse 0;0";
}

TEST_F(UnlocksTest, ParsingATextReplacesWhatTheFileGave)
{
    TDUnlocks unlocks = Load("0;0;1\n0;1;2\n");
    unlocks.parse("0;1;3\n", L"text.csv");
    EXPECT_FALSE(unlocks.hasLine(0, 0));
    EXPECT_EQ(unlocks.getUnlocked(0, 1), std::vector<int>{3}) << "the running list starts afresh";
}

TEST_F(UnlocksTest, TablesGrowWithTheSheetNotWithItsSquare)
{
    // 3000 ids, then 3000 levels that each offer all of them: a copy of the running list per level took
    // 36 MB for a sheet of 30 kB (a sheet of 300 kB took gigabytes).
    std::string text = "0;0;";
    for (int id = 0; id < 3000; ++id)
        text += std::to_string(id % 10) + ",";
    text += "\n";
    for (int level = 1; level <= 3000; ++level)
        text += "1;" + std::to_string(level) + ";\n";
    TDUnlocks unlocks(mCursor);
    const std::size_t before = heapBytes();
    unlocks.parse(text, L"big.csv");
    const std::size_t held = heapBytes() - before;
    EXPECT_LT(held, 2u << 20) << text.size() << " bytes of sheet";
    EXPECT_EQ(unlocks.getUnlocked(1, 3000).size(), 3000u);
    EXPECT_EQ(unlocks.getNew(1, 3000), std::vector<int>{});
    mCursor.episode = 1;
    mCursor.level = 2999;
    EXPECT_TRUE(unlocks.isUnlocked(9));
    EXPECT_FALSE(unlocks.isUnlocked(10));
}

TEST_F(UnlocksTest, AMissingFileOffersNothingOutsideHardcore)
{
    TDUnlocks unlocks(mCursor);
    EXPECT_FALSE(unlocks.isUnlocked(1));
    EXPECT_EQ(NewIds(unlocks), std::vector<int>{});
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"Data file 'td/unlocks.csv': missing"), 1);
}

TEST_F(UnlocksTest, ByProgressAsksTheLatestLevelThePlayerReached)
{
    Write("td/setup_sheet.csv", "0;3;0;0;0\n1;3;0;2;0\n");
    TDEpisodeTable episodes;
    episodes.load();
    TDUnlocks unlocks = Load("0;0;1\n0;1;2\n1;0;3\n1;2;4\n");
    file::Profiles::Instance()->Load();
    TDProfile profile(mCursor, episodes);
    EXPECT_TRUE(unlocks.isUnlockedByProgress(1)) << "without a profile: episode 0, level 0";

    unlocks.setProfile(&profile);
    EXPECT_FALSE(unlocks.isUnlockedByProgress(2));
    TDLevelResult won;
    won.stars = 1;
    profile.saveLevelResult(0, 1, kModeNormal, won);
    EXPECT_TRUE(unlocks.isUnlockedByProgress(2));
    EXPECT_FALSE(unlocks.isUnlockedByProgress(3));
    profile.saveLevelResult(0, 0, kModeNormal, won); // two stars in all open episode 1
    EXPECT_TRUE(unlocks.isUnlockedByProgress(3));
    EXPECT_FALSE(unlocks.isUnlockedByProgress(4));

    mCursor.mode = kModeHardcore; // no shortcut by mode
    EXPECT_FALSE(unlocks.isUnlockedByProgress(4));
}
} // namespace
