// Every sheet and XML file of the generated demo data loads through the game's own readers without a single
// line in the log, and holds what the game looks up.
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/Sound/SoundSystem.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/Map/TDGameSheets.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

class DemoDataLoadTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        sRoot = tdtest::generateDemoData(CORV_DEMODATA_EXE, "td-demodata-XXXXXX");
        ASSERT_FALSE(sRoot.empty()) << "the demo-data generator failed";
    }
    static void TearDownTestSuite()
    {
        std::error_code ignored;
        fs::remove_all(sRoot, ignored);
    }

    void SetUp() override
    {
        mOld = fs::current_path();
        fs::current_path(sRoot);
        file::FileManager::Instance()->mMounts.clear();
        tdtest::LogCapture::Reset();
    }
    void TearDown() override { fs::current_path(mOld); }

    static inline fs::path sRoot;
    fs::path mOld;
};

TEST_F(DemoDataLoadTest, SheetsAndXmlLoadWithoutALogLine)
{
    TDProtoTable table;
    TDEpisodeTable episodes;
    loadGameSheets(table, episodes, nullptr);
    for (int id : {0, 11, 39, 2001, 2002, 2003, 10000, 20000, 30000, 40000})
        EXPECT_NE(table.find(id), nullptr) << id;
    EXPECT_FALSE(table.find(10000)->branches.empty()) << "towers have their branches";
    EXPECT_GE(episodes.getEpisodeCount(), 3);
    // One id is skipped (its card is "coming soon"); every episode before it has levels of both kinds.
    int played = 0;
    while (episodes.getLevelCount(played) != -1)
    {
        EXPECT_GT(episodes.getLevelCount(played), 0) << played;
        EXPECT_GT(episodes.getHardcoreLevelCount(played), 0) << played;
        ++played;
    }
    EXPECT_GE(played, 3);
    EXPECT_LT(played, episodes.getEpisodeCount()) << "the episode select has a coming-soon card";

    tdtest::Cursor cursor;
    TDUnlocks unlocks(cursor);
    EXPECT_FALSE(unlocks.getUnlocked(0, 0).empty());

    TDUpgradeList upgrades(L"td/upgrades.xml");
    EXPECT_FALSE(upgrades.getUpgrades().empty());
    for (const TDUpgrade* upgrade : upgrades.getUpgrades())
        for (int target : upgrade->targetIds)
            EXPECT_TRUE(target == -1 || table.find(target) != nullptr)
                << upgrade->id << " targets " << target;

    LocalStrings strings;
    EXPECT_NE(strings.get(L"game_caption"), L"???");

    SoundSystem::SetOutputDevice(mixer::kDeviceNone);
    w7::SoundTags tags;
    tags.Load();
    EXPECT_FALSE(tags.GetEntries().empty());
    for (const w7::SoundTags::Entry* entry : tags.GetEntries())
        EXPECT_TRUE(entry->sound && entry->sound->GetChannel() != 0) << base::ToNarrow(entry->tag, 1);

    EXPECT_EQ(tdtest::LogCapture::Text(), L"");
}
} // namespace
