// How a unit shows: the frame of its animation queued into the map's depth-sorted lists (with its shadow),
// the rectangle a press picks it by, its health bar and the developer's unit info.
#include "Source/TD/Units/TDUnit.h"

#include "Core/Base/MathUtil.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Play/TDContextIcons.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "Source/TD/Units/TMobShader.h"

#include <algorithm>
#include <cmath>

namespace
{
enum FrameList
{
    kGround = 1,
    kAir = 3,
    kAirShadow = 4
};

// The animation group the state shows; null for a state that shows nothing.
const char* groupFor(int state, bool frozen)
{
    if (state == kUnitDying || (state == kUnitCaught && !frozen))
        return "death";
    if (state == kUnitWalking || state == kUnitCaught)
        return "walk";
    if (state == kUnitSpecial)
        return "special";
    return nullptr;
}

render::ShaderTextured* mobShader()
{
    Game* game = Game::Get();
    return game ? game->GetMobShader() : nullptr;
}
} // namespace

// Here, with the drawing, so that the record readers (and their fuzz targets) need no sprite sheets.
const std::vector<TDFrameEntry*>& TDUnitProto::frames(const char* group) const
{
    static const std::vector<TDFrameEntry*> kNone;
    return sheet ? sheet->getGroup(std::string(group)) : kNone;
}

const TDFrameEntry* TDUnit::anchorFrame() const
{
    const TDUnitProto* proto = getProto();
    if (!proto)
        return nullptr;
    const std::vector<TDFrameEntry*>& root = proto->frames("");
    return root.empty() ? nullptr : root.front();
}

float TDUnit::getRootFrameTop() const
{
    const TDFrameEntry* anchor = anchorFrame();
    if (!mCurrentFrame || !anchor)
        return 0.0f;
    // From the target point up to the top of the frame as drawn.
    return anchor->mRect.y - mCurrentFrame->mRect.y - mFallDrop;
}

math::Rect TDUnit::getFrameRect() const
{
    const TDFrameEntry* f = mCurrentFrame;
    if (!f)
        return math::Rect();
    const TDFrameEntry* a = anchorFrame();
    const float ax = a ? a->mRect.x : 0.0f;
    const float ay = a ? a->mRect.y : 0.0f;
    const float dx = f->mRect.x + f->mRect.width * 0.5f - ax;
    const float cy = mTargetY + mFallDrop + f->mRect.y + f->mRect.height * 0.5f - ay;
    const float cx = mFacingLeft ? mTargetX - dx : mTargetX + dx;
    return math::Rect(cx, cy, f->mRect.width, f->mRect.height);
}

bool TDUnit::hitTest(int x, int y) const
{
    if (!mCurrentFrame)
        return false;
    const math::Rect r = getFrameRect();
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    return px >= r.x - r.width * 0.5f && px <= r.x + r.width * 0.5f && py >= r.y - r.height * 0.5f &&
           py <= r.y + r.height * 0.5f;
}

const TDFrameEntry* TDUnit::pickFrame(const TDUnitProto& proto)
{
    const bool frozen = proto.ice || proto.stone;
    const char* group = groupFor(mState, frozen);
    if (!group)
        return nullptr;
    const std::vector<TDFrameEntry*>& frames = proto.frames(group);
    if (frames.empty())
        return nullptr;
    std::size_t index = 0;
    if (mState == kUnitCaught && !frozen)
    {
        // A caught unit flickers between two of its death frames.
        index = static_cast<std::size_t>(1 + static_cast<int>(math::Random() + 0.5f));
        mAnimTime = 0.0f;
    }
    else
    {
        const float at = mAnimTime * proto.fps;
        index = at > 0.0f ? static_cast<std::size_t>(std::min(at, 1.0e6f)) : 0;
    }
    return frames[std::min(index, frames.size() - 1)];
}

void TDUnit::drawStandIn(render::Graphics* graphics) const
{
    if (!graphics || !mEntry || !mMap || mState == kUnitGone)
        return;
    const TDUnitProto* proto = getProto();
    if (!proto || !proto->sheet || !proto->sheet->mTexture)
        return;
    const char* group = groupFor(mState, proto->ice || proto->stone);
    if (!group || !proto->frames(group).empty())
        return;
    // A sheet without the state's frames still shows the unit: its own picture at half size.
    graphics->SetColor(1.0f, 1.0f, 1.0f, mOpacity * mFade);
    graphics->DrawImage(proto->sheet->mTexture).Scale(0.5f).Translate(mTargetX, mTargetY);
}

void TDUnit::draw()
{
    if (!mEntry || !mMap || mState == kUnitGone)
        return;
    const TDUnitProto* proto = getProto();
    if (!proto)
        return;
    const TDFrameEntry* frame = pickFrame(*proto);
    if (!frame)
        return;
    mCurrentFrame = frame;
    const TDFrameEntry* anchor = anchorFrame();
    const float ax = anchor ? anchor->mRect.x : 0.0f;
    const float ay = anchor ? anchor->mRect.y : 0.0f;
    const float alpha = mOpacity * mFade;

    auto* entry = new TDFrameEntry;
    entry->mTexture = frame->mTexture;
    entry->mShader = mobShader();
    entry->mShaderColor = render::Color(proto->fillColor);
    entry->mColor = render::Color(1.0f, 1.0f, 1.0f, alpha);
    entry->mMirrored = mFacingLeft;
    entry->mSortKey = mTargetY;
    // The image is drawn centred on its transform's origin: offset its centre from the anchor point, turn it
    // about that point while it falls, then carry it to the target point.
    const float dx = frame->mRect.x + frame->mRect.width * 0.5f - ax;
    const float dy = frame->mRect.y + frame->mRect.height * 0.5f - ay;
    entry->mTransform.Translate(mFacingLeft ? -dx : dx, dy);
    if (mFallAngle != 0.0f)
        entry->mTransform.RotateDegrees(mFacingLeft ? -mFallAngle : mFallAngle);
    entry->mTransform.Translate(mTargetX, mTargetY + mFallDrop);
    const bool air = proto->air;
    mMap->mFrameLists[(air || mUpper != 0.0f) ? kAir : kGround].push_back(entry);

    if (air && mShadow)
    {
        auto* shadow = new TDFrameEntry;
        shadow->mTexture = mShadow;
        shadow->mColor = entry->mColor;
        shadow->mMirrored = mFacingLeft;
        shadow->mSortKey = mTargetY;
        shadow->mTransform.Translate(mTargetX + 5.0f, mTargetY + 15.0f);
        mMap->mFrameLists[kAirShadow].push_back(shadow);
    }
}

void TDUnit::drawOverlay(render::Graphics* graphics)
{
    if (!graphics || !mMap)
        return;
    if (mMap->mDebugUnitInfo)
        drawUnitInfo(graphics);
    drawHealthBar(graphics);
}

void TDUnit::drawUnitInfo(render::Graphics* graphics) const
{
    if (!mEntry || mState == kUnitGone)
        return;
    const float s = mMap->mViewScale;
    const float ox = mMap->mViewOffsetX;
    const float oy = mMap->mViewOffsetY;
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    if (const CountedHandle<render::Font> font = boardFont(TDBoardFont::Main32_2))
    {
        render::Font* savedFont = graphics->mFont;
        graphics->mFont = font.Get();
        const std::wstring text = std::to_wstring(static_cast<int>(mHealth)) + L"/" +
                                  std::to_wstring(static_cast<int>(getMaxHealth()));
        graphics->DrawText(text).Scale(0.5f * s).Translate(s * mTargetX + ox, s * mTargetY + oy);
        graphics->mFont = savedFont;
    }
    if (!mCurrentFrame)
        return;
    // The top and left edges: enough to see where a press picks the unit.
    const math::Rect r = getFrameRect();
    const math::Point2 topLeft(s * (r.x - r.width * 0.5f) + ox, s * (r.y - r.height * 0.5f) + oy);
    graphics->DrawLine(topLeft, math::Point2(topLeft.x + s * r.width, topLeft.y));
    graphics->DrawLine(topLeft, math::Point2(topLeft.x, topLeft.y + s * r.height));
}

void TDUnit::drawHealthBar(render::Graphics* graphics)
{
    if (mState == kUnitDying || mState == kUnitGone || !(mHealthBarTime > 0.0f))
        return;
    const float maxHealth = getMaxHealth();
    if (mHealth == maxHealth || mHealth == 0.0f || !(maxHealth > 0.0f))
        return;
    if (mHealth < 0.0f)
        mHealth = 0.0f;
    // Looked up when the map loaded its interface pieces.
    render::Image* bar = mMap->mContextIcons ? mMap->mContextIcons->bar : nullptr;
    if (!bar)
        return;
    const float alpha = mHealthBarTime < 0.5f ? 2.0f * mHealthBarTime : 1.0f;
    const float s = mMap->mViewScale;
    const float h = 0.75f * mSpriteHeight;
    const float width = static_cast<float>(bar->GetWidth());
    const float x = s * mTargetX + mMap->mViewOffsetX - std::floor(width * 0.5f);
    const float y = s * mTargetY + mMap->mViewOffsetY - s * h;
    graphics->SetColor(1.0f, 0.0f, 0.0f, alpha);
    graphics->DrawImage(bar).Translate(x, y);
    graphics->SetColor(0.0f, 1.0f, 0.0f, alpha);
    graphics->DrawImage(bar).Scale(std::clamp(mHealth / maxHealth, 0.0f, 1.0f), 1.0f).Translate(x, y);
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}
