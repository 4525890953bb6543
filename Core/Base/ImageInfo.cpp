#include "Core/Base/ImageInfo.h"

namespace base
{

ImageInfo::ImageInfo(const std::wstring& name, int x, int y, int width, int height, int opacity, int index,
                     bool visible, bool raw, float scale)
    : mName(name), mOpacity(opacity), mIndex(index), mVisible(visible), mRaw(raw), mScale(scale)
{
    mRect[0] = static_cast<float>(x) * scale;
    mRect[1] = static_cast<float>(y) * scale;
    mRect[2] = static_cast<float>(width) * scale;
    mRect[3] = static_cast<float>(height) * scale;
}

} // namespace base
