// Adjustment and fill layers: the corpus's adjustment documents, fixtures and version checks.

#include "Core/Psd/PsdBlocks.h"
#include "Core/Psd/PsdDescriptorBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

using namespace psdtest;

namespace
{

Document withBlock(const char* key, Bytes data)
{
    Document d;
    Layer l;
    l.bottom = 1;
    l.right = 1;
    l.channels = {Channel(0, {1}), Channel(1, {2}), Channel(2, {3})};
    l.blocks.push_back({key, std::move(data)});
    l.blocks.push_back({"lyid", Bytes().u32(5)});
    d.layers.push_back(l);
    return d;
}

const void* firstBlock(const psdr_layer& l, int32_t kind)
{
    for (int i = 0; i < l.block_count; ++i)
        if (l.block_kinds[i] == kind)
            return l.blocks[i];
    return nullptr;
}

struct CorpusCase
{
    const char* file;
    int32_t type;
    int32_t kind;
    std::function<void(const void*)> check;
};

TEST(PsdAdjustments, CorpusAdjustmentLayers)
{
    const std::filesystem::path root = std::filesystem::path(CORV_TESTDATA_DIR) / "psd" / "layers";
    ASSERT_TRUE(std::filesystem::is_directory(root)) << root;
    const CorpusCase cases[] = {
        {"brightness-contrast.psd", PSDR_LAYER_BRIGHTNESS_CONTRAST, PSDR_BLOCK_BRIGHTNESS_CONTRAST,
         [](const void* r) { EXPECT_EQ(static_cast<const psdr_brightness_contrast*>(r)->brightness, 0); }},
        {"channel-mixer.psd", PSDR_LAYER_CHANNEL_MIXER, PSDR_BLOCK_CHANNEL_MIXER,
         [](const void* r)
         {
             const auto* m = static_cast<const psdr_channel_mixer*>(r);
             EXPECT_EQ(m->values[0][0], 100);
             EXPECT_EQ(m->values[1][1], 100);
             EXPECT_EQ(m->values[0][1], 0);
         }},
        {"color-balance.psd", PSDR_LAYER_COLOUR_BALANCE, PSDR_BLOCK_COLOUR_BALANCE,
         [](const void* r)
         { EXPECT_EQ(static_cast<const psdr_colour_balance*>(r)->preserve_luminosity, 1); }},
        {"curves.psd", PSDR_LAYER_CURVES, PSDR_BLOCK_CURVES,
         [](const void* r) { EXPECT_EQ(static_cast<const psdr_curves*>(r)->count, 0); }},
        {"curves-with-vectormask.psd", PSDR_LAYER_CURVES, PSDR_BLOCK_CURVES, nullptr},
        {"gradient-map.psd", PSDR_LAYER_GRADIENT_MAP, PSDR_BLOCK_GRADIENT_MAP,
         [](const void* r)
         {
             const auto* g = static_cast<const psdr_gradient_map*>(r);
             EXPECT_EQ(g->version, 1);
             EXPECT_EQ(g->name_length, 25); // "Foreground to Background" and its terminator
             EXPECT_EQ(g->colour_stop_count, 2);
         }},
        {"gradient-map-v3-classic.psd", PSDR_LAYER_GRADIENT_MAP, PSDR_BLOCK_GRADIENT_MAP,
         [](const void* r)
         {
             const auto* g = static_cast<const psdr_gradient_map*>(r);
             EXPECT_EQ(g->version, 3);
             EXPECT_EQ(g->method, 0x47636C73u); // 'Gcls'
             EXPECT_EQ(g->colour_stop_count, 2);
         }},
        {"gradient-map-v3-linear.psd", PSDR_LAYER_GRADIENT_MAP, PSDR_BLOCK_GRADIENT_MAP, nullptr},
        {"gradient-map-v3-perceptual.psd", PSDR_LAYER_GRADIENT_MAP, PSDR_BLOCK_GRADIENT_MAP, nullptr},
        {"hue-saturation.psd", PSDR_LAYER_HUE_SATURATION, PSDR_BLOCK_HUE_SATURATION,
         [](const void* r)
         {
             const auto* h = static_cast<const psdr_hue_saturation*>(r);
             EXPECT_EQ(h->colourize_saturation, 25);
             EXPECT_EQ(h->ranges[0][0], 315);
         }},
        {"invert.psd", PSDR_LAYER_INVERT, PSDR_BLOCK_INVERT, [](const void* r) { EXPECT_EQ(r, nullptr); }},
        {"levels.psd", PSDR_LAYER_LEVELS, PSDR_BLOCK_LEVELS,
         [](const void* r)
         {
             const auto* l = static_cast<const psdr_levels*>(r);
             EXPECT_EQ(l->records[0].input_ceiling, 255);
             EXPECT_FLOAT_EQ(l->records[0].gamma, 1.0f);
         }},
        {"photo-filter.psd", PSDR_LAYER_PHOTO_FILTER, PSDR_BLOCK_PHOTO_FILTER,
         [](const void* r)
         {
             const auto* f = static_cast<const psdr_photo_filter*>(r);
             EXPECT_EQ(f->version, 2);
             EXPECT_EQ(f->density, 25);
             EXPECT_EQ(f->preserve_luminosity, 1);
         }},
        {"posterize.psd", PSDR_LAYER_POSTERIZE, PSDR_BLOCK_POSTERIZE,
         [](const void* r) { EXPECT_EQ(static_cast<const psdr_posterize*>(r)->levels, 4); }},
        {"selective-color.psd", PSDR_LAYER_SELECTIVE_COLOUR, PSDR_BLOCK_SELECTIVE_COLOUR, nullptr},
        {"threshold.psd", PSDR_LAYER_THRESHOLD, PSDR_BLOCK_THRESHOLD,
         [](const void* r) { EXPECT_EQ(static_cast<const psdr_threshold*>(r)->level, 128); }},
        {"solid-color-fill.psd", PSDR_LAYER_SOLID_COLOUR, PSDR_BLOCK_SOLID_COLOUR,
         [](const void* r) { EXPECT_EQ(static_cast<const psdr_solid_colour*>(r)->colour, 0xFFFF0000u); }},
        {"gradient-fill.psd", PSDR_LAYER_GRADIENT_FILL, PSDR_BLOCK_GRADIENT_FILL,
         [](const void* r)
         {
             const auto* g = static_cast<const psdr_gradient_fill*>(r);
             EXPECT_DOUBLE_EQ(g->angle, 90.0);
             EXPECT_EQ(g->type, 0);
             EXPECT_EQ(g->scale, 100);
             EXPECT_EQ(g->gradient.smoothness, 4096);
             ASSERT_EQ(g->gradient.colour_stop_count, 2);
             EXPECT_EQ(g->gradient.colour_stops[1].location, 4096);
             EXPECT_EQ(g->gradient.colour_stops[1].colour, 0xFFFF0000u);
             EXPECT_EQ(g->gradient.colour_stops[1].type, 2);
         }},
        {"pattern-fill.psd", PSDR_LAYER_PATTERN_FILL, PSDR_BLOCK_PATTERN_FILL,
         [](const void* r)
         {
             const auto* p = static_cast<const psdr_pattern_fill*>(r);
             EXPECT_EQ(p->pattern.identifier_length, 37);
             EXPECT_EQ(p->pattern.identifier[0], 0x6300); // 'c', stored byte order
             EXPECT_GT(p->pattern.name_length, 0);
         }},
    };
    for (const CorpusCase& c : cases)
    {
        SCOPED_TRACE(c.file);
        psdr_document* doc = nullptr;
        ASSERT_EQ(psdr_load(&doc, (root / c.file).c_str()), PSDR_OK);
        const psdr_layer* layer = nullptr;
        for (int i = 0; i < doc->layer_count; ++i)
            if (doc->layers[i].type == c.type)
                layer = &doc->layers[i];
        ASSERT_NE(layer, nullptr);
        bool found = false;
        for (int i = 0; i < layer->block_count; ++i)
            found = found || layer->block_kinds[i] == c.kind;
        EXPECT_TRUE(found);
        const bool isFill = c.kind >= PSDR_BLOCK_SOLID_COLOUR;
        EXPECT_EQ(layer->adjustment, isFill ? 0 : 1);
        if (c.check)
            c.check(firstBlock(*layer, c.kind));
        psdr_free(doc);
    }
}

Bytes curves(uint32_t bits, std::vector<std::vector<std::pair<int, int>>> points, bool extension,
             int changeCount = 0)
{
    Bytes b;
    b.u8(0).u16(1).u32(bits);
    for (const auto& c : points)
    {
        b.u16(uint32_t(c.size()));
        for (auto [o, i] : c)
            b.u16(uint32_t(o)).u16(uint32_t(i));
    }
    if (extension)
    {
        b.key("Crv ").u16(4).u32(uint32_t(int(points.size()) + changeCount));
        int channel = 0;
        for (const auto& c : points)
        {
            b.u16(uint32_t(channel++)).u16(uint32_t(c.size()));
            for (auto [o, i] : c)
                b.u16(uint32_t(o)).u16(uint32_t(i));
        }
    }
    return b;
}

TEST(PsdAdjustments, Curves)
{
    {
        Loaded l(write(withBlock("curv", curves(0xF, {{{0, 0}}, {{1, 1}}, {{2, 2}}, {{3, 3}}}, false))));
        ASSERT_EQ(l.status, PSDR_OK);
        const auto* c = static_cast<const psdr_curves*>(firstBlock(l.doc->layers[0], PSDR_BLOCK_CURVES));
        ASSERT_EQ(c->count, 4);
        EXPECT_EQ(c->curves[3].channel, 3);
        EXPECT_EQ(c->curves[2].output[0], 2);
        EXPECT_EQ(l.doc->layers[0].adjustment, 1);
    }
    {
        Loaded l(write(withBlock("curv", curves(0x80000001u, {{{0, 0}, {255, 255}}, {{5, 6}}}, true))));
        ASSERT_EQ(l.status, PSDR_OK);
        const auto* c = static_cast<const psdr_curves*>(firstBlock(l.doc->layers[0], PSDR_BLOCK_CURVES));
        ASSERT_EQ(c->count, 2);
        EXPECT_EQ(c->curves[0].channel, 0);
        EXPECT_EQ(c->curves[1].channel, 1) << "the extension's channel index replaces the stored one";
        EXPECT_EQ(l.doc->layers[0].adjustment, 1);
    }
    {
        // An extension disagreeing on the curve count keeps the stored curves, without the flag.
        Loaded l(write(withBlock("curv", curves(0x80000001u, {{{0, 0}}, {{5, 6}}}, true, 1))));
        ASSERT_EQ(l.status, PSDR_OK);
        const auto* c = static_cast<const psdr_curves*>(firstBlock(l.doc->layers[0], PSDR_BLOCK_CURVES));
        EXPECT_EQ(c->curves[1].channel, 31);
        EXPECT_EQ(l.doc->layers[0].adjustment, 0);
        EXPECT_EQ(l.doc->layers[0].layer_id, 5u);
    }
    {
        // More than 19 points: the first 19 are kept and the rest stepped over.
        std::vector<std::pair<int, int>> many;
        for (int i = 0; i < 30; ++i)
            many.push_back({i, i * 2});
        Loaded l(write(withBlock("curv", curves(1, {many}, false))));
        ASSERT_EQ(l.status, PSDR_OK);
        const auto* c = static_cast<const psdr_curves*>(firstBlock(l.doc->layers[0], PSDR_BLOCK_CURVES));
        EXPECT_EQ(c->curves[0].point_count, 19);
        EXPECT_EQ(c->curves[0].input[18], 36);
        EXPECT_EQ(l.doc->layers[0].layer_id, 5u);
    }
}

TEST(PsdAdjustments, FixtureKinds)
{
    Bytes levels;
    levels.u16(2);
    for (int i = 0; i < 29; ++i)
        levels.u16(1).u16(2).u16(3).u16(4).u16(150);
    Loaded a(write(withBlock("levl", levels)));
    ASSERT_EQ(a.status, PSDR_OK);
    const auto* lv = static_cast<const psdr_levels*>(firstBlock(a.doc->layers[0], PSDR_BLOCK_LEVELS));
    EXPECT_EQ(lv->extra_count, 0);
    EXPECT_FLOAT_EQ(lv->records[28].gamma, 1.5f);
    EXPECT_EQ(a.doc->layers[0].type, PSDR_LAYER_LEVELS);

    Loaded b(write(withBlock("nvrt", Bytes())));
    ASSERT_EQ(b.status, PSDR_OK);
    EXPECT_EQ(b.doc->layers[0].type, PSDR_LAYER_INVERT);
    EXPECT_EQ(b.doc->layers[0].block_count, 1);
    EXPECT_EQ(b.doc->layers[0].block_kinds[0], PSDR_BLOCK_INVERT);
    EXPECT_EQ(b.doc->layers[0].blocks[0], nullptr);

    // The type tool leaves the layer a normal layer.
    Bytes type;
    type.u16(1);
    for (int i = 0; i < 6; ++i)
        type.f64(i);
    type.u16(6).u16(1).u16(0).u32(0).u8(5).u8('A').u8('r').u8('i').u8('a').u8('l').u8(0).u8(0).u16(0).u32(0);
    type.u16(0).u16(0).u32(0).u32(3).u32(0).u32(0).u32(0).u32(0).u16(0);
    type.raw(Bytes().u16(0).u16(0xFF00).u16(0).u16(0).u16(0)).u8(1);
    Loaded c(write(withBlock("tySh", type)));
    ASSERT_EQ(c.status, PSDR_OK);
    EXPECT_EQ(c.doc->layers[0].type, PSDR_LAYER_NORMAL);
    const auto* t = static_cast<const psdr_type_tool*>(firstBlock(c.doc->layers[0], PSDR_BLOCK_TYPE_TOOL));
    ASSERT_EQ(t->face_count, 1);
    EXPECT_STREQ(t->faces[0].font_name, "Arial");
    EXPECT_DOUBLE_EQ(t->transform[5], 5.0);
    EXPECT_EQ(t->character_count, 3);
    EXPECT_EQ(t->colour, 0xFFFF0000u);
    EXPECT_EQ(t->anti_alias, 1);

    // Fills through descriptors.
    Bytes soco = Bytes().u32(16).raw(descriptor("null", {item("Clr ", "Objc", rgb(1, 2, 3))}));
    Loaded d(write(withBlock("SoCo", soco)));
    ASSERT_EQ(d.status, PSDR_OK);
    EXPECT_EQ(
        static_cast<const psdr_solid_colour*>(firstBlock(d.doc->layers[0], PSDR_BLOCK_SOLID_COLOUR))->colour,
        0xFF010203u);
    EXPECT_EQ(d.doc->layers[0].adjustment, 0);
    Bytes gdfl = Bytes().u32(16).raw(descriptor("null", {item("Type", "enum", enumValue("GrdT", "Rflc")),
                                                         item("Scl ", "UntF", unitFloat("#Prc", 80.7))}));
    Loaded e(write(withBlock("GdFl", gdfl)));
    ASSERT_EQ(e.status, PSDR_OK);
    const auto* g =
        static_cast<const psdr_gradient_fill*>(firstBlock(e.doc->layers[0], PSDR_BLOCK_GRADIENT_FILL));
    EXPECT_EQ(g->type, 3);
    EXPECT_EQ(g->scale, 80);
    EXPECT_EQ(g->align, 1);
}

TEST(PsdAdjustments, VersionChecks)
{
    struct Case
    {
        const char* key;
        Bytes block;
        psdr_status status;
    } cases[] = {
        {"levl", Bytes().u16(1), PSDR_ERR_LEVELS_VERSION},
        {"curv", Bytes().u8(0).u16(2).u32(0), PSDR_ERR_CURVES_VERSION},
        {"curv", Bytes().u8(0).u16(1).u32(0).key("Crx ").u16(4).u32(0), PSDR_ERR_CURVES_EXTENSION},
        {"curv", Bytes().u8(0).u16(1).u32(0).key("Crv ").u16(3).u32(0), PSDR_ERR_CURVES_EXTENSION_VERSION},
        {"hue2", Bytes().u16(1), PSDR_ERR_HUE_VERSION},
        {"selc", Bytes().u16(2), PSDR_ERR_SELECTIVE_VERSION},
        {"mixr", Bytes().u16(2), PSDR_ERR_MIXER_VERSION},
        {"phfl", Bytes().u16(4), PSDR_ERR_PHOTO_FILTER_VERSION},
        {"grdm", Bytes().u16(2), PSDR_ERR_GRADIENT_MAP_VERSION},
        {"SoCo", Bytes().u32(15), PSDR_ERR_SOLID_COLOUR_VERSION},
        {"GdFl", Bytes().u32(15), PSDR_ERR_GRADIENT_FILL_VERSION},
        {"PtFl", Bytes().u32(15), PSDR_ERR_PATTERN_FILL_VERSION},
    };
    for (const Case& c : cases)
    {
        Loaded l(write(withBlock(c.key, c.block)));
        EXPECT_EQ(l.status, c.status) << c.key;
    }
    Bytes levels;
    levels.u16(2).zeros(290).key("Lvlx").u16(3).u16(29);
    Loaded a(write(withBlock("levl", levels)));
    EXPECT_EQ(a.status, PSDR_ERR_LEVELS_EXTENSION);
    levels = Bytes();
    levels.u16(2).zeros(290).key("Lvls").u16(2).u16(29);
    Loaded b(write(withBlock("levl", levels)));
    EXPECT_EQ(b.status, PSDR_ERR_LEVELS_EXTENSION_VERSION);
    levels = Bytes();
    levels.u16(2).zeros(290).key("Lvls").u16(3).u16(60000);
    Loaded c(write(withBlock("levl", levels)));
    EXPECT_EQ(c.status, PSDR_ERR_LEVELS_LENGTH) << "an extra count beyond the block";
}

} // namespace
