#include "Core/Base/MathUtil.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace
{

class RandomTest : public testing::Test
{
protected:
    void SetUp() override { math::SetRandomCounter(0); }
    void TearDown() override { math::SetRandomCounter(0); }
};

struct SeedCase
{
    unsigned seed;
    std::uint32_t bits; // the float result, bit for bit
};

// Values of the hash for fixed seeds; any change of a constant or a shift changes them.
TEST_F(RandomTest, SeedsGiveTheirFixedValuesBitForBit)
{
    const SeedCase cases[] = {
        {1u, 0x3E02C6D9u},          {2u, 0x3EE3957Bu},          {3u, 0x3D4F6A81u},
        {7u, 0x3C940F02u},          {12345u, 0x3DB5C190u},      {0x00BC602Fu, 0x00000000u},
        {0xFFFFFFFFu, 0x3F4467C9u}, {0x80000000u, 0x3F647C49u},
    };
    for (const SeedCase& c : cases)
    {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(math::Random(c.seed)), c.bits) << c.seed;
        EXPECT_EQ(math::GetRandomCounter(), c.seed);
    }
}

TEST_F(RandomTest, SeedZeroWalksTheSharedCounter)
{
    const float fromZero = math::Random(0);
    EXPECT_EQ(fromZero, math::Random(1));
    math::SetRandomCounter(0);
    const float first = math::Random(0);
    const float second = math::Random(0);
    EXPECT_EQ(math::GetRandomCounter(), 2u);
    EXPECT_EQ(first, math::Random(1));
    EXPECT_EQ(second, math::Random(2));
    // An explicit seed moves the counter too.
    math::Random(100);
    const float afterExplicit = math::Random(0);
    EXPECT_EQ(afterExplicit, math::Random(101));
}

TEST_F(RandomTest, RangeScalesTheSameHash)
{
    EXPECT_EQ(std::bit_cast<std::uint32_t>(math::RandomRange(-5.0f, 10.0f, 1)), 0xC0456594u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(math::RandomRange(-5.0f, 10.0f, 42)), 0x3E5F2CC0u);
    EXPECT_EQ(math::RandomRange(3.0f, 3.0f, 77), 3.0f);
    EXPECT_EQ(math::RandomRange(2.0f, 9.0f, 0x00BC602Fu), 2.0f);
    math::SetRandomCounter(0);
    math::RandomRange(0.0f, 1.0f);
    EXPECT_EQ(math::GetRandomCounter(), 1u);
    for (unsigned seed = 1; seed < 2000; ++seed)
    {
        const float v = math::RandomRange(10.0f, 20.0f, seed);
        ASSERT_GE(v, 10.0f);
        ASSERT_LE(v, 20.0f);
    }
}

struct ApproachCase
{
    float value;
    float step;
    float target;
    bool reached;
    float after;
};

TEST(Approach, StepsTowardTheTarget)
{
    const ApproachCase cases[] = {
        {0.0f, 1.0f, 1.0f, false, 1.0f}, // exactly one step: moved now, reported next call
        {1.0f, 1.0f, 1.0f, true, 1.0f},     {0.0f, 0.25f, 1.0f, false, 0.25f},
        {1.0f, 0.25f, 0.0f, false, 0.75f},  {0.9f, 0.25f, 1.0f, true, 1.0f},
        {-3.0f, 1.0f, -4.5f, false, -4.0f}, {-3.0f, 2.0f, -4.5f, true, -4.5f},
    };
    for (const ApproachCase& c : cases)
    {
        float value = c.value;
        EXPECT_EQ(math::Approach(&value, c.step, c.target), c.reached) << c.value << " " << c.target;
        EXPECT_FLOAT_EQ(value, c.after);
    }
    float value = 0.0f;
    EXPECT_FALSE(math::Approach(&value, 1.0f, 1.0f));
    EXPECT_TRUE(math::Approach(&value, 1.0f, 1.0f));
}

} // namespace
