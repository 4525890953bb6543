#include "Source/TD/Towers/TDBullets.h"

#include "Core/Base/Containers.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Game.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDSpriteAnimation.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Towers/TDTowerModifiers.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDUnitAccess.h"
#include "Source/TD/Units/TDWaves.h"

#include <cmath>

namespace
{
constexpr float kPi = 3.14159265f;

float headingDegrees(float dx, float dy)
{
    float a = std::atan2(dx, dy) * 180.0f / kPi + 180.0f;
    while (a >= 360.0f)
        a -= 360.0f;
    while (a < 0.0f)
        a += 360.0f;
    return a;
}

void moveEmitter(render::ParticleEmitter* emitter, float x, float y, float dt)
{
    if (!emitter)
        return;
    emitter->Update(dt);
    emitter->SetPosition(math::Point2(x, y), 0);
}
} // namespace

TDBullet::TDBullet(TDTower* tower, TDUnit* target) : mTower(tower), mTarget(target)
{
    if (!target)
        return;
    mMap = tower ? tower->mMap : nullptr;
    mShooter = tower ? tower->getProto(-1) : nullptr;
    const math::Point2 impact = target->getTargetPoint();
    mImpactX = impact.x;
    mImpactY = impact.y;
    if (!tower || !mShooter)
        return;
    mStrength = mShooter->strength + tower->mBoost->strength;
    if (tower->mFrameSector < 0 || tower->mFrameSector > 31)
        tower->mFrameSector = 0;
    int i = 32 - tower->mFrameSector;
    if (i > 31)
        i = 0;
    float w = 0.0f;
    float h = 0.0f;
    computeSheetExtent(mShooter->sheet, w, h);
    mX = tower->mX;
    mY = tower->mY;
    if (mShooter->rotating && mShooter->sheet)
    {
        const auto& shots = mShooter->sheet->getGroup(std::string("s_point"));
        const auto& bases = mShooter->sheet->getGroup(std::string("base_point"));
        if (static_cast<std::size_t>(i) < shots.size() && !bases.empty())
        {
            const math::Rect& s = shots[static_cast<std::size_t>(i)]->mRect;
            const math::Rect& base = bases.front()->mRect;
            mX = mX + (w / 2.0f - base.x) + (w / 2.0f - s.x);
            mY = mY - ((h / 2.0f - s.y) - (h / 2.0f - base.y));
        }
    }
    const float distance = pointDistance(mX, mY, mImpactX, mImpactY);
    if (distance > 0.0f)
    {
        mDirX = (mImpactX - mX) / distance;
        mDirY = (mImpactY - mY) / distance;
    }
    mSpeed = mShooter->speed;
    if (mShooter->ammoid == kShellAmmo)
    {
        mY -= 15.0f;
        mFireAnimation = std::make_unique<TDSpriteAnimation>(L"td/tower3_1b", L"fire");
    }
}

TDBullet::~TDBullet()
{
    delete mFlightEmitter;
}

TDMap* TDBullet::map() const
{
    return mMap ? mMap : Game::GetMap();
}

TDUnitProto* TDBullet::ammo() const
{
    const TDMap* m = map();
    if (!mShooter || !m || !m->mProtoTable)
        return nullptr;
    return m->mProtoTable->find(mShooter->ammoid);
}

void TDBullet::playHitEffect(float x, float y)
{
    const TDUnitProto* a = ammo();
    TDMap* m = map();
    if (!mTower.get() || !a || a->onHit.empty() || !m)
        return;
    w7::SoundTags::Instance()->Play(L"ammo" + std::to_wstring(a->id) + L"hit");
    auto* effect = new TDEmitter(a->onHit);
    if (effect->mEmitter)
    {
        effect->mEmitter->SetPosition(math::Point2(x, y), 0);
        effect->mEmitter->SetState(1);
    }
    m->mEmitters.push_back(effect);
}

void TDBullet::advanceShotAnimation(float extra)
{
    const TDUnitProto* a = ammo();
    if (!a || !a->sheet || a->fps <= 0.0f)
        return;
    const std::size_t n = a->sheet->getGroup(std::string("shot")).size();
    if (n == 0)
        return;
    mAnimationTime += extra;
    if (mAnimationTime > static_cast<float>(n) / a->fps)
        mAnimationTime = 0.0f;
}

void TDBullet::update(float dt)
{
    if (!mShooter)
    {
        mAlive = 0;
        return;
    }
    mAnimationTime += dt;
    mPhaseTime += dt;
    if (mFireAnimation)
        mFireAnimation->advance(dt);
    if (mShooter->ammoid == kShellAmmo)
    {
        updateShell(dt);
        // Only a shell with a picture flies its arc alone; one without goes on as an ordinary bullet too.
        const TDUnitProto* a = ammo();
        if (mPhase != 4 && a && a->sheet)
        {
            moveEmitter(mFlightEmitter, mX, mY, dt);
            advanceShotAnimation(0.0f);
            return;
        }
    }
    if (mShooter->speed == -1.0f)
    {
        if (TDUnit* target = mTarget.get())
            tdunit::damage(*target, *this, true);
        mAlive = 0;
        return;
    }
    // A flying bullet's "shot" animation runs at twice its rate.
    advanceShotAnimation(dt);
    if (mShooter->aimed)
        updateHoming(dt);
    else
        updateStraight(dt);
    moveEmitter(mFlightEmitter, mX, mY, dt);
}

void TDBullet::updateShell(float dt)
{
    if (mPhase == 0)
    {
        TDUnit* target = mTarget.get();
        if (!target)
        {
            mAlive = 0;
            return;
        }
        if (mPhaseTime < 0.5f)
        {
            mY -= mSpeed * dt;
        }
        else
        {
            const math::Point2 t = target->getTargetPoint();
            mArc[0] = mX;
            mArc[1] = mY;
            mArc[2] = mX + (t.x - mX) * 0.5f;
            mArc[3] = mY - (t.y - mY) * 0.5f - 35.0f;
            mArc[4] = t.x;
            mArc[5] = t.y;
            mPhase = 1;
            mPhaseTime = 0.0f;
        }
    }
    else if (mPhase == 1)
    {
        if (mPhaseTime <= 1.0f)
        {
            const float t = mPhaseTime;
            const float u = 1.0f - t;
            const float x = u * u * mArc[0] + 2.0f * u * t * mArc[2] + t * t * mArc[4];
            const float y = u * u * mArc[1] + 2.0f * u * t * mArc[3] + t * t * mArc[5];
            mAngle = headingDegrees(x - mX, y - mY);
            mX = x;
            mY = y;
        }
        else
        {
            mX = mArc[4];
            mY = mArc[5];
            mPhaseTime = 0.0f;
            mPhase = 4;
        }
    }
}

void TDBullet::updateHoming(float dt)
{
    TDUnit* target = mTarget.get();
    TDTower* tower = mTower.get();
    TDMap* m = map();
    const bool lost = !target || !tower ||
                      pointDistance(target->getTargetPoint().x, target->getTargetPoint().y, tower->mX,
                                    tower->mY) > tower->getRange();
    if (lost)
    {
        if (m)
            m->mModifiers.push_back(new BlastModifier(*this));
        mAlive = 0;
        return;
    }
    const math::Point2 at = target->getPosition();
    const float dx = at.x - mX;
    const float dy = at.y - mY;
    const float l = std::sqrt(dx * dx + dy * dy);
    // A step that would reach the target hits it: a fast bullet cannot jump over its hit window.
    const float step = dt * mSpeed;
    if (l < kHitWindow || step >= l)
    {
        if (step >= l)
        {
            mX = at.x;
            mY = at.y;
        }
        tdunit::damage(*target, *this, true);
        playHitEffect(mX, mY);
        mAlive = 0;
        return;
    }
    mDirX = dx / l;
    mDirY = dy / l;
    mX += mDirX * step;
    mY += mDirY * step;
    mAngle = headingDegrees(mDirX, mDirY);
}

void TDBullet::updateStraight(float dt)
{
    TDTower* tower = mTower.get();
    const float step = dt * mSpeed;
    const float before = pointDistance(mX, mY, mImpactX, mImpactY);
    // The step that reaches (or passes) the impact point lands on it.
    if (step >= before)
    {
        mX = mImpactX;
        mY = mImpactY;
    }
    else
    {
        mX += mDirX * step;
        mY += mDirY * step;
    }
    if (!tower || pointDistance(mX, mY, tower->mX, tower->mY) > tower->getRange())
    {
        if (pointDistance(mX, mY, mImpactX, mImpactY) >= kHitWindow)
        {
            mAlive = 0;
            return;
        }
    }
    if (pointDistance(mX, mY, mImpactX, mImpactY) >= kHitWindow)
        return;
    const TDUnitProto* a = ammo();
    const float reach = a ? a->r : 0.0f;
    if (TDMap* m = map())
    {
        const std::vector<TDUnit*> units = m->mWaves->getUnits();
        for (TDUnit* unit : units)
        {
            const math::Point2 t = unit->getTargetPoint();
            if (pointDistance(t.x, t.y, mX, mY) > reach)
                continue;
            playHitEffect(t.x, t.y);
            tdunit::damage(*unit, *this, false);
        }
    }
    playHitEffect(mX, mY);
    mAlive = 0;
}

void TDBullet::draw(render::Graphics* graphics)
{
    if (mFlightEmitter)
        graphics->DrawParticles(mFlightEmitter);
    const TDUnitProto* a = mTower.get() ? ammo() : nullptr;
    if (!a || !a->sheet)
        return;
    (void)graphics->SetBlendMode(1);
    if (!a->sheet->mFromDocument)
    {
        // The picture's corner stands at the bullet's point; the ammunition pictures are drawn for that.
        if (a->sheet->mTexture)
            graphics->DrawImage(a->sheet->mTexture).Translate(mX, mY);
        return;
    }
    if (mFireAnimation)
        mFireAnimation->draw(graphics, mX, mY, mAngle);
}

TDBullets::~TDBullets()
{
    clear();
}

void TDBullets::add(TDBullet* bullet)
{
    if (!bullet)
        return;
    TDTower* tower = bullet->mTower.get();
    TDMap* map = bullet->map();
    if (tower && map)
        if (TDUnitProto* a = bullet->ammo())
        {
            if (!a->onFire.empty())
            {
                auto* effect = new TDEmitter(a->onFire);
                if (effect->mEmitter)
                {
                    effect->mEmitter->SetPosition(math::Point2(bullet->mX, bullet->mY), 0);
                    effect->mEmitter->SetDirection(tower->mCurrentDirection - 180.0f);
                    effect->mEmitter->SetState(1);
                }
                map->mLateEmitters.push_back(effect);
            }
            if (!a->onAmmo.empty())
            {
                if (a->onAmmo.back() == '\r')
                    a->onAmmo.pop_back();
                bullet->mFlightEmitter = render::ParticleSystem::Instance()->GetEmitter(a->onAmmo);
                if (bullet->mFlightEmitter)
                {
                    bullet->mFlightEmitter->SetPosition(math::Point2(bullet->mX, bullet->mY), 0);
                    bullet->mFlightEmitter->SetState(1);
                }
            }
        }
    mBullets.push_back(bullet);
}

void TDBullets::update(float dt)
{
    // Bullets added during the walk (none today) are updated in the same walk.
    for (std::size_t i = 0; i < mBullets.size(); ++i)
        mBullets[i]->update(dt);
    for (std::size_t i = 0; i < mBullets.size();)
    {
        TDBullet* bullet = mBullets[i];
        if (bullet->mAlive != 0)
        {
            ++i;
            continue;
        }
        if (TDTower* tower = bullet->mTower.get(); tower && tower->mState == kTowerWaitingForShell)
        {
            tower->mState = kTowerIdle;
            tower->mAnimationTime = 0.0f;
        }
        mBullets.erase(mBullets.begin() + static_cast<std::ptrdiff_t>(i));
        delete bullet;
    }
}

void TDBullets::draw(render::Graphics* graphics)
{
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    for (TDBullet* bullet : mBullets)
        bullet->draw(graphics);
}

void TDBullets::forgetUnit(TDUnit* unit)
{
    for (TDBullet* bullet : mBullets)
    {
        if (bullet->mTarget.get() == unit)
            bullet->mTarget.reset();
        std::erase(bullet->mHitList, unit);
    }
}

void TDBullets::removeTower(TDTower* tower)
{
    for (std::size_t i = 0; i < mBullets.size();)
    {
        if (mBullets[i]->mTower.get() != tower)
        {
            ++i;
            continue;
        }
        delete mBullets[i];
        mBullets.erase(mBullets.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (const TDMap* map = Game::GetMap())
        for (TDUnit* unit : map->mWaves->getUnits())
            for (TDModifier* modifier : unit->mModifiers)
                modifier->releaseUnit(tower);
}

void TDBullets::clear()
{
    base::DeleteAll(mBullets);
}
