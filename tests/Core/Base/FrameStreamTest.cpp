#include "Core/Base/FrameStream.h"
#include "Core/Base/MemoryStream.h"
#include "StreamTestUtil.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using streamtest::ScriptedStream;
using streamtest::Sequence;

class FrameStreamTest : public ::testing::Test
{
protected:
    FrameStreamTest() : mBytes(Sequence(1000)), mParent(mBytes.data(), 1000) {}

    std::vector<unsigned char> mBytes;
    base::MemoryStream mParent;
};

TEST_F(FrameStreamTest, ReadStopsAtTheWindowEnd)
{
    base::FrameStream frame(&mParent, false, 100, 20);
    EXPECT_EQ(frame.Size(), 20u);
    EXPECT_EQ(frame.Seek(15, base::kSeekBegin), 15u);
    unsigned char buffer[50] = {};
    ASSERT_EQ(frame.Read(buffer, 50), 5u);
    for (unsigned i = 0; i < 5; ++i)
        EXPECT_EQ(buffer[i], mBytes[115 + i]) << i;
    EXPECT_TRUE(frame.IsEnd());
    EXPECT_EQ(frame.Read(buffer, 50), 0u);
}

TEST_F(FrameStreamTest, SeekIsClampedToTheWindow)
{
    base::FrameStream frame(&mParent, false, 100, 20);
    EXPECT_EQ(frame.Seek(-5, base::kSeekEnd), 15u);
    EXPECT_EQ(frame.Seek(50, base::kSeekCurrent), 20u);
    EXPECT_EQ(frame.Seek(-30, base::kSeekCurrent), 0u);
    EXPECT_EQ(frame.Seek(3, 9), 0u);
}

TEST_F(FrameStreamTest, WriteIsRefused)
{
    base::FrameStream frame(&mParent, false, 0, 10);
    const unsigned char bytes[4] = {1, 2, 3, 4};
    EXPECT_EQ(frame.Write(bytes, 4), 0u);
    EXPECT_EQ(frame.Seek(0, base::kSeekCurrent), 0u);
    EXPECT_EQ(mParent.Size(), 1000u);
    EXPECT_EQ(mParent.GetData()[0], mBytes[0]);
}

TEST_F(FrameStreamTest, FramesSharingAParentReadTheirOwnBytes)
{
    base::FrameStream a(&mParent, false, 10, 100);
    base::FrameStream b(&mParent, false, 500, 100);
    unsigned char x = 0;
    unsigned char y = 0;
    for (unsigned i = 0; i < 3; ++i)
    {
        ASSERT_EQ(a.Read(&x, 1), 1u);
        ASSERT_EQ(b.Read(&y, 1), 1u);
        EXPECT_EQ(x, mBytes[10 + i]);
        EXPECT_EQ(y, mBytes[500 + i]);
    }
}

TEST_F(FrameStreamTest, WindowBeyondTheParentIsAShortRead)
{
    struct Case
    {
        unsigned offset;
        unsigned size;
        unsigned expected;
    };
    const Case cases[] = {
        {990, 20, 10},          // runs off the end of the parent
        {1000, 20, 0},          // starts at its end
        {5000, 20, 0},          // starts past its end: the parent cannot be positioned
        {0xFFFFFFF0u, 0x20, 0}, // offset + position would wrap in 32 bits
    };
    for (const Case& c : cases)
    {
        base::FrameStream frame(&mParent, false, c.offset, c.size);
        unsigned char buffer[32] = {};
        EXPECT_EQ(frame.Read(buffer, 32), c.expected) << c.offset;
        EXPECT_EQ(frame.Seek(0, base::kSeekCurrent), c.expected) << c.offset;
    }
}

TEST(FrameStream, OwnedParentIsDeletedAlsoOnReinit)
{
    bool firstDeleted = false;
    bool secondDeleted = false;
    auto* first = new ScriptedStream(Sequence(10));
    first->TrackDeletion(&firstDeleted);
    auto* second = new ScriptedStream(Sequence(10));
    second->TrackDeletion(&secondDeleted);
    {
        base::FrameStream frame(first, true, 0, 10);
        frame.Init(second, true, 2, 4);
        EXPECT_TRUE(firstDeleted);
        EXPECT_FALSE(secondDeleted);
        unsigned char buffer[8] = {};
        EXPECT_EQ(frame.Read(buffer, 8), 4u);
        EXPECT_EQ(buffer[0], Sequence(10)[2]);
    }
    EXPECT_TRUE(secondDeleted);

    bool notOwnedDeleted = false;
    ScriptedStream kept(Sequence(4));
    kept.TrackDeletion(&notOwnedDeleted);
    {
        base::FrameStream frame(&kept, false, 0, 4);
    }
    EXPECT_FALSE(notOwnedDeleted);
    kept.TrackDeletion(nullptr);
}

TEST(FrameStream, EmptyFrameReadsNothing)
{
    base::FrameStream frame;
    unsigned char byte = 0;
    EXPECT_EQ(frame.Size(), 0u);
    EXPECT_TRUE(frame.IsEnd());
    EXPECT_EQ(frame.Read(&byte, 1), 0u);
}

} // namespace
