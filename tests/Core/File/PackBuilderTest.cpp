#include "Core/File/PackBuilder.h"

#include "Core/File/AtomicFile.h"
#include "FileTestUtil.h"

#include <unistd.h>

#include <cstring>

namespace
{
using namespace filetest;

class PackBuilderTest : public DataRootTest
{
};

std::string U32(std::uint32_t v)
{
    std::string s;
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>(v >> (8 * i)));
    return s;
}

std::string Utf16Le(const std::string& ascii)
{
    std::string s;
    for (char c : ascii)
    {
        s.push_back(c);
        s.push_back('\0');
    }
    return s;
}

TEST_F(PackBuilderTest, GoldenPackByteForByte)
{
    WriteBytes("td/ui/b.png", "defgh");
    WriteBytes("td/a.png", "abc");
    ASSERT_EQ(file::BuildPack(L"td/", L"data.dat"), VN_OK);

    const std::string expected = U32(6) + "vnpack" + U32(2) +                                      //
                                 U32(5) + Utf16Le("a.png") + U32(3) + U32(74) + '\0' + U32(0) +    //
                                 U32(8) + Utf16Le("ui/b.png") + U32(5) + U32(77) + '\0' + U32(0) + //
                                 "abcdefgh";
    ASSERT_EQ(expected.size(), 82u);
    EXPECT_EQ(ReadBytes("data.dat"), expected);
    EXPECT_TRUE(TempFilesBeside("data.dat").empty());
}

TEST_F(PackBuilderTest, EmptyFolderGivesAFourteenBytePack)
{
    fs::create_directories("td");
    ASSERT_EQ(file::BuildPack(L"td", L"data.dat"), VN_OK);
    EXPECT_EQ(ReadBytes("data.dat"), U32(6) + "vnpack" + U32(0));
}

// A pack made from part of its folder would hide the missing files once mounted: every source that cannot be
// read whole fails the build, and the old pack stays.
TEST_F(PackBuilderTest, UnreadableSourceFailsAndKeepsTheOldPack)
{
    struct Case
    {
        const char* what;
        void (*prepare)();
        bool needsRightsCheck; // root reads any folder
    };
    const Case cases[] = {
        {"a file listed but not openable", [] { fs::create_symlink("nowhere.png", "td/broken.png"); }, false},
        {"the folder missing", [] { fs::remove_all("td"); }, false},
        {"a subfolder without read rights",
         []
         {
             WriteBytes("td/locked/b.png", "b");
             fs::permissions("td/locked", fs::perms::none);
         },
         true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        if (c.needsRightsCheck && ::geteuid() == 0)
            continue;
        WriteBytes("td/a.png", "abc");
        c.prepare();
        WriteBytes("data.dat", "old pack");
        EXPECT_EQ(file::BuildPack(L"td/", L"data.dat"), VN_FAIL);
        EXPECT_EQ(ReadBytes("data.dat"), "old pack");
        EXPECT_TRUE(TempFilesBeside("data.dat").empty());
        if (fs::exists("td/locked"))
            fs::permissions("td/locked", fs::perms::owner_all);
        fs::remove_all("td");
    }
}

TEST_F(PackBuilderTest, RebuildReadsTheLooseFolderWhileTheOldPackIsMounted)
{
    WriteBytes("td/a.png", "abc");
    ASSERT_EQ(file::BuildPack(L"td/", L"data.dat"), VN_OK);
    file::FileManager::Instance()->mMounts[L"td/"] = L"data.dat";
    WriteBytes("td/new.png", "n");
    ASSERT_EQ(file::BuildMountedPacks(), VN_OK);

    ResetFileManager();
    file::FileManager::Instance()->mMounts[L"td/"] = L"data.dat";
    std::vector<std::wstring> names;
    file::FileManager::Instance()->ListFiles(L"td", true, &names, true);
    EXPECT_EQ(Sorted(names), (std::vector<std::wstring>{L"a.png", L"new.png"}));
}

// Fails the n-th step of the atomic write; counts steps when n is negative.
int gFailAt = -1;
int gStep = 0;
bool FailNth(const char*)
{
    return gStep++ == gFailAt;
}

TEST_F(PackBuilderTest, FailureAtAnyWriteStepLeavesTheOldPackWhole)
{
    for (int i = 0; i < 40; ++i)
        WriteBytes("td/f" + std::to_string(i) + ".bin",
                   std::string(1000 + i, static_cast<char>('a' + i % 26)));
    WriteBytes("data.dat", "old pack");
    file::SetAtomicFaultHook(FailNth);
    gFailAt = -1;
    gStep = 0;
    ASSERT_EQ(file::BuildPack(L"td/", L"probe.dat"), VN_OK);
    const int steps = gStep;
    const std::string fresh = ReadBytes("probe.dat");
    ASSERT_GT(steps, 4);
    for (gFailAt = 0; gFailAt < steps; ++gFailAt)
    {
        SCOPED_TRACE(gFailAt);
        gStep = 0;
        EXPECT_EQ(file::BuildPack(L"td/", L"data.dat"), VN_FAIL);
        EXPECT_EQ(ReadBytes("data.dat"), "old pack");
        EXPECT_TRUE(TempFilesBeside("data.dat").empty());
    }
    file::SetAtomicFaultHook(nullptr);
    ASSERT_EQ(file::BuildPack(L"td/", L"data.dat"), VN_OK);
    EXPECT_EQ(ReadBytes("data.dat"), fresh);
}
} // namespace
