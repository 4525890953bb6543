#include "Core/Base/FileStream.h"

#include "TempFolderTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace
{

using FileStreamTest = basetest::TempFolderTest;

TEST_F(FileStreamTest, WriteThenReadBack)
{
    const std::wstring path = PathOf("data.bin");
    {
        base::FileStream out;
        ASSERT_EQ(out.Open(path, base::FileStream::ModeWrite, base::FileStream::CreateAlways), VN_OK);
        EXPECT_EQ(out.Write("hello world", 11), 11u);
        EXPECT_EQ(out.Size(), 11u);
    }
    base::FileStream in;
    ASSERT_EQ(in.Open(path, base::FileStream::ModeRead, base::FileStream::OpenExisting), VN_OK);
    EXPECT_EQ(in.Size(), 11u);
    EXPECT_FALSE(in.IsEnd()); // file streams leave the end to short reads
    char buffer[32] = {};
    EXPECT_EQ(in.Seek(6, base::kSeekBegin), 6u);
    EXPECT_EQ(in.Read(buffer, 32), 5u);
    EXPECT_EQ(std::string(buffer, 5), "world");
    EXPECT_EQ(in.Read(buffer, 32), 0u);
    // Read-only: writes take nothing.
    EXPECT_EQ(in.Write("x", 1), 0u);
}

TEST_F(FileStreamTest, SeekOriginsAndFailedMoves)
{
    MakeFile("ten.bin", "0123456789");
    base::FileStream stream;
    ASSERT_EQ(stream.Open(PathOf("ten.bin"), base::FileStream::ModeRead, base::FileStream::OpenExisting),
              VN_OK);
    EXPECT_EQ(stream.Seek(-3, base::kSeekEnd), 7u);
    EXPECT_EQ(stream.Seek(-2, base::kSeekCurrent), 5u);
    // Before the start: the move fails and the position stays.
    EXPECT_EQ(stream.Seek(-20, base::kSeekCurrent), 5u);
    char c = 0;
    ASSERT_EQ(stream.Read(&c, 1), 1u);
    EXPECT_EQ(c, '5');
}

TEST_F(FileStreamTest, DispositionsAndModes)
{
    MakeFile("exists.bin", "abc");
    struct Case
    {
        const char* name;
        int mode;
        int disposition;
        VNResultEnum expected;
        unsigned sizeAfter;
    };
    const Case cases[] = {
        {"exists.bin", base::FileStream::ModeRead, base::FileStream::OpenExisting, VN_OK, 3},
        {"missing.bin", base::FileStream::ModeRead, base::FileStream::OpenExisting, VN_FAIL, 0},
        {"exists.bin", base::FileStream::ModeWrite, base::FileStream::CreateNew, VN_FAIL, 0},
        {"new.bin", base::FileStream::ModeWrite, base::FileStream::CreateNew, VN_OK, 0},
        {"exists.bin", base::FileStream::ModeReadWrite, base::FileStream::OpenExisting, VN_OK, 3},
        {"exists.bin", 7, base::FileStream::OpenExisting, VN_FAIL, 0},
        {"exists.bin", base::FileStream::ModeRead, 9, VN_FAIL, 0},
        {"exists.bin", base::FileStream::ModeWrite, base::FileStream::CreateAlways, VN_OK, 0}, // truncates
    };
    for (const Case& c : cases)
    {
        base::FileStream stream;
        EXPECT_EQ(stream.Open(PathOf(c.name), c.mode, c.disposition), c.expected) << c.name;
        EXPECT_EQ(stream.IsOpen(), c.expected == VN_OK) << c.name;
        EXPECT_EQ(stream.GetPath(), PathOf(c.name)); // kept also when the open fails
        EXPECT_EQ(stream.Size(), c.sizeAfter) << c.name;
    }
}

TEST_F(FileStreamTest, FolderIsNotAFile)
{
    std::filesystem::create_directories(mDir / "folder");
    base::FileStream stream;
    EXPECT_EQ(stream.Open(PathOf("folder"), base::FileStream::ModeRead, base::FileStream::OpenExisting),
              VN_FAIL);
    EXPECT_FALSE(stream.IsOpen());
}

TEST_F(FileStreamTest, UnopenedOrClosedStreamDoesNothing)
{
    base::FileStream stream;
    char buffer[4] = {};
    EXPECT_EQ(stream.Size(), 0u);
    EXPECT_EQ(stream.Read(buffer, 4), 0u);
    EXPECT_EQ(stream.Write(buffer, 4), 0u);
    EXPECT_EQ(stream.Seek(2, base::kSeekBegin), 0u);
    EXPECT_EQ(stream.Close(), VN_FAIL);

    MakeFile("a.bin", "abcd");
    ASSERT_EQ(stream.Open(PathOf("a.bin"), base::FileStream::ModeRead, base::FileStream::OpenExisting),
              VN_OK);
    EXPECT_EQ(stream.Close(), VN_OK);
    EXPECT_TRUE(stream.GetPath().empty());
    EXPECT_EQ(stream.Close(), VN_FAIL);
    EXPECT_EQ(stream.Read(buffer, 4), 0u);
}

TEST_F(FileStreamTest, NonAsciiPathIsUtf8OnDisk)
{
    const std::wstring path = (mDir / "").wstring() + L"профиль.bin";
    base::FileStream stream;
    ASSERT_EQ(stream.Open(path, base::FileStream::ModeWrite, base::FileStream::CreateAlways), VN_OK);
    EXPECT_TRUE(std::filesystem::exists(mDir / u8"профиль.bin"));
}

} // namespace
