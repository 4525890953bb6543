#include "Core/File/Archiver.h"

#include "Core/Base/FileStream.h"
#include "Core/Base/FrameStream.h"
#include "Core/Base/Log.h"
#include "Core/Base/StreamCreator.h"

#include <algorithm>
#include <set>

namespace file
{
namespace
{
void LogPackProblem(const std::wstring& packPath, const std::wstring& why)
{
    base::LogMessage(*base::MainLog::Instance(), L"Pack '%s' is damaged (%s); nothing is read from it.\n") %
        packPath % why;
}
} // namespace

Archiver::Archiver(const std::wstring& prefix, const std::wstring& packPath, Container* parent)
    : mParent(parent), mPrefix(prefix), mPackPath(packPath)
{
    mPacked = 1;
    base::FileStream stream;
    if (stream.Open(packPath, 0, 2) != VN_OK)
    {
        LogPackProblem(packPath, L"it cannot be opened");
        return;
    }
    std::wstring why;
    if (mIndex.Read(&stream, &why) != VN_OK)
        LogPackProblem(packPath, why);
}

base::Stream* Archiver::OpenStream(const std::wstring& path)
{
    auto it = mIndex.find(path);
    if (it == mIndex.end())
        return nullptr;
    // Every entry gets its own handle on the pack, so entries can be read side by side.
    auto* file = new base::FileStream();
    file->Open(mPackPath, 0, 2);
    return new base::FrameStream(file, true, it->second.offset, it->second.size);
}

base::StreamCreator* Archiver::OpenStreamCreator(const std::wstring& path)
{
    auto it = mIndex.find(path);
    if (it == mIndex.end())
        return nullptr;
    return new base::FrameStreamCreator(new base::FileStreamCreator(mPackPath, 0, 2), true, it->second.offset,
                                        it->second.size);
}

std::wstring Archiver::GetPath()
{
    return (mParent ? mParent->GetPath() : std::wstring()) + mPrefix;
}

bool Archiver::DoExists(const std::wstring& path, const wchar_t* const* extensions, unsigned count,
                        unsigned* foundIndex)
{
    if (!extensions || count == 0)
        return mIndex.count(path) != 0;
    for (unsigned i = 0; i < count; ++i)
    {
        if (mIndex.count(path + extensions[i]))
        {
            if (foundIndex)
                *foundIndex = i;
            return true;
        }
    }
    return false;
}

bool Archiver::DoIsDirectory(const std::wstring& path)
{
    const std::wstring dir = path + L"/";
    // Names that start with dir sort right after it: the first name not below dir decides.
    auto it = mIndex.lower_bound(dir);
    return it != mIndex.end() && it->first.compare(0, dir.size(), dir) == 0;
}

VNResultEnum Archiver::DoListFiles(const std::wstring& outPrefix, const std::wstring& base,
                                   const std::wstring& sub, bool recursive, std::vector<std::wstring>* out,
                                   bool relative)
{
    const std::wstring d = base + sub;
    for (auto it = mIndex.lower_bound(d); it != mIndex.end() && it->first.compare(0, d.size(), d) == 0; ++it)
    {
        std::wstring rest = it->first.substr(d.size());
        if (rest.empty() || (!recursive && rest.find(L'/') != std::wstring::npos))
            continue;
        out->push_back(relative ? rest : outPrefix + rest);
    }
    return VN_OK;
}

VNResultEnum Archiver::DoListDirs(const std::wstring& outPrefix, const std::wstring& base,
                                  const std::wstring& sub, std::vector<std::wstring>* out, bool relative)
{
    const std::wstring d = base + sub;
    // Names of one folder need not be adjacent ("a/x", "a.b", "a/y"), so remember every segment given out.
    std::set<std::wstring> seen;
    for (auto it = mIndex.lower_bound(d); it != mIndex.end() && it->first.compare(0, d.size(), d) == 0; ++it)
    {
        const std::size_t slash = it->first.find(L'/', d.size());
        if (slash == std::wstring::npos)
            continue;
        std::wstring segment = it->first.substr(d.size(), slash - d.size());
        if (seen.insert(segment).second)
            out->push_back(relative ? segment : outPrefix + segment);
    }
    return VN_OK;
}
} // namespace file
