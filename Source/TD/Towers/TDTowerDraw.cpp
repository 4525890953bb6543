// A tower on the screen: the frame of its state and direction placed on its base point, its star marks and
// the marker of a boost.
#include "Source/TD/Towers/TDTower.h"

#include "Core/Base/Transform3D.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Play/TDContextIcons.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "Source/TD/Units/TDUnit.h"

#include <cmath>

namespace
{
constexpr int kGroundList = 1;
constexpr std::size_t kMaxStarMarks = 12;

// The frame a tower shows: by state and, for rotating towers, by direction sector.
const TDFrameEntry* chooseFrame(const TDTower& tower, const TDUnitProto& p, bool overlay, int& sector)
{
    const TDSpriteSheet* sheet = p.sheet;
    if (!sheet)
        return nullptr;
    const int f = static_cast<int>(std::floor(tower.mAnimationTime * p.fps));
    if (p.rotating)
    {
        const int s = static_cast<int>(std::floor(tower.mCurrentDirection / 11.25f));
        int k = 31 - s;
        if (k > 31)
            k = -s - 1;
        if (k < 0)
            k = 31;
        sector = k;
        const auto& root = sheet->getGroup(std::string());
        if (root.empty())
            return nullptr;
        std::size_t index = static_cast<std::size_t>(4 * k);
        if (tower.mState == kTowerFiring && f > 0)
            index += static_cast<std::size_t>(f);
        return index < root.size() ? root[index] : root.back();
    }
    if (tower.mState == kTowerFiring || (tower.mState == kTowerWaitingForShell && !overlay))
    {
        const auto& blast = sheet->getGroup(std::string("blast"));
        if (blast.empty())
            return nullptr;
        int index = tower.mState == kTowerFiring ? f : f - 1;
        index = std::clamp(index, 0, static_cast<int>(blast.size()) - 1);
        return blast[static_cast<std::size_t>(index)];
    }
    const auto& idle = sheet->getGroup(std::string("idle"));
    if (idle.empty())
        return nullptr;
    return f >= 0 && static_cast<std::size_t>(f) < idle.size() ? idle[static_cast<std::size_t>(f)] : idle.front();
}

// Where the centre of a frame goes so that the sheet's "base_point" stands on the base point (without one,
// the drawing's bottom centre does).
math::Point2 frameCentre(const TDTower& tower, const TDUnitProto& p, const TDFrameEntry& frame)
{
    float w = 0.0f;
    float h = 0.0f;
    computeSheetExtent(p.sheet, w, h);
    const auto& bases = p.sheet->getGroup(std::string("base_point"));
    const float cx = frame.mRect.x + frame.mRect.width * 0.5f - w * 0.5f;
    const float cy = frame.mRect.y + frame.mRect.height * 0.5f - h * 0.5f;
    if (bases.empty())
        return math::Point2(cx + tower.mBaseX, cy + tower.mBaseY - h * 0.5f);
    const math::Rect& base = bases.front()->mRect;
    return math::Point2(cx + w * 0.5f - base.x + tower.mBaseX, cy + h * 0.5f - base.y + tower.mBaseY);
}
} // namespace

void TDTower::collectDrawEntry()
{
    const TDUnitProto* p = getProto(-1);
    TDMap* m = map();
    if (!p || !m)
        return;
    const TDFrameEntry* frame = chooseFrame(*this, *p, false, mFrameSector);
    if (frame && frame->mTexture)
    {
        auto* entry = new TDFrameEntry;
        entry->mTexture = frame->mTexture;
        entry->mOwnsTexture = false;
        const math::Point2 c = frameCentre(*this, *p, *frame);
        entry->mTransform.Translate(c.x, c.y);
        entry->mColor = render::Color(1.0f, 1.0f, 1.0f, mAlpha);
        entry->mSortKey = mBaseY;
        m->mFrameLists[kGroundList].push_back(entry);
    }
}

void TDTower::drawOverlay(render::Graphics* graphics)
{
    const TDUnitProto* p = getProto(-1);
    TDMap* m = map();
    if (!p || !m || !graphics)
        return;
    int sector = mFrameSector;
    const TDFrameEntry* frame = chooseFrame(*this, *p, true, sector);
    if (!frame || !frame->mTexture)
        return;
    const math::Point2 c = frameCentre(*this, *p, *frame);
    graphics->SetColor(1.0f, 1.0f, 1.0f, mAlpha);
    auto image = graphics->DrawImage(frame->mTexture);
    image->mAlignH = 2;
    image->mAlignV = 2;
    image.Scale(m->mViewScale)
        .Translate(c.x * m->mViewScale + m->mViewOffsetX, c.y * m->mViewScale + m->mViewOffsetY);
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void TDTower::drawExtras(render::Graphics* graphics)
{
    const TDUnitProto* p = getProto(-1);
    TDMap* m = map();
    if (!p || !m || !graphics)
        return;
    const float scale = m->mViewScale;
    auto place = [&](render::Image* image, float x, float y, bool centred)
    {
        auto drawn = graphics->DrawImage(image);
        if (centred)
        {
            drawn->mAlignH = 2;
            drawn->mAlignV = 2;
        }
        drawn.Scale(scale).Translate(x * scale + m->mViewOffsetX, y * scale + m->mViewOffsetY);
    };
    // The marks were looked up when the map loaded its interface pieces. A star mark hangs from its top-left
    // corner beside the aim point; the boost marker is centred above it.
    const TDContextIcons* icons = m->mContextIcons.get();
    if (icons && p->stars > 0 && p->stars <= 3)
        if (render::Image* mark = icons->starMarks[p->stars - 1])
            for (std::size_t i = 0; i < std::min<std::size_t>(static_cast<std::size_t>(p->stars), kMaxStarMarks); ++i)
                place(mark, mX + 15.0f, mY, false);
    if (icons && mBoosted)
        if (render::Image* marker = icons->boostMarker)
            place(marker, mX, mY - 50.0f, true);
    if (m->mDebugDrawFirst)
        if (const TDUnit* target = mTarget.get())
            graphics->DrawLine(math::Point2(mX * scale + m->mViewOffsetX, mY * scale + m->mViewOffsetY),
                               math::Point2(target->mX * scale + m->mViewOffsetX,
                                            target->mY * scale + m->mViewOffsetY));
}
