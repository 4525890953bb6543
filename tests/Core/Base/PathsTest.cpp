#include "Core/Base/Paths.h"

#include "TempFolderTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

namespace
{

struct PathCase
{
    std::function<std::wstring(const std::wstring&)> operation;
    const char* name;
    std::wstring input;
    std::wstring expected;
};

TEST(Paths, TableOfPathOperations)
{
    const PathCase cases[] = {
        {base::ToForwardSlashes, "ToForwardSlashes", L"a\\b/c\\", L"a/b/c/"},
        {base::NormalizeDirPath, "NormalizeDirPath", L"a\\b//", L"a/b/"},
        {base::NormalizeDirPath, "NormalizeDirPath", L"//", L""},
        {base::NormalizeDirPath, "NormalizeDirPath", L"", L""},
        {base::NormalizeDirPath, "NormalizeDirPath", L"td", L"td/"},
        {base::NormalizeDirPath, "NormalizeDirPath", L"/abs\\", L"/abs/"},
        {base::StripTrailingSeparators, "StripTrailingSeparators", L"a/b\\/", L"a/b"},
        {base::StripTrailingSeparators, "StripTrailingSeparators", L"\\/", L""},
        {base::StripTrailingSeparators, "StripTrailingSeparators", L"a\\b", L"a\\b"},
        {base::GetDirectory, "GetDirectory", L"td/data\\x.png", L"td/data\\"},
        {base::GetDirectory, "GetDirectory", L"x.png", L""},
        {base::GetDirectory, "GetDirectory", L"a/", L"a/"},
        {base::GetDirectoryWithoutDrive, "GetDirectoryWithoutDrive", L"C:/data/x.png", L"/data/"},
        {base::GetDirectoryWithoutDrive, "GetDirectoryWithoutDrive", L"C:x.png", L""},
        {base::GetDirectoryWithoutDrive, "GetDirectoryWithoutDrive", L"C:", L""},
        {base::GetDirectoryWithoutDrive, "GetDirectoryWithoutDrive", L"data\\x.png", L"data\\"},
        {base::GetDirectoryWithoutDrive, "GetDirectoryWithoutDrive", L"x.png", L""},
        {base::GetFileName, "GetFileName", L"a/b\\c.txt", L"c.txt"},
        {base::GetFileName, "GetFileName", L"c.txt", L"c.txt"},
        {base::GetFileName, "GetFileName", L"dir/", L""},
        {base::GetExtension, "GetExtension", L"dir.old/name", L""},
        {base::GetExtension, "GetExtension", L"dir.old\\name", L""},
        {base::GetExtension, "GetExtension", L"a/b.tar.gz", L".gz"},
        {base::GetExtension, "GetExtension", L"name.", L"."},
        {base::GetExtension, "GetExtension", L"a/.hidden", L".hidden"},
        {base::GetBaseName, "GetBaseName", L"a/b.tar.gz", L"b.tar"},
        {base::GetBaseName, "GetBaseName", L"td\\towers\\tower3.png", L"tower3"},
        {base::GetBaseName, "GetBaseName", L"a/.hidden", L".hidden"},
        {base::GetBaseName, "GetBaseName", L"a/.x.y", L".x"},
        {base::GetBaseName, "GetBaseName", L"dir.old/name", L"name"},
        {base::GetBaseName, "GetBaseName", L"plain", L"plain"},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(c.operation(c.input), c.expected) << c.name << " " << testing::PrintToString(c.input);
}

TEST(Paths, NativePathIsUtf8WithForwardSlashes)
{
    EXPECT_EQ(base::ToNativePath(L"td\\caf\u00E9/\U0001F600.png"), "td/caf\xC3\xA9/\xF0\x9F\x98\x80.png");
}

using CreateDirectoriesTest = basetest::TempFolderTest;

TEST_F(CreateDirectoriesTest, CreatesEveryMissingLevel)
{
    std::filesystem::create_directory(mDir / "a");
    EXPECT_EQ(base::CreateDirectories(PathOf("a\\b/c/")), VN_OK);
    EXPECT_TRUE(std::filesystem::is_directory(mDir / "a/b/c"));
    // Existing folders are fine and nothing else is created.
    EXPECT_EQ(base::CreateDirectories(PathOf("a/b")), VN_OK);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(mDir / "a"), {}), 1);
}

TEST_F(CreateDirectoriesTest, FailsWhenALevelIsAFile)
{
    MakeFile("file", "");
    EXPECT_EQ(base::CreateDirectories(PathOf("file/sub")), VN_FAIL);
    EXPECT_FALSE(std::filesystem::exists(mDir / "file/sub"));
    EXPECT_EQ(base::CreateDirectories(L""), VN_FAIL);
}

} // namespace
