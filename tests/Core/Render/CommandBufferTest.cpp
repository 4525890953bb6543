#include "Core/Render/CommandBuffer.h"

#include <gtest/gtest.h>

using render::CommandBuffer;

TEST(CommandBuffer, GrowsByHalfOrToRequestPlus1024AndIsReused)
{
    CommandBuffer b;
    EXPECT_EQ(b.Size(), 0u);
    ASSERT_EQ(b.WriteU32(7), VN_OK);
    EXPECT_EQ(b.Size(), 1028u); // the first record: 4 + 1024
    std::vector<uint8_t> block(1024, 0xAB);
    ASSERT_EQ(b.WriteExact(block.data(), 1024), VN_OK); // ends exactly at 1028: no growth
    EXPECT_EQ(b.Size(), 1028u);
    ASSERT_EQ(b.WriteU8(1), VN_OK); // 1029 < 1.5 × 1028 = 1542
    EXPECT_EQ(b.Size(), 1542u);
    std::vector<uint8_t> big(5000, 1);
    ASSERT_EQ(b.WriteExact(big.data(), 5000), VN_OK); // 6029 ≥ 2313: request + 1024
    EXPECT_EQ(b.Size(), 6029u + 1024u);

    // Reused from the start without shrinking; the content written before survives growth.
    b.Seek(0, 0);
    uint32_t first = 0;
    ASSERT_EQ(b.ReadU32(first), VN_OK);
    EXPECT_EQ(first, 7u);
    b.Seek(0, 0);
    ASSERT_EQ(b.WriteU32(9), VN_OK);
    EXPECT_EQ(b.Size(), 7053u);
}

TEST(CommandBuffer, ShortReadFailsAndPointersArePointerSized)
{
    CommandBuffer b;
    int object = 0;
    ASSERT_EQ(b.WritePointer(&object), VN_OK);
    EXPECT_EQ(b.Position(), sizeof(void*));
    b.Seek(0, 0);
    int* back = nullptr;
    ASSERT_EQ(b.ReadPointer(back), VN_OK);
    EXPECT_EQ(back, &object);
    // Past the written bytes lies the zero-filled growth room; past the end a read comes up short.
    b.Seek(0, 2);
    uint32_t v = 0;
    EXPECT_EQ(b.ReadU32(v), VN_FAIL);
}
