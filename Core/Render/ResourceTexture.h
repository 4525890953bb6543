#pragma once

#include "Core/Base/ImageInfo.h"
#include "Core/Base/Result.h"
#include "Core/Resource/CountedHandle.h"
#include "Core/Resource/Resource.h"

#include <string>

namespace file
{
class ImageContainer;
}

namespace render
{
class Render;
class Texture;
} // namespace render

namespace resource
{

// A named texture: an image file or an image of a layered container, decoded into a device texture with its
// hit mask. An atlas sub-image has no device texture of its own and draws from its atlas.
class ResourceTexture : public Resource, public base::ImageInfo
{
public:
    ResourceTexture() = default;
    ~ResourceTexture() override;

    VNResultEnum Release() override;
    VNResultEnum SetRender(render::Render* render);
    // Takes the image from a container instead of the file system.
    VNResultEnum SetSource(file::ImageContainer* container, const std::wstring& imageName);
    // The device texture of the root of the atlas chain.
    render::Texture* GetDeviceTexture() const;

    static const wchar_t* const* GetExtensions();
    static unsigned GetExtensionCount();

    const CountedHandle<ResourceTexture>& GetAtlas() const { return mAtlas; }
    render::Texture* GetTexture() const { return mTexture; }

protected:
    VNResultEnum DoLoad() override;
    VNResultEnum DoUnload() override;
    VNResultEnum LoadImage();

    CountedHandle<ResourceTexture> mAtlas;
    render::Render* mRender = nullptr;
    render::Texture* mTexture = nullptr;
    file::ImageContainer* mSource = nullptr;
    std::wstring mSourceName;
};

} // namespace resource
