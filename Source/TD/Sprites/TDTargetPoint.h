#pragma once

#include "Core/Base/MathTypes.h"
#include "Source/TD/Sprites/TDWatch.h"

// What the effects that follow a moving map object read of it: an effect sprite is drawn at its position, a
// beam aims at its target point. A unit implements it; the effects keep a TDWatch to it, so an effect that
// outlives its unit finds no point instead of a dangling one.
class TDTargetPoint : public TDWatchable
{
public:
    virtual ~TDTargetPoint() = default;

    virtual math::Point2 getPosition() const = 0;
    virtual math::Point2 getTargetPoint() const = 0;
};
