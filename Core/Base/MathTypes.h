#pragma once

#include <cmath>

namespace math
{

// Tolerance of Point3 equality.
inline constexpr float kPointEpsilon = 0.0002f;

struct Point2
{
    float x = 0.0f;
    float y = 0.0f;

    constexpr Point2() = default;
    constexpr Point2(float px, float py) : x(px), y(py) {}

    constexpr Point2 operator+(const Point2& o) const { return Point2(x + o.x, y + o.y); }
    constexpr Point2 operator-(const Point2& o) const { return Point2(x - o.x, y - o.y); }
    constexpr Point2& operator+=(const Point2& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr Point2& operator-=(const Point2& o)
    {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    constexpr bool operator==(const Point2& o) const { return x == o.x && y == o.y; }
};

// Equal when every component differs by at most kPointEpsilon.
struct Point3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Point3() = default;
    constexpr Point3(float px, float py, float pz) : x(px), y(py), z(pz) {}

    constexpr Point3 operator+(const Point3& o) const { return Point3(x + o.x, y + o.y, z + o.z); }
    constexpr Point3 operator-(const Point3& o) const { return Point3(x - o.x, y - o.y, z - o.z); }
    constexpr Point3& operator+=(const Point3& o)
    {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    bool operator==(const Point3& o) const
    {
        return std::fabs(x - o.x) <= kPointEpsilon && std::fabs(y - o.y) <= kPointEpsilon &&
               std::fabs(z - o.z) <= kPointEpsilon;
    }
    bool operator!=(const Point3& o) const { return !(*this == o); }
};

// Four floats: homogeneous points, shader constants and colours.
struct Point4
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    constexpr Point4() = default;
    constexpr Point4(float px, float py, float pz, float pw) : x(px), y(py), z(pz), w(pw) {}

    // this = a × b per component.
    constexpr void Modulate(const Point4& a, const Point4& b)
    {
        x = a.x * b.x;
        y = a.y * b.y;
        z = a.z * b.z;
        w = a.w * b.w;
    }
    constexpr bool operator==(const Point4& o) const { return x == o.x && y == o.y && z == o.z && w == o.w; }
};

struct Rect
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;

    constexpr Rect() = default;
    constexpr Rect(float px, float py, float w, float h) : x(px), y(py), width(w), height(h) {}
    constexpr bool operator==(const Rect& o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

struct RectI
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr RectI() = default;
    constexpr RectI(int px, int py, int w, int h) : x(px), y(py), width(w), height(h) {}
    constexpr bool operator==(const RectI& o) const = default;

    // Grows this to the smallest rectangle holding both.
    constexpr void Union(const RectI& o)
    {
        const long long right = x + static_cast<long long>(width) > o.x + static_cast<long long>(o.width)
                                    ? x + static_cast<long long>(width)
                                    : o.x + static_cast<long long>(o.width);
        const long long bottom = y + static_cast<long long>(height) > o.y + static_cast<long long>(o.height)
                                     ? y + static_cast<long long>(height)
                                     : o.y + static_cast<long long>(o.height);
        x = x < o.x ? x : o.x;
        y = y < o.y ? y : o.y;
        width = static_cast<int>(right - x);
        height = static_cast<int>(bottom - y);
    }
};

} // namespace math
