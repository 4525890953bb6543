// The release table's rows for the upgrade shop and the gem shop.
#include "Source/TD/TDMap.h"

bool TDMap::releaseInShops(const std::wstring&, int, int)
{
    return false;
}
