#pragma once

#include <string>
#include <vector>

class TDTower;
class TDUnit;

// A timed effect on a unit, a tower or the map (slow, poison, boost ...). The map keeps its own in a list
// that it updates every frame and prunes of inactive ones; units keep theirs. The effects themselves come
// with the units and towers.
class TDModifier
{
public:
    TDModifier(const std::string& parameter, float value, float duration, TDTower* owner);
    TDModifier(const TDModifier&) = delete;
    TDModifier& operator=(const TDModifier&) = delete;
    virtual ~TDModifier() = default;

    // One frame for the unit it acts on (null for the map's own modifiers): elapsed time, the effect once per
    // period (apply, in the update whose gathered time passes the period; period -1: every update), and the
    // end after the duration (-1: never). An inactive modifier does nothing.
    virtual void update(TDUnit* unit, float dt);
    // The effect itself; nothing in the base.
    virtual void apply(TDUnit* unit, float dt);
    // Forgets an object that goes away (a sold tower).
    virtual void releaseUnit(const void* object);

    // Set on the modifiers a unit gets at spawn.
    bool mInnate = false;
    // 101 fades out.
    int mKind = 0;
    // Cleared when the modifier ends; the holder then deletes it.
    bool mActive = true;
    std::string mParameter;
    float mValue = 0.0f;
    float mDuration = -1.0f;
    float mElapsed = 0.0f;
    float mPeriodTimer = 0.0f;
    // -1: every update.
    float mPeriod = -1.0f;
    float mX = 0.0f;
    float mY = 0.0f;
    float mRadius = 0.0f;
    // Not owned; null for ownerless modifiers.
    TDTower* mOwner = nullptr;
};

// Deletes the list's ended modifiers (mActive cleared) and keeps the others in their order.
void deleteInactive(std::vector<TDModifier*>& list);
