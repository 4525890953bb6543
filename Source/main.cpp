#include "Core/App/Application.h"
#include "Core/File/FileManager.h"
#include "Core/File/Profiles.h"
#include "Framework/GameApplication.h"
#include "Source/Showcase/ShowcaseBoard.h"

namespace
{

// The application the executable runs until the game's own (Game) takes its place in
// CreateApplication: the game's screen sizes, user-data folder, caption, pack mount and profiles,
// and, in place of the game's first screen, the engine showcase board.
class StartApplication : public framework::GameApplication
{
public:
    StartApplication()
    {
        mBaseWidth = 1024;
        mBaseHeight = 768;
        mMaxWidth = 1366;
        mMakerName = L"Orvalis";
        mProductName = L"Corvantis";
        mCaption = L"Corvantis";
    }

protected:
    VNResultEnum PreInitGame() override
    {
        file::FileManager::Instance()->mMounts[L"td/"] = L"data.dat";
        // The players' profiles load once, before anything shows (saved again at exit).
        file::Profiles::Instance()->Load();
        return VN_OK;
    }
    VNResultEnum InitGame() override { return SetScreen(new showcase::ShowcaseBoard); }
    VNResultEnum UpdateGame(float) override { return VN_OK; }
};

} // namespace

app::Application* app::CreateApplication()
{
    return new StartApplication;
}

#if defined(__SANITIZE_ADDRESS__)
// libdbus, opened by SDL's video start-up, keeps a read buffer it never frees; not ours to fix.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
#endif

int main(int argc, char** argv)
{
    return app::RunApplication(argc, argv);
}
