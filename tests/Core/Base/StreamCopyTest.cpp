#include "Core/Base/FrameStream.h"
#include "Core/Base/MemoryStream.h"
#include "StreamTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

using streamtest::ScriptedStream;
using streamtest::Sequence;

TEST(StreamCopy, WholeSourceStartsFromItsBeginning)
{
    const auto bytes = Sequence(40);
    base::MemoryStream source(bytes.data(), 40);
    source.Seek(20, base::kSeekBegin);
    base::MemoryStream target;
    EXPECT_EQ(target.CopyFrom(&source, 0xFFFFFFFFu), VN_OK);
    ASSERT_EQ(target.Size(), 40u);
    EXPECT_EQ(std::memcmp(target.GetData(), bytes.data(), 40), 0);
}

TEST(StreamCopy, CountIsLoweredToWhatIsLeft)
{
    const auto bytes = Sequence(10);
    base::MemoryStream source(bytes.data(), 10);
    source.Seek(6, base::kSeekBegin);
    base::MemoryStream target;
    target.Write("ab", 2);
    EXPECT_EQ(target.CopyFrom(&source, 10), VN_OK);
    ASSERT_EQ(target.Size(), 6u);
    EXPECT_EQ(std::memcmp(target.GetData() + 2, bytes.data() + 6, 4), 0);
    EXPECT_TRUE(source.IsEnd());

    // Nothing to copy is not a failure.
    EXPECT_EQ(target.CopyFrom(&source, 5), VN_OK);
    EXPECT_EQ(target.CopyFrom(&source, 0), VN_OK);
    EXPECT_EQ(target.Size(), 6u);
}

TEST(StreamCopy, ShortOrFailingSourceEndsTheCopyWithFailure)
{
    struct Case
    {
        const char* name;
        unsigned actualBytes;
        unsigned claimedSize;
        int failReadsFrom;
        unsigned copiedBeforeFailure;
    };
    const Case cases[] = {
        {"source shrank after it was measured", 100, 300, -1, 100},
        {"read error midway", 300, 300, 50, 50},
        {"read error at once", 300, 300, 0, 0},
    };
    for (const Case& c : cases)
    {
        ScriptedStream source(Sequence(c.actualBytes), c.claimedSize);
        source.failReadsFrom = c.failReadsFrom;
        base::MemoryStream target;
        EXPECT_EQ(target.CopyFrom(&source, 0xFFFFFFFFu), VN_FAIL) << c.name;
        EXPECT_EQ(target.Size(), c.copiedBeforeFailure) << c.name;
        EXPECT_LE(source.reads, 3) << c.name; // stopped, did not spin on empty reads
    }
}

TEST(StreamCopy, RefusingTargetIsAFailure)
{
    const auto bytes = Sequence(10);
    base::MemoryStream source(bytes.data(), 10);
    base::MemoryStream parent(bytes.data(), 10);
    base::FrameStream readOnly(&parent, false, 0, 10);
    EXPECT_EQ(readOnly.CopyFrom(&source, 0xFFFFFFFFu), VN_FAIL);
    EXPECT_EQ(readOnly.CopyFrom(nullptr, 4), VN_FAIL);
}

TEST(StreamCopy, LargeSourceMovesThroughOneMebibyteBuffer)
{
    const unsigned size = (1u << 20) * 2 + 123;
    ScriptedStream source(Sequence(size));
    base::MemoryStream target;
    EXPECT_EQ(target.CopyFrom(&source, 0xFFFFFFFFu), VN_OK);
    EXPECT_EQ(target.Size(), size);
    EXPECT_EQ(source.largestRead, 1u << 20);
    EXPECT_EQ(source.reads, 3);
    const auto expected = Sequence(size);
    EXPECT_EQ(std::memcmp(target.GetData(), expected.data(), size), 0);
}

TEST(StreamCopy, WriteInt32)
{
    base::MemoryStream stream;
    const unsigned value = 0x11223344u;
    EXPECT_EQ(base::WriteInt32(stream, &value), VN_OK);
    EXPECT_EQ(base::WriteInt32(stream, &value), VN_OK);
    ASSERT_EQ(stream.Size(), 8u);
    unsigned back = 0;
    std::memcpy(&back, stream.GetData() + 4, 4);
    EXPECT_EQ(back, value);

    base::FrameStream readOnly(&stream, false, 0, 8);
    EXPECT_EQ(base::WriteInt32(readOnly, &value), VN_FAIL);
}

} // namespace
