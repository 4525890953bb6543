#include "Core/App/Application.h"

#include "Core/Base/TextEncoding.h"

#include <cstdio>

namespace app
{

Application::Application() = default;

Application::~Application()
{
    for (ThreadLinux* thread : mThreads)
        if (thread->IsAutoDelete())
            delete thread;
    mThreads.clear();
}

std::vector<base::SingletoneBase*> Application::GetDependencies()
{
    return {};
}

VNResultEnum Application::PreInit()
{
    return ApplicationLinux::PreInit();
}

VNResultEnum Application::Init()
{
    return InitHook();
}

VNResultEnum Application::OnUpdate(float)
{
    // This platform has no thread message queue: a later instance's request to show the window
    // arrives by signal and is taken by the window task.
    for (auto it = mThreads.begin(); it != mThreads.end();)
    {
        ThreadLinux* thread = *it;
        if (thread->IsDone())
        {
            it = mThreads.erase(it);
            if (thread->IsAutoDelete())
                delete thread;
        }
        else
        {
            ++it;
        }
    }
    if (mThreads.empty())
    {
        if (mFinishWithThreads && !IsFinished())
            Finish();
        mStop = true;
    }
    return VN_OK;
}

void Application::OnFinish()
{
    for (ThreadLinux* thread : mThreads)
        thread->Finish();
}

int RunApplication(int argc, char** argv)
{
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(base::ToWide(argv[i], base::kEncodingUtf8));
    Application* application = Application::Instance();
    if (application == nullptr)
    {
        base::SingletoneBase::DestroyAll();
        return 1;
    }
    application->SetArgs(args);
    int exitCode = 1;
    if (application->PreInit() != VN_OK)
    {
        // Without the executable's or the user's folder nothing can be found or kept.
        std::fputs("Cannot find the executable's folder or the user's data folder ($HOME).\n", stderr);
    }
    else
    {
        (void)application->Main();
        exitCode = application->GetExitCode();
    }
    // The singletons go now, in dependency order, while every static they may use (SDL, the log's
    // and the profiles' file objects, the C++ library) is still alive; not at exit after them.
    base::SingletoneBase::DestroyAll();
    return exitCode;
}

} // namespace app
