#pragma once
// Looks at the test's X display from outside the program under test: starts a private server, finds a
// top-level window by its title and closes it as a player would (the window manager's close request).

#include <chrono>
#include <functional>
#include <string>

struct _XDisplay;

namespace xtest
{
// Checks condition every 50 ms until it holds or the time is up; its last answer. Every wait of the window
// and executable tests goes through here, so none sleeps for a guessed time.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// The top-level window titled exactly title on an open display; 0 when there is none.
unsigned long FindWindowTitled(_XDisplay* display, const std::string& title);

// Waits for a window titled exactly title on $DISPLAY and sends it WM_DELETE_WINDOW; false when none
// appeared in time.
bool CloseWindowTitled(const std::string& title, std::chrono::milliseconds timeout);

// Starts an Xvfb server with one screen ("1366x768x24") on a number it picks itself, so servers started side
// by side never race for one; the server dies with the calling process. Its name (":12") once it accepts
// clients, or "" (server is then -1 or a process the caller still reaps). -noreset: the server would
// otherwise reset when its last client leaves, refusing new ones meanwhile.
std::string StartXvfb(const std::string& screen, int& server);

// Waits until a client can connect to the display named name (":12"); false when none could in time.
bool WaitForDisplay(const std::string& name, std::chrono::milliseconds timeout);
} // namespace xtest
