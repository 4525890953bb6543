#pragma once

#include "Core/Base/Result.h"

#include <string>

namespace app
{

// Opens a file or link with the desktop's preferred program, without waiting for it.
// VN_FAIL when the opener cannot be started.
VNResultEnum OpenWithShell(const std::wstring& path);

// Shows an error message box and waits until the player closes it; the text also goes to stderr, for a
// start from a terminal or without a display. VN_FAIL when no box could be shown.
VNResultEnum ShowErrorMessage(const std::wstring& title, const std::wstring& text);

} // namespace app
