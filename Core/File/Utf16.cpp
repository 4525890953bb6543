#include "Core/File/Utf16.h"

#include <algorithm>

namespace file
{
namespace
{
// The first UTF-16 unit of a code point: its own value, or the lead surrogate of a supplementary one.
constexpr std::uint32_t FirstUnit(std::uint32_t c)
{
    return c < 0x10000 ? c : 0xD800 + ((c - 0x10000) >> 10);
}
} // namespace

bool Utf16Less::operator()(const std::wstring& a, const std::wstring& b) const noexcept
{
    auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (ia == a.end() || ib == b.end())
        return ia == a.end() && ib != b.end();
    auto ca = static_cast<std::uint32_t>(*ia);
    auto cb = static_cast<std::uint32_t>(*ib);
    std::uint32_t ua = FirstUnit(ca), ub = FirstUnit(cb);
    if (ua != ub)
        return ua < ub;
    // Same lead surrogate: the trail units order like the code points themselves.
    return ca < cb;
}
} // namespace file
