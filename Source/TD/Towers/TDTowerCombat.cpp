// A tower's frame: blocked and weakened marks, timers, target choice, turning, the firing animation and the
// shot.
#include "Source/TD/Towers/TDTower.h"

#include "Source/TD/Data/TDRules.h"
#include "Core/Base/MathUtil.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Effects/TDBeamParticle.h"
#include "Source/TD/Game.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDAnimatedSprite.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "Source/TD/Towers/TDBullets.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDUnitAccess.h"
#include "Source/TD/Units/TDWaves.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kSector = 11.25f;
constexpr float kTurnRate = 360.0f;
constexpr float kPi = 3.14159265f;

int roundedSector(float degrees)
{
    return static_cast<int>(degrees / kSector + 0.5f);
}

float animationLength(const TDUnitProto& p, const char* group)
{
    if (!p.sheet || p.fps <= 0.0f)
        return 0.0f;
    return static_cast<float>(p.sheet->getGroup(std::string(group)).size()) / p.fps;
}
} // namespace

void TDTower::showSprite(TDWatch<TDAnimatedSprite>& sprite, const wchar_t* sheet, float fps)
{
    if (sprite.get())
        return;
    TDMap* m = map();
    if (!m)
        return;
    auto* shown = new TDAnimatedSprite(sheet);
    shown->mLoop = 1;
    if (fps > 0.0f)
        shown->mAnimation.mFps = fps;
    shown->mX = mX;
    shown->mY = mY;
    m->mSprites.push_back(shown);
    sprite = TDWatch<TDAnimatedSprite>(shown);
}

void TDTower::hideSprite(TDWatch<TDAnimatedSprite>& sprite)
{
    if (TDAnimatedSprite* shown = sprite.get())
        if (TDMap* m = map())
            eraseAndDelete(m->mSprites, static_cast<TDSprite*>(shown));
    sprite.reset();
}

void TDTower::dropTarget()
{
    mTarget.reset();
    mState = kTowerIdle;
    if (TDBeamParticle* beam = mBeam.get())
        beam->stop();
}

void TDTower::setDirection(float a)
{
    const float turned = a < 90.0f ? a + 270.0f : a - 90.0f;
    if (std::floor(turned / kSector) != std::floor(mWantedDirection / kSector))
        mWantedDirection = turned;
}

void TDTower::turn(float dt)
{
    const float c = mCurrentDirection;
    const float w = mWantedDirection;
    const bool up = (c <= w && 360.0f - w + c >= 180.0f) || (c > w && 360.0f - c + w < 180.0f);
    const float step = (up ? kTurnRate : -kTurnRate) * dt;
    if ((step > 0.0f && w > c && c + step > w) || (step < 0.0f && w < c && c + step < w))
        mCurrentDirection = w;
    else
        mCurrentDirection = c + step;
}

void TDTower::advanceFade(float dt)
{
    if (mFadeSpeed == 0.0f)
        return;
    mAlpha += dt * mFadeSpeed;
    if (mAlpha > 1.0f || mAlpha < 0.0f)
    {
        mAlpha = std::clamp(mAlpha, 0.0f, 1.0f);
        mFadeSpeed = 0.0f;
    }
}

void TDTower::update(float dt)
{
    const TDUnitProto* p = getProto(-1);
    TDMap* m = map();
    if (!p || !m)
        return;
    if (m->isTowerBlocked(this))
    {
        showSprite(mDisabledSprite, L"td/disabletower", 0.0f);
        mDisabledShown = true;
        return;
    }
    hideSprite(mDisabledSprite);
    mDisabledShown = false;
    mDebuffed = m->isTowerDebuffed(this);
    if (mDebuffed)
        showSprite(mDebuffSprite, L"td/tower_debuff", 10.0f);
    else
        hideSprite(mDebuffSprite);

    mTimer = std::max(0.0f, mTimer - dt);
    mCooldown = std::max(0.0f, mCooldown - dt);

    // A tower without strength (income, boost) sees no unit: it only looks around.
    const bool fights = p->strength != -1.0f;
    // Units in range, else those a little beyond it; one list kept from frame to frame.
    std::vector<TDUnit*>& seen = mSeenUnits;
    seen.clear();
    if (fights)
        findUnitsInRange(seen, 0.0f);
    const bool anyInRange = !seen.empty();
    if (!anyInRange)
    {
        if (fights)
            findUnitsInRange(seen, 100.0f);
        if (seen.empty())
        {
            if (mTarget.get())
                dropTarget();
            mTarget.reset();
            if (mState == kTowerIdle)
            {
                mState = kTowerScanning;
                mWantedDirection = math::Random() * 360.0f;
            }
        }
        else
        {
            mTarget = chooseTarget(seen, mTarget.get(), false);
            mState = kTowerAiming;
        }
    }
    else
    {
        mTarget = chooseTarget(seen, mTarget.get(), true);
        if (mState == kTowerIdle)
            mState = kTowerAiming;
    }

    TDUnit* target = mTarget.get();
    if (target && mState != kTowerHolding && mState != kTowerWaitingForShell)
    {
        const math::Point2 t = target->getTargetPoint();
        const float a = std::atan2(t.x - mX, t.y - mY) * 180.0f / kPi + 90.0f;
        setDirection(a);
        mWantedDirection = std::floor(mWantedDirection);
    }

    bool aligned = roundedSector(mCurrentDirection) == roundedSector(mWantedDirection);
    if (!aligned)
    {
        turn(dt);
        aligned = roundedSector(mCurrentDirection) == roundedSector(mWantedDirection);
    }
    if (aligned && anyInRange && mState == kTowerAiming)
    {
        mCurrentDirection = mWantedDirection;
        if (mCooldown == 0.0f)
        {
            mState = kTowerFiring;
            mAnimationTime = 0.0f;
        }
    }

    const float period = towerShotPeriod(p->cooldown, mBoost->cooldown, mDebuffed);
    switch (mState)
    {
    case kTowerIdle:
    case kTowerAiming:
        if (!p->rotating)
        {
            mAnimationTime += dt;
            if (mAnimationTime > animationLength(*p, "idle"))
                mAnimationTime = 0.0f;
        }
        break;
    case kTowerScanning:
        if (aligned)
        {
            mState = kTowerWaiting;
            mTimer = 3.0f;
        }
        break;
    case kTowerFiring:
        mAnimationTime += dt;
        if (!p->rotating)
        {
            const float length = animationLength(*p, "blast");
            if (mAnimationTime > length)
            {
                shoot();
                mCooldown = period;
                if (p->ammoid == TDBullet::kShellAmmo)
                {
                    mState = kTowerWaitingForShell;
                    mTarget.reset();
                    mAnimationTime = length;
                }
                else
                {
                    mAnimationTime = 0.0f;
                    mState = p->teleportEnemy ? kTowerHolding : kTowerIdle;
                }
            }
        }
        else if (p->fps <= 0.0f || mAnimationTime > 4.0f / p->fps)
        {
            mState = kTowerIdle;
            mAnimationTime = 0.0f;
            shoot();
            mCooldown = period;
        }
        break;
    case kTowerHolding:
        mAnimationTime += dt;
        if (mAnimationTime > 0.2f)
            if (TDBeamParticle* beam = mBeam.get())
            {
                beam->stop();
                mBeam.reset();
            }
        break;
    case kTowerWaiting:
        mTimer -= dt;
        if (mTimer <= 0.0f)
        {
            mState = kTowerIdle;
            mTimer = 0.0f;
        }
        break;
    default:
        break;
    }

    if (mCurrentDirection < 0.0f)
        mCurrentDirection += 360.0f;
    else if (mCurrentDirection > 360.0f)
        mCurrentDirection -= 360.0f;

    for (std::size_t i = 0; i < mModifiers.size();)
    {
        if (!mModifiers[i]->mActive)
        {
            delete mModifiers[i];
            mModifiers.erase(mModifiers.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        mModifiers[i]->update(nullptr, dt);
        ++i;
    }
    // A beam that stopped, or whose unit went away, is let go.
    if (const TDBeamParticle* beam = mBeam.get(); !beam || !beam->isPlaying() || !beam->mTarget.get())
        mBeam.reset();
}

void TDTower::findUnitsInRange(std::vector<TDUnit*>& out, float extra) const
{
    out.clear();
    const TDUnitProto* p = getProto(-1);
    const TDMap* m = mMap ? mMap : Game::GetMap();
    if (!p || !m)
        return;
    const float radius = getRange() + extra;
    for (TDUnit* unit : m->mWaves->getUnits())
    {
        if (!tdunit::isVisible(*unit) || unit->mState == kUnitDying || unit->mState == kUnitGone)
            continue;
        if (pointDistance(mX, mY, unit->mX, unit->mY) >= radius)
            continue;
        if (!p->air)
            if (const TDUnitProto* base = tdunit::baseProto(*unit); base && base->air)
                continue;
        out.push_back(unit);
    }
}

TDUnit* TDTower::chooseTarget(std::vector<TDUnit*>& candidates, TDUnit* current, bool preferSelected) const
{
    if (current && std::find(candidates.begin(), candidates.end(), current) == candidates.end())
        current = nullptr;
    if (preferSelected)
    {
        const TDMap* m = mMap ? mMap : Game::GetMap();
        TDUnit* selected = m ? m->getSelectedUnit() : nullptr;
        if (selected && std::find(candidates.begin(), candidates.end(), selected) != candidates.end())
            return selected;
    }
    if (current)
        return current;
    if (!preferSelected)
        return findNearestUnit(candidates, mX, mY);
    std::vector<TDUnit*> pool;
    for (TDUnit* unit : candidates)
        if (const TDUnitProto* p = unit->getProto(); p && p->air)
            pool.push_back(unit);
    if (pool.empty())
        pool = candidates;
    std::sort(pool.begin(), pool.end(),
              [](const TDUnit* a, const TDUnit* b) { return tdunit::health(*a) < tdunit::health(*b); });
    const float weakest = pool.empty() ? 0.0f : tdunit::health(*pool.front());
    pool.erase(std::remove_if(pool.begin(), pool.end(),
                              [weakest](const TDUnit* u) { return tdunit::health(*u) != weakest; }),
               pool.end());
    return findNearestUnit(pool, mX, mY);
}

void TDTower::shoot()
{
    TDUnit* target = mTarget.get();
    const TDUnitProto* p = getProto(-1);
    TDMap* m = map();
    if (!target || !p || !m)
        return;
    w7::SoundTags::Instance()->Play(L"tower" + std::to_wstring(p->id) + L"shot");
    if (p->speed == -1.0f && p->teleportEnemy)
    {
        if (mBeam.get() || tdunit::isHeld(*target))
            return;
        const TDSpriteSheet* sheet = p->sheet;
        const TDFrameEntry* s = nullptr;
        const TDFrameEntry* base = nullptr;
        if (sheet)
        {
            const auto& shots = sheet->getGroup(std::string("s_point"));
            const auto& bases = sheet->getGroup(std::string("base_point"));
            s = shots.empty() ? nullptr : shots.front();
            base = bases.empty() ? nullptr : bases.front();
        }
        float sx = mX;
        float sy = mY;
        if (s && base)
        {
            const float w = mSpriteWidth;
            sx = mX - ((w / 2.0f - base->mRect.x) + (w / 2.0f - s->mRect.x));
            sy = mY - (base->mRect.y - s->mRect.y);
        }
        auto* beam = new TDBeamParticle(sx, sy, target, "t_line");
        m->mParticles.push_back(beam);
        mBeam = TDWatch<TDBeamParticle>(beam);
        tdunit::hold(*target);
        TDBullet bullet(this, target);
        tdunit::damage(*target, bullet, true);
        return;
    }
    m->mBullets->add(new TDBullet(this, target));
}

TDUnit* findNearestUnit(const std::vector<TDUnit*>& units, float x, float y)
{
    TDUnit* best = nullptr;
    float bestDistance = 1e9f;
    for (TDUnit* unit : units)
    {
        const math::Point2 t = unit->getTargetPoint();
        const float d = (t.x - x) * (t.x - x) + (t.y - y) * (t.y - y);
        if (d < bestDistance)
        {
            bestDistance = d;
            best = unit;
        }
    }
    return best;
}
