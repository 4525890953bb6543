#include "Core/File/FileContainer.h"

#include "Core/Base/Paths.h"
#include "Core/File/Archiver.h"
#include "Core/File/Extensions.h"
#include "Core/File/FileManager.h"

namespace file
{
namespace
{
ImageContainerMaker gImageContainerMaker = nullptr;
}

void SetImageContainerMaker(ImageContainerMaker maker)
{
    gImageContainerMaker = maker;
}

base::Stream* FileInfo::OpenStream() const
{
    return container ? container->OpenStream(path) : nullptr;
}

FileContainer::~FileContainer()
{
    for (auto& [path, archive] : mArchives)
        delete archive;
}

Archiver* FileContainer::FindMount(const std::wstring& path, std::wstring& rest)
{
    if (path.empty())
        return nullptr;
    FileManager* manager = FileManager::Instance();
    for (const auto& [prefix, packPath] : manager->mMounts)
    {
        if (prefix.empty() || path.compare(0, prefix.size(), prefix) != 0)
            continue;
        if (!DoExists(packPath, nullptr, 0, nullptr))
            continue;
        auto it = mArchives.find(packPath);
        if (it == mArchives.end())
            it = mArchives.emplace(packPath, new Archiver(prefix, packPath, this)).first;
        rest = path.substr(prefix.size());
        return it->second;
    }
    return nullptr;
}

FileInfo* FileContainer::FindFile(const std::wstring& name, const wchar_t* const* extensions, unsigned count,
                                  unsigned* foundIndex)
{
    std::wstring rest;
    if (Archiver* archive = FindMount(name, rest))
        return archive->FindFile(rest, extensions, count, foundIndex);
    unsigned index = 0;
    if (!DoExists(name, extensions, count, &index))
        return nullptr;
    if (foundIndex)
        *foundIndex = index;
    std::wstring path = name;
    if (extensions && count > 0)
        path += extensions[index];
    return new FileInfo(base::GetFileName(name), std::move(path), this, mPacked);
}

VNResultEnum FileContainer::ListFiles(const std::wstring& dir, bool recursive, std::vector<std::wstring>* out,
                                      bool relative)
{
    if (!out)
        return VN_OK;
    const std::wstring d = base::NormalizeDirPath(dir);
    std::wstring rest;
    if (Archiver* archive = FindMount(d, rest))
        archive->DoListFiles(d, rest, L"", recursive, out, relative);
    else
        DoListFiles(d, d, L"", recursive, out, relative);
    return VN_OK;
}

VNResultEnum FileContainer::ListDirs(const std::wstring& dir, std::vector<std::wstring>* out, bool relative)
{
    if (!out)
        return VN_OK;
    const std::wstring d = base::NormalizeDirPath(dir);
    std::wstring rest;
    if (Archiver* archive = FindMount(d, rest))
        archive->DoListDirs(d, rest, L"", out, relative);
    else
        DoListDirs(d, d, L"", out, relative);
    return VN_OK;
}

bool FileContainer::Exists(const std::wstring& path, const wchar_t* const* extensions, unsigned count,
                           unsigned* foundIndex)
{
    std::wstring rest;
    if (Archiver* archive = FindMount(path, rest))
        return archive->Exists(rest, extensions, count, foundIndex);
    return DoExists(path, extensions, count, foundIndex);
}

bool FileContainer::IsDirectory(const std::wstring& path)
{
    std::wstring rest;
    if (Archiver* archive = FindMount(path, rest))
        return archive->IsDirectory(rest);
    return DoIsDirectory(path);
}

ImageContainer* FileContainer::OpenImageContainer(const std::wstring& name)
{
    std::wstring rest;
    if (Archiver* archive = FindMount(name, rest))
        return archive->OpenImageContainer(rest);
    // Without the image layer linked in there is no container type to make.
    if (!gImageContainerMaker)
        return nullptr;
    // A folder wins over a document of the same name, and name.psd over a file called plainly by the name.
    if (DoIsDirectory(name))
        return gImageContainerMaker(0, name, this);
    unsigned index = 0;
    if (DoExists(name, kImageContainerExtensions, kImageContainerExtensionCount, &index))
        return gImageContainerMaker(1, name + kImageContainerExtensions[index], this);
    return nullptr;
}
} // namespace file
