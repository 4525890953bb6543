#include "Source/TD/HUD/Play/HUDSpellButton.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"

#include <algorithm>

namespace
{
constexpr float kMinZoom = 1.0f;
constexpr float kMaxZoom = 1.1f;

float widthOf(const render::Image* image)
{
    return image ? static_cast<float>(image->GetWidth()) : 0.0f;
}
float heightOf(const render::Image* image)
{
    return image ? static_cast<float>(image->GetHeight()) : 0.0f;
}
} // namespace

HUDSpellButton::HUDSpellButton(TDMap& map, int spellId, int protoId, render::Image* icon, render::Image* shade)
    : mMap(map), mSpellId(spellId), mProtoId(protoId), mIcon(icon), mShade(shade)
{
}

HUDSpellButton::~HUDSpellButton()
{
    delete mGlint;
}

bool HUDSpellButton::spellBlocked() const
{
    return mSpellId == kTowerSpellId && mMap.mTowers.empty();
}

float HUDSpellButton::shownHeight() const
{
    const float w = widthOf(mIcon);
    return w > 0.0f ? heightOf(mIcon) * kIconWidth / w : kIconWidth;
}

bool HUDSpellButton::contains(int x, int y)
{
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    const float half = shownHeight() * 0.5f;
    return px >= mCenterX - kIconWidth * 0.5f && px <= mCenterX + kIconWidth * 0.5f && py >= mCenterY - half &&
           py <= mCenterY + half;
}

bool HUDSpellButton::hitTest(int x, int y)
{
    if (isCooling() || spellBlocked())
        return false;
    return contains(x, y);
}

void HUDSpellButton::mouseMove(int x, int y)
{
    mHovered = contains(x, y) ? 1 : 0;
}

void HUDSpellButton::startCooldown()
{
    mPressed = 1;
    float cooldown = 0.0f;
    if (const TDUnitProto* table = mMap.mProtoTable ? mMap.mProtoTable->find(mProtoId) : nullptr)
    {
        TDUnitProto upgraded;
        upgraded.copyFrom(*table);
        if (mMap.mUpgrades)
            mMap.mUpgrades->applyToProto(upgraded);
        cooldown = upgraded.cooldown;
    }
    mElapsed = cooldown;
}

void HUDSpellButton::setReady()
{
    mPressed = 0;
    mElapsed = 0.0f;
    if (mGlint)
        return;
    mGlint = render::ParticleSystem::Instance()->GetEmitter("blik_6");
    if (!mGlint)
        return;
    mGlint->SetPosition(math::Point2(mCenterX, mCenterY), 0);
    mGlint->SetState(1);
}

void HUDSpellButton::reset()
{
    mPressed = 0;
    mElapsed = 0.0f;
}

float HUDSpellButton::shadeFraction() const
{
    const TDUnitProto* table = mMap.mProtoTable ? mMap.mProtoTable->find(mProtoId) : nullptr;
    // A prototype without a positive cooldown never recharges long enough to shade.
    if (!table || !(table->cooldown > 0.0f))
        return 0.0f;
    // The recharge starts from the upgraded cooldown but is measured against the table's: a raised cooldown
    // starts the shade taller than the icon.
    return mElapsed / table->cooldown;
}

int HUDSpellButton::secondsShown(float remaining)
{
    return truncToInt(remaining + 1.0f);
}

void HUDSpellButton::update(float dt)
{
    if (isCooling())
    {
        mElapsed -= mMap.mSpeed * dt;
        if (mElapsed <= 0.0f)
            setReady();
    }
    if (mHovered != 0)
        mScale = std::min(mScale + dt * 0.5f, kMaxZoom);
    else
        mScale = std::max(mScale - dt, kMinZoom);
    if (mGlint)
    {
        mGlint->Update(dt);
        if (mGlint->GetState() != 1)
        {
            delete mGlint;
            mGlint = nullptr;
        }
    }
}

void HUDSpellButton::draw(render::Graphics* graphics)
{
    if (!graphics)
        return;
    const float w1 = widthOf(mIcon);
    if (w1 > 0.0f)
    {
        const float k = kIconWidth / w1;
        if (!isCooling())
        {
            render::Image* shown = spellBlocked() && mShade ? mShade : mIcon;
            auto image = graphics->DrawImage(shown).Scale(mScale * k);
            image.Translate(mCenterX, mCenterY);
            image->mAlignH = 2;
            image->mAlignV = 2;
        }
        else
        {
            // The shade has the icon's size; without one the icon's own size stands in.
            const float w2 = mShade ? widthOf(mShade) : w1;
            const float h2 = mShade ? heightOf(mShade) : heightOf(mIcon);
            const float x0 = mCenterX - w1 * k * 0.5f;
            const float y0 = mCenterY - heightOf(mIcon) * k * 0.5f;
            graphics->DrawImage(mIcon, math::Rect(0.0f, 0.0f, w2, h2), math::Rect(x0, y0, w2 * k, h2 * k));
            const float f = shadeFraction();
            if (mShade && f > 0.0f)
                graphics->DrawImage(mShade, math::Rect(0.0f, 0.0f, w2, h2 * f),
                                    math::Rect(x0, y0, w2 * k, h2 * f * k));
            const CountedHandle<render::Font> font = boardFont(TDBoardFont::Main42_3);
            if (font)
            {
                graphics->mFont = font.Get();
                // The draw keeps a pointer to its text until the wrapper goes, so the text must outlive it.
                const std::wstring seconds = std::to_wstring(secondsShown(mElapsed));
                auto text = graphics->DrawText(seconds)
                                .Translate(x0 + w2 * k * 0.5f, y0 + h2 * k * 0.5f);
                text->mAlignH = 2;
                text->mAlignV = 2;
            }
        }
    }
    if (mGlint)
        graphics->DrawParticles(mGlint);
}
