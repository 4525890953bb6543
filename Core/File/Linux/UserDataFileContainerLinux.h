#pragma once

#include "Core/File/FileContainer.h"

namespace file
{
// A container rooted at an absolute folder (the per-user data folder). Its searches and listings go through
// the file manager with the root put in front.
class UserDataFileContainerLinux : public FileContainer
{
public:
    base::Stream* OpenStream(const std::wstring& path) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring& path) override;
    std::wstring GetPath() override { return mRoot; }

    // Stores the root (one trailing '/') and creates the folder with its parents; 0 whatever the creation
    // gave: later writes into it fail on their own.
    VNResultEnum SetPath(const std::wstring& root);

protected:
    VNResultEnum DoListFiles(const std::wstring& outPrefix, const std::wstring& base, const std::wstring& sub,
                             bool recursive, std::vector<std::wstring>* out, bool relative) override;
    VNResultEnum DoListDirs(const std::wstring& outPrefix, const std::wstring& base, const std::wstring& sub,
                            std::vector<std::wstring>* out, bool relative) override;
    bool DoExists(const std::wstring& path, const wchar_t* const* extensions, unsigned count,
                  unsigned* foundIndex) override;
    bool DoIsDirectory(const std::wstring& path) override;

    std::wstring mRoot;
};
} // namespace file
