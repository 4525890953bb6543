#pragma once

#include "Core/App/Linux/ApplicationLinux.h"
#include "Core/Base/Singleton.h"

#include <list>

namespace app
{

// The process's application object, the root task of the run loop. Created on first use through
// CreateApplication, which the executable defines.
class Application : public ApplicationLinux, public base::Singletone<Application>
{
public:
    Application();
    ~Application() override;

    std::vector<base::SingletoneBase*> GetDependencies() override;
    VNResultEnum PreInit() override;
    VNResultEnum Init() override;

    int GetExitCode() const { return mExitCode; }
    void SetExitCode(int code) { mExitCode = code; }
    float GetImageScale() const { return mImageScale; }
    float GetTextScale() const { return mTextScale; }

protected:
    // The thread queue's turn of the tick; then drops finished threads and stops the application
    // when none is left (the window task alone keeps it alive).
    VNResultEnum OnUpdate(float dt) override;
    // Finishes the registered threads; stopping is left to OnUpdate.
    void OnFinish() override;

    std::list<ThreadLinux*> mThreads;
    float mImageScale = 1.0f;
    float mTextScale = 1.0f;
    int mExitCode = 0;
    bool mFinishWithThreads = false;
};

// Defined by the executable: makes the process's application (the game).
Application* CreateApplication();

// The process entry: arguments without the program name, pre-initialisation, Main; the exit code.
int RunApplication(int argc, char** argv);

} // namespace app

template <>
struct base::SingletoneFactory<app::Application>
{
    static app::Application* Create() { return app::CreateApplication(); }
};
