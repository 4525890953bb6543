#pragma once

#include "Source/TD/Sprites/TDWatch.h"

#include <memory>
#include <vector>

namespace render
{
class Graphics;
class ParticleEmitter;
} // namespace render

class TDMap;
class TDSpriteAnimation;
class TDTower;
class TDUnit;
class TDUnitProto;

// One projectile of a tower: it flies straight to where its target stood, homes in on its target ("aimed"),
// hits at once (speed -1), or, for the shell ammunition 2003, climbs and then flies an arc. Spells are
// bullets that never move.
class TDBullet
{
public:
    static constexpr int kShellAmmo = 2003;
    // Within this distance of its impact point (or target) a bullet hits.
    static constexpr float kHitWindow = 10.0f;

    // Fired by the tower at the target; a null target leaves only the position and lists cleared.
    TDBullet(TDTower* tower, TDUnit* target);
    TDBullet(const TDBullet&) = delete;
    TDBullet& operator=(const TDBullet&) = delete;
    virtual ~TDBullet();

    virtual void update(float dt);
    // The ammunition's hit sound and effect at the point (tower bullets only).
    void playHitEffect(float x, float y);
    // The ammunition row of the shooter, or null.
    TDUnitProto* ammo() const;
    TDMap* map() const;
    bool isSpell() const { return mSpell; }
    void draw(render::Graphics* graphics);

    int mPhase = 0;
    float mPhaseTime = 0.0f;
    float mArc[6] = {0, 0, 0, 0, 0, 0};
    // The tower's current prototype when fired; null for a spell.
    TDUnitProto* mShooter = nullptr;
    float mImpactX = 0.0f;
    float mImpactY = 0.0f;
    std::unique_ptr<TDSpriteAnimation> mFireAnimation;
    // Owned.
    render::ParticleEmitter* mFlightEmitter = nullptr;
    int mAlive = 1;
    TDWatch<TDTower> mTower;
    TDWatch<TDUnit> mTarget;
    float mAnimationTime = 0.0f;
    float mAngle = 0.0f;
    std::vector<TDUnit*> mHitList;
    float mDirX = 0.0f;
    float mDirY = 0.0f;
    float mX = 0.0f;
    float mY = 0.0f;
    float mSpeed = 0.0f;
    // Strength and "damage_mult" read by the unit's damage: the tower's when fired.
    float mStrength = 0.0f;
    TDMap* mMap = nullptr;

protected:
    bool mSpell = false;

private:
    void updateShell(float dt);
    void updateHoming(float dt);
    void updateStraight(float dt);
    void advanceShotAnimation(float extra);
};

// The bullets and spells in flight, owned by the map. The level frame advances and draws them.
class TDBullets
{
public:
    TDBullets() = default;
    TDBullets(const TDBullets&) = delete;
    TDBullets& operator=(const TDBullets&) = delete;
    virtual ~TDBullets();

    // Starts the firing effects of a tower's bullet and takes it (owned).
    void add(TDBullet* bullet);
    virtual void update(float dt);
    virtual void draw(render::Graphics* graphics);
    // Forgets a unit that leaves the game (targets and hit lists).
    virtual void forgetUnit(TDUnit* unit);
    // Deletes a sold tower's bullets and lets every unit's modifiers forget the tower.
    virtual void removeTower(TDTower* tower);
    // Deletes every bullet (a level start).
    virtual void clear();
    const std::vector<TDBullet*>& getBullets() const { return mBullets; }

private:
    std::vector<TDBullet*> mBullets;
};
