// The release table's rows for the result window, the in-game menu, the main menu and modal messages.
#include "Source/TD/TDMap.h"

bool TDMap::releaseInMenus(const std::wstring&, int, int)
{
    return false;
}
