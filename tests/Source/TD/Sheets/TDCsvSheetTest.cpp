#include "Source/TD/Data/TDCsvSheet.h"

#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

namespace
{
using tinyxml2::XMLElement;

// The section's rows by id, children in braces: "1 2{3 4}".
std::string Shape(const XMLElement* parent)
{
    std::string out;
    for (const XMLElement* e = parent->FirstChildElement(); e; e = e->NextSiblingElement())
    {
        if (!out.empty())
            out += ' ';
        const char* id = e->Attribute("id");
        out += id ? id : "?";
        if (e->FirstChildElement())
            out += "{" + Shape(e) + "}";
    }
    return out;
}

class CsvSheetTest : public ::testing::Test
{
protected:
    void SetUp() override { tdtest::LogCapture::Reset(); }

    XMLElement* Parse(const std::string& text)
    {
        mDocument.Clear();
        XMLElement* section = mDocument.NewElement("towers");
        mDocument.InsertEndChild(section);
        parseCsvSheet(text, section, L"test.csv");
        return section;
    }

    tinyxml2::XMLDocument mDocument;
};

TEST_F(CsvSheetTest, RowsNestUnderTheEarlierTopLevelRowTheirParentNames)
{
    struct Case
    {
        const char* sheet;
        const char* shape;
    } cases[] = {
        {"id;parent;psd\n1;-1;a\n2;1;a\n3;;a\n4;1;a", "1{2 4} 3"},
        // A parent written after its branch does not take it in.
        {"id;parent;psd\n2;7;a\n7;-1;a", "2 7"},
        // Only top-level rows are searched: a branch of a branch stays at the top.
        {"id;parent;psd\n1;-1;a\n2;1;a\n3;2;a", "1{2} 3"},
        // 0 is a real parent id, so rows meant as top level write -1; a row without a readable id is id 0.
        {"id;parent;psd\nzz;-1;a\n5;0;a", "zz{5}"},
        // A parent that is no number, or absent, leaves the row at the top; the first matching id wins.
        {"id;parent;psd\n1;x;a\n1;-1;a\n9;1;a\n8", "1{9} 1 8"},
        // No column named parent at all.
        {"id;psd\n1;a\n2;a", "1 2"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sheet);
        EXPECT_EQ(Shape(Parse(c.sheet)), c.shape);
    }
}

TEST_F(CsvSheetTest, FieldsAreTrimmedAndDecimalCommasBecomePoints)
{
    const XMLElement* row = Parse("  id ; name ;psd  \n 3 ; a,b ;  towers/dart \n")->FirstChildElement();
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->Name(), "unit");
    EXPECT_STREQ(row->Attribute("id"), "3");
    EXPECT_STREQ(row->Attribute("name"), "a.b");
    EXPECT_STREQ(row->Attribute("psd"), "towers/dart");

    // The header keeps its commas; only data rows are converted.
    row = Parse("id;a,b;psd\n1;2,5;x")->FirstChildElement();
    EXPECT_STREQ(row->Attribute("a,b"), "2.5");
}

TEST_F(CsvSheetTest, CrLfAndBlankLinesReadLikeLf)
{
    const std::string lf = "id;parent;psd;r\n\n1;-1;a;1,5\n  \n2;1;b;2\n";
    const std::string crlf = "id;parent;psd;r\r\n\r\n1;-1;a;1,5\r\n  \r\n2;1;b;2\r\n";
    tinyxml2::XMLPrinter lfPrinter, crlfPrinter;
    Parse(lf)->Accept(&lfPrinter);
    const std::string lfText = lfPrinter.CStr();
    Parse(crlf)->Accept(&crlfPrinter);
    EXPECT_EQ(lfText, crlfPrinter.CStr());
    EXPECT_NE(lfText.find("r=\"1.5\""), std::string::npos) << lfText;
}

TEST_F(CsvSheetTest, ShortRowsLackAttributesAndExtraFieldsAreDropped)
{
    const XMLElement* section = Parse("id;psd;r;r\n1;p;2;3\n2\n3;p;1;1;9;\n4;p;1;1;;\n");
    const XMLElement* one = section->FirstChildElement();
    EXPECT_STREQ(one->Attribute("r"), "3") << "a second column of the same name overwrites the first";
    const XMLElement* two = one->NextSiblingElement();
    EXPECT_EQ(two->Attribute("psd"), nullptr);
    const XMLElement* three = two->NextSiblingElement();
    EXPECT_EQ(three->FirstAttribute()->Next()->Next()->Next(), nullptr) << "only the named columns are kept";
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"line 4 has more fields"), 1);
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"more fields"), 1) << "empty extra fields are not worth a line";
}

TEST_F(CsvSheetTest, EmptyAndHeaderOnlySheetsAddNothingWithALineEach)
{
    const struct
    {
        const char* text;
        const wchar_t* logged;
    } cases[] = {{"", L"empty; it gives no rows"},
                 {"   \n\t\n", L"empty; it gives no rows"},
                 {"id;psd", L"holds a header but no rows"},
                 {"id;psd\r\n\r\n", L"holds a header but no rows"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        tdtest::LogCapture::Reset();
        EXPECT_EQ(Parse(c.text)->FirstChildElement(), nullptr);
        EXPECT_EQ(tdtest::LogCapture::CountLines(L"Data file 'test.csv': "), 1) << tdtest::LogCapture::Text();
        EXPECT_EQ(tdtest::LogCapture::CountLines(c.logged), 1);
    }
    tdtest::LogCapture::Reset();
    Parse("id;psd\n1;a");
    EXPECT_EQ(tdtest::LogCapture::Text(), L"") << "a header with id and psd and a row is sound";
    Parse("name;r\nx;1");
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"Data file 'test.csv': the header line lacks"), 1);
}

TEST_F(CsvSheetTest, FindElementByIdLooksOnlyAtDirectChildren)
{
    XMLElement* section = Parse("id;parent;psd\n1;-1;a\n2;1;a\nq;-1;a");
    EXPECT_STREQ(findElementById(1, section)->Attribute("id"), "1");
    EXPECT_EQ(findElementById(2, section), nullptr);
    EXPECT_STREQ(findElementById(0, section)->Attribute("id"), "q");
    EXPECT_EQ(findElementById(1, nullptr), nullptr);
}
} // namespace
