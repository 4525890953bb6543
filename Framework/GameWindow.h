#pragma once

#include "Core/App/Window.h"

namespace framework
{

class GameApplication;

// The application's window task: each tick takes the window events, then runs the screen-mode
// switch when Alt+Enter asked for it, or else one frame.
class GameWindow : public app::Window
{
public:
    GameWindow(GameApplication* application, input::Input* input, bool autoDelete,
               bool finishWhenChildrenDone, bool keepParentAlive);

protected:
    VNResultEnum OnUpdate(float dt) override;
    void OnActivate() override;
    void OnDeactivate() override;

private:
    GameApplication* mApplication;
};

} // namespace framework
