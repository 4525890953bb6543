#include "Source/TD/Data/LocalStrings.h"

#include "Core/File/PackBuilder.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

namespace
{
class LocalStringsTest : public tdtest::GameDataTest
{
};

TEST_F(LocalStringsTest, SheetLinesGiveKeysAndTexts)
{
    Write("td/strings_en.csv", "\xEF\xBB\xBF"
                               "  alpha ;  hello world  \n"
                               "beta;a;b\n"
                               "gamma\n"
                               "\n"
                               "\t\n"
                               "delta;trailing \r\n"
                               "epsilon\r\n"
                               "alpha;bye\n"
                               "umlaut;Größe\n");
    LocalStrings strings;
    struct Case
    {
        const wchar_t* key;
        const wchar_t* text;
    } cases[] = {
        {L"alpha", L"bye"},       // the last line of a key wins
        {L"beta", L"a"},          // further fields are ignored
        {L"gamma", L""},          // no ";": an empty text
        {L"delta", L"trailing "}, // the carriage return goes, the space before it stays
        {L"epsilon\r", L""},      // a key without ";" keeps the carriage return of its line
        {L"umlaut", L"Größe"},    // UTF-8
    };
    for (const Case& c : cases)
        EXPECT_EQ(strings.get(c.key), c.text) << std::string(c.key, c.key + std::wcslen(c.key));
    EXPECT_EQ(tdtest::LogCapture::Text(), L"");
}

TEST_F(LocalStringsTest, BackslashNBreaksTheLine)
{
    Write("td/strings_en.csv", "one;first\\nsecond\n"
                               "two;a\\\\nb\n"
                               "three;\\\n"
                               "four;end\\\n"
                               "five;\\n\n");
    LocalStrings strings;
    EXPECT_EQ(strings.get(L"one"), L"first\nsecond");
    EXPECT_EQ(strings.get(L"two"), L"a\\\nb");
    EXPECT_EQ(strings.get(L"three"), L"\\");
    EXPECT_EQ(strings.get(L"four"), L"end\\");
    EXPECT_EQ(strings.get(L"five"), L"\n");
}

TEST_F(LocalStringsTest, AMissingKeyReadsQuestionMarksAndIsAppendedOnce)
{
    struct Case
    {
        const char* sheet;
        const char* after; // the loose sheet after two lookups of the missing key
    } cases[] = {
        {"a;A\n", "a;A\nmissing_key;???\r\n"},
        {"a;A", "a;A\nmissing_key;???\r\n"}, // a new line is started first
        {"", "missing_key;???\r\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.sheet);
        Write("td/strings_en.csv", c.sheet);
        LocalStrings strings;
        EXPECT_EQ(strings.get(L"missing_key"), L"???");
        EXPECT_EQ(strings.get(L"missing_key"), L"???");
        EXPECT_EQ(Read("td/strings_en.csv"), c.after);
    }
}

TEST_F(LocalStringsTest, OnlyTheLooseSheetIsAppendedTo)
{
    // The sheet served from a pack: nothing is written anywhere.
    Write("pack/td/strings_en.csv", "a;from the pack\n");
    ASSERT_EQ(file::BuildPack(L"pack/td", L"data.dat"), VN_OK);
    file::FileManager::Instance()->mMounts[L"td/"] = L"data.dat";
    {
        LocalStrings strings;
        EXPECT_EQ(strings.get(L"a"), L"from the pack");
        EXPECT_EQ(strings.get(L"missing"), L"???");
    }
    EXPECT_FALSE(std::filesystem::exists(mRoot / "td/strings_en.csv"));

    // Without any sheet every text reads "???", and the missing sheet is reported once.
    file::FileManager::Instance()->mMounts.clear();
    LocalStrings empty;
    EXPECT_EQ(empty.get(L"a"), L"???");
    EXPECT_EQ(tdtest::LogCapture::CountLines(L"'td/strings_en.csv': missing"), 1);
}
} // namespace
