// The release table's rows for the episode and level select, the unlock message, the profiles and the name entry.
#include "Source/TD/TDMap.h"

bool TDMap::releaseInSelectScreens(const std::wstring&, int, int)
{
    return false;
}
