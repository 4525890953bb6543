#pragma once
// Looks at the test's X display from outside the program under test: finds a top-level window by its title
// and closes it as a player would (the window manager's close request).

#include <chrono>
#include <string>

struct _XDisplay;

namespace xtest
{
// The top-level window titled exactly title on an open display; 0 when there is none.
unsigned long FindWindowTitled(_XDisplay* display, const std::string& title);

// Waits for a window titled exactly title on $DISPLAY and sends it WM_DELETE_WINDOW; false when none
// appeared in time.
bool CloseWindowTitled(const std::string& title, std::chrono::milliseconds timeout);

// Waits until a client can connect to the display named name (":12"); false when none could in time.
bool WaitForDisplay(const std::string& name, std::chrono::milliseconds timeout);
} // namespace xtest
