#pragma once

#include <string>

namespace base
{

// Selects the 8-bit side of ToWide / ToNarrow. Wide strings hold one code point per wchar_t on Linux.
enum TextEncoding : int
{
    // One byte per code unit: a byte widens as a signed value (0x80-0xFF give U+FF80-U+FFFF), and narrowing
    // keeps the low 8 bits, so every byte string survives a round trip.
    kEncodingBytes = 0,
    // UTF-8; malformed input becomes U+FFFD instead of failing.
    kEncodingUtf8 = 1,
    // The "ANSI" code page, fixed to Windows-1252 on this platform.
    kEncodingAnsi = 2,
    // The "OEM" code page, fixed to code page 437 on this platform.
    kEncodingOem = 3,
};

// Converts 8-bit text to wide text; an encoding outside 0-3 gives an empty string. Never throws.
std::wstring ToWide(const std::string& text, int encoding);

// Converts wide text to 8-bit text; an encoding outside 0-3 gives an empty string. Never throws.
std::string ToNarrow(const std::wstring& text, int encoding);

// Explicit UTF-16 for formats and orderings that are defined on UTF-16 code units (pack names, sort order).
// Code points above U+FFFF become surrogate pairs; invalid code points become U+FFFD.
std::u16string ToUtf16(const std::wstring& text);
// Surrogate pairs are joined; an unpaired surrogate becomes U+FFFD.
std::wstring FromUtf16(const std::u16string& text);

} // namespace base
