#include "Core/File/ReadFile.h"

#include "Core/File/PackBuilder.h"
#include "FileTestUtil.h"

#include <unistd.h>

namespace
{
using namespace filetest;

using ReadFileTest = DataRootTest;

struct TextCase
{
    std::string bytes;
    std::string text;
    bool byteOrderMark;
};

TEST_F(ReadFileTest, TextFilesDropTheByteOrderMarkAndEndAtNul)
{
    const TextCase cases[] = {
        {"", "", false},
        {"\xEF\xBB\xBF", "", true},
        {"\xEF\xBB", "\xEF\xBB", false},
        {"ab", "ab", false},
        {"\xEF\xBB\xBFkey;value\n", "key;value\n", true},
        {"\xEF\xBB\xBE"
         "x",
         "\xEF\xBB\xBE"
         "x",
         false},
        {std::string("head\0tail", 9), "head", false},
        {std::string("\xEF\xBB\xBF\0x", 5), "", true},
        {"line1\r\nline2", "line1\r\nline2", false},
    };
    int index = 0;
    for (const TextCase& c : cases)
    {
        const std::string name = "f" + std::to_string(index++);
        WriteBytes(name, c.bytes);
        const std::wstring path(name.begin(), name.end());
        bool bom = !c.byteOrderMark;
        EXPECT_EQ(base::ReadTextFile(path, &bom), c.text) << testing::PrintToString(c.bytes);
        EXPECT_EQ(bom, c.byteOrderMark) << testing::PrintToString(c.bytes);
        EXPECT_EQ(base::ReadTextFile(path), c.text);
        // The plain reader keeps the mark and also ends at the first NUL.
        const std::string raw = c.bytes.substr(0, c.bytes.find('\0'));
        EXPECT_EQ(file::ReadFileToString(path), raw);
    }
}

TEST_F(ReadFileTest, MissingFilesAndFoldersGiveEmptyText)
{
    fs::create_directories("folder");
    bool bom = true;
    EXPECT_EQ(base::ReadTextFile(L"missing.txt", &bom), "");
    EXPECT_FALSE(bom);
    EXPECT_EQ(base::ReadTextFile(L"folder"), "");
    EXPECT_EQ(file::ReadFileToString(L"folder"), "");
}

TEST_F(ReadFileTest, NonAsciiNamesAreFound)
{
    WriteBytes("caf\xC3\xA9.csv", "a;b");
    EXPECT_EQ(base::ReadTextFile(L"caf\u00E9.csv"), "a;b");
}

TEST_F(ReadFileTest, OversizedFileIsRefusedWithoutAllocating)
{
    WriteBytes("huge", "x");
    ASSERT_EQ(::truncate("huge", static_cast<off_t>(file::kMaxWholeFileSize) + 1), 0);
    EXPECT_EQ(base::ReadTextFile(L"huge"), "");
    EXPECT_EQ(file::ReadFileToString(L"huge"), "");
}

// A pack cut short after it was mounted: its entries promise bytes the file no longer has, and the reader
// must report that as a failure instead of returning the part that arrived.
TEST_F(ReadFileTest, ShortReadFromAPackGivesEmptyText)
{
    WriteBytes("src/a.txt", "first");
    WriteBytes("src/b.txt", "second entry");
    ASSERT_EQ(file::BuildPack(L"src", L"data.dat"), VN_OK);
    file::FileManager::Instance()->mMounts[L"td/"] = L"data.dat";
    ASSERT_EQ(base::ReadTextFile(L"td/b.txt"), "second entry");
    ASSERT_EQ(::truncate("data.dat", static_cast<off_t>(fs::file_size("data.dat") - 3)), 0);
    EXPECT_EQ(base::ReadTextFile(L"td/a.txt"), "first");
    EXPECT_EQ(base::ReadTextFile(L"td/b.txt"), "");
    EXPECT_EQ(file::ReadFileToString(L"td/b.txt"), "");
}
} // namespace
