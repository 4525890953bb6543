#pragma once
// A small RGBA picture with the few drawing operations the demo art needs.
#include <cstdint>
#include <vector>

namespace demodata
{

struct Rgba
{
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

constexpr Rgba RgbaOf(std::uint32_t rgb, std::uint8_t a = 255)
{
    return Rgba{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>((rgb >> 8) & 0xFF),
                static_cast<std::uint8_t>(rgb & 0xFF), a};
}

struct PointF
{
    float x, y;
};

class Canvas
{
public:
    Canvas() = default;
    Canvas(int width, int height, Rgba fill = Rgba{0, 0, 0, 0});

    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    Rgba& At(int x, int y) { return mPixels[static_cast<std::size_t>(y) * mWidth + x]; }
    const Rgba& At(int x, int y) const { return mPixels[static_cast<std::size_t>(y) * mWidth + x]; }
    const std::vector<Rgba>& Pixels() const { return mPixels; }

    // Blends a colour over one pixel with an extra coverage factor (0..1); outside pixels are ignored.
    void Blend(int x, int y, Rgba c, float coverage = 1.0f);

    void FillRect(int x, int y, int w, int h, Rgba c);
    void FillRoundRect(float x, float y, float w, float h, float radius, Rgba c);
    void StrokeRoundRect(float x, float y, float w, float h, float radius, float width, Rgba c);
    void FillCircle(float cx, float cy, float r, Rgba c);
    void StrokeCircle(float cx, float cy, float r, float width, Rgba c);
    void FillPolygon(const std::vector<PointF>& points, Rgba c);
    void GradientRect(int x, int y, int w, int h, Rgba top, Rgba bottom);
    void Draw(const Canvas& src, int x, int y);
    // A regular star with n points; handy for icons that must read at small sizes.
    void FillStar(float cx, float cy, float outer, float inner, int points, Rgba c);
    // An ellipse turned by `angle` radians about its centre, with a soft one-pixel edge.
    void FillEllipse(float cx, float cy, float rx, float ry, float angle, Rgba c);
    // A line with round ends (a capsule) of the given full width.
    void StrokeLine(float x0, float y0, float x1, float y1, float width, Rgba c);

    // Box-filtered half size (odd sizes round up), used for mip levels.
    Canvas Half() const;

private:
    int mWidth = 0, mHeight = 0;
    std::vector<Rgba> mPixels;
};

} // namespace demodata
