#include "Source/TD/HUD/TDContextMenu.h"

void TDContextMenu::update(float) {}

void TDContextMenu::draw(render::Graphics*) {}

void TDContextMenu::close()
{
    mAlive = false;
}
