#include "Core/App/Application.h"

// The game library also holds code that reaches the application; these tests construct none.
app::Application* app::CreateApplication()
{
    return nullptr;
}
