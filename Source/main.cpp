#include "Core/App/Application.h"
#include "Core/Base/Sanitizer.h"
#include "Source/TD/Game.h"

app::Application* app::CreateApplication()
{
    return new Game;
}

#if CORV_ASAN
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
