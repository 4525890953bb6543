#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace animation
{

// Little-endian writes for the files our own tools and tests make (animation data, mesh libraries).
inline void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline void PutF32(std::string& out, float f)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &f, 4);
    PutU32(out, bits);
}

// A length-prefixed string, as the readers take it.
inline void PutString(std::string& out, const std::string& s)
{
    PutU32(out, static_cast<uint32_t>(s.size()));
    out += s;
}

} // namespace animation
