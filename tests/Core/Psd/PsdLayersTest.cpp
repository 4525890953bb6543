// Layer records: masks of every length, blending ranges, names, groups, blocks and damage.

#include "Core/Psd/PsdWriter.h"

#include <gtest/gtest.h>

#include <functional>

using namespace psdtest;

namespace
{

Layer plainLayer(int w = 2, int h = 1)
{
    Layer l;
    l.bottom = h;
    l.right = w;
    l.channels = {{0, std::vector<uint8_t>(size_t(w * h), 10)},
                  {1, std::vector<uint8_t>(size_t(w * h), 20)},
                  {2, std::vector<uint8_t>(size_t(w * h), 30)}};
    return l;
}

Bytes lyid(uint32_t id)
{
    return Bytes().u32(id);
}

Document docWith(std::vector<Layer> layers)
{
    Document d;
    d.width = 4;
    d.height = 4;
    d.layers = std::move(layers);
    return d;
}

// Mask records: rectangle (0,0)-(2,3), default colour 7, flags, then what each length holds.
Bytes maskRecord(size_t length, uint8_t flags = 0)
{
    Bytes m;
    m.u32(0).u32(0).u32(2).u32(3).u8(7).u8(flags);
    if (length == 20)
        return m.zeros(2);
    if (flags & 0x10)
        m.u8(0x01 | 0x02).u8(200).zeros(8); // density and feather parameters
    if (m.size() + 18 <= length)
        m.u8(3).u8(9).u32(1).u32(1).u32(5).u32(6);
    while (m.size() < length)
        m.u8(0);
    return m;
}

struct RecordCase
{
    const char* what;
    std::function<void(Layer&)> change;
    psdr_status status;
    std::function<void(const psdr_layer&)> check;
};

TEST(PsdLayers, RecordTable)
{
    const RecordCase cases[] = {
        {"plain", [](Layer&) {}, PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_EQ(l.width, 2);
             EXPECT_EQ(l.pixels[1], 0xFF0A141Eu);
             EXPECT_EQ(l.layer_id, 42u);
             EXPECT_EQ(l.mask_disabled, 1);
             EXPECT_EQ(l.channel_range_count, 0);
         }},
        {"mask of 20 bytes", [](Layer& l) { l.mask = maskRecord(20); }, PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_EQ(l.mask_bottom, 2);
             EXPECT_EQ(l.mask_width, 3);
             EXPECT_EQ(l.mask_default_colour, 7);
             EXPECT_EQ(l.real_mask_present, 0);
             EXPECT_EQ(l.layer_id, 42u);
         }},
        {"mask of 36 bytes keeps both rectangles", [](Layer& l) { l.mask = maskRecord(36); }, PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_EQ(l.mask_width, 3);
             EXPECT_EQ(l.real_mask_present, 1);
             EXPECT_EQ(l.real_mask_bottom, 5);
             EXPECT_EQ(l.real_mask_right, 6);
             EXPECT_EQ(l.real_mask_background, 9);
             EXPECT_EQ(l.layer_id, 42u);
         }},
        {"mask of 28 bytes with parameters", [](Layer& l) { l.mask = maskRecord(28, 0x10); }, PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_EQ(l.mask_width, 3);
             EXPECT_EQ(l.real_mask_present, 0);
             EXPECT_EQ(l.layer_id, 42u);
         }},
        {"mask of 40 bytes", [](Layer& l) { l.mask = maskRecord(40); }, PSDR_OK,
         [](const psdr_layer& l) { EXPECT_EQ(l.layer_id, 42u); }},
        {"mask of 48 bytes with parameters", [](Layer& l) { l.mask = maskRecord(48, 0x10); }, PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_EQ(l.real_mask_bottom, 5);
             EXPECT_EQ(l.layer_id, 42u);
         }},
        {"mask of 56 bytes", [](Layer& l) { l.mask = maskRecord(56, 0x10); }, PSDR_OK,
         [](const psdr_layer& l) { EXPECT_EQ(l.layer_id, 42u); }},
        {"mask with inverted bounds has no area",
         [](Layer& l) { l.mask = Bytes().u32(0).u32(5).u32(2).u32(3).u8(0).u8(0).zeros(2); }, PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_EQ(l.mask_left, 5) << "stored as found";
             EXPECT_EQ(l.mask_width, 0);
             EXPECT_EQ(l.mask_height, 0);
             EXPECT_EQ(l.mask_pixels, nullptr);
             EXPECT_EQ(l.pixels[1], 0xFF0A141Eu);
         }},
        {"mask pixels from channel -2",
         [](Layer& l)
         {
             l.mask = maskRecord(20);
             l.maskWidth = 3;
             l.maskHeight = 2;
             l.channels.push_back({-2, {1, 2, 3, 4, 5, 6}, 1});
         },
         PSDR_OK,
         [](const psdr_layer& l)
         {
             ASSERT_NE(l.mask_pixels, nullptr);
             EXPECT_EQ(l.mask_pixels[5], 6);
             EXPECT_EQ(l.pixels[0], 0xFF0A141Eu);
         }},
        {"channel -3 is stepped over",
         [](Layer& l)
         {
             l.mask = maskRecord(36);
             l.channels.insert(l.channels.begin(), Channel{-3, std::vector<uint8_t>(64, 1), 0});
         },
         PSDR_OK, [](const psdr_layer& l) { EXPECT_EQ(l.pixels[0], 0xFF0A141Eu); }},
        {"blending ranges of length 0 mean none", [](Layer& l) { l.blending = Bytes(); }, PSDR_OK,
         [](const psdr_layer& l) { EXPECT_EQ(l.source_black, nullptr); }},
        {"blending ranges without channels", [](Layer& l) { l.blending = Bytes().u32(0).u32(0xFFFF); },
         PSDR_ERR_BLEND_RANGES, nullptr},
        {"blending ranges of two channels",
         [](Layer& l)
         { l.blending = Bytes().u32(1).u32(2).u16(3).u16(4).u16(5).u16(6).u16(7).u16(8).u16(9).u16(10); },
         PSDR_OK,
         [](const psdr_layer& l)
         {
             ASSERT_EQ(l.channel_range_count, 2);
             EXPECT_EQ(l.composite_grey_ranges[3], 2);
             EXPECT_EQ(l.source_white[1], 8);
             EXPECT_EQ(l.destination_white[1], 10);
         }},
        {"name of length 5", [](Layer& l) { l.name = "abcde"; }, PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_STREQ(l.name, "abcde");
             EXPECT_EQ(l.layer_id, 42u);
         }},
        {"unknown key is skipped",
         [](Layer& l) {
             l.blocks.insert(l.blocks.begin(), {"zzzz", Bytes().u32(1).u8(2)});
         },
         PSDR_OK, [](const psdr_layer& l) { EXPECT_EQ(l.layer_id, 42u); }},
        {"section divider of 12 bytes",
         [](Layer& l) {
             l.blocks.push_back({"lsct", Bytes().u32(1).key("8BIM").key("mul ")});
         },
         PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_EQ(l.type, PSDR_LAYER_GROUP);
             EXPECT_EQ(l.section_blend_mode, 3u);
         }},
        {"section divider of 4 bytes",
         [](Layer& l) {
             l.blocks.push_back({"lsct", Bytes().u32(3)});
         },
         PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_EQ(l.type, PSDR_LAYER_GROUP_END);
             EXPECT_EQ(l.section_blend_mode, 23u);
         }},
        {"section divider without signature",
         [](Layer& l) {
             l.blocks.push_back({"lsct", Bytes().u32(1).key("XXXX").key("mul ")});
         },
         PSDR_ERR_SECTION_SIGNATURE, nullptr},
        {"small blocks",
         [](Layer& l)
         {
             l.blocks.push_back({"luni", Bytes().u32(2).u16(0x00E9).u16('x')});
             l.blocks.push_back({"iOpa", Bytes().u8(77).zeros(3)});
             l.blocks.push_back({"knko", Bytes().u8(1).zeros(3)});
             l.blocks.push_back({"lspf", Bytes().u32(6)});
             l.blocks.push_back({"lclr", Bytes().u8(1).u8(2).u8(3).u8(0).zeros(4)});
             l.blocks.push_back({"fxrp", Bytes().u32(0x42000000).u32(0).u32(0xC0000000).u32(0)});
         },
         PSDR_OK,
         [](const psdr_layer& l)
         {
             ASSERT_EQ(l.unicode_name_length, 2);
             EXPECT_EQ(l.unicode_name[0], 0xE900); // stored byte order
             EXPECT_EQ(l.fill_opacity, 77);
             EXPECT_EQ(l.knockout, 1);
             EXPECT_EQ(l.composite_locked, 1);
             EXPECT_EQ(l.position_locked, 1);
             EXPECT_EQ(l.transparency_locked, 0);
             EXPECT_EQ(l.sheet_colour, 0xFF010203u);
             EXPECT_EQ(l.reference_x, 2147483647) << "a huge double saturates";
             EXPECT_EQ(l.reference_y, -2);
         }},
        {"zero-area layer has no pixels",
         [](Layer& l)
         {
             l.right = 0;
             l.channels.clear();
             l.channels.push_back({0, {}, 0});
         },
         PSDR_OK, [](const psdr_layer& l) { EXPECT_EQ(l.pixels, nullptr); }},
        {"inverted bounds are an empty layer",
         [](Layer& l)
         {
             l.top = 0;
             l.bottom = -1;
             for (Channel& c : l.channels)
             {
                 c.overrideSet = true;
                 c.override.clear();
             }
         },
         PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_EQ(l.bottom, -1) << "bounds stored as found";
             EXPECT_EQ(l.width, 0);
             EXPECT_EQ(l.height, 0);
             EXPECT_EQ(l.pixels, nullptr);
             EXPECT_EQ(l.layer_id, 42u) << "the record is read to its end";
         }},
        {"right of left is an empty layer",
         [](Layer& l)
         {
             l.left = 5;
             for (Channel& c : l.channels)
             {
                 c.overrideSet = true;
                 c.override.clear();
             }
         },
         PSDR_OK,
         [](const psdr_layer& l)
         {
             EXPECT_EQ(l.width, 0);
             EXPECT_EQ(l.pixels, nullptr);
         }},
        {"over-wide layer", [](Layer& l) { l.left = -40000; }, PSDR_ERR_RANGE, nullptr},
        {"too many channels",
         [](Layer& l) {
             l.channels.assign(57, Channel{0, {1, 1}, 0});
         },
         PSDR_ERR_RANGE, nullptr},
    };
    for (const RecordCase& c : cases)
    {
        Layer l = plainLayer();
        l.blocks.push_back({"lyid", lyid(42)});
        c.change(l);
        Loaded loaded(write(docWith({l})));
        ASSERT_EQ(loaded.status, c.status) << c.what;
        if (c.status == PSDR_OK && c.check)
        {
            ASSERT_EQ(loaded.doc->layer_count, 1) << c.what;
            SCOPED_TRACE(c.what);
            c.check(loaded.doc->layers[0]);
        }
    }
}

// An empty layer with inverted bounds sits between two drawn ones: the document opens and the layers
// around it keep their pixels.
TEST(PsdLayers, EmptyLayerWithInvertedBoundsAmongOthers)
{
    Layer empty = plainLayer();
    empty.top = 0;
    empty.bottom = -1;
    for (Channel& c : empty.channels)
    {
        c.overrideSet = true;
        c.override.clear();
    }
    Layer below = plainLayer(2, 1);
    Layer above = plainLayer(1, 2);
    above.channels[0].plane = {90, 91};
    Loaded loaded(write(docWith({below, empty, above})));
    ASSERT_EQ(loaded.status, PSDR_OK);
    ASSERT_EQ(loaded.doc->layer_count, 3);
    EXPECT_EQ(loaded.doc->layers[1].pixels, nullptr);
    ASSERT_NE(loaded.doc->layers[2].pixels, nullptr);
    EXPECT_EQ(loaded.doc->layers[2].height, 2);
    EXPECT_EQ(loaded.doc->layers[2].pixels[1], 0xFF5B141Eu);
    EXPECT_EQ(loaded.doc->layers[0].pixels[1], 0xFF0A141Eu);
}

TEST(PsdLayers, DamagedRecords)
{
    std::vector<uint8_t> bytes = write(docWith({plainLayer()}));
    auto find = [&](const char* key)
    {
        for (size_t i = 0; i + 4 <= bytes.size(); ++i)
            if (std::equal(key, key + 4, bytes.begin() + long(i)))
                return i;
        return size_t(0);
    };
    {
        // The record's signature before its blend key.
        std::vector<uint8_t> b = bytes;
        b[find("norm") - 4] = 'X';
        Loaded l(b);
        EXPECT_EQ(l.status, PSDR_ERR_LAYER_SIGNATURE);
    }
    {
        Layer layer = plainLayer();
        layer.blocks.push_back({"lyid", lyid(1)});
        std::vector<uint8_t> b = write(docWith({layer}));
        for (size_t i = 0; i + 4 <= b.size(); ++i)
            if (std::equal("lyid", "lyid" + 4, b.begin() + long(i)))
            {
                b[i - 4] = 'Q';
                break;
            }
        Loaded l(b);
        EXPECT_EQ(l.status, PSDR_ERR_BLOCK_SIGNATURE);
    }
    {
        // A channel longer than the file: short data.
        Layer layer = plainLayer();
        layer.channels[0].override = std::vector<uint8_t>(2, 0);
        layer.channels[0].overrideSet = true;
        std::vector<uint8_t> b = write(docWith({layer}));
        // The first channel's length follows its id right after the bounds and count.
        size_t at = find("8BPS") + 26 + 4 + 4 + 4 + 4 + 2 + 16 + 2 + 2;
        b[at] = 0x01;
        Loaded l(b);
        EXPECT_EQ(l.status, PSDR_ERR_SHORT);
    }
    {
        // An extra-data length past the section is refused rather than read into the images.
        std::vector<uint8_t> b = bytes;
        size_t at = find("norm") + 8;
        b[at] = 0x7F;
        Loaded l(b);
        EXPECT_EQ(l.status, PSDR_ERR_RANGE);
    }
}

TEST(PsdLayers, NegativeCountAndGroups)
{
    // Bottom to top: A, end of group, B, group G, C.
    auto named = [](const char* name, int divider)
    {
        Layer l = plainLayer();
        l.name = name;
        if (divider)
            l.blocks.push_back({"lsct", Bytes().u32(uint32_t(divider))});
        return l;
    };
    Document d = docWith({named("A", 0), named("end", 3), named("B", 0), named("G", 1), named("C", 0)});
    for (bool negate : {false, true})
    {
        d.negateCount = negate;
        Loaded l(write(d));
        ASSERT_EQ(l.status, PSDR_OK);
        ASSERT_EQ(l.doc->layer_count, 5);
        const psdr_layer* layers = l.doc->layers;
        EXPECT_STREQ(layers[0].name, "A");
        EXPECT_EQ(layers[2].owning_group, &layers[3]);
        EXPECT_EQ(layers[0].owning_group, nullptr);
        EXPECT_EQ(layers[4].owning_group, nullptr);
        EXPECT_EQ(layers[3].type, PSDR_LAYER_GROUP);
        EXPECT_EQ(layers[1].type, PSDR_LAYER_GROUP_END);
        EXPECT_EQ(l.doc->stored_layer_count_sign, negate ? -1 : 1);
    }
}

TEST(PsdLayers, SixteenBitLayersInLr16)
{
    Document d;
    d.depth = 16;
    d.width = d.height = 2;
    Layer l;
    l.bottom = 1;
    l.right = 1;
    l.channels = {{0, {0x80, 0x01}}, {1, {0x40, 0x02}}, {2, {0x20, 0x03}}};
    // The 'Lr16' block holds a layer info: count, record, channel data.
    d.layers.push_back(l);
    // Rebuild with an empty layer info and the records moved into 'Lr16'.
    Bytes info;
    {
        std::vector<uint8_t> b = write(d);
        size_t sectionAt = 26 + 4 + 4;
        uint32_t infoLength = uint32_t(b[sectionAt + 4] << 24 | b[sectionAt + 5] << 16 |
                                       b[sectionAt + 6] << 8 | b[sectionAt + 7]);
        info.d.assign(b.begin() + long(sectionAt + 8), b.begin() + long(sectionAt + 8 + infoLength));
    }
    Document outer = d;
    outer.layers.clear();
    outer.layerSection = true;
    outer.globalBlocks.push_back({"Lr16", info});
    // Without records of its own the section stores an empty layer info.
    Loaded loaded(write(outer));
    ASSERT_EQ(loaded.status, PSDR_OK);
    ASSERT_EQ(loaded.doc->layer_count, 1);
    EXPECT_EQ(loaded.doc->layers[0].pixels[0], 0xFF804020u);
}

TEST(PsdLayers, Patterns)
{
    // One RGB pattern of 10 x 1 with three written raw channels and one unwritten.
    auto pattern = [](uint32_t version, uint32_t mode)
    {
        Bytes p;
        p.u32(version).u32(mode).u16(1).u16(10).u32(1).u16('P').u8(2).u8('i').u8('d');
        p.u32(3).u32(0).u32(0).u32(0).u32(1).u32(10).u32(4);
        for (int c = 0; c < 3; ++c)
        {
            p.u32(1).u32(23 + 10).u32(8).u32(0).u32(0).u32(1).u32(10).u16(8).u8(0);
            for (int i = 0; i < 10; ++i)
                p.u8(uint32_t(c * 100 + i));
        }
        p.u32(0);
        Bytes whole;
        whole.u32(uint32_t(p.size())).raw(p);
        while (whole.size() % 4)
            whole.u8(0);
        return whole;
    };
    Document d = docWith({plainLayer()});
    Bytes patt;
    patt.raw(pattern(1, 3)).raw(pattern(2, 3)).raw(pattern(1, 3));
    d.globalBlocks.push_back({"Patt", patt});
    Loaded l(write(d));
    EXPECT_EQ(l.status, PSDR_OK) << "the last pattern read decides the status";
    ASSERT_NE(l.doc, nullptr);
    ASSERT_EQ(l.doc->pattern_count, 2) << "a pattern of a wrong version is skipped";
    const psdr_pattern& p = l.doc->patterns[0];
    EXPECT_EQ(p.width, 10);
    EXPECT_STREQ(p.unique_id, "id");
    EXPECT_EQ(p.channel_count, 3);
    ASSERT_NE(p.pixels, nullptr);
    EXPECT_EQ(p.pixels[9], 0xFF096DD1u);
    EXPECT_EQ(l.doc->patterns[1].pixels[0], 0xFF0064C8u);
}

} // namespace
