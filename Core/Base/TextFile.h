#pragma once

#include <string>

namespace base
{

// Reads a loose file by its path, without the file manager's mounts. A leading UTF-8 byte-order mark is
// dropped (and reported through hadByteOrderMark when given); the text ends at its first NUL byte.
// A missing, unreadable, oversized or short-read file gives an empty string.
std::string ReadPlainTextFile(const std::wstring& path, bool* hadByteOrderMark = nullptr);

// Largest file ReadPlainTextFile accepts; bigger sizes are treated as damaged.
inline constexpr unsigned long long kMaxTextFileSize = 1ull << 30;

} // namespace base
