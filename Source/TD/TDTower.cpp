#include "Source/TD/TDTower.h"

#include "Source/TD/TDUnit.h"

TDTower::TDTower(TDUnitProto* proto, TDFrameEntry* spotFrame, float x, float y)
    : mProto(proto), mSpotFrame(spotFrame), mX(x), mY(y)
{
}

void TDTower::resetBoost()
{
    mBoosted = false;
}

void TDTower::applyUpgrades() {}

void TDTower::update(float) {}

void TDTower::queueFrames() {}

void TDTower::drawExtras(render::Graphics*) {}

void TDTower::stopFiring()
{
    mTarget.reset();
}
