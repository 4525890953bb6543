#include "Core/File/Linux/UserDataFileContainerLinux.h"

#include "Core/Base/Paths.h"
#include "Core/File/FileManager.h"
#include "Core/File/UserDataFileContainer.h"

namespace file
{
std::vector<base::SingletoneBase*> UserDataFileContainer::GetDependencies()
{
    return {FileManager::Instance()};
}

base::Stream* UserDataFileContainerLinux::OpenStream(const std::wstring& path)
{
    return FileManager::Instance()->OpenStream(mRoot + path);
}

base::StreamCreator* UserDataFileContainerLinux::OpenStreamCreator(const std::wstring& path)
{
    return FileManager::Instance()->OpenStreamCreator(mRoot + path);
}

VNResultEnum UserDataFileContainerLinux::SetPath(const std::wstring& root)
{
    mRoot = base::NormalizeDirPath(root);
    if (!mRoot.empty())
        static_cast<void>(base::CreateDirectories(mRoot));
    return VN_OK;
}

VNResultEnum UserDataFileContainerLinux::DoListFiles(const std::wstring& outPrefix, const std::wstring&,
                                                     const std::wstring&, bool recursive,
                                                     std::vector<std::wstring>* out, bool relative)
{
    return FileManager::Instance()->ListFiles(mRoot + outPrefix, recursive, out, relative);
}

VNResultEnum UserDataFileContainerLinux::DoListDirs(const std::wstring& outPrefix, const std::wstring&,
                                                    const std::wstring&, std::vector<std::wstring>* out,
                                                    bool relative)
{
    return FileManager::Instance()->ListDirs(mRoot + outPrefix, out, relative);
}

bool UserDataFileContainerLinux::DoExists(const std::wstring& path, const wchar_t* const* extensions,
                                          unsigned count, unsigned* foundIndex)
{
    return FileManager::Instance()->Exists(mRoot + path, extensions, count, foundIndex);
}

bool UserDataFileContainerLinux::DoIsDirectory(const std::wstring& path)
{
    return FileManager::Instance()->IsDirectory(mRoot + path);
}
} // namespace file
