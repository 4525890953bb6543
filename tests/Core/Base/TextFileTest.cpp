#include "Core/Base/TextFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace
{

class TextFileTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/corv_textfile_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        mRoot = pattern;
    }
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(mRoot, error);
    }
    std::wstring Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = mRoot + "/" + name;
        std::FILE* f = std::fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f)
        {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return std::wstring(path.begin(), path.end());
    }
    std::string mRoot;
};

struct FileCase
{
    std::string bytes;
    std::string text;
    bool byteOrderMark;
};

TEST_F(TextFileTest, ReadsWholeFilesDroppingTheByteOrderMark)
{
    const FileCase cases[] = {
        {"", "", false},
        {"\xEF\xBB\xBF", "", true},
        {"\xEF\xBB", "\xEF\xBB", false},
        {"ab", "ab", false},
        {"\xEF\xBB\xBFkey;value\n", "key;value\n", true},
        {"\xEF\xBB\xBE" "x", "\xEF\xBB\xBE" "x", false},
        {std::string("head\0tail", 9), "head", false},
        {"line1\r\nline2", "line1\r\nline2", false},
    };
    int index = 0;
    for (const FileCase& c : cases)
    {
        const std::wstring path = Write("f" + std::to_string(index++), c.bytes);
        bool bom = !c.byteOrderMark;
        EXPECT_EQ(base::ReadPlainTextFile(path, &bom), c.text) << testing::PrintToString(c.bytes);
        EXPECT_EQ(bom, c.byteOrderMark) << testing::PrintToString(c.bytes);
        EXPECT_EQ(base::ReadPlainTextFile(path), c.text);
    }
}

TEST_F(TextFileTest, MissingFilesAndFoldersGiveEmptyText)
{
    bool bom = true;
    EXPECT_EQ(base::ReadPlainTextFile(std::wstring(mRoot.begin(), mRoot.end()) + L"/missing.txt", &bom), "");
    EXPECT_FALSE(bom);
    EXPECT_EQ(base::ReadPlainTextFile(std::wstring(mRoot.begin(), mRoot.end())), "");
}

TEST_F(TextFileTest, OversizedFileIsRefusedWithoutAllocating)
{
    const std::wstring path = Write("huge", "x");
    const std::string native = mRoot + "/huge";
    ASSERT_EQ(truncate(native.c_str(), static_cast<off_t>(base::kMaxTextFileSize + 1)), 0);
    EXPECT_EQ(base::ReadPlainTextFile(path), "");
}

TEST_F(TextFileTest, NonAsciiPathsAreFound)
{
    Write("caf\xC3\xA9.csv", "a;b");
    const std::wstring wide = std::wstring(mRoot.begin(), mRoot.end()) + L"/caf\u00E9.csv";
    EXPECT_EQ(base::ReadPlainTextFile(wide), "a;b");
}

} // namespace
