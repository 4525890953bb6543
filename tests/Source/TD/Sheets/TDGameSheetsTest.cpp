#include "Source/TD/Map/TDGameSheets.h"

#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Sprites/TDResources.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

namespace
{
class GameSheetsTest : public tdtest::GameDataTest
{
protected:
    void WriteSheets(const std::string& lineEnd, const std::string& bom)
    {
        auto lines = [&](std::initializer_list<const char*> rows)
        {
            std::string text = bom;
            for (const char* row : rows)
                text += std::string(row) + lineEnd;
            return text;
        };
        Write("td/towers_sheet.csv",
              lines({"id;parent;psd;cost;r;levelid;require", "10000;-1;towers/dart;40;200,5;0;0",
                     "10001;10000;towers/dart;60;220;1;0", "", "11;-1;towers/dart;5;1;0;0"}));
        Write("td/units_sheet.csv",
              lines({"id;parent;psd;health;air;speed", "11;-1;units/bat;30;1;60", "0;-1;units/rat;10;0;45"}));
        Write("td/ammo_sheet.csv", lines({"id;parent;psd;speed", "2003;-1;ammo/shell;150"}));
        Write("td/setup_sheet.csv", lines({"0;10;5;0;0", "1;8;4;12;0"}));
    }
};

TEST_F(GameSheetsTest, TheThreeSheetsAndTheEpisodeTableLoadTogether)
{
    for (const auto& [lineEnd, bom] : {std::pair{"\n", ""}, {"\r\n", "\xEF\xBB\xBF"}})
    {
        SCOPED_TRACE(bom[0] ? "CR LF with byte-order mark" : "LF");
        WriteSheets(lineEnd, bom);
        TDProtoTable table;
        TDEpisodeTable episodes;
        const TDSheetSettings settings = loadGameSheets(table, episodes, nullptr);
        EXPECT_EQ(settings.sellRatio, 0.5f);
        EXPECT_EQ(settings.newProfileGems, 0);

        ASSERT_EQ(table.getProtos().size(), 5u);
        EXPECT_EQ(table.getProtos()[0]->psd, "units/bat") << "units are read before towers";
        EXPECT_TRUE(table.find(11)->air);
        EXPECT_FLOAT_EQ(table.find(10000)->r, 200.5f);
        EXPECT_EQ(table.find(10000)->branches.size(), 1u);
        EXPECT_EQ(table.find(10001)->cost, 60.0f);
        EXPECT_EQ(table.find(2003)->speed, 150.0f);
        EXPECT_EQ(episodes.getLevelCount(1), 8);
        EXPECT_EQ(tdtest::LogCapture::Text(), L"") << "well-formed sheets load without a log line";

        // The map loads again at every level start: the table is replaced, never doubled.
        loadGameSheets(table, episodes, nullptr);
        EXPECT_EQ(table.getProtos().size(), 5u);
    }
}

TEST_F(GameSheetsTest, PrototypesShareTheRegistrysSheets)
{
    WriteSheets("\n", "");
    TDProtoTable table;
    TDEpisodeTable episodes;
    loadGameSheets(table, episodes);
    const TDSpriteSheet* dart = table.find(10000)->sheet;
    ASSERT_NE(dart, nullptr);
    EXPECT_EQ(table.find(10001)->sheet, dart) << "one sheet per document, shared";
    EXPECT_EQ(TDResources::Instance()->findSheet(L"td/towers/dart"), dart);
    EXPECT_NE(table.find(0)->sheet, dart);
    TDResources::Instance()->clear();
}

TEST_F(GameSheetsTest, MissingSheetsGiveEmptyTablesAndALogLineEach)
{
    TDProtoTable table;
    TDEpisodeTable episodes;
    loadGameSheets(table, episodes, nullptr);
    EXPECT_TRUE(table.getProtos().empty());
    EXPECT_EQ(episodes.getEpisodeCount(), 0);
    for (const wchar_t* name :
         {L"td/towers_sheet.csv", L"td/units_sheet.csv", L"td/ammo_sheet.csv", L"td/setup_sheet.csv"})
        EXPECT_EQ(tdtest::LogCapture::CountLines(std::wstring(L"'") + name + L"': missing"), 1) << name;
}
} // namespace
