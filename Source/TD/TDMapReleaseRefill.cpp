// The release table's rows for the refill offer.
#include "Source/TD/TDMap.h"

bool TDMap::releaseInRefill(const std::wstring&, int, int)
{
    return false;
}
