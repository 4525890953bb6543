#include "Core/Base/MemoryStream.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

namespace
{

const unsigned char kTen[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

TEST(MemoryStream, SeekIsClampedToTheBuffer)
{
    struct Case
    {
        unsigned start;
        int offset;
        int origin;
        unsigned expected;
    };
    const Case cases[] = {
        {0, 0, base::kSeekEnd, 10},
        {0, -3, base::kSeekEnd, 7},
        {0, 5, base::kSeekEnd, 10},
        {7, -20, base::kSeekCurrent, 0},
        {3, 4, base::kSeekCurrent, 7},
        {0, 4, base::kSeekBegin, 4},
        {5, -1, base::kSeekBegin, 0},
        {5, 11, base::kSeekBegin, 10},
        {6, 2, 7, 6},
        {9, INT_MAX, base::kSeekCurrent, 10},
        {1, INT_MIN, base::kSeekEnd, 0},
        {10, INT_MIN, base::kSeekCurrent, 0},
    };
    for (const Case& c : cases)
    {
        base::MemoryStream stream(kTen, 10);
        ASSERT_EQ(stream.Seek(static_cast<int>(c.start), base::kSeekBegin), c.start);
        EXPECT_EQ(stream.Seek(c.offset, c.origin), c.expected)
            << "from " << c.start << " by " << c.offset << " origin " << c.origin;
        EXPECT_EQ(stream.IsEnd(), c.expected == 10u);
    }
}

TEST(MemoryStream, ReadsNoMoreThanIsLeft)
{
    base::MemoryStream stream(kTen, 10);
    unsigned char buffer[16] = {};
    EXPECT_EQ(stream.Read(buffer, 4), 4u);
    EXPECT_EQ(std::memcmp(buffer, kTen, 4), 0);
    EXPECT_EQ(stream.Read(buffer, 16), 6u);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(buffer[5], 9);
    EXPECT_TRUE(stream.IsEnd());
    EXPECT_EQ(stream.Read(buffer, 16), 0u);
}

TEST(MemoryStream, ConstructorCopiesTheBytes)
{
    unsigned char source[3] = {7, 8, 9};
    base::MemoryStream stream(source, 3);
    source[0] = 0;
    ASSERT_EQ(stream.Size(), 3u);
    EXPECT_EQ(stream.GetData()[0], 7);
    EXPECT_EQ(stream.GetPosition(), 0u);

    base::MemoryStream empty;
    EXPECT_EQ(empty.Size(), 0u);
    EXPECT_EQ(empty.GetData(), nullptr);
    EXPECT_TRUE(empty.IsEnd());
}

TEST(MemoryStream, WritePastTheEndGrowsAndKeepsTheFront)
{
    base::MemoryStream stream(kTen, 10);
    stream.Seek(8, base::kSeekBegin);
    const unsigned char four[4] = {0xA0, 0xA1, 0xA2, 0xA3};
    EXPECT_EQ(stream.Write(four, 4), 4u);
    EXPECT_EQ(stream.Size(), 12u);
    EXPECT_EQ(stream.GetPosition(), 12u);
    EXPECT_EQ(std::memcmp(stream.GetData(), kTen, 8), 0);
    EXPECT_EQ(std::memcmp(stream.GetData() + 8, four, 4), 0);

    // Inside the buffer: overwrites without growing.
    stream.Seek(0, base::kSeekBegin);
    EXPECT_EQ(stream.Write(four, 2), 2u);
    EXPECT_EQ(stream.Size(), 12u);
    EXPECT_EQ(stream.GetData()[1], 0xA1);
}

TEST(MemoryStream, ResizeKeepsPrefixAndLowersPosition)
{
    base::MemoryStream stream(kTen, 10);
    stream.Seek(9, base::kSeekBegin);
    stream.Resize(4, true);
    EXPECT_EQ(stream.Size(), 4u);
    EXPECT_EQ(stream.GetPosition(), 4u);
    EXPECT_EQ(std::memcmp(stream.GetData(), kTen, 4), 0);

    stream.Resize(0, true);
    EXPECT_EQ(stream.Size(), 0u);
    EXPECT_EQ(stream.GetPosition(), 0u);
    unsigned char byte = 0;
    EXPECT_EQ(stream.Read(&byte, 1), 0u);
}

// A stream whose buffer cannot grow beyond a limit: writes must report only what they stored.
class CappedStream : public base::MemoryStream
{
public:
    void Resize(unsigned n, bool keep) override
    {
        if (n <= 6)
            base::MemoryStream::Resize(n, keep);
    }
};

TEST(MemoryStream, WriteReportsOnlyWhatFits)
{
    CappedStream stream;
    EXPECT_EQ(stream.Write(kTen, 4), 4u);
    EXPECT_EQ(stream.Write(kTen, 4), 0u); // would need 8 bytes
    EXPECT_EQ(stream.Size(), 4u);
    EXPECT_EQ(stream.GetPosition(), 4u);
}

TEST(MemoryStream, WriteNearThe32BitLimitDoesNotWrap)
{
    // A derived stream that fakes a huge size: the write must not compute position + length
    // in 32 bits and come back with a small buffer.
    class HugeStream : public base::MemoryStream
    {
    public:
        HugeStream()
        {
            mSize = 0xFFFFFFF0u;
            mPosition = 0xFFFFFFF0u;
        }
        ~HugeStream() override { mSize = 0; }
        void Resize(unsigned n, bool) override { requested = n; }
        unsigned requested = 0;
    };
    HugeStream stream;
    EXPECT_EQ(stream.Write(kTen, 0x20), 0u);
    EXPECT_EQ(stream.requested, 0xFFFFFFFFu);
}

} // namespace
