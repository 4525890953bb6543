#include "tools/demodata/UpgradeIcons.h"

#include <algorithm>
#include <tuple>

#include "tools/demodata/GameCatalogue.h"
#include "tools/demodata/UiKit.h"

namespace demodata
{
namespace
{

using namespace ui;

Canvas Disc(int size, Rgba back)
{
    Canvas c(size, size);
    float h = size * 0.5f;
    c.FillCircle(h, h, h - 1, kGoldDark);
    FillRoundGradient(c, 4, 4, size - 8.0f, size - 8.0f, h - 4, Lighter(back, 0.3f), Darker(back, 0.35f));
    return c;
}

void Bricks(Canvas& c, float x, float y, float w, float h)
{
    const float bh = h / 3, bw = w / 3;
    for (int row = 0; row < 3; ++row)
        for (int k = -1; k < 4; ++k)
        {
            float bx = x + k * bw + (row % 2) * bw * 0.5f, by = y + row * bh;
            float l = std::max(bx, x), r = std::min(bx + bw - 2, x + w);
            if (r > l)
                c.FillRoundRect(l, by, r - l, bh - 2, 2, RgbaOf(0xA8A29E));
        }
}

} // namespace

const std::vector<std::string>& UpgradeIconNames()
{
    static const std::vector<std::string> names = []
    {
        std::vector<std::string> out;
        for (const game::UpgradeKind& u : game::Upgrades())
            if (std::find(out.begin(), out.end(), u.icon) == out.end())
                out.push_back(u.icon);
        return out;
    }();
    return names;
}

Canvas UpgradeIcon(const std::string& name, int size)
{
    const float s = static_cast<float>(size), h = s * 0.5f;
    if (name == "walls")
    {
        Canvas c = Disc(size, RgbaOf(0x52606D));
        Bricks(c, s * 0.18f, s * 0.42f, s * 0.64f, s * 0.36f);
        DrawGlyphShadowed(c, Glyph::Heart, h, s * 0.3f, s * 0.34f, palette::kLife);
        return c;
    }
    if (name == "bounty")
    {
        Canvas c = Disc(size, RgbaOf(0x6B4E16));
        DrawGlyphShadowed(c, Glyph::Coin, s * 0.6f, s * 0.58f, s * 0.5f, palette::kMoney);
        DrawGlyphShadowed(c, Glyph::Skull, s * 0.36f, s * 0.36f, s * 0.34f, RgbaOf(0xE5E5E5));
        return c;
    }
    if (name == "chest")
    {
        Canvas c = Disc(size, RgbaOf(0x5C3D1E));
        c.FillRoundRect(s * 0.2f, s * 0.42f, s * 0.6f, s * 0.34f, s * 0.04f, RgbaOf(0x8B5A2B));
        c.FillRoundRect(s * 0.2f, s * 0.3f, s * 0.6f, s * 0.16f, s * 0.08f, RgbaOf(0xA0522D));
        c.FillRect(static_cast<int>(s * 0.2f), static_cast<int>(s * 0.44f), static_cast<int>(s * 0.6f),
                   std::max(2, static_cast<int>(s * 0.05f)), kGold);
        c.FillRoundRect(s * 0.45f, s * 0.4f, s * 0.1f, s * 0.14f, 2, kGold);
        return c;
    }
    if (name == "darts" || name == "bows")
    {
        Canvas c = Disc(size, RgbaOf(0x2D6A4F));
        if (name == "bows")
            Arc(c, s * 0.62f, s * 0.62f, s * 0.34f, s * 0.05f, 180, 270, RgbaOf(0xC08552));
        Line(c, s * 0.25f, s * 0.75f, s * 0.72f, s * 0.28f, s * 0.06f, RgbaOf(0x6B4226));
        c.FillPolygon({{s * 0.8f, s * 0.2f}, {s * 0.58f, s * 0.28f}, {s * 0.72f, s * 0.42f}},
                      RgbaOf(0xDDDDDD));
        c.FillPolygon({{s * 0.25f, s * 0.75f}, {s * 0.3f, s * 0.6f}, {s * 0.4f, s * 0.7f}}, kRed);
        return c;
    }
    if (name == "powder" || name == "loaders")
    {
        Canvas c = Disc(size, RgbaOf(0x3D405B));
        c.FillCircle(h, s * 0.56f, s * 0.22f, RgbaOf(0x1F2228));
        c.FillCircle(s * 0.44f, s * 0.5f, s * 0.06f, RgbaOf(0x8D99AE));
        if (name == "powder")
            c.FillStar(s * 0.7f, s * 0.3f, s * 0.14f, s * 0.06f, 6, RgbaOf(0xFFB703));
        else
            Arc(c, h, s * 0.56f, s * 0.32f, s * 0.05f, 200, 340, palette::kText);
        return c;
    }
    if (name == "coals" || name == "embers")
    {
        Canvas c = Disc(size, RgbaOf(0x5C1A0B));
        c.FillCircle(h, s * 0.6f, s * 0.2f, RgbaOf(0xF77F00));
        c.FillCircle(s * 0.42f, s * 0.45f, s * 0.14f, RgbaOf(0xFFB703));
        c.FillCircle(s * 0.6f, s * 0.4f, s * 0.1f, RgbaOf(0xFFE066));
        if (name == "embers")
            Line(c, s * 0.6f, s * 0.4f, s * 0.82f, s * 0.18f, s * 0.06f, RgbaOf(0xFFB703, 200));
        return c;
    }
    if (name == "focus")
    {
        Canvas c = Disc(size, RgbaOf(0x3C1A5B));
        c.StrokeCircle(h, h, s * 0.3f, s * 0.03f, RgbaOf(0x7FDBFF, 180));
        c.FillPolygon({{h, s * 0.22f}, {s * 0.64f, h}, {h, s * 0.8f}, {s * 0.36f, h}}, RgbaOf(0x7FDBFF));
        c.FillPolygon({{h, s * 0.22f}, {s * 0.64f, h}, {h, s * 0.46f}}, RgbaOf(0xD6F6FF));
        return c;
    }
    if (name == "sights")
    {
        Canvas c = Disc(size, RgbaOf(0x6B3E26));
        c.StrokeCircle(h, h, s * 0.24f, s * 0.05f, palette::kText);
        for (float d : {-1.0f, 1.0f})
        {
            Line(c, h + d * s * 0.12f, h, h + d * s * 0.36f, h, s * 0.04f, palette::kText);
            Line(c, h, h + d * s * 0.12f, h, h + d * s * 0.36f, s * 0.04f, palette::kText);
        }
        c.FillCircle(h, h, s * 0.04f, kRed);
        return c;
    }
    if (name == "veins")
    {
        Canvas c = Disc(size, RgbaOf(0x4A3B33));
        for (auto [x, y, r] :
             {std::tuple{0.38f, 0.58f, 0.13f}, std::tuple{0.6f, 0.6f, 0.11f}, std::tuple{0.5f, 0.4f, 0.12f}})
        {
            c.FillCircle(s * x, s * y, s * r, RgbaOf(0xB8860B));
            c.FillCircle(s * x - s * r * 0.3f, s * y - s * r * 0.3f, s * r * 0.5f, palette::kMoney);
        }
        return c;
    }
    if (name == "lore")
    {
        Canvas c = Disc(size, RgbaOf(0x1D4E89));
        c.FillRoundRect(s * 0.22f, s * 0.28f, s * 0.56f, s * 0.44f, s * 0.04f, RgbaOf(0x8B1E3F));
        c.FillRoundRect(s * 0.26f, s * 0.3f, s * 0.22f, s * 0.38f, 2, kParchment);
        c.FillRoundRect(s * 0.52f, s * 0.3f, s * 0.22f, s * 0.38f, 2, kParchment);
        c.FillStar(s * 0.63f, s * 0.48f, s * 0.08f, s * 0.035f, 5, palette::kGem);
        return c;
    }
    if (name == "masons")
    {
        Canvas c = Disc(size, RgbaOf(0x52606D));
        Bricks(c, s * 0.2f, s * 0.56f, s * 0.6f, s * 0.24f);
        DrawGlyphShadowed(c, Glyph::Hammer, s * 0.5f, s * 0.36f, s * 0.4f, RgbaOf(0xD9DEE6));
        return c;
    }
    Canvas c = Disc(size, palette::kPanel);
    DrawGlyphShadowed(c, Glyph::Star, h, h, s * 0.55f, palette::kStar);
    return c;
}

} // namespace demodata
