#pragma once

namespace app
{

// The X server going away (killed, the session's display closed) ends every later X call in an error that
// cannot be recovered. From then on: the profiles are saved, the log is closed and the process exits with
// kDisplayLostExitCode at once, without a teardown that would talk to the lost display again.
void WatchDisplayLoss();

constexpr int kDisplayLostExitCode = 3;

} // namespace app
