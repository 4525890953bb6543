#include "Source/TD/Data/TDUtil.h"

#include "Core/Base/MathUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace
{
// A seed whose hash lies so close to 2^32 that the float product rounds up: Random answers exactly 1.0 and
// RandomRange its upper bound.
constexpr unsigned kSeedOfOne = 26244664u;

TEST(UtilTest, IndexesFromRandomValuesStayInsideTheirArray)
{
    ASSERT_EQ(math::Random(kSeedOfOne), 1.0f);
    ASSERT_EQ(math::RandomRange(0.0f, 5.0f, kSeedOfOne), 5.0f);
    for (int count : {1, 2, 3, 7, 1000, 100000})
    {
        EXPECT_EQ(randomIndex(count, kSeedOfOne), count - 1) << count;
        EXPECT_EQ(clampIndex(static_cast<int>(math::RandomRange(0.0f, float(count), kSeedOfOne)), count),
                  count - 1);
    }
    EXPECT_EQ(randomIndex(0, kSeedOfOne), 0);
    EXPECT_EQ(clampIndex(-3, 4), 0);
    EXPECT_EQ(clampIndex(2, 0), 0);

    math::SetRandomCounter(0);
    for (int i = 0; i < 1000; ++i)
    {
        const int index = randomIndex(3);
        ASSERT_TRUE(index >= 0 && index < 3) << index;
    }
}

TEST(UtilTest, LeadingNumbers)
{
    struct Case
    {
        const char* text;
        bool isInt;
        int asInt;
        bool isFloat;
        float asFloat;
    } cases[] = {
        {"12", true, 12, true, 12.0f},
        {"  -7;x", true, -7, true, -7.0f},
        {"+3.75", true, 3, true, 3.75f},
        {"+-3", false, 0, false, 0.0f},
        {"2147483648", true, INT_MAX, true, 2147483648.0f},
        {"-99999999999999999999", true, INT_MIN, true, -1e20f},
        {"0x1A", true, 0, true, 0.0f}, // decimal only
        {"e5", false, 0, false, 0.0f},
        {"", false, 0, false, 0.0f},
        {"1e400", true, 1, false, 0.0f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        int i = -42;
        float f = -42.0f;
        EXPECT_EQ(readLeadingInt(c.text, &i), c.isInt);
        EXPECT_EQ(readLeadingFloat(c.text, &f), c.isFloat);
        EXPECT_EQ(i, c.isInt ? c.asInt : -42) << "untouched when unreadable";
        EXPECT_FLOAT_EQ(f, c.isFloat ? c.asFloat : -42.0f);
    }
    EXPECT_FALSE(readLeadingInt(nullptr, nullptr));
    EXPECT_EQ(leadingInt("abc"), 0);

    EXPECT_EQ(truncToInt(3.9f), 3);
    EXPECT_EQ(truncToInt(-3.9f), -3);
    EXPECT_EQ(truncToInt(1e20f), INT_MAX);
    EXPECT_EQ(truncToInt(-1e20f), INT_MIN);
    EXPECT_EQ(truncToInt(std::nanf("")), 0);
}
} // namespace
