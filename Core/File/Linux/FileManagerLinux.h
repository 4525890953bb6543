#pragma once

#include "Core/File/FileContainer.h"

namespace file
{
// Loose files below the data root. Paths are used as given, so relative paths are relative to the current
// directory, which SetRootPath makes the data root. '\' counts as '/'.
class FileManagerLinux : public FileContainer
{
public:
    base::Stream* OpenStream(const std::wstring& path) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring& path) override;

    // Makes folder the process's current directory; 1 on failure.
    VNResultEnum SetRootPath(const std::wstring& folder);
    // Deletes a file; 1 on failure.
    VNResultEnum RemoveFile(const std::wstring& path);
    // Appends every loose file below dir, recursively, relative to it, ignoring mounts (the pack builder
    // reads the loose folder even while a pack is mounted on it). 1 when dir or a folder below it cannot be
    // read, so that a pack is never built from part of its folder.
    VNResultEnum ListLooseFiles(const std::wstring& dir, std::vector<std::wstring>* out);

protected:
    VNResultEnum DoListFiles(const std::wstring& outPrefix, const std::wstring& base, const std::wstring& sub,
                             bool recursive, std::vector<std::wstring>* out, bool relative) override;
    VNResultEnum DoListDirs(const std::wstring& outPrefix, const std::wstring& base, const std::wstring& sub,
                            std::vector<std::wstring>* out, bool relative) override;
    bool DoExists(const std::wstring& path, const wchar_t* const* extensions, unsigned count,
                  unsigned* foundIndex) override;
    bool DoIsDirectory(const std::wstring& path) override;
};

// Creates one folder (its parent must exist); 1 on failure.
VNResultEnum MakeDirectory(const std::wstring& path);
} // namespace file
