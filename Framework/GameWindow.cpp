#include "Framework/GameWindow.h"

#include "Framework/GameApplication.h"

namespace framework
{

GameWindow::GameWindow(GameApplication* application, input::Input* input, bool autoDelete,
                       bool finishWhenChildrenDone, bool keepParentAlive)
    : app::Window(input, autoDelete, finishWhenChildrenDone, keepParentAlive), mApplication(application)
{
}

VNResultEnum GameWindow::OnUpdate(float dt)
{
    if (const VNResultEnum r = app::Window::OnUpdate(dt); r != VN_OK)
        return r;
    // A closed window is no longer drawn into: its frame would go to a hidden surface.
    if (!IsCreated() || IsDestroyed() || IsDone())
        return VN_OK;
    if (IsSwitchRequested())
    {
        ClearSwitchRequest();
        return mApplication->SwitchScreenMode();
    }
    return mApplication->UpdateFrame(dt);
}

void GameWindow::OnActivate()
{
    mApplication->OnActivate();
}

void GameWindow::OnDeactivate()
{
    mApplication->OnDeactivate();
}

} // namespace framework
