#include "Source/TD/TDModifier.h"

TDModifier::TDModifier(const std::string& parameter, float value, float duration, TDTower* owner)
    : mParameter(parameter), mValue(value), mDuration(duration), mOwner(owner)
{
}

void TDModifier::update(TDUnit*, float dt)
{
    mElapsed += dt;
    if (mDuration >= 0.0f && mElapsed > mDuration)
        mActive = false;
}

void TDModifier::releaseUnit(const void* object)
{
    if (object == mOwner)
        mOwner = nullptr;
}
