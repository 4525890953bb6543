// Conversion of every accepted mode and depth to ARGB, and the colour helpers.

#include "Core/Psd/PsdWriter.h"

#include <gtest/gtest.h>

using namespace psdtest;

namespace
{

struct ConversionCase
{
    const char* what;
    uint16_t mode, depth, channels;
    std::vector<std::vector<uint8_t>> planes; // one 1x1 (or 2x1 for bitmap) plane per channel
    std::vector<uint32_t> expected;           // merged pixels
    int width;
    int indexed; // 0 none; 1 three-colour palette; 2 with transparent index 1; 3 with colour count 2
};

Bytes threeColourPalette()
{
    Bytes p;
    std::vector<uint8_t> r(256, 0), g(256, 0), b(256, 0);
    r[0] = 0x10, g[0] = 0x20, b[0] = 0x30;
    r[1] = 0x40, g[1] = 0x50, b[1] = 0x60;
    r[2] = 0x70, g[2] = 0x80, b[2] = 0x90;
    // Only three entries are stored: 9 bytes of colour-mode data.
    for (int i = 0; i < 3; ++i)
        p.u8(r[i]);
    for (int i = 0; i < 3; ++i)
        p.u8(g[i]);
    for (int i = 0; i < 3; ++i)
        p.u8(b[i]);
    return p;
}

TEST(PsdColour, ConversionTable)
{
    std::vector<ConversionCase> cases = {
        {"rgb 8", 3, 8, 3, {{10}, {20}, {30}}, {0xFF0A141Eu}, 1, 0},
        {"rgb 16 takes high bytes",
         3,
         16,
         3,
         {{0x0A, 0xFF}, {0x14, 0x00}, {0x1E, 0x80}},
         {0xFF0A141Eu},
         1,
         0},
        {"rgb transparency is the plane after the colours",
         3,
         8,
         4,
         {{10}, {20}, {30}, {0}},
         {0x000A141Eu},
         1,
         0},
        {"rgb opaque transparency plane", 3, 8, 4, {{10}, {20}, {30}, {255}}, {0xFF0A141Eu}, 1, 0},
        {"rgb half transparency loses the white matte",
         3,
         8,
         4,
         {{255}, {128}, {128}, {128}},
         {0x80FF0202u},
         1,
         0},
        {"grey 8", 1, 8, 1, {{77}}, {0xFF4D4D4Du}, 1, 0},
        {"grey 16", 1, 16, 1, {{77, 3}}, {0xFF4D4D4Du}, 1, 0},
        {"grey with transparency", 1, 8, 2, {{77}, {255}}, {0xFF4D4D4Du}, 1, 0},
        {"duotone 8", 8, 8, 1, {{200}}, {0xFFC8C8C8u}, 1, 0},
        {"cmyk no ink", 4, 8, 4, {{255}, {255}, {255}, {255}}, {0xFFFFFFFFu}, 1, 0},
        {"cmyk full black", 4, 8, 4, {{255}, {255}, {255}, {0}}, {0xFF000000u}, 1, 0},
        {"cmyk full cyan", 4, 16, 4, {{0, 0}, {255, 0}, {255, 0}, {255, 0}}, {0xFF01FFFFu}, 1, 0},
        {"multichannel four inks", 7, 8, 4, {{255}, {0}, {255}, {255}}, {0xFFFF01FFu}, 1, 0},
        {"multichannel three inks", 7, 8, 3, {{255}, {255}, {0}}, {0xFFFFFF01u}, 1, 0},
        {"lab white", 9, 8, 3, {{255}, {128}, {128}}, {0}, 1, 0},
        {"bitmap bits from the top bit", 0, 1, 1, {{0x40}}, {0xFFFFFFFFu, 0xFF000000u}, 2, 0},
    };
    cases[14].expected = {psdr_lab_to_argb((255 * 100) >> 8, 0, 0)};
    cases.push_back({"indexed", 2, 8, 1, {{1}}, {0xFF405060u}, 1, 1});
    cases.push_back({"indexed beyond the palette is clamped", 2, 8, 1, {{200}}, {0xFF708090u}, 1, 1});
    cases.push_back(
        {"index 0 is a colour without the transparency resource", 2, 8, 1, {{0}}, {0xFF102030u}, 1, 1});
    cases.push_back({"transparent index", 2, 8, 1, {{1}}, {0x00FFFFFFu}, 1, 2});
    cases.push_back({"colour count limits the palette", 2, 8, 1, {{2}}, {0xFF405060u}, 1, 3});

    for (const ConversionCase& c : cases)
    {
        Document d;
        d.mode = c.mode;
        d.depth = c.depth;
        d.channels = c.channels;
        d.width = c.width;
        d.height = 1;
        d.layerSection = false;
        d.merged = c.planes;
        if (c.indexed)
            d.colourModeData = threeColourPalette();
        if (c.indexed == 2)
            d.resources = {{1047, Bytes().u16(1)}};
        if (c.indexed == 3)
            d.resources = {{1046, Bytes().u16(2)}};
        Loaded l(write(d));
        ASSERT_EQ(l.status, PSDR_OK) << c.what;
        ASSERT_NE(l.doc->merged_image, nullptr) << c.what;
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(l.doc->merged_image[i], c.expected[i]) << c.what << " pixel " << i;
        // The layer made from the merged image converts the same way.
        ASSERT_EQ(l.doc->layer_count, 1) << c.what;
        EXPECT_EQ(l.doc->layers[0].pixels[0], c.expected[0]) << c.what;
    }
}

TEST(PsdColour, LayerPlanesByChannelId)
{
    // Channel order in the file does not matter: ids pick the planes.
    Document d;
    d.width = 1;
    d.height = 1;
    Layer l;
    l.bottom = 1;
    l.right = 1;
    l.channels = {{2, {30}}, {-1, {64}}, {0, {10}}, {1, {20}}};
    d.layers.push_back(l);
    Loaded a(write(d));
    ASSERT_EQ(a.status, PSDR_OK);
    EXPECT_EQ(a.doc->layers[0].pixels[0], 0x400A141Eu);

    // A missing colour channel reads as zero.
    d.layers[0].channels = {{0, {10}}, {2, {30}}};
    Loaded b(write(d));
    ASSERT_EQ(b.status, PSDR_OK);
    EXPECT_EQ(b.doc->layers[0].pixels[0], 0xFF0A001Eu);
}

TEST(PsdColour, Helpers)
{
    EXPECT_EQ(psdr_rgb_to_argb(0x1FF, 0x100, -1), 0xFFFF00FFu);
    EXPECT_EQ(psdr_lab_to_argb(100, 0, 0), 0xFFFFFFFFu) << "white does not spill into alpha";
    EXPECT_EQ(psdr_lab_alpha_to_argb(0x12, 100, 0, 0) >> 24, 0x12u);
    EXPECT_EQ(psdr_lab_to_argb(0, 0, 0), 0xFF000000u);
    EXPECT_EQ(psdr_lab_to_argb(50, 127, -128) & 0xFFu, 0xFFu) << "out of gamut clamps";
    EXPECT_EQ(psdr_lab_to_argb(100, -128, 127), 0xFF00FF00u) << "out of gamut clamps";
    EXPECT_EQ(psdr_hsb_to_argb(255, 0, 1.0, 0.5), 0xFFFF0000u) << "hue 0 takes blue from hue 240";
    EXPECT_EQ(psdr_hsb_to_argb(255, 120, 1.0, 0.5), 0xFF00FF00u);
    EXPECT_EQ(psdr_hsb_to_argb(255, -120, 1.0, 0.5), 0xFF0000FFu);
    EXPECT_EQ(psdr_hsb_to_argb(255, 0, 0.0, 1.0), 0xFFFFFFFFu);
    EXPECT_EQ(psdr_cmyk_fractions_to_argb(0, 0, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(psdr_cmyk_fractions_to_argb(0, 0, 0, 1), 0xFF000000u);
    uint32_t mid = psdr_cmyk_fractions_to_argb(0.5, 0.5, 0.5, 0);
    EXPECT_GT(mid & 0xFF, 0u);
    EXPECT_LT(mid & 0xFF, 255u);
    EXPECT_EQ(psdr_cmyk_to_argb(0, 0, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(psdr_cmyk_alpha_to_argb(7, 0, 0, 0, 255), 0x07000000u);
    psdr_status status = 0;
    EXPECT_EQ(psdr_colour_to_argb(3, 1, 2, 3, 4, &status), 0x00FFFFFFu);
    EXPECT_EQ(status, PSDR_ERR_COLOUR_SPACE);
    EXPECT_EQ(psdr_colour_to_argb(0, 1, 2, 3, 0, &status), 0xFF010203u);
    EXPECT_EQ(status, PSDR_OK);
}

TEST(PsdColour, ColourRecordsInResources)
{
    // The display-info resource carries a colour record: space, four 16-bit components.
    struct Case
    {
        uint16_t space, c0, c1, c2, c3;
        uint32_t expected;
    } cases[] = {
        {0, 0x1200, 0x3400, 0x56FF, 0, 0xFF123456u},
        {2, 0, 0, 0, 0, 0xFFFFFFFFu},        // CMYK 0 % ink
        {2, 0, 0, 0, 100 << 8, 0xFF000000u}, // 100 % black
        {9, 1, 2, 3, 4, 0x00FFFFFFu},        // unknown space
    };
    for (const Case& c : cases)
    {
        Document d;
        d.layerSection = false;
        d.resources = {
            {1007, Bytes().u16(c.space).u16(c.c0).u16(c.c1).u16(c.c2).u16(c.c3).u16(50).u8(1).u8(0)}};
        Loaded l(write(d));
        ASSERT_EQ(l.status, PSDR_OK);
        EXPECT_EQ(l.doc->display_info_present, 1);
        EXPECT_EQ(l.doc->display_colour, c.expected) << "space " << c.space;
        EXPECT_EQ(l.doc->display_opacity, 50);
    }
}

} // namespace
