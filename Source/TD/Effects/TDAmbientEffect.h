#pragma once

#include "Source/TD/Sprites/TDWatch.h"

#include <string>
#include <vector>

class TDEmitter;

// A decoration effect of a level (butterflies, snow, birds ...) at a place the level art marks: it starts
// after a random first delay and then either loops for ever or fires again at random intervals.
class TDAmbientEffect
{
public:
    static constexpr float kShortestInterval = 20.0f;

    // The first delay is 3 to 8 seconds (one draw of math::Random); a longest interval of 0 makes the effect
    // loop. An empty name shows nothing.
    TDAmbientEffect(const std::wstring& name, float x, float y, float longestInterval);

    // Starts the effect: a new emitter at the effect's place, looping when the effect loops, handed to the
    // persistent effect list, which owns and prunes it. An unknown effect name starts nothing.
    void fire(std::vector<TDEmitter*>& persistentEffects);

    std::wstring mName;
    float mX = 0.0f;
    float mY = 0.0f;
    bool mLoop = false;
    float mStartDelay = 0.0f;
    float mLongestInterval = 0.0f;
    float mNextInterval = 0.0f;
    float mTimer = 0.0f;
    bool mFired = false;
    // The last emitter started; the list owns it and may have pruned it.
    TDWatch<TDEmitter> mEmitter;
};

// The map's per-frame step over its ambient effects, with the speed-scaled frame time: an effect fires once
// its first delay has passed; a looping one then runs on; any other fires again each time its next interval
// has passed (0 after the first firing, then 20 seconds to its longest interval).
void updateAmbientEffects(std::vector<TDAmbientEffect*>& effects, float dt,
                          std::vector<TDEmitter*>& persistentEffects);
