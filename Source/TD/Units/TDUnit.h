#pragma once

#include "Source/TD/Routes/TDBezier.h"
#include "Source/TD/Sprites/TDTargetPoint.h"

#include <vector>

namespace render
{
class Graphics;
class Image;
} // namespace render

class TDFrameEntry;
class TDMap;
class TDModifier;
class TDPoint;
class TDTower;
class TDUnitProto;
class TDWaveEntry;

// The state of a unit on the map.
enum TDUnitState : int
{
    kUnitWalking = 1,
    kUnitDying = 2,
    kUnitSpecial = 4, // plays its "special" animation standing still
    kUnitCaught = 5,  // held in a teleporting tower's beam
    kUnitGone = 6     // dead and hidden while its fade runs out
};

// What a tower's shot brings to the unit it hits. The bullet fills it: the tower owns the modifiers the hit
// leaves (null: none), the shooter is the tower's current prototype (its strength, flags and ammunition id),
// strength is the damage before any splash falloff (the shooter's strength, the tower's boost and its spot's
// "damage_mult"), and (x, y) is where the bullet is.
struct TDShot
{
    TDTower* tower = nullptr;
    const TDUnitProto* shooter = nullptr;
    float strength = 0.0f;
    float x = 0.0f;
    float y = 0.0f;
};

// The modifiers a hit leaves on the unit (and on the map), by the shooter's flags; splash damage to the
// neighbours is the unit's own. The towers' side of the game defines it.
void addHitModifiers(TDMap& map, class TDUnit& unit, const TDShot& shot, bool primary);

// An enemy on the map, owned by the wave manager's live list. It walks its route link by link along a lane,
// takes hits, dies with an animation that pays its reward, or escapes at the goal and costs lives.
class TDUnit : public TDTargetPoint
{
public:
    // A unit for a wave entry (TDWaves::add makes them); route and position come from TDMap::spawnUnit.
    TDUnit(TDMap* map, TDWaveEntry* entry);
    // A unit of a given prototype standing at a point, not made by a wave (tests and tools); the prototype is
    // not owned.
    TDUnit(TDWaveEntry* entry, TDUnitProto* proto, float x, float y);
    TDUnit(const TDUnit&) = delete;
    TDUnit& operator=(const TDUnit&) = delete;
    // Deletes its shadow and its modifiers.
    ~TDUnit() override;

    math::Point2 getPosition() const override { return math::Point2(mX, mY); }
    math::Point2 getTargetPoint() const override { return math::Point2(mTargetX, mTargetY); }

    // The prototype of the unit's tier (the base prototype for tier 0, else its branch of that level id, else
    // its last branch); null when there is none.
    TDUnitProto* getProto() const;
    // The prototype of the entry's unit id.
    TDUnitProto* getBaseProto() const;
    // (1 + the difficulty factor) x the tier prototype's health.
    float getMaxHealth() const;
    bool isAir() const;
    // Towers ignore it while this holds.
    bool isInvisible() const { return mInvisibleTime > 0.0f; }
    // Walking or playing its special animation: neither dying, nor dead, nor finished.
    bool isAlive() const { return mAlive != 0 && mState != kUnitDying && mState != kUnitGone; }
    bool isDying() const { return mState == kUnitDying || mState == kUnitGone; }

    // The top of the unit's first frame relative to its target point: the selection marker stands there.
    virtual float getRootFrameTop() const;
    // Whether the map point lies in the unit's frame rectangle (edges included); never before it was drawn.
    virtual bool hitTest(int x, int y) const;
    // The rectangle (centre x, centre y, width, height) of the frame last drawn; all 0 before the first draw.
    math::Rect getFrameRect() const;

    // One frame of the unit's own life (scaled time).
    virtual void update(float dt);
    // A hit by a tower's shot: immunities, hit modifiers, splash, then the damage. primary is false for the
    // neighbours a splash reaches, whose damage falls off with their distance from the bullet.
    void damage(const TDShot& shot, bool primary);
    // Removes health (a negative amount heals), restarts the health bar, reveals the unit when the amount is
    // above 0, and plays the hit sound. Nothing while dying.
    void hit(float amount);
    // False when the unit already carries a hit modifier (not innate) of the same owner.
    bool canAddModifier(const TDModifier* modifier) const;
    // Adds the modifier when canAddModifier allows it, else deletes it; true when added.
    bool addModifier(TDModifier* modifier);
    // Deletes every modifier that the tower owns (a sold tower's hold on it).
    void removeModifiersOwnedBy(const TDTower* tower);
    // Entering the link that starts at route[link index].
    void enterLink();
    // The share of its cost that income towers around it add to its reward.
    float killRewardBonus() const;
    // Queues the unit's frames into the map's depth-sorted lists; it paints nothing itself. The overlay
    // (health bar, developer info) is drawOverlay.
    virtual void draw();
    // A unit whose animation group has no frames shows its sheet's own picture instead, drawn at once (under
    // the map's camera, over the ground) rather than queued.
    void drawStandIn(render::Graphics* graphics) const;
    virtual void drawOverlay(render::Graphics* graphics);

    // The tower target order: a before b when b has more health.
    static bool healthLess(const TDUnit* a, const TDUnit* b) { return a->mHealth < b->mHealth; }

    // Fields, in the order of the unit's description.
    float mFallAngle = 0.0f;
    float mFallDrop = 0.0f;
    float mOpacity = 1.0f;
    float mOpacityTarget = 1.0f;
    float mInvisibleTime = 0.0f;
    // The current link's lane, in the map's path table (valid while the level runs); null before the first.
    const TDLaneSamples* mLane = nullptr;
    float mSpriteWidth = 0.0f;
    float mSpriteHeight = 0.0f;
    int mState = kUnitWalking;
    // 0 once the unit has left the game; the wave manager then removes it.
    int mAlive = 1;
    bool mEscaped = false;
    float mUpper = 0.0f;
    float mFade = 0.0f;
    float mFadeSpeed = 1.5f;
    bool mFacingLeft = false;
    int mTier = 0;
    float mAnimTime = 0.0f;
    // Not owned.
    TDWaveEntry* mEntry = nullptr;
    const TDFrameEntry* mCurrentFrame = nullptr;
    TDPoint* mSpawnPoint = nullptr;
    float mLinkLength = 0.0f;
    float mLinkTime = 0.0f;
    float mLaneT = 0.0f;
    std::vector<int> mRoute;
    int mLinkIndex = 0;
    float mPrevX = 0.0f;
    float mPrevY = 0.0f;
    float mDirX = 0.0f;
    float mDirY = 0.0f;
    // Taken off the prototype's speed while moving; set by modifiers each frame and cleared at its end.
    float mSpeedReduction = 0.0f;
    float mHealth = 0.0f;
    float mHealthBarTime = 0.0f;
    float mX = 0.0f;
    float mY = 0.0f;
    float mTargetX = 0.0f;
    float mTargetY = 0.0f;
    // Owned; null for units without a shadow.
    render::Image* mShadow = nullptr;
    // Owned: the unit's own (innate) and its hit modifiers.
    std::vector<TDModifier*> mModifiers;
    float mHasteTime = 0.0f;
    float mSpeedFactor = 1.0f;
    float mSpeedFactorTarget = 1.0f;
    // What the unit reports to its wave when it leaves.
    float mReportedValue = 0.0f;
    // Not owned; null for a unit not made by a wave.
    TDMap* mMap = nullptr;

private:
    void die(const TDUnitProto& proto);
    void raiseDead();
    void walk(const TDUnitProto& proto, float dt);
    void flyStraight(const TDUnitProto& proto, float dt);
    // The frame the draw picks, or null; the anchor frame of the root group, or null.
    const TDFrameEntry* pickFrame(const TDUnitProto& proto);
    const TDFrameEntry* anchorFrame() const;
    // The developer's health text and frame edges; the health bar.
    void drawUnitInfo(render::Graphics* graphics) const;
    void drawHealthBar(render::Graphics* graphics);

    // The prototype given by the test constructor, not owned.
    TDUnitProto* mFixedProto = nullptr;
};
