#include "Source/TD/Data/TDUnitProto.h"

#include "Source/TD/Data/TDCsvSheet.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

namespace
{
// One prototype from a one-row sheet with the given columns and fields.
class UnitProtoTest : public ::testing::Test
{
protected:
    TDUnitProto* Read(const std::string& header, const std::string& row)
    {
        mDocument.Clear();
        tinyxml2::XMLElement* section = mDocument.NewElement("units");
        mDocument.InsertEndChild(section);
        parseCsvSheet(header + "\n" + row + "\n", section, L"units.csv");
        mProto = std::make_unique<TDUnitProto>(section->FirstChildElement(), true);
        return mProto.get();
    }

    tinyxml2::XMLDocument mDocument;
    std::unique_ptr<TDUnitProto> mProto;
};

TEST_F(UnitProtoTest, NumbersReadTheirLeadingValueAndKeepTheDefaultOtherwise)
{
    struct Case
    {
        const char* field;
        int asInt;
        float asFloat;
    } cases[] = {
        {"3", 3, 3.0f},
        {"3.5", 3, 3.5f},
        {"1,5", 1, 1.5f},
        {"-2", -2, -2.0f},
        {"+4", 4, 4.0f},
        {"7px", 7, 7.0f},
        {"", 0, 0.0f},
        {"abc", 0, 0.0f},
        {".5", 0, 0.5f},
        {"1e2", 1, 100.0f},
        {"inf", 0, 0.0f},
        {"nan", 0, 0.0f},
        {"1e39", 1, 0.0f},                  // past float: unreadable, not infinite
        {"99999999999", 2147483647, 1e11f}, // saturated, not wrapped
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.field);
        const TDUnitProto* p = Read("id;psd;ammoid;strength", std::string("1;x;") + c.field + ";" + c.field);
        EXPECT_EQ(p->ammoid, c.asInt);
        EXPECT_FLOAT_EQ(p->strength, c.asFloat);
    }
}

TEST_F(UnitProtoTest, FlagsReadNumbersAndTheWordsTrueAndFalse)
{
    struct Case
    {
        const char* field;
        bool flag;   // an ordinary flag (regen)
        bool air;    // the flier flag: only the integer 1
        bool debuff; // read as a float
    } cases[] = {
        {"1", true, true, true},        {"0", false, false, false},  {"true", true, false, false},
        {"false", false, false, false}, {"2", true, false, true},    {"1.0", true, true, true},
        {"01", true, true, true},       {"0.5", false, false, true}, {"", false, false, false},
        {"yes", false, false, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.field);
        const TDUnitProto* p = Read("id;psd;regen;air;debufftower",
                                    std::string("1;x;") + c.field + ";" + c.field + ";" + c.field);
        EXPECT_EQ(p->regen, c.flag);
        EXPECT_EQ(p->air, c.air);
        EXPECT_EQ(p->debufftower, c.debuff);
    }
}

TEST_F(UnitProtoTest, FillColourReadsHexDigitByDigit)
{
    struct Case
    {
        const char* text; // null: no fillColor column
        std::uint32_t colour;
    } cases[] = {
        {"FF00FF00", 0xFF00FF00u}, {"80ff0000", 0x80FF0000u},  {"ff", 0xFFu}, {"zz", 0u}, {"f.f", 0xF0Fu},
        {nullptr, 0xFFFFFFFFu},    {"123456789", 0x23456789u}, // overflow dropped
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text ? c.text : "(absent)");
        const TDUnitProto* p =
            c.text ? Read("id;psd;fillColor", std::string("1;x;") + c.text) : Read("id;psd", "1;x");
        EXPECT_EQ(p->fillColor, c.colour);
    }
}

TEST_F(UnitProtoTest, AddonsSplitAtSlashesAndStringsStayAsWritten)
{
    const TDUnitProto* p = Read("id;psd;addons;onHit;special", "1;towers/cannon; wing / acid// ;boom_1;ä b");
    EXPECT_EQ(p->addonList, (std::vector<std::string>{"wing", "acid"}));
    EXPECT_EQ(p->addons, "wing / acid//");
    EXPECT_EQ(p->onHit, "boom_1");
    EXPECT_EQ(p->special, "ä b");
    EXPECT_EQ(p->psd, "towers/cannon");
    EXPECT_TRUE(Read("id", "1")->psd.empty()) << "a row without a psd has an empty path";
}

TEST_F(UnitProtoTest, BranchesAreReadOneLevelDeepAndCopiesLeaveThemOut)
{
    // A hand-built element: a branch with a child of its own, which is not read.
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* top = doc.NewElement("unit");
    top->SetAttribute("id", 10000);
    top->SetAttribute("cost", "40");
    top->SetAttribute("dropChance", "7");
    top->SetAttribute("addons", "a/b");
    tinyxml2::XMLElement* branch = top->InsertNewChildElement("unit");
    branch->SetAttribute("id", 10001);
    branch->InsertNewChildElement("unit")->SetAttribute("id", 10002);
    doc.InsertEndChild(top);

    TDUnitProto proto(top, true);
    ASSERT_EQ(proto.branches.size(), 1u);
    EXPECT_EQ(proto.branches[0]->id, 10001);
    EXPECT_TRUE(proto.branches[0]->branches.empty());
    EXPECT_TRUE(TDUnitProto(top, false).branches.empty());

    TDUnitProto copy;
    copy.copyFrom(proto);
    EXPECT_EQ(copy.id, 10000);
    EXPECT_EQ(copy.cost, 40.0f);
    EXPECT_EQ(copy.addonList, (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(copy.branches.empty());
    EXPECT_TRUE(copy.addons.empty());
    EXPECT_EQ(copy.dropChance, 0);
}

TEST_F(UnitProtoTest, TheSpriteSheetComesFromTheSourceForEveryRowAndBranch)
{
    struct Source : TDSpriteSheetSource
    {
        TDSpriteSheet* getSheet(const tinyxml2::XMLElement& e) override
        {
            asked.push_back(e.Attribute("psd"));
            return reinterpret_cast<TDSpriteSheet*>(&asked);
        }
        std::vector<std::string> asked;
    } source;
    mDocument.Clear();
    tinyxml2::XMLElement* section = mDocument.NewElement("towers");
    mDocument.InsertEndChild(section);
    parseCsvSheet("id;parent;psd\n1;-1;towers/a\n2;1;towers/b\n", section, L"towers.csv");
    TDUnitProto proto(section->FirstChildElement(), true, &source);
    EXPECT_EQ(source.asked, (std::vector<std::string>{"towers/b", "towers/a"}));
    EXPECT_EQ(proto.sheet, reinterpret_cast<TDSpriteSheet*>(&source.asked));
    EXPECT_EQ(proto.branches[0]->sheet, proto.sheet);
    EXPECT_EQ(TDUnitProto(section->FirstChildElement(), true).sheet, nullptr);
}
} // namespace
