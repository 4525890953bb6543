#pragma once

#include "Core/Base/Result.h"
#include "Core/File/Utf16.h"

#include <cstdint>
#include <map>
#include <string>

namespace base
{
class Stream;
}

namespace file
{
// The four fields that follow a name in a pack's index.
struct PackEntry
{
    std::uint32_t size = 0;
    std::uint32_t offset = 0; // from the start of the pack file
    std::uint8_t flag = 0;
    std::uint32_t reserved = 0;

    VNResultEnum Read(base::Stream* stream);
    VNResultEnum Write(base::Stream* stream) const;
};

// A pack's index: names (relative to the mount prefix, '/' between folders) in UTF-16 code-unit order.
// Layout, little-endian: u32 6, "vnpack", u32 count, then per entry u32 n, n UTF-16LE units, u32 size, u32
// offset, u8 flag, u32 reserved; the files' bytes follow the index back to back.
class PackIndex : public std::map<std::wstring, PackEntry, Utf16Less>
{
public:
    // Reads and validates an index from the stream's current position. Counts, name lengths and every entry's
    // [offset, offset + size) are checked against the stream's size, so a damaged pack fails here instead of
    // leading to reads past its end. On failure the index is left empty and *why (when given) says what was
    // wrong.
    VNResultEnum Read(base::Stream* stream, std::wstring* why = nullptr);
    VNResultEnum Write(base::Stream* stream) const;
    // Where the first file's bytes start: 14 + sum(2n + 4) + 13 per entry (64-bit: a huge index must not
    // wrap).
    std::uint64_t GetHeaderSize() const;
};

// A u32 count of UTF-16 units, then the units. Reading checks the length against what is left in the stream.
VNResultEnum ReadWideString(base::Stream* stream, std::wstring& text);
VNResultEnum WriteWideString(base::Stream* stream, const std::wstring& text);

inline constexpr char kPackMagic[] = "vnpack";
} // namespace file
