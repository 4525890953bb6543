#pragma once

#include "Core/Base/Result.h"

#include <string>

namespace app
{

// Opens a file or link with the desktop's preferred program, without waiting for it.
// VN_FAIL when the opener cannot be started.
VNResultEnum OpenWithShell(const std::wstring& path);

} // namespace app
