#pragma once

struct SDL_Window;

namespace app
{

// The X server going away (killed, the session's display closed) ends every later X call in an error that
// cannot be recovered. From then on: the profiles are saved, the log is closed and the process exits with
// kDisplayLostExitCode at once, without a teardown that would talk to the lost display again.
void WatchDisplayLoss();

// Xlib only notices a lost server when it writes to it or reads from it. A game that draws nothing (an
// inactive full-screen window, a minimised one) may do neither for ever: this sends the server a no-op
// request, at most every half second, so that the loss is found while the game waits too.
void ProbeDisplay();

// The display ProbeDisplay talks to: the one the window is on (nothing on other video drivers).
void WatchDisplayOf(SDL_Window* window);

constexpr int kDisplayLostExitCode = 3;

} // namespace app
