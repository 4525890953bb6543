#pragma once

#include <string>

namespace file
{
class FileInfo;

// Largest file read whole into memory; a bigger one is treated as damaged rather than allocated.
inline constexpr unsigned kMaxWholeFileSize = 1u << 30;

// Every byte of the found file's stream into text; false when it cannot be opened, is larger than
// kMaxWholeFileSize, or a read falls short (a short read is a failure, never a shorter text).
bool ReadWholeFile(const FileInfo& info, std::string& text);

// The whole file found through the file manager (packs first), up to its first NUL byte; empty on any
// failure.
std::string ReadFileToString(const std::wstring& name);
} // namespace file

namespace base
{
// As file::ReadFileToString, and a leading UTF-8 byte-order mark is dropped (*hadByteOrderMark tells).
// Lives with the file layer because it reads through the file manager's mounts.
std::string ReadTextFile(const std::wstring& path, bool* hadByteOrderMark = nullptr);
} // namespace base
