#pragma once

#include "Source/TD/TDTargetPoint.h"

#include <vector>

namespace render
{
class Graphics;
}

class TDModifier;
class TDUnitProto;
class TDWaveEntry;

// The state of a unit on the map.
enum TDUnitState : int
{
    kUnitWalking = 1,
    kUnitDying = 2,
    kUnitSpecial = 4,
    kUnitGone = 6
};

// An enemy on the map, owned by the wave manager's live list. What the level core and its frame read of it
// is here (position, target point, state, its entry and prototype, its per-frame speed reduction and its
// modifiers); walking, fighting and drawing belong to the unit itself and come with the units.
class TDUnit : public TDTargetPoint
{
public:
    TDUnit(TDWaveEntry* entry, TDUnitProto* proto, float x, float y);
    TDUnit(const TDUnit&) = delete;
    TDUnit& operator=(const TDUnit&) = delete;
    // Deletes its modifiers.
    ~TDUnit() override;

    math::Point2 getPosition() const override { return math::Point2(mX, mY); }
    math::Point2 getTargetPoint() const override { return math::Point2(mX, mY + mTargetOffsetY); }

    // The prototype of the unit's tier; null when the unit has none.
    TDUnitProto* getProto() const { return mProto; }
    // The top of the unit's first frame relative to its target point: the selection marker stands there.
    virtual float getRootFrameTop() const { return 0.0f; }
    // Whether the map point picks the unit (a press selects it).
    virtual bool hitTest(int x, int y) const;

    // One frame of the unit's own life (scaled time).
    virtual void update(float dt);
    // The unit's frames for the map's depth-sorted lists, and its overlay (health bar and the like).
    virtual void queueFrames();
    virtual void drawOverlay(render::Graphics* graphics);

    // Not owned.
    TDWaveEntry* mEntry = nullptr;
    TDUnitProto* mProto = nullptr;
    float mX = 0.0f;
    float mY = 0.0f;
    // The target point lies this far below (negative: above) the position.
    float mTargetOffsetY = 0.0f;
    int mState = kUnitWalking;
    // 0 once the unit has left the game; the wave manager then removes it.
    float mAlive = 1.0f;
    // Set when the unit reached the goal.
    bool mFinished = false;
    // Taken off the prototype's speed while moving; set by modifiers each frame and cleared at its end.
    float mSpeedReduction = 0.0f;
    // What the unit reports to its wave when it leaves.
    float mReportedValue = 0.0f;
    // Owned.
    std::vector<TDModifier*> mModifiers;
};
