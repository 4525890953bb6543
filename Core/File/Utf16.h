#pragma once

#include <string>

namespace file
{
// Orders names as sequences of UTF-16 code units (a prefix first), the order of a pack's index. std::wstring
// holds UTF-32 code points on Linux, where plain comparison would put U+10000 and above after U+E000..U+FFFF.
struct Utf16Less
{
    bool operator()(const std::wstring& a, const std::wstring& b) const noexcept;
};
} // namespace file
