#include "tools/demodata/Canvas.h"

#include <algorithm>
#include <cmath>

namespace demodata
{
namespace
{

float Clamp01(float v)
{
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

// Signed distance from a point to a rounded rectangle (negative inside).
float RoundRectDistance(float px, float py, float x, float y, float w, float h, float r)
{
    float cx = x + w * 0.5f, cy = y + h * 0.5f;
    float qx = std::fabs(px - cx) - (w * 0.5f - r);
    float qy = std::fabs(py - cy) - (h * 0.5f - r);
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}

bool Inside(const std::vector<PointF>& poly, float x, float y)
{
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
    {
        const PointF& a = poly[i];
        const PointF& b = poly[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

} // namespace

Canvas::Canvas(int width, int height, Rgba fill)
    : mWidth(width), mHeight(height), mPixels(static_cast<std::size_t>(width) * height, fill)
{
}

void Canvas::Blend(int x, int y, Rgba c, float coverage)
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return;
    float sa = c.a / 255.0f * Clamp01(coverage);
    if (sa <= 0)
        return;
    Rgba& d = At(x, y);
    float da = d.a / 255.0f;
    float oa = sa + da * (1 - sa);
    auto mix = [&](std::uint8_t s, std::uint8_t dc)
    {
        float v = (s * sa + dc * da * (1 - sa)) / oa;
        return static_cast<std::uint8_t>(std::lround(std::min(255.0f, v)));
    };
    d = Rgba{mix(c.r, d.r), mix(c.g, d.g), mix(c.b, d.b), static_cast<std::uint8_t>(std::lround(oa * 255))};
}

void Canvas::FillRect(int x, int y, int w, int h, Rgba c)
{
    for (int j = std::max(0, y); j < std::min(mHeight, y + h); ++j)
        for (int i = std::max(0, x); i < std::min(mWidth, x + w); ++i)
            Blend(i, j, c);
}

void Canvas::FillRoundRect(float x, float y, float w, float h, float radius, Rgba c)
{
    int x0 = std::max(0, static_cast<int>(std::floor(x))),
        x1 = std::min(mWidth, static_cast<int>(std::ceil(x + w)));
    int y0 = std::max(0, static_cast<int>(std::floor(y))),
        y1 = std::min(mHeight, static_cast<int>(std::ceil(y + h)));
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i)
        {
            float d = RoundRectDistance(i + 0.5f, j + 0.5f, x, y, w, h, radius);
            Blend(i, j, c, 0.5f - d);
        }
}

void Canvas::StrokeRoundRect(float x, float y, float w, float h, float radius, float width, Rgba c)
{
    int x0 = std::max(0, static_cast<int>(std::floor(x - width))),
        x1 = std::min(mWidth, static_cast<int>(std::ceil(x + w + width)));
    int y0 = std::max(0, static_cast<int>(std::floor(y - width))),
        y1 = std::min(mHeight, static_cast<int>(std::ceil(y + h + width)));
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i)
        {
            float d = std::fabs(RoundRectDistance(i + 0.5f, j + 0.5f, x, y, w, h, radius)) - width * 0.5f;
            Blend(i, j, c, 0.5f - d);
        }
}

void Canvas::FillCircle(float cx, float cy, float r, Rgba c)
{
    FillRoundRect(cx - r, cy - r, 2 * r, 2 * r, r, c);
}

void Canvas::StrokeCircle(float cx, float cy, float r, float width, Rgba c)
{
    int x0 = std::max(0, static_cast<int>(cx - r - width - 1)),
        x1 = std::min(mWidth, static_cast<int>(cx + r + width + 2));
    int y0 = std::max(0, static_cast<int>(cy - r - width - 1)),
        y1 = std::min(mHeight, static_cast<int>(cy + r + width + 2));
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i)
        {
            float d = std::fabs(std::hypot(i + 0.5f - cx, j + 0.5f - cy) - r) - width * 0.5f;
            Blend(i, j, c, 0.5f - d);
        }
}

void Canvas::FillPolygon(const std::vector<PointF>& points, Rgba c)
{
    if (points.size() < 3)
        return;
    float minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const PointF& p : points)
    {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    int x0 = std::max(0, static_cast<int>(minX)), x1 = std::min(mWidth, static_cast<int>(maxX) + 1);
    int y0 = std::max(0, static_cast<int>(minY)), y1 = std::min(mHeight, static_cast<int>(maxY) + 1);
    // 4 x 4 samples per pixel give smooth enough edges for flat icons.
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i)
        {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    if (Inside(points, i + (sx + 0.5f) / 4, j + (sy + 0.5f) / 4))
                        ++hits;
            if (hits)
                Blend(i, j, c, hits / 16.0f);
        }
}

void Canvas::GradientRect(int x, int y, int w, int h, Rgba top, Rgba bottom)
{
    for (int j = 0; j < h; ++j)
    {
        float t = h > 1 ? static_cast<float>(j) / (h - 1) : 0;
        auto lerp = [t](std::uint8_t a, std::uint8_t b)
        { return static_cast<std::uint8_t>(std::lround(a + (b - a) * t)); };
        Rgba c{lerp(top.r, bottom.r), lerp(top.g, bottom.g), lerp(top.b, bottom.b), lerp(top.a, bottom.a)};
        FillRect(x, y + j, w, 1, c);
    }
}

void Canvas::Draw(const Canvas& src, int x, int y)
{
    for (int j = 0; j < src.mHeight; ++j)
        for (int i = 0; i < src.mWidth; ++i)
        {
            const Rgba& s = src.At(i, j);
            if (s.a)
                Blend(x + i, y + j, s);
        }
}

void Canvas::FillStar(float cx, float cy, float outer, float inner, int points, Rgba c)
{
    std::vector<PointF> poly;
    for (int k = 0; k < points * 2; ++k)
    {
        float a = -1.5707963f + k * 3.14159265f / points;
        float r = (k % 2) ? inner : outer;
        poly.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    FillPolygon(poly, c);
}

void Canvas::FillEllipse(float cx, float cy, float rx, float ry, float angle, Rgba c)
{
    if (rx <= 0 || ry <= 0)
        return;
    float reach = std::max(rx, ry) + 1;
    int x0 = std::max(0, static_cast<int>(std::floor(cx - reach))),
        x1 = std::min(mWidth, static_cast<int>(std::ceil(cx + reach)));
    int y0 = std::max(0, static_cast<int>(std::floor(cy - reach))),
        y1 = std::min(mHeight, static_cast<int>(std::ceil(cy + reach)));
    float cs = std::cos(angle), sn = std::sin(angle), small = std::min(rx, ry);
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i)
        {
            float dx = i + 0.5f - cx, dy = j + 0.5f - cy;
            float u = (dx * cs + dy * sn) / rx, v = (-dx * sn + dy * cs) / ry;
            // Distance in pixels, approximated through the smaller radius: exact for circles.
            float d = (std::sqrt(u * u + v * v) - 1) * small;
            if (d < 0.5f)
                Blend(i, j, c, 0.5f - d);
        }
}

void Canvas::StrokeLine(float x0, float y0, float x1, float y1, float width, Rgba c)
{
    float r = width * 0.5f;
    int bx0 = std::max(0, static_cast<int>(std::floor(std::min(x0, x1) - r - 1))),
        bx1 = std::min(mWidth, static_cast<int>(std::ceil(std::max(x0, x1) + r + 1)));
    int by0 = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) - r - 1))),
        by1 = std::min(mHeight, static_cast<int>(std::ceil(std::max(y0, y1) + r + 1)));
    float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    for (int j = by0; j < by1; ++j)
        for (int i = bx0; i < bx1; ++i)
        {
            float px = i + 0.5f - x0, py = j + 0.5f - y0;
            float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
            float d = std::hypot(px - t * dx, py - t * dy) - r;
            if (d < 0.5f)
                Blend(i, j, c, 0.5f - d);
        }
}

Canvas Canvas::Half() const
{
    int w = std::max(1, (mWidth + 1) / 2), h = std::max(1, (mHeight + 1) / 2);
    Canvas out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
        {
            int sum[4] = {0, 0, 0, 0}, n = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                {
                    int sx = std::min(mWidth - 1, 2 * i + dx), sy = std::min(mHeight - 1, 2 * j + dy);
                    const Rgba& p = At(sx, sy);
                    sum[0] += p.r;
                    sum[1] += p.g;
                    sum[2] += p.b;
                    sum[3] += p.a;
                    ++n;
                }
            out.At(i, j) = Rgba{static_cast<std::uint8_t>(sum[0] / n), static_cast<std::uint8_t>(sum[1] / n),
                                static_cast<std::uint8_t>(sum[2] / n), static_cast<std::uint8_t>(sum[3] / n)};
        }
    return out;
}

} // namespace demodata
