#pragma once

namespace app
{

// SIGTERM and SIGINT (the session ending, a service manager, Ctrl+C) ask the game to close like the
// window's close button, so profiles and the log are written; a second signal ends it at once.
void InstallCloseSignals();

// A file-size limit makes writes fail instead of killing the process.
void IgnoreFileSizeLimitSignal();

// True once after a close signal arrived; polled by the window task.
bool TakeCloseSignal();

} // namespace app
