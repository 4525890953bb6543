#include "Core/Render/Color.h"

#include <gtest/gtest.h>

#include <cmath>

using render::Color;

TEST(Color, PacksToArgbClampingOutOfRange)
{
    struct Case
    {
        Color color;
        uint32_t argb;
    };
    const Case cases[] = {
        {{1, 1, 1, 1}, 0xFFFFFFFFu},
        {{0, 0, 0, 0}, 0x00000000u},
        {{1, 0.5f, 0.25f, 0.5f}, 0x7FFF7F3Fu},
        // A brightened colour saturates instead of wrapping (1.2 × 255 = 306 would keep 50).
        {{1.2f, 0, 0, 1}, 0xFFFF0000u},
        {{-0.5f, 2.0f, 0, 1}, 0xFF00FF00u},
        {{NAN, 0, 0, 1}, 0xFF000000u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.color.ToARGB(), c.argb)
            << c.color.r << " " << c.color.g << " " << c.color.b << " " << c.color.a;
}

TEST(Color, FromArgbDividesEachChannelBy255)
{
    const Color c(0x80FF4000u);
    EXPECT_FLOAT_EQ(c.a, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(c.r, 1.0f);
    EXPECT_FLOAT_EQ(c.g, 64.0f / 255.0f);
    EXPECT_FLOAT_EQ(c.b, 0.0f);
    EXPECT_EQ(c.ToARGB(), 0x80FF4000u);
}
