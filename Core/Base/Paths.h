#pragma once

#include "Core/Base/Result.h"

#include <string>

namespace base
{

// Both '/' and '\' separate path parts; only ToForwardSlashes and NormalizeDirPath rewrite separators.

// Copy with every '\' turned into '/'.
std::wstring ToForwardSlashes(const std::wstring& path);
// Forward slashes, exactly one trailing '/'; empty for an empty path or one made only of separators.
std::wstring NormalizeDirPath(const std::wstring& path);
// Copy without the trailing run of separators.
std::wstring StripTrailingSeparators(const std::wstring& path);
// Text up to and including the last separator; empty when there is none.
std::wstring GetDirectory(const std::wstring& path);
// As GetDirectory but starting after a drive prefix ("C:/a/b" gives "/a/"); empty when the drive is not
// followed by a separator.
std::wstring GetDirectoryWithoutDrive(const std::wstring& path);
// Text after the last separator; the whole path when there is none.
std::wstring GetFileName(const std::wstring& path);
// Text from the last '.' of the file name on, the '.' included; empty when the name has none.
std::wstring GetExtension(const std::wstring& path);
// The file name without its extension; a name whose only '.' is its first character stays whole.
std::wstring GetBaseName(const std::wstring& path);
// Creates the folder and every missing parent; VN_OK when it exists afterwards.
VNResultEnum CreateDirectories(const std::wstring& path);

// The path as the operating system takes it (UTF-8 bytes).
std::string ToNativePath(const std::wstring& path);

} // namespace base
