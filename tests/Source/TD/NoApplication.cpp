// The game library reaches the application singleton only through code these test programs never run; the
// executable's factory is stood in for, and no application is made.
#include "Core/App/Application.h"

app::Application* app::CreateApplication()
{
    return nullptr;
}
