#include "Source/TD/Data/TDProtoTable.h"

#include "Source/TD/Data/TDCsvSheet.h"
#include "Source/TD/Data/TDUnitProto.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

namespace
{
// A data element with the three sections in the order the map reads them.
class ProtoTableTest : public ::testing::Test
{
protected:
    tinyxml2::XMLElement* Data(const std::string& towers, const std::string& units, const std::string& ammo)
    {
        mDocument.Clear();
        tinyxml2::XMLElement* data = mDocument.NewElement("data");
        mDocument.InsertEndChild(data);
        for (const auto& [name, sheet] : {std::pair{"towers", towers}, {"units", units}, {"ammo", ammo}})
        {
            tinyxml2::XMLElement* section = data->InsertNewChildElement(name);
            parseCsvSheet(sheet, section, L"sheet.csv");
        }
        return data;
    }

    tinyxml2::XMLDocument mDocument;
};

const char* kTowers = "id;parent;psd;cost;levelid\n10000;-1;t;40;0\n10001;10000;t;60;1\n10002;10000;t;90;2\n"
                      "11;-1;t;1;0\n";
const char* kUnits = "id;parent;psd;health\n0;-1;u;10\n11;-1;u;30\n39;-1;u;5\n39;11;u;50\n";
const char* kAmmo = "id;parent;psd;speed\n2001;-1;a;300\n2003;-1;a;200\n";

TEST_F(ProtoTableTest, UnitsComeFirstThenTowersThenAmmo)
{
    TDProtoTable table(Data(kTowers, kUnits, kAmmo));
    std::vector<int> ids;
    for (const TDUnitProto* p : table.getProtos())
        ids.push_back(p->id);
    EXPECT_EQ(ids, (std::vector<int>{0, 11, 39, 10000, 11, 2001, 2003}));
}

TEST_F(ProtoTableTest, FindWalksTopLevelRowsAndTheirBranchesInOrder)
{
    TDProtoTable table(Data(kTowers, kUnits, kAmmo));
    struct Case
    {
        int id;
        const char* psd; // null: not found
        float value;     // health, cost or speed of the row found
    } cases[] = {
        {0, "u", 10},        // id 0 is a real unit
        {11, "u", 30},       // the unit row shadows the tower row of the same id
        {39, "u", 50},       // the branch under the earlier row 11 before the later top-level 39
        {10002, "t", 90},    // a branch
        {2003, "a", 200},    //
        {12345, nullptr, 0}, //
        {-1, nullptr, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        const TDUnitProto* p = table.find(c.id);
        if (!c.psd)
        {
            EXPECT_EQ(p, nullptr);
            continue;
        }
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->psd, c.psd);
        EXPECT_EQ(p->health + p->cost + p->speed, c.value);
    }
    EXPECT_EQ(TDProtoTable().find(0), nullptr);
}

TEST_F(ProtoTableTest, ReloadingReplacesEveryRecord)
{
    TDProtoTable table(Data(kTowers, kUnits, kAmmo));
    table.clear();
    table.load(Data("id;parent;psd;cost\n10000;-1;t;55\n", "", ""));
    ASSERT_EQ(table.getProtos().size(), 1u);
    EXPECT_EQ(table.find(10000)->cost, 55.0f);
    EXPECT_EQ(table.find(10001), nullptr);

    // A data element missing its sections loads nothing rather than failing.
    tinyxml2::XMLElement* bare = mDocument.NewElement("data");
    table.clear();
    table.load(bare);
    table.load(nullptr);
    EXPECT_TRUE(table.getProtos().empty());
}
} // namespace
