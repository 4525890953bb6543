// The interface parts of the game world: the preloaded folder "td/data/ui_parts" (the sheet "td/ui" with the
// context-menu, tower and effect icons, the spot pictures "td/spots", the effect sprites "td/enemy_spot",
// "td/mob_heal", "td/mob_dot", "td/disabletower", "td/tower_debuff" and the spell cursor "td/spell_cast"),
// the unit shadows, the income icon, the bullet pictures, the spell icons and the spell and shell sheets.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "tools/demodata/Art.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/GameArt.h"
#include "tools/demodata/ImageEncoders.h"
#include "tools/demodata/Palette.h"
#include "tools/demodata/SpriteFolder.h"

namespace demodata
{
namespace
{

using namespace game;

constexpr float kPi = 3.14159265f;

// A round context-menu button: dark disc, light rim.
Canvas Button(int size, Rgba fill)
{
    Canvas c(size, size);
    float r = size * 0.5f;
    c.FillCircle(r, r + 1.5f, r - 1, palette::kShadow);
    c.FillCircle(r, r, r - 2, RgbaOf(0x1B2631));
    c.FillCircle(r, r, r - 5, fill);
    c.StrokeCircle(r, r, r - 3.5f, 2.5f, RgbaOf(0xF7DC6F));
    return c;
}

void Arrow(Canvas& c, float cx, float cy, float s, Rgba col, bool up = true)
{
    float d = up ? -1.0f : 1.0f;
    c.FillPolygon({{cx, cy + d * s},
                   {cx + s * 0.8f, cy},
                   {cx + s * 0.3f, cy},
                   {cx + s * 0.3f, cy - d * s * 0.9f},
                   {cx - s * 0.3f, cy - d * s * 0.9f},
                   {cx - s * 0.3f, cy},
                   {cx - s * 0.8f, cy}},
                  col);
}

Canvas Coin(int size)
{
    return IconMoney(size);
}

Canvas Small(int size, void (*paint)(Canvas&, float))
{
    Canvas c(size, size);
    paint(c, static_cast<float>(size));
    return c;
}

// A smaller copy: every target pixel averages the source pixels it covers (weighted by their alpha).
Canvas Scaled(const Canvas& src, float k)
{
    int w = std::max(1, static_cast<int>(src.Width() * k)),
        h = std::max(1, static_cast<int>(src.Height() * k));
    Canvas out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            int x0 = static_cast<int>(x / k), x1 = std::min(src.Width(), static_cast<int>((x + 1) / k) + 1);
            int y0 = static_cast<int>(y / k), y1 = std::min(src.Height(), static_cast<int>((y + 1) / k) + 1);
            float r = 0, g = 0, b = 0, a = 0;
            int n = 0;
            for (int j = y0; j < y1; ++j)
                for (int i = x0; i < x1; ++i, ++n)
                {
                    const Rgba& p = src.At(i, j);
                    r += p.r * p.a;
                    g += p.g * p.a;
                    b += p.b * p.a;
                    a += p.a;
                }
            if (a > 0)
                out.At(x, y) = Rgba{static_cast<std::uint8_t>(r / a), static_cast<std::uint8_t>(g / a),
                                    static_cast<std::uint8_t>(b / a), static_cast<std::uint8_t>(a / n)};
        }
    return out;
}

// A context-menu icon: a 48-pixel button low in a 64-pixel square. The menu centres the square on its item's
// point on the ring and writes the item's price 30 above that point, so the price keeps clear of the button,
// and the whole button lies within the item's reach (32 around the point).
Canvas RingIcon(const Canvas& button)
{
    Canvas c(64, 64);
    c.Draw(button, 8, 16);
    return c;
}

// A miniature of a tower's first idle frame (or its first direction) on a ring button.
Canvas TowerIcon(const TowerKind& t)
{
    Canvas button = Button(48, RgbaOf(0x5D6D7E));
    Canvas frame = HasFlag(t.flags, "rotating") ? DrawTurret(t, 135, 0, nullptr) : DrawTower(t, 0, 0);
    float k = 34.0f / frame.Height();
    Canvas half = Scaled(frame, k);
    TowerFrameSize s = TowerFrameSizeOf(t);
    int x = 24 - static_cast<int>(s.baseX * k), y = 42 - static_cast<int>(s.baseY * k);
    button.Draw(half, x, y);
    return RingIcon(button);
}

void WriteUiSheet(SpriteFolder& f)
{
    auto add = [&f](const std::string& name, const Canvas& c) { f.Add("ui/" + name, 0, 0, c); };
    {
        Canvas c(12, 12);
        c.FillCircle(6, 6, 5, RgbaOf(0xFFF5C0, 140));
        c.FillCircle(6, 6, 2.5f, RgbaOf(0xFFFFFF, 230));
        add("brush", c);
    }
    {
        Canvas c(30, 30);
        c.FillCircle(15, 15, 14, RgbaOf(0xE67E22, 120));
        Arrow(c, 15, 15, 11, RgbaOf(0xE74C3C));
        add("power_buff", c);
    }
    {
        Canvas c = Button(48, RgbaOf(0x922B21));
        c.Draw(Coin(24), 12, 9);
        Arrow(c, 24, 37, 6, RgbaOf(0xF5B7B1), false);
        add("sell", RingIcon(c));
    }
    {
        Canvas c = Button(48, RgbaOf(0x1E8449));
        c.FillRect(21, 11, 6, 26, RgbaOf(0xFFFFFF));
        c.FillRect(11, 21, 26, 6, RgbaOf(0xFFFFFF));
        add("buy", RingIcon(c));
    }
    for (int level : {2, 3})
    {
        Canvas c = Button(48, RgbaOf(0x2874A6));
        Arrow(c, 24, 19, 10, RgbaOf(0xF7DC6F));
        for (int k = 0; k < level - 1; ++k)
            c.FillStar(24 + (k - (level - 2) * 0.5f) * 11, 35, 6, 2.5f, 5, RgbaOf(0xFFFFFF));
        add("lvl" + std::to_string(level), RingIcon(c));
    }
    {
        Canvas c(336, 336);
        c.FillCircle(168, 168, 166, RgbaOf(0xFFFFFF, 36));
        c.StrokeCircle(168, 168, 164, 3, RgbaOf(0xFFFFFF, 150));
        add("radius", c);
    }
    add("bar", Canvas(40, 5, RgbaOf(0xFFFFFF)));
    {
        Canvas c(26, 26);
        c.FillPolygon({{13, 2}, {24, 6}, {22, 16}, {13, 24}, {4, 16}, {2, 6}}, RgbaOf(0xAEB6BF));
        c.StrokeLine(6, 20, 20, 6, 3, RgbaOf(0xC0392B));
        add("immune", c);
    }
    add("money", Coin(26));
    add("context_money", Coin(22));
    add("context_gem", IconGem(22));
    for (int n = 1; n <= 3; ++n)
    {
        Canvas c(14 * n + 4, 16);
        for (int k = 0; k < n; ++k)
            c.FillStar(9.0f + k * 14, 8, 7.5f, 3.2f, 5, RgbaOf(0xF7DC6F));
        add("l" + std::to_string(n), c);
    }
    const int kIcons[12] = {10000, 10200, 10100, 20100, 20000, 20200,
                            40200, 40000, 30000, 30200, 30100, 40100};
    for (int i = 0; i < 12; ++i)
    {
        char name[16];
        std::snprintf(name, sizeof name, "tower_%02d", i + 1);
        add(name, TowerIcon(*FindTower(kIcons[i])));
    }
    // Effect icons of the context menu.
    add("acid_01", Small(24,
                         [](Canvas& c, float s)
                         {
                             c.FillPolygon({{s / 2, 2}, {s - 5, s * 0.6f}, {5, s * 0.6f}}, RgbaOf(0x58D68D));
                             c.FillCircle(s / 2, s * 0.62f, s * 0.3f, RgbaOf(0x58D68D));
                         }));
    add("beam_01", Small(24,
                         [](Canvas& c, float s)
                         {
                             c.StrokeCircle(s / 2, s / 2, s * 0.35f, 2.5f, RgbaOf(0xE74C3C));
                             c.StrokeLine(s / 2, 1, s / 2, s - 1, 2, RgbaOf(0xE74C3C));
                             c.StrokeLine(1, s / 2, s - 1, s / 2, 2, RgbaOf(0xE74C3C));
                         }));
    add("aoe_01", Small(24,
                        [](Canvas& c, float s)
                        {
                            c.FillStar(s / 2, s / 2, s * 0.48f, s * 0.22f, 8, RgbaOf(0xF39C12));
                            c.FillCircle(s / 2, s / 2, s * 0.15f, RgbaOf(0xFDEBD0));
                        }));
    add("burn_01", Small(24,
                         [](Canvas& c, float s)
                         {
                             c.FillPolygon({{s / 2, 1}, {s - 4, s * 0.65f}, {s / 2, s - 1}, {4, s * 0.65f}},
                                           RgbaOf(0xE74C3C));
                             c.FillCircle(s / 2, s * 0.68f, s * 0.2f, RgbaOf(0xF7DC6F));
                         }));
    add("dazed_01", Small(24,
                          [](Canvas& c, float s)
                          {
                              for (int k = 0; k < 3; ++k)
                              {
                                  float a = k * kPi / 3;
                                  c.StrokeLine(s / 2 - std::cos(a) * s * 0.45f,
                                               s / 2 - std::sin(a) * s * 0.45f,
                                               s / 2 + std::cos(a) * s * 0.45f,
                                               s / 2 + std::sin(a) * s * 0.45f, 2.5f, RgbaOf(0x85C1E9));
                              }
                          }));
    add("hammer_01",
        Small(24,
              [](Canvas& c, float s)
              {
                  c.StrokeLine(4, s - 4, s * 0.6f, s * 0.4f, 3, RgbaOf(0x7F5539));
                  c.FillPolygon(
                      {{s * 0.4f, 3}, {s - 2, s * 0.5f}, {s * 0.8f, s * 0.7f}, {s * 0.2f, s * 0.2f}},
                      RgbaOf(0xAAB7B8));
              }));
    add("money_01", Coin(24));
    add("portal_01", Small(24,
                           [](Canvas& c, float s)
                           {
                               for (int k = 0; k < 3; ++k)
                                   c.StrokeCircle(s / 2, s / 2, s * (0.42f - k * 0.12f), 2, RgbaOf(0xA569BD));
                           }));
    add("wing_01", Small(24,
                         [](Canvas& c, float s)
                         {
                             c.FillPolygon({{2, s * 0.7f},
                                            {s * 0.5f, 2},
                                            {s - 2, s * 0.3f},
                                            {s * 0.7f, s * 0.6f},
                                            {s * 0.4f, s - 3}},
                                           RgbaOf(0xECF0F1));
                         }));
    for (int n = 1; n <= 2; ++n)
    {
        Canvas c(24, 24);
        for (int k = 0; k < n; ++k)
            c.FillStar(12 + (k - (n - 1) * 0.5f) * 11, 12, 8, 3.4f, 5, RgbaOf(0xF5B041));
        add("might_0" + std::to_string(n), c);
    }
    {
        Canvas c(30, 30);
        c.FillCircle(15, 15, 14, RgbaOf(0x1B4F72, 200));
        c.StrokeCircle(15, 15, 9, 2.5f, RgbaOf(0x85C1E9));
        Arrow(c, 15, 13, 6, RgbaOf(0xFFFFFF));
        add("radius_boost", c);
    }
    {
        Canvas c(30, 30);
        c.FillCircle(15, 15, 14, RgbaOf(0x78281F, 200));
        c.StrokeLine(9, 22, 21, 8, 4, RgbaOf(0xD5D8DC));
        c.StrokeLine(8, 14, 16, 22, 3, RgbaOf(0xB9770E));
        add("power_boost", c);
    }
    {
        // The next-wave marker: a red war banner with a skull, pressed to call the wave early.
        Canvas c(52, 52);
        c.FillCircle(26, 26, 25, RgbaOf(0x000000, 90));
        c.FillCircle(26, 26, 22, RgbaOf(0xC0392B));
        c.StrokeCircle(26, 26, 21, 3, RgbaOf(0xF7DC6F));
        c.FillCircle(26, 23, 10, RgbaOf(0xF2F3F4));
        c.FillRect(21, 29, 10, 7, RgbaOf(0xF2F3F4));
        c.FillCircle(22, 23, 3, RgbaOf(0x17202A));
        c.FillCircle(30, 23, 3, RgbaOf(0x17202A));
        add("wave_hint", c);
    }
}

// A stone pad for towers; bought pads carry the currency they cost.
Canvas SpotPicture(int type)
{
    Canvas c(92, 58);
    c.FillEllipse(46, 31, 44, 25, 0, RgbaOf(0x000000, 70));
    c.FillEllipse(46, 28, 42, 23, 0, RgbaOf(0x7B7D7D));
    c.FillEllipse(46, 26, 38, 19, 0, RgbaOf(0xBDC3C7));
    for (int k = 0; k < 6; ++k)
    {
        float a = k * kPi / 3;
        c.StrokeLine(46, 26, 46 + std::cos(a) * 36, 26 + std::sin(a) * 17, 1.2f, RgbaOf(0x95A5A6));
    }
    if (type == 1)
    {
        c.FillEllipse(46, 26, 38, 19, 0, RgbaOf(0xF4D03F, 70));
        c.Draw(IconMoney(26), 33, 13);
    }
    if (type == 2)
    {
        c.FillEllipse(46, 26, 38, 19, 0, RgbaOf(0x9B5DE5, 70));
        c.Draw(IconGem(26), 33, 12);
    }
    return c;
}

// An effect animation of `frames` square frames with its anchor (s_point) at (ax, ay).
void Effect(SpriteFolder& f, const std::string& group, int w, int h, int frames, int ax, int ay,
            void (*paint)(Canvas&, float t, int w, int h))
{
    for (int k = 0; k < frames; ++k)
    {
        Canvas c(w, h);
        paint(c, static_cast<float>(k) / frames, w, h);
        f.Add(group + "/" + std::to_string(k), 0, 0, c);
    }
    f.AddMarker(group + "/s_point/0", ax, ay);
}

void WriteEffects(SpriteFolder& f)
{
    // Selection marker: a bouncing arrow whose tip points at the unit's head.
    Effect(f, "enemy_spot", 32, 40, 8, 16, 38,
           [](Canvas& c, float t, int w, int h)
           {
               float y = std::sin(t * 2 * kPi) * 4;
               c.FillPolygon({{w / 2.0f, h - 3 + y},
                              {w - 3.0f, h - 18 + y},
                              {w * 0.66f, h - 18 + y},
                              {w * 0.66f, 6 + y},
                              {w * 0.34f, 6 + y},
                              {w * 0.34f, h - 18 + y},
                              {3.0f, h - 18 + y}},
                             RgbaOf(0xF4D03F));
           });
    Effect(f, "mob_heal", 48, 64, 8, 24, 56,
           [](Canvas& c, float t, int w, int h)
           {
               float y = h - 16 - t * 36;
               int a = static_cast<int>(230 * (1 - t * 0.7f));
               c.FillRect(w / 2 - 4, static_cast<int>(y) - 12, 8, 24,
                          RgbaOf(0x2ECC71, static_cast<std::uint8_t>(a)));
               c.FillRect(w / 2 - 12, static_cast<int>(y) - 4, 24, 8,
                          RgbaOf(0x2ECC71, static_cast<std::uint8_t>(a)));
               c.StrokeCircle(w / 2.0f, h - 10.0f, 8 + t * 14, 2,
                              RgbaOf(0xABEBC6, static_cast<std::uint8_t>(a)));
           });
    Effect(f, "mob_dot", 40, 56, 6, 20, 48,
           [](Canvas& c, float t, int w, int h)
           {
               for (int k = 0; k < 3; ++k)
               {
                   float y = h - 10 - std::fmod(t * 40 + k * 13, 40.0f);
                   c.FillCircle(w / 2.0f + (k - 1) * 9, y, 4 + k, RgbaOf(0x7DCEA0, 200));
               }
           });
    Effect(f, "disabletower", 64, 120, 6, 32, 112,
           [](Canvas& c, float t, int w, int)
           {
               float wob = std::sin(t * 2 * kPi) * 3;
               c.StrokeCircle(w / 2.0f, 52 + wob, 24, 5, RgbaOf(0xC0392B, 220));
               c.StrokeLine(w / 2.0f - 16, 36 + wob, w / 2.0f + 16, 68 + wob, 5, RgbaOf(0xC0392B, 220));
               for (int k = 0; k < 5; ++k)
                   c.StrokeCircle(10.0f + k * 11, 92 + (k % 2) * 4, 5, 2.5f, RgbaOf(0x85929E));
           });
    Effect(f, "tower_debuff", 64, 120, 8, 32, 112,
           [](Canvas& c, float t, int w, int)
           {
               for (int k = 0; k < 3; ++k)
               {
                   float a = t * 2 * kPi + k * 2 * kPi / 3;
                   c.FillCircle(w / 2.0f + std::cos(a) * 22, 40 + std::sin(a) * 8, 6, RgbaOf(0x8E44AD, 210));
               }
               c.FillEllipse(w / 2.0f, 40, 26, 9, 0, RgbaOf(0x5B2C6F, 90));
           });
    Effect(f, "spell_cast", 64, 64, 8, 32, 32,
           [](Canvas& c, float t, int w, int h)
           {
               c.StrokeCircle(w / 2.0f, h / 2.0f, 26, 3, RgbaOf(0xF7DC6F, 220));
               for (int k = 0; k < 4; ++k)
               {
                   float a = t * kPi / 2 + k * kPi / 2;
                   c.FillCircle(w / 2.0f + std::cos(a) * 26, h / 2.0f + std::sin(a) * 26, 4,
                                RgbaOf(0xFFFFFF));
               }
               c.StrokeLine(w / 2.0f - 8, h / 2.0f, w / 2.0f + 8, h / 2.0f, 2, RgbaOf(0xFFFFFF));
               c.StrokeLine(w / 2.0f, h / 2.0f - 8, w / 2.0f, h / 2.0f + 8, 2, RgbaOf(0xFFFFFF));
           });
}

Canvas Shadow(int w, int h)
{
    Canvas c(w, h);
    c.FillEllipse(w / 2.0f, h / 2.0f, w / 2.0f - 1, h / 2.0f - 1, 0, RgbaOf(0x000000, 60));
    c.FillEllipse(w / 2.0f, h / 2.0f, w / 2.0f - 6, h / 2.0f - 4, 0, RgbaOf(0x000000, 50));
    return c;
}

Canvas Bullet(const AmmoKind& a)
{
    if (a.id == 1003)
    {
        // The cannonball is dark iron: a light rim and a bright glint keep it seen over grass and road.
        Canvas c(28, 28);
        c.FillCircle(14, 15, 13, RgbaOf(0x000000, 90));
        c.FillCircle(14, 14, 12, RgbaOf(0xF4F6F7, 235));
        c.FillCircle(14, 14, 9.5f, RgbaOf(0x1C2833));
        c.FillCircle(14, 14, 7, RgbaOf(a.color));
        c.FillCircle(11, 11, 3.5f, RgbaOf(0xFFFFFF, 230));
        return c;
    }
    Canvas c(20, 20);
    Rgba col = RgbaOf(a.color);
    switch (a.id)
    {
    case 1001:
    case 1002:
        c.FillEllipse(10, 10, 8, 3, 0.6f, col);
        c.FillCircle(15, 6, 2.5f, RgbaOf(0xECF0F1));
        break;
    case 1006:
        c.FillCircle(6, 10, 5, col);
        c.FillCircle(14, 10, 5, col);
        c.StrokeLine(6, 10, 14, 10, 2, RgbaOf(0x2C3E50));
        break;
    default:
        c.FillCircle(10, 10, 8, Shade(a.color, 0.6f));
        c.FillCircle(10, 10, 6, col);
        c.FillCircle(8, 8, 2.5f, RgbaOf(0xFFFFFF, 200));
        break;
    }
    return c;
}

void SpellIcon(Output& out, const SpellKind& s)
{
    Canvas c(72, 72);
    c.FillRoundRect(2, 2, 68, 68, 14, RgbaOf(0x1B2631));
    c.FillRoundRect(5, 5, 62, 62, 12, Shade(s.color, 0.55f));
    c.StrokeRoundRect(5, 5, 62, 62, 12, 3, RgbaOf(0xF7DC6F));
    Rgba col = RgbaOf(s.color);
    switch (s.spellId)
    {
    case 0:
        c.FillCircle(40, 42, 15, col);
        c.FillCircle(40, 42, 8, RgbaOf(0xFDEBD0));
        c.StrokeLine(16, 14, 34, 34, 7, RgbaOf(0xF5B041, 200));
        break;
    case 1:
        for (int k = 0; k < 3; ++k)
        {
            float a = k * kPi / 3;
            c.StrokeLine(36 - std::cos(a) * 24, 36 - std::sin(a) * 24, 36 + std::cos(a) * 24,
                         36 + std::sin(a) * 24, 5, RgbaOf(0xEBF5FB));
        }
        c.FillCircle(36, 36, 7, col);
        break;
    case 2:
        for (int k = 0; k < 4; ++k)
            c.FillCircle(22.0f + (k % 2) * 26, 26.0f + (k / 2) * 22, 11, col);
        c.FillCircle(36, 36, 12, RgbaOf(0x1D8348));
        break;
    case 3:
        for (int k = 0; k < 3; ++k)
            c.StrokeLine(16.0f + k * 18, 62, 22.0f + k * 14, 14, 6, col);
        c.StrokeLine(10, 40, 62, 32, 4, RgbaOf(0x58D68D));
        break;
    default:
        c.FillPolygon({{36, 10}, {58, 60}, {36, 48}, {14, 60}}, col);
        c.FillCircle(36, 36, 6, RgbaOf(0xFFFFFF));
        break;
    }
    out.Write(std::string("td/data/spells/") + s.key + ".png", EncodePng(c));
    // The shade drawn over a recharging button (and shown for a spell that cannot be cast yet).
    Canvas shade(72, 72);
    shade.FillRoundRect(2, 2, 68, 68, 14, RgbaOf(0x000000, 160));
    out.Write(std::string("td/data/spells/") + s.key + "_shade.png", EncodePng(shade));
}

// The sprites a cast spell leaves at its point: eight frames of a burst in the spell's colour.
void SpellSheet(Output& out, const SpellKind& s)
{
    SpriteFolder f(true);
    const int size = 128;
    for (int k = 0; k < 8; ++k)
    {
        float t = k / 7.0f;
        Canvas c(size, size);
        Rgba col = RgbaOf(s.color, static_cast<std::uint8_t>(230 * (1 - t * 0.8f)));
        Rgba light = RgbaOf(0xFFFFFF, static_cast<std::uint8_t>(200 * (1 - t)));
        switch (s.spellId)
        {
        case 0:
            c.FillCircle(64, 64, 20 + 38 * t, col);
            c.FillCircle(64, 64, 12 + 20 * t, light);
            break;
        case 1:
            for (int j = 0; j < 6; ++j)
            {
                float a = j * kPi / 3;
                c.StrokeLine(64, 64, 64 + std::cos(a) * (20 + 40 * t), 64 + std::sin(a) * (20 + 40 * t), 6,
                             col);
            }
            c.FillCircle(64, 64, 10, light);
            break;
        case 2:
            for (int j = 0; j < 6; ++j)
                c.FillCircle(64 + std::cos(j * 1.1f) * 30 * t + 0.0f, 64 + std::sin(j * 1.7f) * 24 * t, 14,
                             col);
            break;
        case 3:
            for (int j = 0; j < 5; ++j)
            {
                float x = 24.0f + j * 20;
                c.StrokeLine(x, 110, x + std::sin(j + t * 3) * 10, 110 - 70 * t, 6, col);
            }
            break;
        default:
            c.FillStar(64, 64, 20 + 40 * t, 8 + 14 * t, 8, col);
            c.FillCircle(64, 64, 10, light);
            break;
        }
        f.Add(std::to_string(k), 0, 0, c);
    }
    f.AddMarker("s_point/0", size / 2, size / 2);
    f.Write(out, std::string("td/spells/") + s.key);
}

// The siege shell in flight ("fire") for the arcing ammunition 2003.
void ShellSheet(Output& out)
{
    SpriteFolder f(true);
    for (int k = 0; k < 4; ++k)
    {
        Canvas c(36, 36);
        c.FillCircle(18, 18, 10 + (k % 2) * 2, RgbaOf(0xF39C12, 150));
        c.FillCircle(18, 18, 8, RgbaOf(0x2C3E50));
        c.FillCircle(15, 15, 2.5f, RgbaOf(0xFFFFFF, 200));
        c.FillCircle(18 + std::cos(k * kPi / 2) * 9, 18 + std::sin(k * kPi / 2) * 9, 3, RgbaOf(0xFDEBD0));
        f.Add("fire/" + std::to_string(k), 0, 0, c);
    }
    f.AddMarker("s_point/0", 18, 18);
    f.Write(out, "td/tower3_1b");
}

} // namespace

void WriteUiParts(Output& out)
{
    SpriteFolder parts;
    WriteUiSheet(parts);
    for (int type = 0; type < 3; ++type)
        parts.Add(std::string("spots/") + "sgp"[type], 0, 0, SpotPicture(type));
    WriteEffects(parts);
    parts.Write(out, "td/data/ui_parts");

    out.Write("td/data/ui_parts/shadows/wywern_shadow.png", EncodePng(Shadow(54, 20)));
    out.Write("td/data/ui_parts/shadows/dragon_shadow.png", EncodePng(Shadow(84, 28)));
    {
        Canvas c(30, 30);
        c.FillCircle(15, 15, 14, RgbaOf(0x7E5109, 200));
        c.Draw(IconMoney(20), 5, 5);
        out.Write("td/data/context/small_icons/income.png", EncodePng(c));
    }
    std::set<std::string> bullets;
    for (const AmmoKind& a : Ammo())
        if (*a.img && bullets.insert(a.img).second)
            out.Write(std::string("td/") + a.img, EncodePng(Bullet(a)));
    for (const SpellKind& s : Spells())
    {
        SpellIcon(out, s);
        SpellSheet(out, s);
    }
    ShellSheet(out);
}

} // namespace demodata
