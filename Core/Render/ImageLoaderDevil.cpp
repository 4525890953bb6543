// BMP, GIF, JPEG, PNG and TGA through the image library. The library is initialised per image and holds it
// between Load and CopyPixels; every path out of Load and the destructor give the image back.
#include "Core/Base/Stream.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"

#include <IL/il.h>

#include <cstring>
#include <cwchar>
#include <vector>

namespace render
{
namespace
{

ILenum TypeOf(const wchar_t* extension)
{
    struct Entry
    {
        const wchar_t* ext;
        ILenum type;
    };
    static const Entry kTypes[] = {{L".bmp", IL_BMP}, {L".gif", IL_GIF}, {L".jpg", IL_JPG},
                                   {L".png", IL_PNG}, {L".tga", IL_TGA}, {L".dds", IL_DDS}};
    if (extension)
        for (const Entry& e : kTypes)
            if (std::wcsncmp(extension, e.ext, 4) == 0)
                return e.type;
    return IL_TYPE_UNKNOWN;
}

// Errors queue up in the library; drop what an earlier image left.
void ClearErrors()
{
    for (int i = 0; i < 64 && ilGetError() != IL_NO_ERROR; ++i)
    {
    }
}

} // namespace

ImageDataDevil::~ImageDataDevil()
{
    ReleaseLibrary();
}

void ImageDataDevil::ReleaseLibrary()
{
    if (!mHoldsLibrary)
        return;
    ILuint name = mImageName;
    ilDeleteImages(1, &name);
    ilShutDown();
    mHoldsLibrary = false;
    mImageName = 0;
    mPixels = nullptr;
}

VNResultEnum ImageDataDevil::Load(base::Stream* stream, const wchar_t* extension)
{
    if (!stream)
        return VN_FAIL;
    ilInit();
    ClearErrors();
    mStream = stream;
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    mImageName = name;
    mHoldsLibrary = true;

    const unsigned size = stream->Size();
    std::vector<uint8_t> buffer(size);
    if (size == 0 || stream->Read(buffer.data(), size) != size)
    {
        ReleaseLibrary();
        return VN_FAIL;
    }
    ilLoadL(TypeOf(extension), buffer.data(), size);
    if (ilGetError() == IL_NO_ERROR)
    {
        ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE);
        if (ilGetError() == IL_NO_ERROR)
        {
            mWidth = ilGetInteger(IL_IMAGE_WIDTH);
            mHeight = ilGetInteger(IL_IMAGE_HEIGHT);
            mBytesPerPixel = ilGetInteger(IL_IMAGE_BPP);
            mOriginLowerLeft = ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT;
            mPixels = ilGetData();
            if (ilGetError() == IL_NO_ERROR && mPixels && mWidth > 0 && mHeight > 0 && mBytesPerPixel >= 3)
                return VN_OK;
        }
    }
    ReleaseLibrary();
    return VN_FAIL;
}

VNResultEnum ImageDataDevil::CopyPixels(uint32_t pitch, void* destination, HitMask* mask)
{
    if (!mHoldsLibrary || !mPixels || !destination)
        return VN_FAIL;
    const auto width = static_cast<uint32_t>(mWidth);
    const auto height = static_cast<uint32_t>(mHeight);
    const auto bpp = static_cast<uint32_t>(mBytesPerPixel);
    if (pitch < width * 4u)
    {
        ReleaseLibrary();
        return VN_FAIL;
    }
    if (mask && mask->GetCount() < width * height)
        mask->Resize(width * height, false);
    for (uint32_t i = 0; i < height; ++i)
    {
        // A bottom-up image is turned upright so the mask matches what is shown.
        const uint32_t source = mOriginLowerLeft ? height - 1 - i : i;
        const uint8_t* in = mPixels + static_cast<size_t>(source) * width * bpp;
        auto* out = static_cast<uint8_t*>(destination) + static_cast<size_t>(i) * pitch;
        for (uint32_t x = 0; x < width; ++x, in += bpp)
        {
            const uint32_t a = bpp >= 4 ? in[3] : 255u;
            const uint32_t value = a << 24 | static_cast<uint32_t>(in[0]) << 16 |
                                   static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[2]);
            std::memcpy(out + x * 4u, &value, 4);
            if (mask && a >= kDevilAlphaMin)
                mask->Set(true, x + i * width);
        }
    }
    ReleaseLibrary();
    return VN_OK;
}

} // namespace render
