#pragma once

#include "Core/Base/Singleton.h"
#include "Core/File/Linux/FileManagerLinux.h"
#include "Core/File/Utf16.h"

#include <map>
#include <string>

namespace file
{
// The file system: loose files below the data root plus the packs mounted on path prefixes.
class FileManager : public base::Singletone<FileManager>, public FileManagerLinux
{
public:
    // The container's Exists, not the singleton's (use base::Singletone<FileManager>::Exists for that).
    using FileManagerLinux::Exists;
    std::wstring GetPath() override { return std::wstring(); }

    // Prefix (e.g. "td/") to pack path (e.g. "data.dat"); a path under a prefix is read from that pack when
    // the pack file exists. Written directly by the game's start-up.
    std::map<std::wstring, std::wstring, Utf16Less> mMounts;
    float mImageScale = 1.0f; // applied to the layer rectangles of image folders
    float mFontScale = 1.0f;  // copied into each bitmap font while it loads
};
} // namespace file
