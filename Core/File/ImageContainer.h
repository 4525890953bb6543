#pragma once

#include "Core/Base/ImageInfo.h"
#include "Core/Base/Result.h"
#include "Core/File/Container.h"

#include <string>
#include <vector>

namespace file
{
class FileContainer;

// What an image container's search returns: the file part plus a copy of the image's info. Owned by the
// caller.
class ImageFileInfo : public FileInfo, public base::ImageInfo
{
public:
    ImageFileInfo(std::wstring name, std::wstring path, Container* container, std::uint8_t packed,
                  const base::ImageInfo& info)
        : FileInfo(std::move(name), std::move(path), container, packed), base::ImageInfo(info)
    {
    }
};

// A layered image presented as a file source of named images ("group/sub/name"). Infos handed out stay valid
// while the container lives; streams and ImageFileInfo objects belong to the caller.
class ImageContainer : public Container
{
public:
    ImageContainer(const std::wstring& path, FileContainer* parent) : mPath(path), mParent(parent) {}
    ImageContainer(const ImageContainer&) = delete;
    ImageContainer& operator=(const ImageContainer&) = delete;
    ~ImageContainer() override = default;

    // Answered by FindImage.
    FileInfo* FindFile(const std::wstring& name, const wchar_t* const* extensions = nullptr,
                       unsigned count = 0, unsigned* foundIndex = nullptr) override
    {
        return FindImage(name, extensions, count, foundIndex);
    }
    base::Stream* OpenStream(const std::wstring& name) override = 0;
    base::StreamCreator* OpenStreamCreator(const std::wstring& name) override = 0;
    // The parent's path + own path + "/".
    std::wstring GetPath() override;

    // A new info of the named image (null when it is not there or, for a file-backed image, its file is
    // missing).
    virtual ImageFileInfo* FindImage(const std::wstring& name, const wchar_t* const* extensions,
                                     unsigned count, unsigned* foundIndex) = 0;
    virtual const base::ImageInfo* FindImageInfo(const std::wstring& name) const = 0;
    // Null when the index is not below the number of listed images.
    virtual const base::ImageInfo* GetImageInfo(unsigned index) const = 0;
    virtual unsigned GetImageCount() const = 0;
    // Appends the images below the folder prefix (compared in lower case): directly below it, or at any
    // depth.
    virtual VNResultEnum ListImages(const std::wstring& prefix, bool allLevels,
                                    std::vector<std::wstring>* out, bool strip) = 0;
    // Appends each group directly below the prefix once, relative to the prefix.
    virtual VNResultEnum ListGroups(const std::wstring& prefix, std::vector<std::wstring>* out,
                                    bool flag) = 0;
    virtual bool HasImage(const std::wstring& name) const = 0;
    virtual bool FileExists(const std::wstring& name) = 0;
    virtual bool HasGroup(const std::wstring& name) const = 0;

    const std::wstring& GetOwnPath() const { return mPath; }
    FileContainer* GetParent() const { return mParent; }

protected:
    std::wstring mPath;
    FileContainer* mParent;
};

// Registers the image-folder and PSD-document makers with the file layer (idempotent). The file layer cannot
// name these types itself: they sit above it.
void RegisterImageContainers();

// The image scale of image-folder rectangles (file manager) and of infos (application); 1 without either.
float FileImageScale();
float ApplicationImageScale();

} // namespace file
