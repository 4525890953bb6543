#pragma once

// Writes lane tables in the route cache format, for tests, fuzz seeds and benchmarks: the game itself only
// reads such files.
#include "Source/TD/Routes/TDLink.h"
#include "Source/TD/Routes/TDPathTable.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace routestest
{
inline void putU32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline void putF32(std::string& out, float v)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    putU32(out, bits);
}

// Every record of the table, its link given by its index in links.
inline std::string writePathCache(const TDPathTable& table, const std::vector<std::unique_ptr<TDLink>>& links)
{
    std::string out;
    putU32(out, static_cast<std::uint32_t>(table.getRecords().size()));
    for (const auto& record : table.getRecords())
    {
        std::uint32_t index = 0;
        while (index < links.size() && links[index].get() != record->link)
            ++index;
        putU32(out, index);
        putU32(out, static_cast<std::uint32_t>(record->cachedValues.size()));
        for (const auto& [key, value] : record->cachedValues)
        {
            putU32(out, static_cast<std::uint32_t>(key));
            putF32(out, value);
        }
        putU32(out, static_cast<std::uint32_t>(record->lanes.size()));
        for (const auto& [key, samples] : record->lanes)
        {
            putU32(out, static_cast<std::uint32_t>(key));
            putU32(out, static_cast<std::uint32_t>(samples.size()));
            for (const TDLaneSample& s : samples)
            {
                putU32(out, s.reserved);
                putF32(out, s.nx);
                putF32(out, s.ny);
                putF32(out, s.x);
                putF32(out, s.y);
            }
        }
    }
    return out;
}
} // namespace routestest
