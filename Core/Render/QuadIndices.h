#pragma once

#include <cstdint>

namespace render
{

// The two triangles of a quad whose corners were written in order (top-left, top-right, bottom-right,
// bottom-left) from vertex base: 0-1-2 and 0-2-3.
inline void WriteQuadIndices(uint16_t* idx, uint16_t base)
{
    idx[0] = base;
    idx[1] = static_cast<uint16_t>(base + 1);
    idx[2] = static_cast<uint16_t>(base + 2);
    idx[3] = base;
    idx[4] = static_cast<uint16_t>(base + 2);
    idx[5] = static_cast<uint16_t>(base + 3);
}

} // namespace render
