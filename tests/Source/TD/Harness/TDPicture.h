#pragma once

// A frame of the game read back on GL, for the screenshot tests: its pixels by logical point, how much of it
// changed against another frame, and the PNG files it is kept in or compared with.

#include "Core/Base/MathTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tdtest
{
class GameHarness;

struct Picture
{
    std::vector<uint32_t> pixels; // rows from the top, 0xAARRGGBB
    int width = 0;
    int height = 0;
    math::Rect visible; // the logical rectangle the picture shows

    // The pixel of a logical point; 0 outside the picture.
    uint32_t at(float x, float y) const;
    // How many points of a grid (every 2 logical units) around a point differ from another picture; the area
    // reaches half its width and half its height either side of the point.
    int changedAround(const Picture& other, float x, float y, float halfWidth, float halfHeight) const;
    int changedAround(const Picture& other, float x, float y, float half) const
    {
        return changedAround(other, x, y, half, half);
    }

    // As a PNG file; false when it could not be written.
    bool save(const std::string& path) const;
    // From a PNG file (visible is left as it is); false when it could not be read.
    bool load(const std::string& path);
};

// The current frame of a game on GL (empty with no display) and the logical rectangle it shows.
Picture takePicture(const GameHarness& harness);

// The share of pixels whose colour differs by more than 48 in some channel; 1 for pictures of other sizes.
double differingShare(const Picture& a, const Picture& b);

inline int red(uint32_t c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}
inline int green(uint32_t c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
inline int blue(uint32_t c)
{
    return static_cast<int>(c & 0xFF);
}
inline int brightness(uint32_t c)
{
    return red(c) + green(c) + blue(c);
}

} // namespace tdtest
