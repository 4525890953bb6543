#include "Source/TD/Data/TDEpisodeTable.h"

#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

namespace
{
class EpisodeTableTest : public tdtest::GameDataTest
{
};

TEST_F(EpisodeTableTest, LinesOfExactlyFiveFieldsSetTheirEpisode)
{
    Write("td/setup_sheet.csv", "0; 10; 5; 0; 0\n\n1;8;4;12;x\r\n2;6;3;20\n3;1;1;1;1;1\n4;0;2;0;0\n");
    TDEpisodeTable table;
    table.load();
    struct Case
    {
        int episode, levels, hardcore, stars;
    } cases[] = {
        {0, 10, 5, 0}, {1, 8, 4, 12}, {2, -1, -1, -1}, {3, -1, -1, -1}, {4, 0, 2, 0}, {9, -1, -1, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.episode);
        EXPECT_EQ(table.getLevelCount(c.episode), c.levels);
        EXPECT_EQ(table.getHardcoreLevelCount(c.episode), c.hardcore);
        EXPECT_EQ(table.getStarsRequired(c.episode), c.stars);
    }
    EXPECT_EQ(table.getEpisodeCount(), 3);
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"does not have five fields"), 2)
        << "blank lines are not reported";

    int walked = 0;
    // Episodes 0 and 1 count; the walk stops at the missing 2, so 4 (without normal levels anyway) is not
    // reached.
    EXPECT_EQ(table.getTotalLevelCount(&walked), 10 + 5 + 8 + 4);
    EXPECT_EQ(walked, 2);
}

TEST_F(EpisodeTableTest, LoadingAgainReplacesLinesAndKeepsTheRest)
{
    Write("td/setup_sheet.csv", "0;10;5;0;0\n1;8;4;12;0\n");
    TDEpisodeTable table;
    table.load();
    Write("td/setup_sheet.csv", "1;9;4;12;0\n1;7;4;12;0\n");
    table.load();
    EXPECT_EQ(table.getLevelCount(0), 10);
    EXPECT_EQ(table.getLevelCount(1), 7) << "the last line wins";
}

TEST_F(EpisodeTableTest, EpisodesAndHardcoreOpenByStars)
{
    Write("td/setup_sheet.csv", "0;10;5;0;0\n1;8;4;12;0\n2;0;4;0;0\n");
    TDEpisodeTable table;
    table.load();
    EXPECT_TRUE(table.isEpisodeUnlocked(0, 0));
    EXPECT_FALSE(table.isEpisodeUnlocked(1, 11));
    EXPECT_TRUE(table.isEpisodeUnlocked(1, 12));
    EXPECT_FALSE(table.isEpisodeUnlocked(2, 100)) << "no normal levels";
    EXPECT_FALSE(table.isEpisodeUnlocked(7, 100)) << "not in the table";

    EXPECT_FALSE(table.isHardcoreUnlocked(0, 29));
    EXPECT_TRUE(table.isHardcoreUnlocked(0, 30));
    EXPECT_FALSE(table.isHardcoreUnlocked(7, 100));
}

TEST_F(EpisodeTableTest, NegativeCountsAreRefused)
{
    Write("td/setup_sheet.csv", "0;-3;5;0;0\n-1;3;5;0;0\n1;3;-5;0;0\n");
    TDEpisodeTable table;
    table.load();
    EXPECT_EQ(table.getEpisodeCount(), 0);
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"negative"), 3);
}
TEST_F(EpisodeTableTest, CountsAndIdsBeyondAnyCampaignAreRefused)
{
    // Each level makes a plate and a step of the profile's walks, each episode a card, and the episode
    // screen shows nine stars a level: a count of two billion (once an overflow of the level total) or an
    // id of a million would stall the screens or overflow their sums.
    struct Case
    {
        const char* line;
        bool kept;
    } cases[] = {
        {"0;2147483647;1;0;0", false},
        {"0;1;2147483647;0;0", false},
        {"0;1001;0;0;0", false},
        {"0;0;1001;0;0", false},
        {"0;1000;1000;0;0", true},
        {"999;1;1;0;0", true},
        {"1000;1;1;0;0", false},
        {"2147483647;1;1;0;0", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.line);
        tdtest::LogCapture::Reset();
        TDEpisodeTable table;
        table.parse(c.line, L"setup.csv");
        EXPECT_EQ(table.getEpisodeCount(), c.kept ? 1 : 0);
        EXPECT_EQ(tdtest::LogCapture::CountLines(L"Data file 'setup.csv': line 1 "), c.kept ? 0 : 1);
        EXPECT_LE(table.getTotalLevelCount(), 2000);
    }
}
} // namespace
