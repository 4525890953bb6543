#include "Core/Render/Image.h"

#include "Core/File/ImageContainer.h"
#include "Core/Render/Render.h"
#include "Core/Render/ResourceTexture.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Texture.h"
#include "Core/Render/VertexFormat.h"

namespace render
{

Image::~Image()
{
    if (!mTextureResource)
        delete mTexture;
    mResource.Release();
}

VNResultEnum Image::Assign(const CountedHandle<resource::ResourceTexture>& texture)
{
    // Take the new reference before dropping the old one: assigning the image its own resource keeps it
    // alive.
    CountedHandle<resource::Resource> held(texture);
    if (!mTextureResource)
        delete mTexture; // an image without a resource owned its texture
    mResource = std::move(held);
    mTextureResource = texture.Get();
    mTexture = nullptr;
    mWidth = mHeight = mPixelOffsetX = mPixelOffsetY = 0;
    mPixelsPerUnitX = mPixelsPerUnitY = 1.0f;
    mInAtlas = false;
    if (!mTextureResource)
        return VN_OK;
    const resource::ResourceTexture& r = *mTextureResource;
    mTexture = r.GetDeviceTexture();
    mWidth = static_cast<int32_t>(static_cast<uint32_t>(r.mRect[2]));
    mHeight = static_cast<int32_t>(static_cast<uint32_t>(r.mRect[3]));
    mInAtlas = r.mInAtlas;
    for (int i = 0; i < 4; ++i)
        mAtlasRect[i] = r.mAtlasRect[i];
    const float tw = mTexture ? static_cast<float>(mTexture->GetWidth()) : 0.0f;
    const float th = mTexture ? static_cast<float>(mTexture->GetHeight()) : 0.0f;
    mPixelOffsetX = static_cast<int32_t>(r.mAtlasRect[0] * tw + 0.5f);
    mPixelOffsetY = static_cast<int32_t>(r.mAtlasRect[1] * th + 0.5f);
    // An image of no size keeps 1.0 rather than dividing by zero.
    if (mWidth > 0)
        mPixelsPerUnitX = r.mAtlasRect[2] * tw / static_cast<float>(mWidth);
    if (mHeight > 0)
        mPixelsPerUnitY = r.mAtlasRect[3] * th / static_cast<float>(mHeight);
    return VN_OK;
}

VNResultEnum Render::LoadTexture(const std::wstring& name, file::ImageContainer* container, Image** out,
                                 base::ImageInfo* info)
{
    if (!out)
        return VN_FAIL;
    const std::wstring path = container ? container->GetPath() + name : name;
    CountedHandle<resource::ResourceTexture> handle =
        resource::ResourceManager::Instance()->Get<resource::ResourceTexture>(path);
    if (!handle)
        return VN_FAIL;
    if (const VNResultEnum r = handle->SetRender(this); r != VN_OK)
        return r;
    if (container)
        if (const VNResultEnum r = handle->SetSource(container, name); r != VN_OK)
            return r;
    if (!handle->IsLoaded())
        if (const VNResultEnum r = handle->Load(); r != VN_OK)
            return r;
    auto* image = new Image();
    image->Assign(handle);
    *out = image;
    if (info)
        *info = static_cast<const base::ImageInfo&>(*handle);
    return VN_OK;
}

bool Image::HitTest(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight || !mTexture)
        return false;
    if (mTextureResource)
    {
        x = static_cast<int32_t>(static_cast<float>(x) * mPixelsPerUnitX + static_cast<float>(mPixelOffsetX) +
                                 0.5f);
        y = static_cast<int32_t>(static_cast<float>(y) * mPixelsPerUnitY + static_cast<float>(mPixelOffsetY) +
                                 0.5f);
    }
    return mTexture->HitTest(x, y);
}

VNResultEnum Image::MapAtlasUV(void* vertices, uint32_t count, uint32_t texCoordSet,
                               const VertexFormat& format) const
{
    if (!MapsIntoAtlas())
        return VN_OK;
    if (texCoordSet >= format.mTexCoordSets.size() || format.mTexCoordSets[texCoordSet].mComponents < 2)
        return VN_FAIL;
    auto* bytes = static_cast<uint8_t*>(vertices);
    const uint32_t offset = format.mTexCoordSets[texCoordSet].mOffset;
    for (uint32_t i = 0; i < count; ++i)
    {
        auto* uv = reinterpret_cast<float*>(bytes + static_cast<size_t>(i) * format.mStride + offset);
        uv[0] = AtlasU(uv[0]);
        uv[1] = AtlasV(uv[1]);
    }
    return VN_OK;
}

RenderTarget::RenderTarget(Texture* texture, bool ownProjection)
{
    mTexture = texture;
    if (texture)
    {
        mWidth = static_cast<int32_t>(texture->GetWidth());
        mHeight = static_cast<int32_t>(texture->GetHeight());
        if (ownProjection && texture->GetRender())
            texture->GetRender()->SetOrthoProjection(static_cast<float>(mWidth), static_cast<float>(mHeight),
                                                     0.0f, &mProjection);
    }
}

VNResultEnum Render::CreateRenderTarget(int32_t width, int32_t height, Image** out, bool ownProjection)
{
    if (width <= 0 || height <= 0 || !out)
        return VN_FAIL;
    Texture* texture = nullptr;
    if (const VNResultEnum r = CreateTexture(&texture); r != VN_OK)
        return r;
    if (const VNResultEnum r =
            texture->CreateRenderTarget(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
        r != VN_OK)
    {
        delete texture;
        return r;
    }
    *out = new RenderTarget(texture, ownProjection);
    return VN_OK;
}

void Render::GetGeomShader(CountedHandle<Shader>& out)
{
    out = CountedHandle<Shader>(mGeomShader, nullptr);
}

void Render::GetTexturedMultShader(CountedHandle<ShaderTextured>& out)
{
    out = CountedHandle<ShaderTextured>(mTexturedMultShader, nullptr);
}

void Render::GetTexturedTintShader(CountedHandle<ShaderTextured>& out)
{
    out = CountedHandle<ShaderTextured>(mTexturedTintShader, nullptr);
}

} // namespace render
