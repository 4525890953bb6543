#include "Core/Render/ResourceTexture.h"

#include "Core/Base/Log.h"
#include "Core/Base/Paths.h"
#include "Core/Base/Stream.h"
#include "Core/File/Extensions.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/Render.h"
#include "Core/Render/Texture.h"
#include "Core/Resource/ResourceManager.h"

#include <memory>

namespace resource
{
namespace
{
// Whoever links textures can open image containers: the file layer learns how to make them before main runs.
// (The maker is a plain pointer the file layer holds constant-initialised, so the order of static set-up is
// moot.)
[[maybe_unused]] const bool gImageContainersRegistered = []
{
    file::RegisterImageContainers();
    return true;
}();
} // namespace

ResourceTexture::~ResourceTexture()
{
    // A texture destroyed while loaded (manager teardown) still gives its device texture back.
    delete mTexture;
    mTexture = nullptr;
}

VNResultEnum ResourceTexture::Release()
{
    return ResourceManager::Instance()->Release<ResourceTexture>(this);
}

VNResultEnum ResourceTexture::SetRender(render::Render* render)
{
    mRender = render;
    return VN_OK;
}

VNResultEnum ResourceTexture::SetSource(file::ImageContainer* container, const std::wstring& imageName)
{
    mSource = container;
    mSourceName = imageName;
    return VN_OK;
}

render::Texture* ResourceTexture::GetDeviceTexture() const
{
    const ResourceTexture* t = this;
    // A chain is at most a few links; the bound guards against a cycle made by a damaged folder.
    for (int i = 0; i < 16 && t->mAtlas.Get(); ++i)
        t = t->mAtlas.Get();
    return t->mTexture;
}

const wchar_t* const* ResourceTexture::GetExtensions()
{
    return file::kImageExtensions;
}

unsigned ResourceTexture::GetExtensionCount()
{
    return file::kImageExtensionCount;
}

VNResultEnum ResourceTexture::DoLoad()
{
    const VNResultEnum result = LoadImage();
    // Missing or damaged images are refused with one line naming them; the caller goes on without the
    // texture.
    if (result != VN_OK)
        base::LogMessage(*base::MainLog::Instance(), L"Image '%s' cannot be loaded.\n") % GetName();
    return result;
}

VNResultEnum ResourceTexture::LoadImage()
{
    if (!mRender)
        return VN_FAIL;
    std::unique_ptr<file::FileInfo> found;
    bool fromContainer = false;
    unsigned index = 0;
    if (mSource)
    {
        std::unique_ptr<file::ImageFileInfo> image(
            mSource->FindImage(mSourceName, GetExtensions(), GetExtensionCount(), &index));
        if (!image)
            return VN_FAIL;
        static_cast<base::ImageInfo&>(*this) = static_cast<const base::ImageInfo&>(*image);
        if (mInAtlas)
        {
            // An atlas naming itself would never finish loading.
            if (mAtlasPath == GetName())
                return VN_FAIL;
            mAtlas = ResourceManager::Instance()->Get<ResourceTexture>(mAtlasPath);
            if (!mAtlas.Get())
                return VN_FAIL;
            mAtlas->SetRender(mRender);
            return mAtlas->IsLoaded() ? VN_OK : mAtlas->Load();
        }
        fromContainer = true;
        found = std::move(image);
    }
    else
    {
        found.reset(
            file::FileManager::Instance()->FindFile(GetName(), GetExtensions(), GetExtensionCount(), &index));
        if (!found)
            return VN_FAIL;
    }
    std::unique_ptr<base::Stream> stream(found->OpenStream());
    if (!stream)
        return VN_FAIL;
    const std::wstring extension = index < GetExtensionCount() && GetExtensions()[index][0]
                                       ? GetExtensions()[index]
                                       : base::GetExtension(GetName());
    std::unique_ptr<render::ImageData> data(render::ImageLoader::Instance()->Load(
        stream.get(), extension.c_str(), fromContainer ? this : nullptr));
    if (!data)
        return VN_FAIL;
    if (!fromContainer)
    {
        mRect[2] = static_cast<float>(data->GetWidth());
        mRect[3] = static_cast<float>(data->GetHeight());
    }
    render::Texture* texture = nullptr;
    if (const VNResultEnum r = mRender->CreateTexture(&texture); r != VN_OK)
        return r;
    if (!texture)
        return VN_FAIL;
    // Decoders that allow it finish on the texture fill queue, so a start need not wait for every picture.
    const VNResultEnum r = mRender->FillsTexturesLater() && data->CanCopyOffThread()
                               ? texture->CreateFromImageLater(std::move(data), GetName())
                               : texture->CreateFromImage(data.get());
    if (r != VN_OK)
    {
        delete texture;
        return r;
    }
    delete mTexture;
    mTexture = texture;
    return VN_OK;
}

VNResultEnum ResourceTexture::DoUnload()
{
    delete mTexture;
    mTexture = nullptr;
    return VN_OK;
}

} // namespace resource
