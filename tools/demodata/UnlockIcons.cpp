#include "tools/demodata/UnlockIcons.h"

#include <cmath>
#include <set>
#include <string>

#include "tools/demodata/Art.h"
#include "tools/demodata/GameCatalogue.h"
#include "tools/demodata/UiKit.h"

namespace demodata
{
namespace
{

using namespace ui;

struct FamilyLook
{
    Rgba back, tower;
};

// Dart, cannon, mortar and crystal towers: each family has its own ground colour.
const FamilyLook kFamilies[] = {
    {RgbaOf(0x2D6A4F), RgbaOf(0xB08968)},
    {RgbaOf(0x3D405B), RgbaOf(0x8D99AE)},
    {RgbaOf(0x6B3E26), RgbaOf(0xC9A66B)},
    {RgbaOf(0x3C1A5B), RgbaOf(0x9B8EC4)},
};

Canvas Medallion(int size, Rgba back)
{
    Canvas c(size, size);
    float h = size * 0.5f;
    c.FillCircle(h, h + size * 0.02f, h - 1, palette::kShadow);
    c.FillCircle(h, h, h - 3, kGoldDark);
    FillRoundGradient(c, 8, 8, size - 16.0f, size - 16.0f, h - 8, Lighter(back, 0.25f), Darker(back, 0.35f));
    c.StrokeCircle(h, h, h - 10, 2, WithAlpha(kGold, 180));
    return c;
}

void Emblem(Canvas& c, int family, float cx, float cy, float s)
{
    switch (family)
    {
    case 0: // an arrow
        Line(c, cx - s, cy + s * 0.6f, cx + s * 0.7f, cy - s * 0.6f, s * 0.16f, RgbaOf(0x6B4226));
        c.FillPolygon(
            {{cx + s, cy - s * 0.85f}, {cx + s * 0.45f, cy - s * 0.65f}, {cx + s * 0.8f, cy - s * 0.3f}},
            RgbaOf(0xD9D9D9));
        c.FillPolygon(
            {{cx - s, cy + s * 0.6f}, {cx - s * 0.75f, cy + s * 0.25f}, {cx - s * 0.6f, cy + s * 0.7f}},
            kRed);
        break;
    case 1: // a cannon ball
        c.FillCircle(cx, cy, s * 0.55f, RgbaOf(0x22262E));
        c.FillCircle(cx - s * 0.18f, cy - s * 0.18f, s * 0.16f, RgbaOf(0x8D99AE));
        break;
    case 2: // a mortar shell with a fuse
        c.FillRoundRect(cx - s * 0.4f, cy - s * 0.55f, s * 0.8f, s * 1.1f, s * 0.38f, RgbaOf(0x3A2E26));
        Line(c, cx, cy - s * 0.55f, cx + s * 0.3f, cy - s * 0.95f, s * 0.1f, RgbaOf(0xE9C46A));
        c.FillCircle(cx + s * 0.32f, cy - s * 0.98f, s * 0.14f, RgbaOf(0xF77F00));
        break;
    default: // a crystal
        c.FillPolygon({{cx, cy - s},
                       {cx + s * 0.5f, cy - s * 0.2f},
                       {cx, cy + s * 0.8f},
                       {cx - s * 0.5f, cy - s * 0.2f}},
                      RgbaOf(0x7FDBFF));
        c.FillPolygon({{cx, cy - s}, {cx + s * 0.5f, cy - s * 0.2f}, {cx, cy - s * 0.05f}}, RgbaOf(0xD6F6FF));
        break;
    }
}

// Towers by family and variant: the base, two upgrade levels, two branches.
Canvas TowerIcon(const game::TowerKind& t, int size)
{
    const int family = static_cast<int>(t.family), variant = t.variant;
    const FamilyLook& look = kFamilies[family];
    Canvas c = Medallion(size, look.back);
    float s = static_cast<float>(size);
    DrawTower(c, s * 0.42f, s * 0.8f, s * 0.3f, s * 0.52f, look.tower);
    Emblem(c, family, s * 0.68f, s * 0.36f, s * 0.17f);
    // Upgrade levels show stars, branches a pennant in their own colour.
    int stars = variant == 1 ? 1 : variant == 2 ? 2 : 0;
    for (int k = 0; k < stars; ++k)
        c.FillStar(s * (0.66f + 0.14f * k), s * 0.7f, s * 0.08f, s * 0.035f, 5, palette::kStar);
    if (variant >= 3)
    {
        Rgba pennant = variant == 3 ? kRed : RgbaOf(0x3A86FF);
        Line(c, s * 0.42f, s * 0.26f, s * 0.42f, s * 0.1f, s * 0.02f, kInk);
        c.FillPolygon({{s * 0.43f, s * 0.1f}, {s * 0.6f, s * 0.14f}, {s * 0.43f, s * 0.19f}}, pennant);
        c.FillCircle(s * 0.72f, s * 0.7f, s * 0.08f, pennant);
        DrawGlyph(c, variant == 3 ? Glyph::Star : Glyph::Plus, s * 0.72f, s * 0.7f, s * 0.1f, palette::kText);
    }
    return c;
}

// Spells by their key; a spell the pictures do not know shows its own colour.
Canvas SpellIcon(const game::SpellKind& spell, int size)
{
    float s = static_cast<float>(size), h = s * 0.5f;
    const std::string key = spell.key;
    const int kind = key == "meteor"   ? 0
                     : key == "frost"  ? 1
                     : key == "poison" ? 2
                     : key == "roots"  ? 3
                     : key == "warcry" ? 4
                                       : 5;
    switch (kind)
    {
    case 0:
    { // a burning rock falling
        Canvas c = Medallion(size, RgbaOf(0x5C2A12));
        for (int k = 0; k < 3; ++k)
            Line(c, h + s * (0.05f + 0.08f * k), h - s * (0.05f + 0.04f * k), h + s * (0.3f + 0.06f * k),
                 h - s * (0.32f + 0.02f * k), s * (0.07f - 0.015f * k), RgbaOf(0xF77F00, 200));
        c.FillCircle(h - s * 0.05f, h + s * 0.05f, s * 0.17f, RgbaOf(0x4A3B33));
        c.FillCircle(h - s * 0.1f, h, s * 0.06f, RgbaOf(0xFFB703));
        return c;
    }
    case 1:
    { // a snow star
        Canvas c = Medallion(size, RgbaOf(0x1D4E89));
        for (int k = 0; k < 3; ++k)
        {
            float a = k * 3.14159f / 3, dx = std::cos(a) * s * 0.3f, dy = std::sin(a) * s * 0.3f;
            Line(c, h - dx, h - dy, h + dx, h + dy, s * 0.045f, RgbaOf(0xE0F4FF));
        }
        c.FillCircle(h, h, s * 0.06f, RgbaOf(0xFFFFFF));
        return c;
    }
    case 2:
    { // a poison cloud
        Canvas c = Medallion(size, RgbaOf(0x1E4D2B));
        const float puffs[][3] = {{-0.12f, 0.05f, 0.14f},
                                  {0.1f, 0.02f, 0.16f},
                                  {0.0f, -0.1f, 0.15f},
                                  {0.18f, 0.1f, 0.1f},
                                  {-0.2f, 0.12f, 0.09f}};
        for (const auto& p : puffs)
            c.FillCircle(h + p[0] * s, h + p[1] * s, p[2] * s, RgbaOf(0x58D68D, 220));
        DrawGlyph(c, Glyph::Skull, h, h + s * 0.02f, s * 0.18f, RgbaOf(0x0B3D20));
        return c;
    }
    case 3:
    { // roots rising from the ground
        Canvas c = Medallion(size, RgbaOf(0x3B2F1A));
        c.FillRoundRect(h - s * 0.3f, h + s * 0.18f, s * 0.6f, s * 0.1f, s * 0.05f, RgbaOf(0x5C4033));
        for (int k = -1; k <= 1; ++k)
        {
            Arc(c, h + k * s * 0.14f + s * 0.1f, h + s * 0.15f, s * 0.12f, s * 0.045f, 180, 300,
                RgbaOf(0x7D9D3A));
            Line(c, h + k * s * 0.14f, h + s * 0.2f, h + k * s * 0.14f, h + s * 0.05f, s * 0.045f,
                 RgbaOf(0x7D9D3A));
        }
        return c;
    }
    case 4:
    { // a war horn with its call
        Canvas c = Medallion(size, RgbaOf(0x6A4C1A));
        c.FillPolygon(
            {{h - s * 0.28f, h + s * 0.05f}, {h + s * 0.12f, h - s * 0.12f}, {h + s * 0.12f, h + s * 0.16f}},
            RgbaOf(0xF3E3C3));
        c.FillCircle(h + s * 0.12f, h + s * 0.02f, s * 0.14f, RgbaOf(0xF3E3C3));
        c.FillCircle(h + s * 0.12f, h + s * 0.02f, s * 0.08f, RgbaOf(0x3B2F1A));
        for (int k = 0; k < 2; ++k)
            Arc(c, h + s * 0.14f, h + s * 0.02f, s * (0.22f + 0.08f * k), s * 0.03f, -40, 40, palette::kStar);
        return c;
    }
    default:
    {
        Canvas c = Medallion(size, RgbaOf(spell.color));
        DrawGlyphShadowed(c, Glyph::Star, h, h, s * 0.45f, palette::kText);
        return c;
    }
    }
}

Canvas HardcoreIcon(int id, int size)
{
    float s = static_cast<float>(size), h = s * 0.5f;
    Canvas c = Medallion(size, RgbaOf(0x4A0E17));
    switch (id)
    {
    case 36: // every tower from the start
        for (int k = 0; k < 4; ++k)
            DrawTower(c, s * (0.25f + 0.167f * k), s * 0.7f, s * 0.1f, s * (0.26f + (k % 2) * 0.08f),
                      kFamilies[k].tower);
        break;
    case 37: // bought upgrades rest
        DrawGlyph(c, Glyph::Hammer, h, h, s * 0.42f, RgbaOf(0xC9CED6));
        Line(c, h - s * 0.26f, h - s * 0.26f, h + s * 0.26f, h + s * 0.26f, s * 0.06f, kRed);
        c.StrokeCircle(h, h, s * 0.34f, s * 0.05f, kRed);
        break;
    default: // a single life
        DrawGlyph(c, Glyph::Heart, h, h, s * 0.45f, palette::kLife);
        Caption(c, "1", "DejaVuSans-Bold.ttf", static_cast<int>(s * 0.2f), static_cast<int>(h),
                static_cast<int>(h + s * 0.07f), palette::kText, 2);
        break;
    }
    DrawGlyph(c, Glyph::Skull, h, s * 0.16f, s * 0.12f, RgbaOf(0xE5E5E5));
    return c;
}

} // namespace

std::vector<int> MessageIconIds()
{
    // Every id some level announces has its picture: a level whose news had none would skip its message.
    std::set<int> ids(game::HardcoreNewIds().begin(), game::HardcoreNewIds().end());
    for (const game::UnlockLine& line : game::Unlocks())
        for (int id : line.ids)
            if (id >= 0)
                ids.insert(id);
    return std::vector<int>(ids.begin(), ids.end());
}

Canvas UnlockIcon(int id, int size)
{
    if (const game::TowerKind* t = game::FindTower(id))
        return TowerIcon(*t, size);
    for (const game::SpellKind& s : game::Spells())
        if (s.protoId == id)
            return SpellIcon(s, size);
    return HardcoreIcon(id, size);
}

} // namespace demodata
