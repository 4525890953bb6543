#include "Core/File/ReadFile.h"

#include "Core/Base/Stream.h"
#include "Core/File/FileManager.h"

#include <cstring>
#include <memory>
#include <new>

namespace
{
// Reads the file found under name into text; false when it is missing or cannot be read whole.
bool ReadFound(const std::wstring& name, std::string& text)
{
    std::unique_ptr<file::FileInfo> info(file::FileManager::Instance()->FindFile(name));
    return info && file::ReadWholeFile(*info, text);
}

std::string UpToNul(std::string text)
{
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}
} // namespace

namespace file
{
bool ReadWholeFile(const FileInfo& info, std::string& text)
{
    std::unique_ptr<base::Stream> stream(info.OpenStream());
    if (!stream)
        return false;
    const unsigned n = stream->Size();
    if (n > kMaxWholeFileSize)
        return false;
    std::string buffer;
    try
    {
        buffer.resize(n);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    if (n > 0 && stream->Read(buffer.data(), n) != n)
        return false;
    text = std::move(buffer);
    return true;
}

std::string ReadFileToString(const std::wstring& name)
{
    std::string text;
    if (!ReadFound(name, text))
        return std::string();
    return UpToNul(std::move(text));
}
} // namespace file

namespace base
{
std::string ReadTextFile(const std::wstring& path, bool* hadByteOrderMark)
{
    if (hadByteOrderMark)
        *hadByteOrderMark = false;
    std::string text;
    if (!ReadFound(path, text))
        return std::string();
    if (text.size() >= 3 && std::memcmp(text.data(), "\xEF\xBB\xBF", 3) == 0)
    {
        if (hadByteOrderMark)
            *hadByteOrderMark = true;
        text.erase(0, 3);
    }
    return UpToNul(std::move(text));
}
} // namespace base
