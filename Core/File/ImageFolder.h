#pragma once

#include "Core/File/ImageContainer.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace file
{

// An image folder exported from a layered document, described by its "layers.xml": one image file per layer,
// or a sub-rectangle of an atlas image. An unreadable description leaves the folder empty.
class PsdFolder : public ImageContainer
{
public:
    PsdFolder(const std::wstring& path, FileContainer* parent);

    base::Stream* OpenStream(const std::wstring& name) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring& name) override;
    ImageFileInfo* FindImage(const std::wstring& name, const wchar_t* const* extensions, unsigned count,
                             unsigned* foundIndex) override;
    const base::ImageInfo* FindImageInfo(const std::wstring& name) const override;
    const base::ImageInfo* GetImageInfo(unsigned index) const override;
    unsigned GetImageCount() const override { return static_cast<unsigned>(mList.size()); }
    VNResultEnum ListImages(const std::wstring& prefix, bool allLevels, std::vector<std::wstring>* out,
                            bool strip) override;
    VNResultEnum ListGroups(const std::wstring& prefix, std::vector<std::wstring>* out, bool flag) override;
    bool HasImage(const std::wstring& name) const override;
    bool FileExists(const std::wstring& name) override;
    bool HasGroup(const std::wstring& name) const override;

    // Reads a "layers.xml" text into the folder (the constructor's work; exposed for tests and fuzzing).
    void Parse(const char* text, size_t length);

private:
    // Name to info, ordered by name; owns the infos.
    std::map<std::wstring, std::unique_ptr<base::ImageInfo>> mImages;
    // The same infos in file order (a repeated name appears again).
    std::vector<base::ImageInfo*> mList;
};

// The lookup prefix of the listing queries: '/' separators, one trailing '/', lower case ("" stays "").
std::wstring ImagePrefix(const std::wstring& prefix);

} // namespace file
