#include "Source/TD/TDUnit.h"

#include "Core/Base/Containers.h"
#include "Source/TD/TDModifier.h"

TDUnit::TDUnit(TDWaveEntry* entry, TDUnitProto* proto, float x, float y)
    : mEntry(entry), mProto(proto), mX(x), mY(y)
{
}

TDUnit::~TDUnit()
{
    base::DeleteAll(mModifiers);
}

bool TDUnit::hitTest(int, int) const
{
    return false;
}

void TDUnit::update(float) {}

void TDUnit::queueFrames() {}

void TDUnit::drawOverlay(render::Graphics*) {}
