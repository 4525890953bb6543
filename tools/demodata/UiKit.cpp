#include "tools/demodata/UiKit.h"

#include <algorithm>
#include <cmath>

#include "tools/demodata/Art.h"
#include "tools/demodata/ImageEncoders.h"

namespace demodata::ui
{
namespace
{

constexpr float kPi = 3.14159265f;

// Blends `shape` (its alpha as coverage) onto `c` in the colour `col`, moved by (dx, dy).
void Stamp(Canvas& c, const Canvas& shape, int dx, int dy, Rgba col)
{
    for (int y = 0; y < shape.Height(); ++y)
        for (int x = 0; x < shape.Width(); ++x)
            if (std::uint8_t a = shape.At(x, y).a)
                c.Blend(x + dx, y + dy, col, a / 255.0f);
}

// A small deterministic generator for scattered details.
struct Lcg
{
    unsigned state;
    float Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>((state >> 8) & 0xFFFFFF) / 16777216.0f;
    }
};

} // namespace

Rgba Mix(Rgba a, Rgba b, float t)
{
    auto m = [t](std::uint8_t x, std::uint8_t y)
    { return static_cast<std::uint8_t>(std::lround(x + (y - x) * t)); };
    return Rgba{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

Rgba Lighter(Rgba c, float t)
{
    return Mix(c, Rgba{255, 255, 255, c.a}, t);
}

Rgba Darker(Rgba c, float t)
{
    return Mix(c, Rgba{0, 0, 0, c.a}, t);
}

Rgba WithAlpha(Rgba c, int a)
{
    c.a = static_cast<std::uint8_t>(std::clamp(a, 0, 255));
    return c;
}

void FillRoundGradient(Canvas& c, float x, float y, float w, float h, float r, Rgba top, Rgba bottom)
{
    Canvas mask(c.Width(), c.Height());
    mask.FillRoundRect(x, y, w, h, r, Rgba{255, 255, 255, 255});
    int y0 = std::max(0, static_cast<int>(y)), y1 = std::min(c.Height(), static_cast<int>(std::ceil(y + h)));
    int x0 = std::max(0, static_cast<int>(x)), x1 = std::min(c.Width(), static_cast<int>(std::ceil(x + w)));
    for (int j = y0; j < y1; ++j)
    {
        float t = h > 1 ? std::clamp((j - y) / (h - 1), 0.0f, 1.0f) : 0;
        Rgba col = Mix(top, bottom, t);
        for (int i = x0; i < x1; ++i)
            if (std::uint8_t a = mask.At(i, j).a)
                c.Blend(i, j, col, a / 255.0f);
    }
}

void Line(Canvas& c, float x0, float y0, float x1, float y1, float width, Rgba col)
{
    float r = width * 0.5f;
    int ix0 = std::max(0, static_cast<int>(std::min(x0, x1) - r - 1));
    int ix1 = std::min(c.Width(), static_cast<int>(std::max(x0, x1) + r + 2));
    int iy0 = std::max(0, static_cast<int>(std::min(y0, y1) - r - 1));
    int iy1 = std::min(c.Height(), static_cast<int>(std::max(y0, y1) + r + 2));
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int j = iy0; j < iy1; ++j)
        for (int i = ix0; i < ix1; ++i)
        {
            float px = i + 0.5f - x0, py = j + 0.5f - y0;
            float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0;
            float d = std::hypot(px - t * dx, py - t * dy) - r;
            c.Blend(i, j, col, 0.5f - d);
        }
}

void Arc(Canvas& c, float cx, float cy, float r, float width, float from, float to, Rgba col)
{
    int x0 = std::max(0, static_cast<int>(cx - r - width)),
        x1 = std::min(c.Width(), static_cast<int>(cx + r + width + 2));
    int y0 = std::max(0, static_cast<int>(cy - r - width)),
        y1 = std::min(c.Height(), static_cast<int>(cy + r + width + 2));
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i)
        {
            float px = i + 0.5f - cx, py = j + 0.5f - cy;
            float a = std::atan2(py, px) * 180 / kPi;
            while (a < from)
                a += 360;
            if (a > to)
                continue;
            float d = std::fabs(std::hypot(px, py) - r) - width * 0.5f;
            c.Blend(i, j, col, 0.5f - d);
        }
}

Canvas Faded(const Canvas& src, float factor)
{
    Canvas out = src;
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.At(x, y).a = static_cast<std::uint8_t>(std::lround(out.At(x, y).a * factor));
    return out;
}

Canvas Panel(int w, int h, Rgba top, Rgba bottom)
{
    Canvas c(w, h);
    float fw = static_cast<float>(w), fh = static_cast<float>(h);
    c.FillRoundRect(4, 8, fw - 8, fh - 8, 26, palette::kShadow);
    FillRoundGradient(c, 2, 2, fw - 6, fh - 8, 24, Lighter(top, 0.08f), bottom);
    c.StrokeRoundRect(5, 5, fw - 12, fh - 14, 21, 4, palette::kPanelEdge);
    c.StrokeRoundRect(12, 12, fw - 26, fh - 28, 15, 1.5f, WithAlpha(palette::kPanelEdge, 110));
    // A soft sheen on the upper part.
    FillRoundGradient(c, 14, 14, fw - 30, std::min(90.0f, fh * 0.25f), 14, Rgba{255, 255, 255, 34},
                      Rgba{255, 255, 255, 0});
    for (float sx : {14.0f, fw - 18})
        for (float sy : {14.0f, fh - 24})
        {
            c.FillCircle(sx, sy, 5, kGoldDark);
            c.FillCircle(sx - 0.8f, sy - 0.8f, 3.5f, kGold);
        }
    return c;
}

Canvas Ribbon(int w, int h, Rgba body)
{
    Canvas c(w, h);
    float fw = static_cast<float>(w), fh = static_cast<float>(h);
    float tail = fh * 0.45f, inset = fh * 0.18f;
    // Folded ends behind the band.
    for (int side = 0; side < 2; ++side)
    {
        float x0 = side ? fw - tail * 1.6f : 0, x1 = side ? fw : tail * 1.6f;
        float notch = side ? fw - tail * 0.5f : tail * 0.5f;
        c.FillPolygon({{x0, inset * 2}, {x1, inset * 2}, {x1, fh}, {x0, fh}, {notch, fh - inset * 1.5f}},
                      side ? Darker(body, 0.35f) : Darker(body, 0.35f));
    }
    FillRoundGradient(c, tail, 2, fw - tail * 2, fh - inset * 2, 6, Lighter(body, 0.25f),
                      Darker(body, 0.15f));
    c.StrokeRoundRect(tail + 3, 5, fw - tail * 2 - 6, fh - inset * 2 - 6, 4, 2, WithAlpha(kGoldDark, 200));
    c.FillPolygon({{tail, fh - inset * 2 + 2},
                   {tail + tail * 0.6f, fh - inset * 2 + 2},
                   {tail + tail * 0.6f, fh - inset}},
                  kGoldDark);
    c.FillPolygon({{fw - tail, fh - inset * 2 + 2},
                   {fw - tail - tail * 0.6f, fh - inset * 2 + 2},
                   {fw - tail - tail * 0.6f, fh - inset}},
                  kGoldDark);
    return c;
}

Canvas Well(int w, int h)
{
    Canvas c(w, h);
    float fw = static_cast<float>(w), fh = static_cast<float>(h);
    FillRoundGradient(c, 0, 0, fw, fh, fh * 0.35f, RgbaOf(0x070B14, 230), RgbaOf(0x1B2A41, 230));
    c.StrokeRoundRect(1, 1, fw - 2, fh - 2, fh * 0.35f - 1, 2, WithAlpha(palette::kPanelEdge, 150));
    return c;
}

Canvas Backdrop(int w, int h, unsigned seed, Rgba sky, Rgba horizon, Rgba hills)
{
    Canvas c(w, h);
    c.GradientRect(0, 0, w, h, sky, horizon);
    Lcg rng{seed};
    for (int i = 0; i < w * h / 2600; ++i)
    {
        float x = rng.Next() * w, y = rng.Next() * h * 0.55f, s = 0.6f + rng.Next() * 1.4f;
        c.FillCircle(x, y, s, Rgba{255, 255, 240, static_cast<std::uint8_t>(90 + rng.Next() * 150)});
    }
    c.FillCircle(w * 0.82f, h * 0.16f, 46, RgbaOf(0xFFF4D6, 235));
    c.FillCircle(w * 0.82f - 14, h * 0.16f - 8, 40, WithAlpha(sky, 120));
    // Three ranges of hills, farther ones lighter; castles stand on the middle one.
    for (int layer = 0; layer < 3; ++layer)
    {
        Rgba col = Mix(horizon, hills, 0.45f + layer * 0.27f);
        float base = h * (0.62f + layer * 0.1f), amp = h * (0.07f - layer * 0.012f);
        float phase = rng.Next() * 6.28f, freq = 2.5f + layer * 1.3f;
        // Filled column by column: a polygon of this many points would be slow to sample.
        for (int x = 0; x < w; ++x)
        {
            float t = (x + 0.5f) / w;
            float top = base - amp * (std::sin(t * freq * kPi + phase) * 0.7f +
                                      std::sin(t * freq * 2.3f * kPi + phase * 1.7f) * 0.3f);
            int y0 = std::max(0, static_cast<int>(top));
            c.Blend(x, y0, col, 1 - (top - y0));
            for (int y = y0 + 1; y < h; ++y)
                c.Blend(x, y, col);
        }
        if (layer == 0)
            for (int k = 0; k < 3; ++k)
            {
                float tx = w * (0.12f + 0.36f * k + rng.Next() * 0.1f);
                DrawTower(c, tx, base + 4, 26 + rng.Next() * 10, 70 + rng.Next() * 40, Darker(col, 0.25f));
            }
    }
    // Darker corners keep the eye on the middle.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            float dx = (x - w * 0.5f) / (w * 0.5f), dy = (y - h * 0.5f) / (h * 0.5f);
            float v = std::clamp((dx * dx + dy * dy - 0.5f) * 0.35f, 0.0f, 0.45f);
            c.Blend(x, y, Rgba{0, 0, 0, 255}, v);
        }
    return c;
}

Canvas Shade(int w, int h, int alpha)
{
    return Canvas(w, h, RgbaOf(0x05080F, static_cast<std::uint8_t>(alpha)));
}

Canvas ButtonFace(int w, int h, Rgba fill, Face face)
{
    Canvas c(w, h);
    float fw = static_cast<float>(w), fh = static_cast<float>(h), r = std::min(fh * 0.36f, 26.0f);
    Rgba body = face == Face::Normal ? fill : Lighter(fill, 0.18f);
    c.FillRoundRect(3, 6, fw - 6, fh - 6, r, palette::kShadow);
    c.FillRoundRect(2, 2, fw - 4, fh - 7, r, face == Face::Normal ? kInk : kGoldDark);
    FillRoundGradient(c, 5, 5, fw - 10, fh - 13, r - 3, Lighter(body, 0.3f), Darker(body, 0.25f));
    FillRoundGradient(c, 9, 7, fw - 18, (fh - 13) * 0.45f, r - 6, Rgba{255, 255, 255, 80},
                      Rgba{255, 255, 255, 10});
    if (face != Face::Normal)
        c.StrokeRoundRect(4, 4, fw - 8, fh - 11, r - 2, 3, kGold);
    return c;
}

Canvas RoundFace(int d, Rgba fill, Face face)
{
    Canvas c(d, d);
    float fd = static_cast<float>(d), r = fd * 0.5f - 3;
    Rgba body = face == Face::Normal ? fill : Lighter(fill, 0.15f);
    c.FillCircle(fd * 0.5f, fd * 0.5f + 2, r + 1, palette::kShadow);
    c.FillCircle(fd * 0.5f, fd * 0.5f - 1, r, face == Face::Normal ? kInk : kGoldDark);
    Canvas inner(d, d);
    FillRoundGradient(inner, fd * 0.5f - r + 3, fd * 0.5f - r + 2, (r - 3) * 2, (r - 3) * 2, r - 3,
                      Lighter(body, 0.3f), Darker(body, 0.3f));
    c.Draw(inner, 0, 0);
    c.FillCircle(fd * 0.5f - r * 0.25f, fd * 0.5f - r * 0.45f, r * 0.35f, Rgba{255, 255, 255, 40});
    if (face == Face::Active)
        c.StrokeCircle(fd * 0.5f, fd * 0.5f - 1, r - 2, 3, kGold);
    else if (face == Face::Over)
        c.StrokeCircle(fd * 0.5f, fd * 0.5f - 1, r - 2, 2, Lighter(kGold, 0.3f));
    return c;
}

void DrawGlyph(Canvas& c, Glyph g, float cx, float cy, float size, Rgba col)
{
    const float s = size * 0.5f; // half size
    const float lw = std::max(2.0f, size * 0.13f);
    auto P = [cx, cy, s](float x, float y) { return PointF{cx + x * s, cy + y * s}; };
    auto L = [&](float x0, float y0, float x1, float y1, float w)
    { Line(c, cx + x0 * s, cy + y0 * s, cx + x1 * s, cy + y1 * s, w, col); };
    switch (g)
    {
    case Glyph::Play:
        c.FillPolygon({P(-0.45f, -0.7f), P(0.75f, 0), P(-0.45f, 0.7f)}, col);
        break;
    case Glyph::Pause:
        c.FillRoundRect(cx - s * 0.55f, cy - s * 0.65f, s * 0.4f, s * 1.3f, s * 0.08f, col);
        c.FillRoundRect(cx + s * 0.15f, cy - s * 0.65f, s * 0.4f, s * 1.3f, s * 0.08f, col);
        break;
    case Glyph::Fast:
        c.FillPolygon({P(-0.8f, -0.6f), P(0.05f, 0), P(-0.8f, 0.6f)}, col);
        c.FillPolygon({P(-0.05f, -0.6f), P(0.8f, 0), P(-0.05f, 0.6f)}, col);
        break;
    case Glyph::Gear:
        for (int k = 0; k < 8; ++k)
        {
            float a = k * kPi / 4, ca = std::cos(a), sa = std::sin(a);
            float w = 0.18f;
            c.FillPolygon(
                {P(ca * 0.5f - sa * w, sa * 0.5f + ca * w), P(ca * 0.82f - sa * w, sa * 0.82f + ca * w),
                 P(ca * 0.82f + sa * w, sa * 0.82f - ca * w), P(ca * 0.5f + sa * w, sa * 0.5f - ca * w)},
                col);
        }
        c.StrokeCircle(cx, cy, s * 0.45f, s * 0.3f, col);
        break;
    case Glyph::Back:
        c.FillPolygon({P(-0.75f, 0), P(-0.1f, -0.6f), P(-0.1f, 0.6f)}, col);
        c.FillRoundRect(cx - s * 0.2f, cy - s * 0.2f, s * 0.95f, s * 0.4f, s * 0.08f, col);
        break;
    case Glyph::Close:
        L(-0.5f, -0.5f, 0.5f, 0.5f, lw * 1.3f);
        L(-0.5f, 0.5f, 0.5f, -0.5f, lw * 1.3f);
        break;
    case Glyph::Restart:
        Arc(c, cx, cy, s * 0.55f, lw * 1.2f, -60, 220, col);
        c.FillPolygon({P(0.1f, -0.95f), P(0.55f, -0.42f), P(-0.05f, -0.25f)}, col);
        break;
    case Glyph::Menu:
        for (float y : {-0.5f, 0.0f, 0.5f})
            L(-0.6f, y, 0.6f, y, lw * 1.1f);
        break;
    case Glyph::Left:
        L(0.25f, -0.6f, -0.35f, 0, lw * 1.5f);
        L(-0.35f, 0, 0.25f, 0.6f, lw * 1.5f);
        break;
    case Glyph::Right:
        L(-0.25f, -0.6f, 0.35f, 0, lw * 1.5f);
        L(0.35f, 0, -0.25f, 0.6f, lw * 1.5f);
        break;
    case Glyph::Up:
        L(-0.6f, 0.25f, 0, -0.35f, lw * 1.5f);
        L(0, -0.35f, 0.6f, 0.25f, lw * 1.5f);
        break;
    case Glyph::Down:
        L(-0.6f, -0.25f, 0, 0.35f, lw * 1.5f);
        L(0, 0.35f, 0.6f, -0.25f, lw * 1.5f);
        break;
    case Glyph::Check:
        L(-0.6f, 0.0f, -0.15f, 0.5f, lw * 1.5f);
        L(-0.15f, 0.5f, 0.65f, -0.5f, lw * 1.5f);
        break;
    case Glyph::Lock:
        Arc(c, cx, cy - s * 0.2f, s * 0.35f, lw * 1.1f, 180, 360, col);
        L(-0.35f, -0.2f, -0.35f, 0.05f, lw * 1.1f);
        L(0.35f, -0.2f, 0.35f, 0.05f, lw * 1.1f);
        c.FillRoundRect(cx - s * 0.6f, cy, s * 1.2f, s * 0.8f, s * 0.12f, col);
        c.FillCircle(cx, cy + s * 0.35f, s * 0.12f, kInk);
        c.FillRect(static_cast<int>(cx - s * 0.04f), static_cast<int>(cy + s * 0.35f),
                   std::max(1, static_cast<int>(s * 0.08f)), static_cast<int>(s * 0.25f), kInk);
        break;
    case Glyph::Skull:
        c.FillCircle(cx, cy - s * 0.15f, s * 0.62f, col);
        c.FillRoundRect(cx - s * 0.38f, cy + s * 0.2f, s * 0.76f, s * 0.5f, s * 0.1f, col);
        c.FillCircle(cx - s * 0.25f, cy - s * 0.1f, s * 0.17f, kInk);
        c.FillCircle(cx + s * 0.25f, cy - s * 0.1f, s * 0.17f, kInk);
        c.FillPolygon({P(0, 0.1f), P(-0.1f, 0.28f), P(0.1f, 0.28f)}, kInk);
        for (float x : {-0.2f, 0.0f, 0.2f})
            L(x, 0.45f, x, 0.68f, std::max(1.5f, lw * 0.45f));
        break;
    case Glyph::Hammer:
        L(-0.55f, 0.65f, 0.2f, -0.1f, lw * 1.2f);
        c.FillPolygon({P(-0.15f, -0.45f), P(0.3f, -0.9f), P(0.85f, -0.35f), P(0.4f, 0.1f)}, col);
        break;
    case Glyph::Gem:
    case Glyph::GemPlus:
    {
        float k = g == Glyph::GemPlus ? 0.8f : 1.0f, ox = g == Glyph::GemPlus ? -0.15f : 0.0f;
        c.FillPolygon({P(ox - 0.75f * k, -0.25f * k), P(ox - 0.45f * k, -0.65f * k),
                       P(ox + 0.45f * k, -0.65f * k), P(ox + 0.75f * k, -0.25f * k), P(ox, 0.8f * k)},
                      col);
        c.FillPolygon({P(ox - 0.45f * k, -0.65f * k), P(ox + 0.45f * k, -0.65f * k), P(ox, -0.25f * k)},
                      Lighter(col, 0.45f));
        if (g == Glyph::GemPlus)
        {
            c.FillCircle(cx + s * 0.55f, cy + s * 0.5f, s * 0.38f, kGreen);
            Line(c, cx + s * 0.35f, cy + s * 0.5f, cx + s * 0.75f, cy + s * 0.5f, lw,
                 Rgba{255, 255, 255, 255});
            Line(c, cx + s * 0.55f, cy + s * 0.3f, cx + s * 0.55f, cy + s * 0.7f, lw,
                 Rgba{255, 255, 255, 255});
        }
        break;
    }
    case Glyph::Star:
        c.FillStar(cx, cy + s * 0.06f, s * 0.95f, s * 0.42f, 5, col);
        break;
    case Glyph::Person:
        c.FillCircle(cx, cy - s * 0.35f, s * 0.35f, col);
        c.FillRoundRect(cx - s * 0.65f, cy + s * 0.1f, s * 1.3f, s * 1.1f, s * 0.55f, col);
        break;
    case Glyph::Plus:
        L(-0.55f, 0, 0.55f, 0, lw * 1.4f);
        L(0, -0.55f, 0, 0.55f, lw * 1.4f);
        break;
    case Glyph::Minus:
        L(-0.55f, 0, 0.55f, 0, lw * 1.4f);
        break;
    case Glyph::Heart:
        c.FillCircle(cx - s * 0.33f, cy - s * 0.22f, s * 0.4f, col);
        c.FillCircle(cx + s * 0.33f, cy - s * 0.22f, s * 0.4f, col);
        c.FillPolygon({P(-0.72f, -0.08f), P(0.72f, -0.08f), P(0, 0.8f)}, col);
        c.FillCircle(cx - s * 0.38f, cy - s * 0.32f, s * 0.13f, Rgba{255, 255, 255, 110});
        break;
    case Glyph::Coin:
        c.FillCircle(cx, cy, s * 0.85f, Darker(col, 0.3f));
        c.FillCircle(cx, cy - s * 0.04f, s * 0.72f, col);
        c.StrokeCircle(cx, cy - s * 0.04f, s * 0.52f, std::max(1.5f, s * 0.07f), Darker(col, 0.25f));
        c.FillStar(cx, cy - s * 0.02f, s * 0.3f, s * 0.13f, 5, Darker(col, 0.25f));
        break;
    case Glyph::Flag:
        L(-0.5f, -0.8f, -0.5f, 0.8f, lw);
        c.FillPolygon({P(-0.45f, -0.75f), P(0.7f, -0.5f), P(0.2f, -0.28f), P(0.7f, -0.05f), P(-0.45f, 0.1f)},
                      col);
        break;
    case Glyph::Note:
        c.FillCircle(cx - s * 0.35f, cy + s * 0.5f, s * 0.25f, col);
        c.FillCircle(cx + s * 0.45f, cy + s * 0.35f, s * 0.25f, col);
        L(-0.14f, 0.5f, -0.14f, -0.6f, lw * 0.9f);
        L(0.66f, 0.35f, 0.66f, -0.75f, lw * 0.9f);
        L(-0.14f, -0.6f, 0.66f, -0.75f, lw * 1.4f);
        break;
    case Glyph::Speaker:
        c.FillPolygon({P(-0.75f, -0.25f), P(-0.4f, -0.25f), P(0.05f, -0.65f), P(0.05f, 0.65f),
                       P(-0.4f, 0.25f), P(-0.75f, 0.25f)},
                      col);
        Arc(c, cx + s * 0.05f, cy, s * 0.35f, lw * 0.8f, -50, 50, col);
        Arc(c, cx + s * 0.05f, cy, s * 0.65f, lw * 0.8f, -50, 50, col);
        break;
    case Glyph::Bug:
        c.FillCircle(cx, cy + s * 0.1f, s * 0.45f, col);
        c.FillCircle(cx, cy - s * 0.45f, s * 0.25f, col);
        for (float y : {-0.15f, 0.15f, 0.45f})
        {
            L(-0.4f, y, -0.8f, y - 0.15f, lw * 0.7f);
            L(0.4f, y, 0.8f, y - 0.15f, lw * 0.7f);
        }
        L(0, -0.2f, 0, 0.5f, std::max(1.5f, lw * 0.5f));
        break;
    case Glyph::Grid:
        for (float x : {-0.5f, 0.15f})
            for (float y : {-0.5f, 0.15f})
                c.FillRoundRect(cx + x * s, cy + y * s, s * 0.5f, s * 0.5f, s * 0.08f, col);
        break;
    }
}

void DrawGlyphShadowed(Canvas& c, Glyph g, float cx, float cy, float size, Rgba col)
{
    Canvas shadow(c.Width(), c.Height());
    DrawGlyph(shadow, g, cx, cy, size, Rgba{255, 255, 255, 255});
    Stamp(c, shadow, 2, 3, WithAlpha(kInk, 150));
    DrawGlyph(c, g, cx, cy, size, col);
}

Canvas IconButton(int d, Rgba fill, Glyph g, Face face)
{
    Canvas c = RoundFace(d, fill, face);
    Rgba glyph = face == Face::Active ? kGold : palette::kText;
    DrawGlyphShadowed(c, g, d * 0.5f, d * 0.5f - 1, d * 0.52f, glyph);
    return c;
}

Canvas GlyphIcon(int size, Glyph g, Rgba col)
{
    Canvas c(size, size);
    DrawGlyphShadowed(c, g, size * 0.5f, size * 0.5f, size * 0.86f, col);
    return c;
}

Canvas Marker(int w, int h)
{
    Canvas c(w, h);
    c.StrokeRoundRect(1, 1, w - 2.0f, h - 2.0f, std::min(6.0f, std::min(w, h) * 0.3f), 1,
                      RgbaOf(0xFFFFFF, 60));
    return c;
}

void Caption(Canvas& c, const std::string& text, const char* face, int pixels, int cx, int baseline, Rgba col,
             int outline)
{
    Typeface t;
    OpenFace(t, face, pixels);
    t.DrawText(c, text, cx, baseline, col, 1, outline, kInk);
}

void Folder::Add(const std::string& name, int x, int y, const Canvas& pixels)
{
    mOut.Write(mDir + "/" + name + ".png", EncodePng(pixels));
    mLayers.push_back({name, x, y, pixels.Width(), pixels.Height(), ""});
}

void Folder::Mark(const std::string& name, int x, int y, int w, int h)
{
    Add(name, x, y, Marker(w, h));
}

void Folder::Place(const std::string& name, int x, int y, int w, int h)
{
    FolderLayer layer{name, x, y, w, h, ""};
    layer.textPlace = true;
    mLayers.push_back(layer);
}

void Folder::Finish()
{
    mOut.WriteText(mDir + "/layers.xml", LayersXml(mLayers));
}

} // namespace demodata::ui
