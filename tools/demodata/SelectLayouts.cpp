// The two selection screens: the episode carousel "td/episode_select" (one card picture per episode, the
// lock veil and the "new" badge the cards share, arrows and play) and the level grid "td/level_select"
// (plate pictures by progress, the stars plate, the mode tabs and the hardcore buttons).
#include <cmath>
#include <string>

#include "tools/demodata/Art.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/GameCatalogue.h"
#include "tools/demodata/UiKit.h"

namespace demodata
{
namespace
{

using namespace ui;

constexpr int kWideX = -171, kWideW = 1366;
// Cards for more episodes than the demo table holds, so a longer table still finds its pictures.
constexpr int kChapterCards = 6;
constexpr int kCard = 360;

struct Scene
{
    Rgba sky, horizon, far, near, accent;
    int kind; // 0 hills, 1 peaks, 2 forest, 3 dunes, 4 marsh, 5 castle
};

const Scene kScenes[kChapterCards] = {
    {RgbaOf(0x7EC8E3), RgbaOf(0xD8F3DC), RgbaOf(0x74C69D), RgbaOf(0x2D6A4F), RgbaOf(0xFFD166), 0},
    {RgbaOf(0x355C7D), RgbaOf(0xC6D8E8), RgbaOf(0xA9BCD0), RgbaOf(0xE8F1F8), RgbaOf(0xFFFFFF), 1},
    {RgbaOf(0x3D0C11), RgbaOf(0xF4A261), RgbaOf(0x9D0208), RgbaOf(0x370617), RgbaOf(0xFFBA08), 2},
    {RgbaOf(0xF6BD60), RgbaOf(0xF7EDE2), RgbaOf(0xE9C46A), RgbaOf(0xC07F3C), RgbaOf(0xFFFFFF), 3},
    {RgbaOf(0x2F3E46), RgbaOf(0x84A98C), RgbaOf(0x52796F), RgbaOf(0x354F52), RgbaOf(0xCAD2C5), 4},
    {RgbaOf(0x10002B), RgbaOf(0x5A189A), RgbaOf(0x3C096C), RgbaOf(0x240046), RgbaOf(0xE0AAFF), 5},
};

// A ridge filled column by column from `base` down, its height given by `f` (0..1 across the width).
template <typename F>
void Ridge(Canvas& c, int x0, int x1, float base, Rgba col, F height)
{
    for (int x = x0; x < x1; ++x)
    {
        float top = base - height((x - x0 + 0.5f) / (x1 - x0));
        int y0 = std::max(0, static_cast<int>(top));
        c.Blend(x, y0, col, 1 - (top - y0));
        for (int y = y0 + 1; y < c.Height(); ++y)
            c.Blend(x, y, col);
    }
}

Canvas ChapterCard(int n)
{
    const Scene& s = kScenes[n % kChapterCards];
    const int in = 14, w = kCard - 2 * in;
    Canvas art(w, w);
    art.GradientRect(0, 0, w, w, s.sky, s.horizon);
    const float fw = static_cast<float>(w);
    switch (s.kind)
    {
    case 0:
        art.FillCircle(fw * 0.75f, fw * 0.2f, 30, s.accent);
        Ridge(art, 0, w, fw * 0.62f, s.far, [&](float t) { return fw * 0.1f * std::sin(t * 6.28f + 1); });
        Ridge(art, 0, w, fw * 0.8f, s.near, [&](float t) { return fw * 0.08f * std::sin(t * 9 + 2); });
        DrawTower(art, fw * 0.3f, fw * 0.62f, 34, 90, RgbaOf(0x8D6E63));
        break;
    case 1:
        Ridge(art, 0, w, fw * 0.75f, s.far,
              [&](float t) { return fw * 0.45f * (1 - std::fabs(std::fmod(t * 2.2f, 1.0f) * 2 - 1)); });
        Ridge(art, 0, w, fw * 0.92f, s.near, [&](float t) { return fw * 0.12f * std::sin(t * 5); });
        for (int k = 0; k < 40; ++k)
            art.FillCircle(std::fmod(k * 73.0f, fw), std::fmod(k * 41.0f, fw * 0.9f), 2,
                           RgbaOf(0xFFFFFF, 200));
        break;
    case 2:
        art.FillCircle(fw * 0.5f, fw * 0.55f, 60, RgbaOf(0xFFBA08, 140));
        Ridge(art, 0, w, fw * 0.75f, s.far, [&](float t) { return fw * 0.06f * std::sin(t * 12); });
        for (int k = 0; k < 9; ++k)
        {
            float x = fw * (0.05f + k * 0.115f), y = fw * (0.78f + (k % 2) * 0.06f);
            art.FillPolygon({{x, y - 90}, {x + 34, y}, {x - 34, y}}, s.near);
            art.FillRect(static_cast<int>(x - 4), static_cast<int>(y), 8, 30, RgbaOf(0x1B0A0A));
        }
        break;
    case 3:
        art.FillCircle(fw * 0.25f, fw * 0.22f, 34, RgbaOf(0xFFFFFF, 220));
        Ridge(art, 0, w, fw * 0.7f, s.far, [&](float t) { return fw * 0.1f * std::sin(t * 4 + 0.5f); });
        Ridge(art, 0, w, fw * 0.86f, s.near, [&](float t) { return fw * 0.09f * std::sin(t * 6 + 2); });
        art.FillPolygon({{fw * 0.62f, fw * 0.7f}, {fw * 0.74f, fw * 0.48f}, {fw * 0.86f, fw * 0.7f}},
                        RgbaOf(0xA26B3C));
        break;
    case 4:
        Ridge(art, 0, w, fw * 0.66f, s.far, [&](float t) { return fw * 0.05f * std::sin(t * 7); });
        art.FillRect(0, static_cast<int>(fw * 0.7f), w, w, RgbaOf(0x3A5A40, 230));
        for (int k = 0; k < 7; ++k)
            art.FillRoundRect(fw * (0.08f + k * 0.13f), fw * (0.76f + (k % 3) * 0.05f), 40, 10, 5,
                              RgbaOf(0x84A98C, 180));
        for (int k = 0; k < 12; ++k)
            Line(art, fw * (0.04f + k * 0.08f), fw * 0.95f, fw * (0.05f + k * 0.08f),
                 fw * (0.72f - (k % 3) * 0.05f), 3, s.near);
        break;
    default:
        for (int k = 0; k < 60; ++k)
            art.FillCircle(std::fmod(k * 97.0f, fw), std::fmod(k * 53.0f, fw * 0.6f), 1.5f,
                           RgbaOf(0xFFFFFF, 220));
        art.FillCircle(fw * 0.78f, fw * 0.2f, 26, s.accent);
        Ridge(art, 0, w, fw * 0.82f, s.far, [&](float t) { return fw * 0.05f * std::sin(t * 5); });
        DrawTower(art, fw * 0.35f, fw * 0.8f, 50, 150, s.near);
        DrawTower(art, fw * 0.6f, fw * 0.8f, 64, 190, s.near);
        DrawTower(art, fw * 0.8f, fw * 0.8f, 44, 130, s.near);
        break;
    }
    Canvas c(kCard, kCard);
    c.FillRoundRect(4, 8, kCard - 8.0f, kCard - 8.0f, 28, palette::kShadow);
    c.FillRoundRect(0, 0, kCard - 4.0f, kCard - 4.0f, 28, kGoldDark);
    FillRoundGradient(c, 3, 3, kCard - 10.0f, kCard - 10.0f, 25, kGold, kGoldDark);
    // The scene inside a rounded window of the frame.
    Canvas mask(kCard, kCard);
    mask.FillRoundRect(in, in, static_cast<float>(w), static_cast<float>(w), 18, Rgba{255, 255, 255, 255});
    for (int y = 0; y < w; ++y)
        for (int x = 0; x < w; ++x)
        {
            Rgba p = art.At(x, y);
            p.a = static_cast<std::uint8_t>(p.a * mask.At(x + in, y + in).a / 255);
            c.Blend(x + in, y + in, p);
        }
    c.StrokeRoundRect(in, in, static_cast<float>(w), static_cast<float>(w), 18, 3, kInk);
    return c;
}

// The card of an episode that is planned but not playable yet: its scene in greys, frame included.
Canvas Greyed(Canvas c)
{
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
        {
            Rgba& p = c.At(x, y);
            const auto grey = static_cast<std::uint8_t>((p.r * 30 + p.g * 59 + p.b * 11) / 100 * 3 / 4 + 24);
            p.r = p.g = p.b = grey;
        }
    return c;
}

// The veil over a card that is not open: dark glass with a padlock above the text the game writes.
Canvas LockVeil()
{
    Canvas c(kCard, kCard);
    c.FillRoundRect(0, 0, kCard - 4.0f, kCard - 4.0f, 28, RgbaOf(0x0B1020, 185));
    // The padlock keeps above the two lines of text the game centres on the card.
    c.FillCircle(kCard * 0.5f - 2, 60, 40, RgbaOf(0x1B2A41, 230));
    c.StrokeCircle(kCard * 0.5f - 2, 60, 40, 3, kGold);
    DrawGlyphShadowed(c, Glyph::Lock, kCard * 0.5f - 2, 60, 50, RgbaOf(0xD9DEE6));
    return c;
}

// A red burst behind the word the game writes ("new").
Canvas NewBadge(int w, int h)
{
    Canvas c(w, h);
    std::vector<PointF> burst;
    const int points = 14;
    for (int k = 0; k < points * 2; ++k)
    {
        float a = k * 3.14159265f / points, r = (k % 2) ? 0.8f : 1.0f;
        burst.push_back({w * 0.5f + std::cos(a) * w * 0.48f * r, h * 0.5f + std::sin(a) * h * 0.48f * r});
    }
    c.FillPolygon(burst, kGoldDark);
    FillRoundGradient(c, w * 0.1f, h * 0.12f, w * 0.8f, h * 0.76f, h * 0.38f, RgbaOf(0xF25C54),
                      RgbaOf(0xA4161A));
    c.StrokeRoundRect(w * 0.1f + 2, h * 0.12f + 2, w * 0.8f - 4, h * 0.76f - 4, h * 0.38f - 2, 2, kGold);
    return c;
}

Canvas CounterPlate(int w, Glyph icon, Rgba iconColor)
{
    Canvas c(w, 60);
    FillRoundGradient(c, 2, 2, w - 4.0f, 56, 26, palette::kPanel, kDeep);
    c.StrokeRoundRect(3, 3, w - 6.0f, 54, 25, 3, kGold);
    DrawGlyphShadowed(c, icon, 32, 30, 38, iconColor);
    return c;
}

void EpisodeSelect(Output& out)
{
    Folder f(out, "td/episode_select");
    f.Add("background", kWideX, 0,
          Backdrop(kWideW, 768, 3, RgbaOf(0x0F1B3D), RgbaOf(0x4B6584), RgbaOf(0x16253B)));
    // A pedestal of light under the middle card.
    Canvas glow(520, 480);
    for (int r = 240; r > 0; r -= 4)
        glow.FillCircle(260, 240, static_cast<float>(r), RgbaOf(0xFFE8A3, 4));
    f.Add("glow", 252, 144, glow);
    f.Add("ribbon", 252, 14, Ribbon(520, 104));
    f.Add("stars_plate", 780, 22, CounterPlate(232, Glyph::Star, palette::kStar));
    Canvas namePlate(520, 56);
    namePlate.Draw(Well(520, 56), 0, 0);
    f.Add("name_plate", 252, 576, namePlate);
    for (int n = 1; n <= kChapterCards; ++n)
    {
        const bool soon = n - 1 == game::ComingSoonEpisode();
        f.Add("plates/chapter_0" + std::to_string(n), 332, 204,
              soon ? Greyed(ChapterCard(n - 1)) : ChapterCard(n - 1));
    }
    f.Add("plates/lock", 332, 204, LockVeil());
    f.Add("plates/new", 530, 160, NewBadge(220, 96));
    f.Add("button/back", 20, 684, IconButton(72, palette::kButton, Glyph::Back, Face::Normal));
    f.Add("button/shop", 932, 684, IconButton(72, kGoldDark, Glyph::Hammer, Face::Normal));
    // The arrows stand outside the row of cards, so that no card or its text lies under them.
    f.Add("button/arrow_left", 14, 350, IconButton(68, palette::kButton, Glyph::Left, Face::Normal));
    f.Add("button/arrow_right", 942, 350, IconButton(68, palette::kButton, Glyph::Right, Face::Normal));
    f.Add("button/play", 466, 640, IconButton(92, kGreen, Glyph::Play, Face::Normal));
    f.Mark("text/caption", 282, 18, 460, 70);
    f.Mark("text/levelName", 262, 578, 500, 52);
    f.Mark("text/stars", 826, 28, 182, 48);
    f.Finish();
}

Canvas LevelPlate(int state) // 0 locked, 1 open, 2 completed, 3 three stars
{
    const int d = 112;
    Canvas c(d, d);
    Rgba fill = state == 0   ? kSlate
                : state == 1 ? palette::kButton
                : state == 2 ? RgbaOf(0x2B6CB0)
                             : kGoldDark;
    c.FillRoundRect(4, 8, d - 8.0f, d - 8.0f, 24, palette::kShadow);
    c.FillRoundRect(2, 2, d - 6.0f, d - 8.0f, 24, kInk);
    FillRoundGradient(c, 5, 5, d - 12.0f, d - 14.0f, 21, Lighter(fill, 0.3f), Darker(fill, 0.3f));
    FillRoundGradient(c, 10, 8, d - 22.0f, 38, 16, Rgba{255, 255, 255, 70}, Rgba{255, 255, 255, 0});
    if (state == 0)
        DrawGlyphShadowed(c, Glyph::Lock, d * 0.5f, d * 0.46f, 50, RgbaOf(0xC9CED6));
    if (state == 3)
    {
        c.StrokeRoundRect(6, 6, d - 14.0f, d - 16.0f, 20, 3, kGold);
        DrawGlyphShadowed(c, Glyph::Star, d * 0.5f, d * 0.44f, 62, palette::kStar);
    }
    return c;
}

void LevelSelect(Output& out)
{
    Folder f(out, "td/level_select");
    f.Add("background", kWideX, 0,
          Backdrop(kWideW, 768, 5, RgbaOf(0x13213C), RgbaOf(0x52677F), RgbaOf(0x1B2E45)));
    f.Add("ribbon", 212, 12, Ribbon(600, 110));
    Canvas skulls(760, 70);
    for (int k = 0; k < 2; ++k)
    {
        float x = k ? 700 : 60;
        skulls.FillCircle(x, 35, 32, RgbaOf(0x4A0E17));
        skulls.StrokeCircle(x, 35, 32, 3, kRed);
        DrawGlyph(skulls, Glyph::Skull, x, 35, 42, RgbaOf(0xE5E5E5));
    }
    f.Add("skulls", 132, 26, skulls);
    // The chosen tab grows by a tenth about its foot: the counter keeps clear of the third tab's growth.
    f.Add("gems_plate", 820, 136, CounterPlate(196, Glyph::Gem, palette::kGem));
    f.Add("plate/locked", 80, 220, LevelPlate(0));
    f.Add("plate/incomplete", 205, 220, LevelPlate(1));
    f.Add("plate/complete", 330, 220, LevelPlate(2));
    f.Add("plate/super", 455, 220, LevelPlate(3));
    Canvas starsPlate(88, 34);
    FillRoundGradient(starsPlate, 0, 0, 88, 34, 14, RgbaOf(0x1B2A41), kInk);
    starsPlate.StrokeRoundRect(1, 1, 86, 32, 13, 2, kGold);
    f.Add("stars_plate/plate", 92, 316, starsPlate);
    Canvas star(26, 26);
    star.FillStar(13, 14, 12.5f, 5.5f, 5, palette::kStar);
    f.Add("stars_plate/star", 96, 320, star);
    f.Add("plate/new", 130, 200, NewBadge(100, 44));
    Canvas tabOn = ButtonFace(184, 64, palette::kButton, Face::Over);
    Canvas tabOff = ButtonFace(184, 64, kSlate, Face::Normal);
    f.Add("tabs/up_button_in", 208, 136, tabOff);
    f.Add("tabs/up_button_ac", 208, 136, tabOn);
    f.Add("button/back", 20, 684, IconButton(72, palette::kButton, Glyph::Back, Face::Normal));
    f.Add("button/upgrade", 932, 684, IconButton(72, kGoldDark, Glyph::Hammer, Face::Normal));
    Canvas locked(128, 112), unlocked(128, 112);
    locked.Draw(ButtonFace(128, 112, kSlate, Face::Normal), 0, 0);
    DrawGlyphShadowed(locked, Glyph::Skull, 56, 50, 58, RgbaOf(0x9AA3AF));
    locked.FillCircle(94, 74, 20, kInk);
    DrawGlyph(locked, Glyph::Lock, 94, 73, 26, kGold);
    unlocked.Draw(ButtonFace(128, 112, kRed, Face::Normal), 0, 0);
    DrawGlyphShadowed(unlocked, Glyph::Skull, 64, 50, 62, RgbaOf(0xF5F5F5));
    f.Add("button/locked_d", 857, 448, locked);
    f.Add("button/unlocked_d", 857, 448, unlocked);
    f.Mark("text/episode", 262, 16, 500, 72);
    f.Mark("text/gems", 866, 142, 142, 48);
    f.Finish();
}

} // namespace

void WriteSelectLayouts(Output& out)
{
    EpisodeSelect(out);
    LevelSelect(out);
}

} // namespace demodata
