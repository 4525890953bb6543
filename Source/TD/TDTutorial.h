#pragma once

#include "Core/Base/Singleton.h"

#include <string>

namespace render
{
class Graphics;
}

// The tutorial of the first levels: steps shown on events, pausing with the in-game menu, a skip button. It
// is told what happens in the game and at the pointer; until its steps are read it shows nothing and acts
// on nothing.
class TDTutorial : public base::Singletone<TDTutorial>
{
public:
    TDTutorial() = default;

    void onEvent(const std::wstring& name);
    void onPress(int x, int y);
    void onRelease(int x, int y);
    void mouseMove(int x, int y);
    // One frame (unscaled time).
    void update(float dt);
    // Hides the shown step and remembers it; resume shows it again.
    void pause();
    void resume();
    // The restartable steps return to their first state (a level start).
    void rearm();
    // Removes the shown step's layers.
    void hide();
};
