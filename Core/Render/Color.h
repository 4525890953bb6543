#pragma once

#include <cstdint>

namespace render
{

// RGBA colour of four floats, nominally 0..1.
struct Color
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    constexpr Color() = default;
    constexpr Color(float cr, float cg, float cb, float ca) : r(cr), g(cg), b(cb), a(ca) {}
    // From 0xAARRGGBB, each channel divided by 255.
    explicit constexpr Color(uint32_t argb)
        : r(static_cast<float>((argb >> 16) & 0xFFu) / 255.0f),
          g(static_cast<float>((argb >> 8) & 0xFFu) / 255.0f), b(static_cast<float>(argb & 0xFFu) / 255.0f),
          a(static_cast<float>(argb >> 24) / 255.0f)
    {
    }

    // this = a × b per component.
    constexpr void Modulate(const Color& x, const Color& y)
    {
        r = x.r * y.r;
        g = x.g * y.g;
        b = x.b * y.b;
        a = x.a * y.a;
    }

    // One channel as a byte: × 255 truncated. Out-of-range values (and NaN) are clamped to 0..1 first, so a
    // brightened colour saturates instead of wrapping to a dark one.
    static constexpr uint32_t ToByte(float v)
    {
        if (!(v > 0.0f))
            return 0;
        if (v >= 1.0f)
            return 255;
        return static_cast<uint32_t>(v * 255.0f);
    }

    // Packs to 0xAARRGGBB.
    constexpr uint32_t ToARGB() const
    {
        return ToByte(a) << 24 | ToByte(r) << 16 | ToByte(g) << 8 | ToByte(b);
    }

    constexpr bool operator==(const Color& o) const = default;
};

} // namespace render
