#include "Source/TD/Units/TDModifier.h"

TDModifier::TDModifier(const std::string& parameter, float value, float duration, TDTower* owner)
    : mParameter(parameter), mValue(value), mDuration(duration), mOwner(owner)
{
}

void TDModifier::update(TDUnit* unit, float dt)
{
    if (!mActive)
        return;
    mPeriodTimer += dt;
    mElapsed += dt;
    if (mPeriodTimer > mPeriod)
    {
        mPeriodTimer = 0.0f;
        apply(unit, dt);
    }
    if (mDuration != -1.0f && mElapsed > mDuration)
        mActive = false;
}

void TDModifier::apply(TDUnit*, float) {}

void TDModifier::releaseUnit(const void* object)
{
    if (object == mOwner)
        mOwner = nullptr;
}

void deleteInactive(std::vector<TDModifier*>& list)
{
    for (std::size_t i = 0; i < list.size();)
    {
        if (list[i]->mActive)
        {
            ++i;
            continue;
        }
        delete list[i];
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    }
}
