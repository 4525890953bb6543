// A unit's life: creation from its wave entry, the per-frame update (invisibility, haste, fades, death,
// animation, walking), and the kill and raise rules.
#include "Source/TD/Units/TDUnit.h"

#include "Core/Base/Containers.h"
#include "Core/Base/MathUtil.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Render/Image.h"
#include "Framework/GameApplication.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDRules.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Units/TDWaves.h"

#include <algorithm>
#include <cmath>

namespace
{
// Seconds one play of a group takes; a group that cannot play (no frames, or a frame rate of 0 or less) has
// played at once, so no death or special animation can hold a unit for ever.
float groupDuration(const TDUnitProto& proto, std::size_t frames)
{
    if (frames == 0 || !(proto.fps > 0.0f))
        return 0.0f;
    return static_cast<float>(frames) / proto.fps;
}

// The largest right and bottom edge over every frame of the sheet.
math::Point2 sheetExtent(const TDUnitProto& proto)
{
    math::Point2 extent(0.0f, 0.0f);
    if (!proto.sheet)
        return extent;
    for (const auto& group : proto.sheet->mGroups)
        for (const TDFrameEntry* frame : group.second)
        {
            extent.x = std::max(extent.x, frame->mRect.x + frame->mRect.width);
            extent.y = std::max(extent.y, frame->mRect.y + frame->mRect.height);
        }
    return extent;
}

const wchar_t* shadowName(int id)
{
    switch (id)
    {
    case 3:
    case 30:
    case 31:
    case 38:
        return L"td/data/ui_parts/shadows/wywern_shadow";
    case 10:
    case 32:
    case 33:
        return L"td/data/ui_parts/shadows/dragon_shadow";
    default:
        return nullptr;
    }
}

void playTag(const wchar_t* format, int id)
{
    std::wstring tag(format);
    const std::size_t at = tag.find(L"%d");
    if (at != std::wstring::npos)
        tag.replace(at, 2, std::to_wstring(id));
    w7::SoundTags::Instance()->Play(tag);
}
} // namespace

TDUnit::TDUnit(TDMap* map, TDWaveEntry* entry) : mEntry(entry), mMap(map)
{
    mTier = entry ? entry->mUpgrade - 1 : 0;
    const TDUnitProto* proto = getProto();
    if (!proto)
        return;
    const float walk = groupDuration(*proto, proto->frames("walk").size());
    mAnimTime = math::Random() * walk;
    mHealth = getMaxHealth();
    const math::Point2 extent = sheetExtent(*proto);
    mSpriteWidth = extent.x;
    mSpriteHeight = extent.y;
    if (proto->air)
        if (const wchar_t* shadow = shadowName(proto->id))
            if (framework::GameApplication* application = framework::GetGameApplication())
                mShadow = application->LoadTexture(shadow, nullptr);
}

TDUnit::TDUnit(TDWaveEntry* entry, TDUnitProto* proto, float x, float y)
    : mEntry(entry), mX(x), mY(y), mTargetX(x), mTargetY(y), mFixedProto(proto)
{
    if (proto)
        mHealth = proto->health;
}

TDUnit::~TDUnit()
{
    delete mShadow;
    base::DeleteAll(mModifiers);
}

TDUnitProto* TDUnit::getBaseProto() const
{
    if (mFixedProto)
        return mFixedProto;
    if (!mMap || !mEntry || !mMap->mProtoTable)
        return nullptr;
    return mMap->mProtoTable->find(mEntry->mUnitId);
}

TDUnitProto* TDUnit::getProto() const
{
    if (mFixedProto)
        return mFixedProto;
    TDUnitProto* base = getBaseProto();
    if (!base || mTier == 0)
        return base;
    for (TDUnitProto* branch : base->branches)
        if (branch->levelid == mTier)
            return branch;
    return base->branches.empty() ? nullptr : base->branches.back();
}

float TDUnit::getMaxHealth() const
{
    const TDUnitProto* proto = getProto();
    if (!proto)
        return 0.0f;
    const float factor = mMap ? mMap->getDifficultyFactor() : 0.0f;
    return (1.0f + factor) * proto->health;
}

bool TDUnit::isAir() const
{
    const TDUnitProto* proto = getProto();
    return proto && proto->air;
}

void TDUnit::update(float dt)
{
    mInvisibleTime -= dt;
    mOpacityTarget = mInvisibleTime > 0.0f ? 0.4f : 1.0f;
    math::Approach(&mOpacity, dt, mOpacityTarget);
    mHasteTime -= dt;
    if (mHasteTime <= 0.0f)
    {
        mSpeedFactorTarget = 1.0f;
        mHasteTime = 0.0f;
    }
    math::Approach(&mSpeedFactor, dt, mSpeedFactorTarget);
    mHealthBarTime = std::max(0.0f, mHealthBarTime - dt);
    if (mFadeSpeed != 0.0f)
    {
        mFade += mFadeSpeed * dt;
        if (mFade > 1.0f)
        {
            mFade = 1.0f;
            mFadeSpeed = 0.0f;
        }
        else if (mFade < 0.0f)
        {
            mFade = 0.0f;
            mFadeSpeed = 0.0f;
        }
    }
    const TDUnitProto* proto = getProto();
    if (!(mHealth > 0.0f) && mState != kUnitDying && mState != kUnitGone && proto)
    {
        die(*proto);
        return;
    }
    if (!proto)
    {
        mAlive = 0;
        return;
    }
    if (proto->speed - mSpeedReduction > 0.0f || mState == kUnitDying || mState == kUnitGone)
        mAnimTime += dt;

    if (mState == kUnitDying)
    {
        const std::size_t frames = proto->frames("death").size();
        if (proto->air)
        {
            mFallDrop += 80.0f * dt;
            mFallAngle += 50.0f * dt;
        }
        if (frames == 0)
        {
            mAlive = 0;
            raiseDead();
            return;
        }
        const float duration = groupDuration(*proto, frames);
        if (mAnimTime >= duration)
        {
            mState = kUnitGone;
            mFadeSpeed = -1.5f;
            mAnimTime = proto->fps > 0.0f ? static_cast<float>(frames - 1) / proto->fps : 0.0f;
        }
        return;
    }
    if (mState == kUnitGone)
    {
        if (mFade <= 0.0f)
        {
            mAlive = 0;
            raiseDead();
            mAnimTime = 0.0f;
        }
        return;
    }
    if (mState == kUnitSpecial)
    {
        const std::size_t frames = proto->frames("special").size();
        // A special animation that cannot play (no frames, no frame rate) ends at once.
        if (frames == 0 || mAnimTime >= groupDuration(*proto, frames))
        {
            mAnimTime = 0.0f;
            mState = kUnitWalking;
            if (frames != 0)
                playTag(L"enemy%dspecial", proto->id);
        }
    }
    else
    {
        const std::size_t frames = proto->frames("walk").size();
        if (frames != 0 && mAnimTime >= groupDuration(*proto, frames))
            mAnimTime = 0.0f;
    }

    deleteInactive(mModifiers);
    if (mState == kUnitSpecial)
        return;
    if (proto->straight)
        flyStraight(*proto, dt);
    else
        walk(*proto, dt);
}

void TDUnit::enterLink()
{
    mUpper = 0.0f;
    if (!mMap || mLinkIndex < 0 || mLinkIndex >= static_cast<int>(mRoute.size()))
        return;
    if (const TDPoint* point = mMap->findPoint(mRoute[static_cast<std::size_t>(mLinkIndex)]))
        mUpper = point->getFloat("upper");
}

void TDUnit::walk(const TDUnitProto& proto, float dt)
{
    if (!mMap)
        return;
    mLinkTime += dt;
    const std::size_t index = static_cast<std::size_t>(std::max(mLinkIndex, 0));
    if (mRoute.size() < 2)
    {
        // No route to the goal (the log said so when it was sought): the unit leaves the level without a
        // reward and without costing a life, and its wave can still end.
        mAlive = 0;
        mEscaped = true;
        if (mEntry)
            mEntry->setState(kEntryEscaped);
        return;
    }
    if (index + 1 >= mRoute.size())
    {
        // The route ends where the unit stands: the goal is reached.
        mMap->onUnitEscaped(this);
        mAlive = 0;
        return;
    }
    const TDPoint* a = mMap->findPoint(mRoute[index]);
    const TDPoint* b = mMap->findPoint(mRoute[index + 1]);
    const int key = TDRoutes::laneKey(mEntry ? mEntry->mY : 0.0f);
    if (const TDLink* link = mMap->findLink(a, b))
        if (const TDLaneSamples* lane = mMap->mRoutes.ensureLane(link, key))
            mLane = lane;

    const float step = (proto.speed - mSpeedReduction) * dt * mSpeedFactor;
    const float t = mLane ? advanceOnLane(*mLane, mLaneT, step) : 1.0f;
    if (t >= 1.0f || t < 0.0f)
    {
        mLinkIndex += 1;
        mLaneT = 0.0f;
        mLinkTime = 0.0f;
        const std::size_t next = static_cast<std::size_t>(mLinkIndex);
        if (mRoute.size() > next + 1)
        {
            enterLink();
            mLinkLength = mMap->getLinkLength(
                mMap->findLink(mMap->findPoint(mRoute[next]), mMap->findPoint(mRoute[next + 1])));
        }
        else
        {
            mMap->onUnitEscaped(this);
            mAlive = 0;
        }
        return;
    }
    mLaneT = t;
    const TDLaneSamples& samples = *mLane;
    const std::size_t n = samples.size();
    const std::size_t c = std::min(static_cast<std::size_t>(static_cast<float>(n - 1) * t), n - 1);
    mFacingLeft = samples[c].ny <= -0.05f;
    const math::Point2 q = getLanePosition(samples, t);
    if (mState != kUnitDying)
    {
        mPrevX = mX;
        mPrevY = mY;
    }
    mX = q.x;
    mY = q.y;
    mTargetX = q.x;
    mTargetY = q.y;
    const float dx = mX - mPrevX;
    const float dy = mY - mPrevY;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length > 0.0f)
    {
        mDirX = dx / length;
        mDirY = dy / length;
    }
}

void TDUnit::flyStraight(const TDUnitProto& proto, float dt)
{
    if (!mMap)
        return;
    const TDPoint* goal = mMap->getGoalPoint();
    if (!goal)
        return;
    if (pointDistance(mTargetX, mTargetY, goal->x, goal->y) < 50.0f)
    {
        mMap->onUnitEscaped(this);
        return;
    }
    mLinkTime = dt;
    const std::size_t index = static_cast<std::size_t>(std::max(mLinkIndex, 0)) + 1;
    const TDPoint* b = index < mRoute.size() ? mMap->findPoint(mRoute[index]) : goal;
    if (!b)
        b = goal;
    const float dx = b->x - mX;
    const float dy = b->y - mY;
    const float length = std::sqrt(dx * dx + dy * dy);
    mFacingLeft = dx < 0.0f;
    if (length > 0.0f)
    {
        mX += dx / length * proto.speed * mLinkTime;
        mY += dy / length * proto.speed * mLinkTime;
    }
    mTargetX = mX;
    mTargetY = mY;
}

void TDUnit::die(const TDUnitProto& proto)
{
    if (proto.carrier && mMap)
        mMap->spawnCarriedUnits(this, 3);
    mState = kUnitDying;
    playTag(L"enemy%ddie", proto.id);
    if (mMap)
    {
        const int reward = killReward(proto.cost, mMap->mEnemyCostBonus, killRewardBonus());
        mMap->mEconomy->addKillReward(reward, mTargetX, mTargetY - 50.0f);
        if (HUDPopupNotice* notice = mMap->mPopups->add(mTargetX, mTargetY, HUDPopupTexts::kKindMoney))
            notice->mText = L"+ " + std::to_wstring(reward);
    }
    mAnimTime = 0.0f;
    if (proto.explodeStr > 0.0f && mMap)
    {
        auto* effect = new TDEmitter("mg_00");
        if (effect->mEmitter)
        {
            effect->mEmitter->SetPosition(math::Point2(mX, mY), 1);
            effect->mEmitter->SetState(1);
        }
        mMap->mLateEmitters.push_back(effect);
        for (TDUnit* other : mMap->mWaves->getUnits())
            if (other != this && other->mAlive != 0 && other->mState != kUnitDying &&
                pointDistance(mX, mY, other->mX, other->mY) <= proto.explodeRadius)
                other->hit(proto.explodeStr);
    }
}

float TDUnit::killRewardBonus() const
{
    if (!mMap)
        return 0.0f;
    float bonus = 0.0f;
    // The tower as it stands now (an upgrade or branch may have made it an income tower) and its range with
    // the spot's and the boost's share.
    for (const TDTower* tower : mMap->mTowers)
    {
        const TDUnitProto* proto = tower->getProto();
        if (!proto || proto->goldIncome <= 0)
            continue;
        if (tower->getRange() >= pointDistance(tower->mX, tower->mY, mTargetX, mTargetY))
            bonus += proto->health / 100.0f;
    }
    return bonus;
}

void TDUnit::raiseDead()
{
    if (!mMap || !mEntry || mEntry->mUnitId == 39 || !mEntry->mWave)
        return;
    TDUnit* raiser = nullptr;
    for (TDUnit* other : mMap->mWaves->getUnits())
    {
        if (other == this || other->mState == kUnitDying)
            continue;
        const TDUnitProto* proto = other->getProto();
        if (!proto || !proto->raiseDead || other->mSpeedReduction == proto->speed)
            continue;
        if (pointDistance(other->mX, other->mY, mX, mY) < proto->r)
        {
            raiser = other;
            break;
        }
    }
    if (!raiser)
        return;
    auto* entry = new TDWaveEntry(mEntry->mWave);
    entry->mUnitId = 39;
    entry->mUpgrade = 1;
    entry->mX = -1.0f;
    entry->mY = mEntry->mY;
    entry->mSpawned = 1;
    mEntry->mWave->mEntries.push_back(entry);
    const std::size_t index = static_cast<std::size_t>(std::max(mLinkIndex, 0));
    TDPoint* at = index < mRoute.size() ? mMap->findPoint(mRoute[index]) : mSpawnPoint;
    TDUnit* raised = mMap->spawnUnit(entry, at);
    if (raised)
    {
        raised->mLinkIndex = mLinkIndex;
        raised->mLaneT = mLaneT;
        raised->mSpawnPoint = mSpawnPoint;
        raised->mRoute = mRoute;
        raised->mLinkLength = mLinkLength;
        raised->mLinkTime = mLinkTime;
        raised->mX = mX;
        raised->mY = mY;
        raised->mTargetX = mTargetX;
        raised->mTargetY = mTargetY;
        raised->mLane = mLane;
        raised->mState = kUnitSpecial;
        raised->mAnimTime = 0.0f;
    }
    if (raiser->mState != kUnitSpecial)
    {
        raiser->mState = kUnitSpecial;
        raiser->mAnimTime = 0.0f;
    }
}
