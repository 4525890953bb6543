#pragma once

#include <string>

namespace file
{
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
