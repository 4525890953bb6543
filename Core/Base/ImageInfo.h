#pragma once

#include <string>

namespace base
{

// One named image of an image folder or PSD document: its rectangle in layout units, opacity, position in
// its container and optional atlas placement.
class ImageInfo
{
public:
    ImageInfo() = default;
    // The integer rectangle is scaled by scale into mRect.
    ImageInfo(const std::wstring& name, int x, int y, int width, int height, int opacity, int index,
              bool visible, bool raw, float scale);
    ImageInfo(const ImageInfo&) = default;
    ImageInfo& operator=(const ImageInfo&) = default;
    virtual ~ImageInfo() = default;

    std::wstring mName;
    int mOpacity = 255;
    int mIndex = 0;
    bool mVisible = true;
    // The pixel data are raw 32-bit values.
    bool mRaw = false;
    // The image is a sub-rectangle of an atlas texture.
    bool mInAtlas = false;
    std::wstring mAtlasPath;
    // u, v, width, height in texture units.
    float mAtlasRect[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    float mScale = 1.0f;
    // x, y, width, height in logical units.
    float mRect[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

} // namespace base
