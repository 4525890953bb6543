// Layer effects: descriptor-based and fixed-layout records, contours, damaged descriptors.

#include "Core/Psd/PsdBlocks.h"
#include "Core/Psd/PsdDescriptorBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

using namespace psdtest;

namespace
{

Document oneLayer(std::vector<std::pair<std::string, Bytes>> blocks)
{
    Document d;
    Layer l;
    l.bottom = 1;
    l.right = 1;
    l.channels = {Channel(0, {1}), Channel(1, {2}), Channel(2, {3})};
    l.blocks = std::move(blocks);
    l.blocks.push_back({"lyid", Bytes().u32(77)});
    d.layers.push_back(l);
    return d;
}

const void* block(const psdr_layer& l, int32_t kind)
{
    for (int i = 0; i < l.block_count; ++i)
        if (l.block_kinds[i] == kind)
            return l.blocks[i];
    return nullptr;
}

const psdr_effects* effects(const psdr_document* doc, int kind = PSDR_BLOCK_EFFECTS)
{
    return static_cast<const psdr_effects*>(block(doc->layers[0], kind));
}

bool identity(const psdr_contour& c)
{
    for (int i = 0; i < 256; ++i)
        if (c.table[i] != i)
            return false;
    return true;
}

TEST(PsdEffects, DropShadowKeepsDefaultsForWhatIsAbsent)
{
    Bytes shadow = descriptor(
        "DrSh", {item("present", "bool", Bytes().u8(1)), item("Opct", "UntF", unitFloat("#Prc", 75.0))});
    Loaded l(write(oneLayer({{"lfx2", effectsBlock({item("DrSh", "Objc", shadow)})}})));
    ASSERT_EQ(l.status, PSDR_OK);
    const psdr_effects* fx = effects(l.doc);
    ASSERT_NE(fx, nullptr);
    EXPECT_EQ(fx->count, 1);
    EXPECT_EQ(fx->present[PSDR_FX_DROP_SHADOW], 1);
    EXPECT_EQ(fx->present_again[PSDR_FX_DROP_SHADOW], 1);
    EXPECT_EQ(fx->present[PSDR_FX_STROKE], 0);
    const psdr_shadow& s = fx->drop_shadow;
    EXPECT_EQ(s.opacity, 191);
    EXPECT_EQ(s.enabled, 0);
    EXPECT_EQ(s.blend_mode, 3);
    EXPECT_EQ(s.colour, 0xFF000000u);
    EXPECT_EQ(s.angle, 120);
    EXPECT_EQ(s.use_global_light, 1);
    EXPECT_EQ(s.distance, 5);
    EXPECT_EQ(s.size, 5);
    EXPECT_TRUE(identity(s.contour));
    EXPECT_EQ(fx->stroke.size, 3) << "effects not read keep their defaults";
    EXPECT_EQ(fx->inner_glow.source, 1);
    EXPECT_EQ(l.doc->layers[0].layer_id, 77u);
}

TEST(PsdEffects, DescriptorItems)
{
    Bytes stroke = descriptor(
        "FrFX",
        {item("enab", "bool", Bytes().u8(1)), item("Scl ", "UntF", unitFloat("#Prc", 40)),
         item("Styl", "enum", enumValue("FStl", "CtrF")), item("Sz  ", "UntF", unitFloat("#Pxl", 9)),
         item("Clr ", "Objc", rgb(10, 20, 30)), item("PntT", "enum", enumValue("FrFl", "GrFl")),
         item("Scl ", "UntF", unitFloat("#Prc", 50)), item("Md  ", "enum", enumValue("BlnM", "linearDodge")),
         item("phase", "Objc", descriptor("Pnt ", {item("Hrzn", "doub", Bytes().f64(4))}))});
    Bytes glow = descriptor("IrGl", {item("GlwT", "enum", enumValue("BETE", "PrBL")),
                                     item("glwS", "enum", enumValue("IGSr", "SrcC")),
                                     item("Md  ", "enum", enumValue("BlnM", "Scrn"))});
    Bytes items = effectsBlock(
        {item("Scl ", "UntF", unitFloat("#Prc", 100)), item("masterFXSwitch", "bool", Bytes().u8(1)),
         item("FrFX", "Objc", stroke), item("IrGl", "Objc", glow),
         item("unknownList", "VlLs", Bytes().u32(2).key("long").u32(1).key("TEXT").u32(1).u16('x'))});
    Loaded l(write(oneLayer({{"lfx2", items}})));
    ASSERT_EQ(l.status, PSDR_OK);
    const psdr_effects* fx = effects(l.doc);
    ASSERT_NE(fx, nullptr);
    EXPECT_EQ(fx->visible, 1);
    EXPECT_EQ(fx->count, 2);
    const psdr_stroke& s = fx->stroke;
    EXPECT_EQ(s.enabled, 1);
    EXPECT_EQ(s.position, 2);
    EXPECT_EQ(s.size, 9);
    EXPECT_EQ(s.colour, 0xFF0A141Eu);
    EXPECT_EQ(s.paint_type, 1);
    EXPECT_EQ(s.gradient_scale, 50) << "the scale after the paint type belongs to the gradient";
    EXPECT_EQ(s.pattern_scale, 100) << "the scale read while painting a colour is dropped";
    EXPECT_EQ(s.blend_mode, 9);
    EXPECT_EQ(s.phase_x, 0);
    const psdr_glow& g = fx->inner_glow;
    EXPECT_EQ(g.technique, 1);
    EXPECT_EQ(g.source, 0);
    EXPECT_EQ(g.blend_mode, 7);
}

TEST(PsdEffects, Contours)
{
    auto point = [](double x, double y, bool corner)
    {
        std::vector<Bytes> items = {item("Hrzn", "doub", Bytes().f64(x)),
                                    item("Vrtc", "doub", Bytes().f64(y))};
        if (corner)
            items.push_back(item("Cnty", "bool", Bytes().u8(0)));
        return Bytes().key("Objc").raw(descriptor("CrPt", items));
    };
    auto contour = [&](std::vector<Bytes> points)
    {
        Bytes list;
        list.u32(uint32_t(points.size()));
        for (const Bytes& p : points)
            list.raw(p);
        return descriptor("ShpC",
                          {item("Nm  ", "TEXT", Bytes().u32(1).u16('c')), item("Crv ", "VlLs", list)});
    };
    auto tableOf = [&](std::vector<Bytes> points)
    {
        Bytes shadow = descriptor("DrSh", {item("TrnS", "Objc", contour(std::move(points)))});
        Loaded l(write(oneLayer({{"lfx2", effectsBlock({item("DrSh", "Objc", shadow)})}})));
        EXPECT_EQ(l.status, PSDR_OK);
        psdr_contour c{};
        if (l.status == PSDR_OK)
            c = effects(l.doc)->drop_shadow.contour;
        return c;
    };
    psdr_contour id = tableOf({point(0, 0, false), point(255, 255, false)});
    EXPECT_TRUE(identity(id));
    psdr_contour inv = tableOf({point(0, 255, false), point(255, 0, false)});
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(inv.table[i], 255 - i) << i;
    // A corner splits the curve: both sides end at it, so each side is a straight ramp.
    psdr_contour corner = tableOf({point(0, 0, false), point(128, 255, true), point(255, 0, false)});
    psdr_contour smooth = tableOf({point(0, 0, false), point(128, 255, false), point(255, 0, false)});
    EXPECT_EQ(corner.table[128], 255);
    EXPECT_EQ(corner.table[0], 0);
    EXPECT_EQ(corner.table[255], 0);
    EXPECT_NEAR(corner.table[64], 127, 2);
    EXPECT_NEAR(corner.table[192], 127, 2);
    EXPECT_GT(smooth.table[64], corner.table[64] + 10) << "without the corner the curve bulges";
    // Coordinates that are not numbers read as 0.
    psdr_contour nan = tableOf({point(std::nan(""), std::nan(""), false), point(255, 255, false)});
    EXPECT_EQ(nan.table[0], 0);
    EXPECT_EQ(nan.table[255], 255);
    // Entries outside the points take the end points' values.
    psdr_contour inner = tableOf({point(50, 10, false), point(200, 240, false)});
    EXPECT_EQ(inner.table[0], 10);
    EXPECT_EQ(inner.table[49], 10);
    EXPECT_EQ(inner.table[255], 240);
}

TEST(PsdEffects, OldStyleEffects)
{
    auto colour = [](uint16_t r, uint16_t g, uint16_t b)
    { return Bytes().u16(0).u16(r).u16(g).u16(b).u16(0); };
    Bytes shadow;
    shadow.u32(2).u32(7).u32(3).u32(120).u32(9).raw(colour(0x1100, 0x2200, 0x3300));
    shadow.key("8BIM").key("mul ").u8(1).u8(0).u8(200).raw(colour(0, 0, 0));
    Bytes common = Bytes().u32(0).u8(1).u16(0);
    Bytes fx;
    fx.u16(0).u16(2);
    fx.key("8BIM").key("cmnS").u32(uint32_t(common.size())).raw(common);
    fx.key("8BIM").key("dsdw").u32(uint32_t(shadow.size())).raw(shadow);
    Loaded a(write(oneLayer({{"lrFX", fx}})));
    ASSERT_EQ(a.status, PSDR_OK);
    const psdr_effects* e = effects(a.doc, PSDR_BLOCK_OLD_EFFECTS);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->count, 2);
    EXPECT_EQ(e->visible, 1);
    EXPECT_EQ(e->drop_shadow.size, 7);
    EXPECT_EQ(e->drop_shadow.spread, 3);
    EXPECT_EQ(e->drop_shadow.angle, 120);
    EXPECT_EQ(e->drop_shadow.distance, 9);
    EXPECT_EQ(e->drop_shadow.colour, 0xFF112233u);
    EXPECT_EQ(e->drop_shadow.blend_mode, 3);
    EXPECT_EQ(e->drop_shadow.enabled, 1);
    EXPECT_EQ(e->drop_shadow.use_global_light, 0);
    EXPECT_EQ(e->drop_shadow.opacity, 200);
    EXPECT_EQ(a.doc->layers[0].layer_id, 77u);

    struct Case
    {
        const char* what;
        Bytes block;
        psdr_status status;
    } cases[] = {
        {"version 1", Bytes().u16(1).u16(0), PSDR_ERR_EFFECTS_VERSION},
        {"unknown effect", Bytes().u16(0).u16(1).key("8BIM").key("zzzz").u32(4).u32(0), PSDR_ERR_EFFECT_KEY},
        {"effect without signature", Bytes().u16(0).u16(1).key("XBIM").key("cmnS").u32(4).u32(0),
         PSDR_ERR_EFFECT_SIGNATURE},
        {"common state version", Bytes().u16(0).u16(1).key("8BIM").key("cmnS").u32(7).u32(1).u8(0).u16(0),
         PSDR_ERR_COMMON_STATE_VERSION},
        {"fill version", Bytes().u16(0).u16(1).key("8BIM").key("sofi").u32(4).u32(0),
         PSDR_ERR_SOLID_FILL_VERSION},
        {"no effects", Bytes().u16(0).u16(0), PSDR_OK},
    };
    for (const Case& c : cases)
    {
        Loaded l(write(oneLayer({{"lrFX", c.block}})));
        EXPECT_EQ(l.status, c.status) << c.what;
    }
    Loaded v(write(oneLayer({{"lfx2", Bytes().u32(1).u32(16)}})));
    EXPECT_EQ(v.status, PSDR_ERR_EFFECTS_VERSION);
}

TEST(PsdEffects, DamagedDescriptorsAreRefusedCleanly)
{
    // Nesting far deeper than any document: the block is given up, the layer still loads.
    Bytes nested;
    nested.raw(descriptor("null", {}));
    for (int i = 0; i < 5000; ++i)
    {
        Bytes outer;
        outer.u32(1).u16(0).raw(id4("null")).u32(1).raw(keyOf("deep")).key("Objc").raw(nested);
        nested = outer;
    }
    Loaded a(write(oneLayer({{"lfx2", effectsBlock({item("deep", "Objc", nested),
                                                    item("DrSh", "Objc", descriptor("DrSh", {}))})}})));
    EXPECT_EQ(a.status, PSDR_OK);
    EXPECT_EQ(a.doc->layers[0].layer_id, 77u);

    // Counts near 2^32 with a few bytes behind them end with the block, at once.
    Bytes huge = effectsBlock({item("list", "VlLs", Bytes().u32(0xFFFFFFFF).key("long").u32(1)),
                               item("DrSh", "Objc", Bytes().u32(0).raw(id4("DrSh")).u32(0xFFFFFFF0))});
    Loaded b(write(oneLayer({{"lfx2", huge}})));
    EXPECT_EQ(b.status, PSDR_OK);
    EXPECT_EQ(b.doc->layers[0].layer_id, 77u);

    // A gradient announcing four billion stops allocates only what its bytes can hold.
    Bytes stops =
        Bytes().u32(0xFFFFFFFF).key("Objc").raw(descriptor("Clrt", {item("Lctn", "long", Bytes().u32(7))}));
    Bytes grad = descriptor("Grdn", {item("Clrs", "VlLs", stops)});
    Bytes overlay = descriptor("GrFl", {item("Grad", "Objc", grad)});
    Loaded c(write(oneLayer({{"lfx2", effectsBlock({item("GrFl", "Objc", overlay)})}})));
    ASSERT_EQ(c.status, PSDR_OK);
    const psdr_gradient& g = effects(c.doc)->gradient_overlay.gradient;
    ASSERT_EQ(g.colour_stop_count, 1);
    EXPECT_EQ(g.colour_stops[0].location, 7);

    // More than twenty attached blocks: the rest are stepped over.
    std::vector<std::pair<std::string, Bytes>> many;
    for (int i = 0; i < 25; ++i)
        many.push_back({"thrs", Bytes().u16(uint32_t(i)).u16(0)});
    Loaded d(write(oneLayer(many)));
    ASSERT_EQ(d.status, PSDR_OK);
    EXPECT_EQ(d.doc->layers[0].block_count, 20);
    EXPECT_EQ(static_cast<const psdr_threshold*>(d.doc->layers[0].blocks[19])->level, 19);
    EXPECT_EQ(d.doc->layers[0].layer_id, 77u);
}

TEST(PsdEffects, CorpusEffectValues)
{
    const std::filesystem::path path = std::filesystem::path(CORV_TESTDATA_DIR) / "psd" / "layer_effects.psd";
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    psdr_document* doc = nullptr;
    ASSERT_EQ(psdr_load(&doc, path.c_str()), PSDR_OK);
    auto named = [&](const char* name) -> const psdr_effects*
    {
        for (int i = 0; i < doc->layer_count; ++i)
            if (std::string(doc->layers[i].name) == name)
                return static_cast<const psdr_effects*>(block(doc->layers[i], PSDR_BLOCK_EFFECTS));
        return nullptr;
    };
    const psdr_effects* drop = named("Drop Shadow");
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(drop->drop_shadow.enabled, 1);
    EXPECT_EQ(drop->drop_shadow.blend_mode, 3);
    EXPECT_EQ(drop->drop_shadow.opacity, 89); // 35 %
    EXPECT_EQ(drop->drop_shadow.angle, 90);
    EXPECT_EQ(drop->drop_shadow.distance, 18);
    EXPECT_EQ(drop->drop_shadow.size, 41);
    EXPECT_EQ(drop->drop_shadow.layer_knocks_out, 1);
    EXPECT_TRUE(identity(drop->drop_shadow.contour));
    EXPECT_EQ(drop->visible, 1);

    const psdr_effects* stroke = named("Stroke");
    ASSERT_NE(stroke, nullptr);
    EXPECT_EQ(stroke->stroke.enabled, 1);
    EXPECT_EQ(stroke->stroke.size, 6);
    EXPECT_EQ(stroke->stroke.colour, 0xFFFFFFFFu);
    EXPECT_EQ(stroke->stroke.position, 0);
    EXPECT_EQ(stroke->stroke.opacity, 255);

    const psdr_effects* bevel = named("Bevel");
    ASSERT_NE(bevel, nullptr);
    EXPECT_EQ(bevel->bevel.enabled, 1);
    EXPECT_EQ(bevel->bevel.style, 1);
    EXPECT_EQ(bevel->bevel.technique, 0);
    EXPECT_EQ(bevel->bevel.size, 41);
    EXPECT_EQ(bevel->bevel.highlight_blend_mode, 7);
    EXPECT_EQ(bevel->bevel.highlight_opacity, 128);
    EXPECT_EQ(bevel->bevel.altitude, 30);
    const psdr_effects* emboss = named("Emboss");
    ASSERT_NE(emboss, nullptr);
    EXPECT_EQ(emboss->bevel.style, 2);

    const psdr_effects* glow = named("Outer Glow");
    ASSERT_NE(glow, nullptr);
    EXPECT_EQ(glow->outer_glow.enabled, 1);
    EXPECT_EQ(glow->outer_glow.colour, 0xFFFFFFFFu);
    EXPECT_EQ(glow->outer_glow.range, 50);
    // Listed effects of current editors ("dropShadowMulti") come in as their first instance.
    const psdr_effects* first = nullptr;
    for (int i = 0; i < doc->layer_count && !first; ++i)
        first = static_cast<const psdr_effects*>(block(doc->layers[i], PSDR_BLOCK_EFFECTS));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->present[PSDR_FX_DROP_SHADOW], 1);
    EXPECT_EQ(first->drop_shadow.distance, 18);
    EXPECT_EQ(first->drop_shadow.enabled, 0);
    psdr_free(doc);
}

} // namespace
