#include "Core/Base/Paths.h"

#include "Core/Base/TextEncoding.h"

#include <filesystem>
#include <system_error>

namespace base
{

namespace
{

bool IsSeparator(wchar_t c)
{
    return c == L'/' || c == L'\\';
}

// Index of the last separator, or npos.
std::size_t LastSeparator(const std::wstring& path)
{
    return path.find_last_of(L"/\\");
}

bool IsDirectory(const std::wstring& path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(ToNativePath(path)), error);
}

bool CreateOneDirectory(const std::wstring& path)
{
    std::error_code error;
    std::filesystem::create_directory(std::filesystem::path(ToNativePath(path)), error);
    return !error;
}

} // namespace

std::wstring ToForwardSlashes(const std::wstring& path)
{
    std::wstring result = path;
    for (wchar_t& c : result)
    {
        if (c == L'\\')
            c = L'/';
    }
    return result;
}

std::wstring NormalizeDirPath(const std::wstring& path)
{
    std::wstring result = StripTrailingSeparators(ToForwardSlashes(path));
    if (result.empty())
        return result;
    result.push_back(L'/');
    return result;
}

std::wstring StripTrailingSeparators(const std::wstring& path)
{
    std::size_t end = path.size();
    while (end > 0 && IsSeparator(path[end - 1]))
        --end;
    return path.substr(0, end);
}

std::wstring GetDirectory(const std::wstring& path)
{
    const std::size_t last = LastSeparator(path);
    if (last == std::wstring::npos)
        return std::wstring();
    return path.substr(0, last + 1);
}

std::wstring GetDirectoryWithoutDrive(const std::wstring& path)
{
    std::size_t start = 0;
    const std::size_t colon = path.find(L':');
    if (colon != std::wstring::npos)
    {
        start = colon + 1;
        if (start >= path.size() || !IsSeparator(path[start]))
            return std::wstring();
    }
    const std::size_t last = LastSeparator(path);
    if (last == std::wstring::npos || last < start)
        return std::wstring();
    return path.substr(start, last + 1 - start);
}

std::wstring GetFileName(const std::wstring& path)
{
    const std::size_t last = LastSeparator(path);
    if (last == std::wstring::npos)
        return path;
    return path.substr(last + 1);
}

std::wstring GetExtension(const std::wstring& path)
{
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos)
        return std::wstring();
    const std::size_t last = LastSeparator(path);
    if (last != std::wstring::npos && dot < last)
        return std::wstring();
    return path.substr(dot);
}

std::wstring GetBaseName(const std::wstring& path)
{
    const std::wstring name = GetFileName(path);
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || dot == 0)
        return name;
    return name.substr(0, dot);
}

VNResultEnum CreateDirectories(const std::wstring& path)
{
    const std::wstring dir = StripTrailingSeparators(NormalizeDirPath(path));
    if (dir.empty())
        return VN_FAIL;
    if (IsDirectory(dir))
        return VN_OK;
    const std::wstring parent = StripTrailingSeparators(GetDirectory(dir));
    if (!parent.empty())
    {
        const VNResultEnum result = CreateDirectories(parent);
        if (result != VN_OK)
            return result;
    }
    return CreateOneDirectory(dir) ? VN_OK : VN_FAIL;
}

std::string ToNativePath(const std::wstring& path)
{
    return ToNarrow(ToForwardSlashes(path), kEncodingUtf8);
}

} // namespace base
