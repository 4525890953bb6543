#pragma once

#include "Core/File/ImageContainer.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

struct psdr_layer;
struct psdr_document;

namespace file
{

// One layer of a PSD document as an image: its info plus the decoder's record (owned by the document).
class PsdFileLayer : public base::ImageInfo
{
public:
    // "|box" layers carry no image; "|center" layers become the point at their centre.
    PsdFileLayer(const psdr_layer* record, const std::wstring& fullName, int index);

    const psdr_layer* mRecord;
};

// A PSD document read with the document decoder: its layers (named "group/sub/name") are raw-pixel images.
// A document that does not load leaves the container empty.
class PsdFile : public ImageContainer
{
public:
    PsdFile(const std::wstring& path, FileContainer* parent);
    ~PsdFile() override;

    // A new stream of the layer's pixels (u32 0xAARRGGBB, rows from the top); a layer without pixel data
    // gives transparent pixels of its size; null for an unknown name or an empty layer.
    base::Stream* OpenStream(const std::wstring& name) override;
    base::StreamCreator* OpenStreamCreator(const std::wstring&) override { return nullptr; }
    ImageFileInfo* FindImage(const std::wstring& name, const wchar_t* const* extensions, unsigned count,
                             unsigned* foundIndex) override;
    const base::ImageInfo* FindImageInfo(const std::wstring& name) const override;
    const base::ImageInfo* GetImageInfo(unsigned index) const override;
    unsigned GetImageCount() const override { return static_cast<unsigned>(mLayers.size()); }
    VNResultEnum ListImages(const std::wstring&, bool, std::vector<std::wstring>*, bool) override
    {
        return VN_OK;
    }
    VNResultEnum ListGroups(const std::wstring&, std::vector<std::wstring>*, bool) override { return VN_OK; }
    bool HasImage(const std::wstring&) const override { return false; }
    bool FileExists(const std::wstring&) override { return false; }
    bool HasGroup(const std::wstring&) const override { return false; }

    // Builds the layer table from a decoded document, taking it over (the constructor's work; for tests).
    void Adopt(psdr_document* document);
    const psdr_document* GetDocument() const { return mDocument; }

private:
    psdr_document* mDocument = nullptr;
    std::map<std::wstring, std::unique_ptr<PsdFileLayer>> mLayers;
    std::vector<PsdFileLayer*> mList;
};

} // namespace file
