#include "Core/Render/ImageLoader.h"

#include "Core/Base/Stream.h"
#include "Core/Render/HitMask.h"

#include <cstring>
#include <cwchar>
#include <memory>

namespace render
{

uint32_t ImageData::GetDataSize() const
{
    return static_cast<uint32_t>(mWidth) * static_cast<uint32_t>(mHeight) * 4u;
}

ImageData* ImageLoader::Load(base::Stream* stream, const wchar_t* extension, const base::ImageInfo* info)
{
    if (!extension)
        return nullptr;
    std::unique_ptr<ImageData> data;
    if (info && info->mRaw)
        data = std::make_unique<ImageDataRaw>(*info);
    else if (std::wcsncmp(extension, L".dds", 4) == 0)
        data = std::make_unique<ImageDataDDS>();
    else if (std::wcsncmp(extension, L".png", 4) == 0)
    {
        data = std::make_unique<ImageDataPng>();
        if (data->Load(stream, extension) == VN_OK)
            return data.release();
        // Not a plain PNG (or not a PNG at all): the image library reads it from the start, as before.
        if (!stream || stream->Seek(0, base::kSeekBegin) != 0)
            return nullptr;
        data = std::make_unique<ImageDataDevil>();
    }
    else if (std::wcsncmp(extension, L".bmp", 4) == 0 || std::wcsncmp(extension, L".gif", 4) == 0 ||
             std::wcsncmp(extension, L".jpg", 4) == 0 || std::wcsncmp(extension, L".tga", 4) == 0)
        data = std::make_unique<ImageDataDevil>();
    else
        return nullptr;
    if (data->Load(stream, extension) != VN_OK)
        return nullptr;
    return data.release();
}

VNResultEnum ImageDataRaw::Load(base::Stream* stream, const wchar_t*)
{
    if (!stream)
        return VN_FAIL;
    mStream = stream;
    mWidth = static_cast<int32_t>(mInfo.mRect[2]);
    mHeight = static_cast<int32_t>(mInfo.mRect[3]);
    mBytesPerPixel = 4;
    // An empty layer makes no texture, and the byte count must fit the 32-bit sizes of streams and textures.
    if (mWidth <= 0 || mHeight <= 0 ||
        static_cast<uint64_t>(mWidth) * static_cast<uint64_t>(mHeight) * 4u > 0xFFFFFFFFull)
        return VN_FAIL;
    return VN_OK;
}

VNResultEnum ImageDataRaw::CopyPixels(uint32_t pitch, void* destination, HitMask* mask)
{
    const auto width = static_cast<uint32_t>(mWidth);
    const auto height = static_cast<uint32_t>(mHeight);
    if (!mStream || !destination || pitch < width * 4u)
        return VN_FAIL;
    if (mask && mask->GetCount() < width * height)
        mask->Resize(width * height, false);
    auto* rowBytes = static_cast<uint8_t*>(destination);
    for (uint32_t y = 0; y < height; ++y, rowBytes += pitch)
    {
        // The layer's pixels are 0xAARRGGBB in the texture's own byte order: a row goes in as it is.
        if (mStream->Read(rowBytes, width * 4u) != width * 4u)
            return VN_FAIL;
        if (!mask)
            continue;
        for (uint32_t x = 0; x < width; ++x)
        {
            uint32_t value = 0;
            std::memcpy(&value, rowBytes + x * 4u, 4);
            if (value > kRawPixelAbove)
                mask->Set(true, x + y * width);
        }
    }
    return VN_OK;
}

} // namespace render
