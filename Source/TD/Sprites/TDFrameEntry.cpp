#include "Source/TD/Sprites/TDFrameEntry.h"

#include "Core/Render/Image.h"

TDFrameEntry::~TDFrameEntry()
{
    if (mOwnsTexture)
        delete mTexture;
}

void TDFrameEntry::draw(render::Graphics*, float) {}

void TDFrameEntry::onMouseMove(int, int) {}

void TDFrameEntry::update(float) {}
