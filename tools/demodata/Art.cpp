#include "tools/demodata/Art.h"

#include "tools/demodata/Palette.h"

namespace demodata
{

void OpenFace(Typeface& face, const char* file, int pixels)
{
    if (face.Open(file))
        face.SetPixelSize(pixels);
}

Canvas ButtonArt(int width, int height, Rgba fill, const std::string& label, Typeface& face)
{
    Canvas c(width, height);
    c.FillRoundRect(2, 4, width - 4.0f, height - 4.0f, height * 0.3f, palette::kShadow);
    c.FillRoundRect(1, 1, width - 4.0f, height - 5.0f, height * 0.3f, fill);
    c.StrokeRoundRect(2, 2, width - 6.0f, height - 7.0f, height * 0.3f, 2, palette::kText);
    face.DrawText(c, label, width / 2, height / 2 + face.Ascender() / 2 - 3, palette::kText, 1, 1,
                  Rgba{0, 0, 0, 160});
    return c;
}

Canvas IconMoney(int size)
{
    Canvas c(size, size);
    float r = size * 0.45f;
    c.FillCircle(size * 0.5f, size * 0.5f, r, RgbaOf(0xB8860B));
    c.FillCircle(size * 0.5f, size * 0.5f, r * 0.8f, palette::kMoney);
    c.FillRect(static_cast<int>(size * 0.44f), static_cast<int>(size * 0.25f),
               static_cast<int>(size * 0.12f) + 1, static_cast<int>(size * 0.5f), RgbaOf(0xB8860B));
    return c;
}

Canvas IconGem(int size)
{
    Canvas c(size, size);
    float s = static_cast<float>(size);
    c.FillPolygon({{s * 0.2f, s * 0.35f},
                   {s * 0.35f, s * 0.15f},
                   {s * 0.65f, s * 0.15f},
                   {s * 0.8f, s * 0.35f},
                   {s * 0.5f, s * 0.88f}},
                  palette::kGem);
    c.FillPolygon({{s * 0.35f, s * 0.15f}, {s * 0.65f, s * 0.15f}, {s * 0.5f, s * 0.35f}}, RgbaOf(0xC8A2F0));
    return c;
}

Canvas IconLife(int size)
{
    Canvas c(size, size);
    float s = static_cast<float>(size);
    c.FillCircle(s * 0.33f, s * 0.38f, s * 0.2f, palette::kLife);
    c.FillCircle(s * 0.67f, s * 0.38f, s * 0.2f, palette::kLife);
    c.FillPolygon({{s * 0.14f, s * 0.45f}, {s * 0.86f, s * 0.45f}, {s * 0.5f, s * 0.88f}}, palette::kLife);
    return c;
}

Canvas IconStar(int size)
{
    Canvas c(size, size);
    c.FillStar(size * 0.5f, size * 0.53f, size * 0.47f, size * 0.2f, 5, palette::kStar);
    return c;
}

void DrawTower(Canvas& c, float cx, float baseY, float width, float height, Rgba color)
{
    float w = width, h = height;
    c.FillRect(static_cast<int>(cx - w * 0.6f), static_cast<int>(baseY - h * 0.08f),
               static_cast<int>(w * 1.2f), static_cast<int>(h * 0.08f), RgbaOf(0x1D3557));
    c.FillPolygon({{cx - w * 0.5f, baseY - h * 0.08f},
                   {cx + w * 0.5f, baseY - h * 0.08f},
                   {cx + w * 0.38f, baseY - h * 0.85f},
                   {cx - w * 0.38f, baseY - h * 0.85f}},
                  color);
    for (int k = 0; k < 3; ++k)
    {
        float bx = cx - w * 0.45f + k * w * 0.35f;
        c.FillRect(static_cast<int>(bx), static_cast<int>(baseY - h), static_cast<int>(w * 0.2f),
                   static_cast<int>(h * 0.16f), color);
    }
    c.FillRoundRect(cx - w * 0.1f, baseY - h * 0.6f, w * 0.2f, h * 0.22f, w * 0.1f, RgbaOf(0xFFE8A3));
}

} // namespace demodata
