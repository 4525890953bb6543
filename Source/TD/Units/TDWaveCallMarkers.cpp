#include "Source/TD/Units/TDWaveCallMarkers.h"

#include "Core/Base/Containers.h"
#include "Core/Render/Image.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Routes/TDPoint.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDResources.h"

#include <algorithm>

TDWaveCallMarkers::TDWaveCallMarkers()
{
    mImage = TDResources::Instance()->findUiImage(L"ui/wave_hint");
}

TDWaveCallMarkers::~TDWaveCallMarkers()
{
    clear();
}

void TDWaveCallMarkers::add(const TDPoint* point)
{
    if (!point)
        return;
    auto* marker = new TDFrameEntry;
    marker->mTexture = mImage;
    const float width = mImage ? static_cast<float>(mImage->GetWidth()) : 0.0f;
    const float height = mImage ? static_cast<float>(mImage->GetHeight()) : 0.0f;
    float x = static_cast<float>(
        truncToInt(std::min(static_cast<float>(truncToInt(std::max(point->x, 0.0f))), 1024.0f)));
    float y = static_cast<float>(
        truncToInt(std::min(static_cast<float>(truncToInt(std::max(point->y, 0.0f))), 768.0f)));
    if (x + width > 1024.0f)
        x = 1024.0f - width;
    if (y < 100.0f)
        y = 100.0f;
    else if (y + height > 668.0f)
        y = 668.0f - height;
    marker->mRect = math::Rect(x, y, width, height);
    mMarkers.push_back(marker);
}

void TDWaveCallMarkers::clear()
{
    base::DeleteAll(mMarkers);
}

bool TDWaveCallMarkers::hitTest(int x, int y) const
{
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    for (const TDFrameEntry* marker : mMarkers)
    {
        const math::Rect& r = marker->mRect;
        if (px > r.x && px < r.x + r.width && py > r.y && py < r.y + r.height)
            return true;
    }
    return false;
}
