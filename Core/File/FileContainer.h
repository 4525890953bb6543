#pragma once

#include "Core/Base/Result.h"
#include "Core/File/Container.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace file
{
class Archiver;
class ImageContainer;

// Base of every concrete container. The public operations first look the path up in the file manager's mount
// table: a path under a mounted prefix whose pack file exists in this container is served from that pack.
class FileContainer : public Container
{
public:
    FileContainer() = default;
    FileContainer(const FileContainer&) = delete;
    FileContainer& operator=(const FileContainer&) = delete;
    ~FileContainer() override;

    FileInfo* FindFile(const std::wstring& name, const wchar_t* const* extensions = nullptr,
                       unsigned count = 0, unsigned* foundIndex = nullptr) override;

    // Appends file names below dir (relative to it, or with dir in front); always 0.
    virtual VNResultEnum ListFiles(const std::wstring& dir, bool recursive, std::vector<std::wstring>* out,
                                   bool relative);
    // Appends the names of the folders directly below dir, without a trailing '/'; always 0.
    virtual VNResultEnum ListDirs(const std::wstring& dir, std::vector<std::wstring>* out, bool relative);
    virtual bool Exists(const std::wstring& path, const wchar_t* const* extensions = nullptr,
                        unsigned count = 0, unsigned* foundIndex = nullptr);
    virtual bool IsDirectory(const std::wstring& path);

    // The archive serving path, with rest set to the path below the mount prefix; null when no mount applies.
    Archiver* FindMount(const std::wstring& path, std::wstring& rest);
    // A layered image (an exported image folder, else name.psd or name itself as a document), or null.
    ImageContainer* OpenImageContainer(const std::wstring& name);

    std::uint8_t mPacked = 0;
    // Archives made by FindMount, by pack path; owned.
    std::map<std::wstring, Archiver*> mArchives;

protected:
    friend class Archiver;
    // The primitives: the container's own files, never looking at mounts.
    virtual VNResultEnum DoListFiles(const std::wstring& outPrefix, const std::wstring& base,
                                     const std::wstring& sub, bool recursive, std::vector<std::wstring>* out,
                                     bool relative) = 0;
    virtual VNResultEnum DoListDirs(const std::wstring& outPrefix, const std::wstring& base,
                                    const std::wstring& sub, std::vector<std::wstring>* out,
                                    bool relative) = 0;
    virtual bool DoExists(const std::wstring& path, const wchar_t* const* extensions, unsigned count,
                          unsigned* foundIndex) = 0;
    virtual bool DoIsDirectory(const std::wstring& path) = 0;
};

// How the image layer makes its containers: kind 0 an exported image folder, 1 a layered document file.
// The file layer decides which one a name means; the image layer, built above it, registers the maker.
using ImageContainerMaker = ImageContainer* (*)(int kind, const std::wstring& path, FileContainer* parent);
void SetImageContainerMaker(ImageContainerMaker maker);
} // namespace file
