#pragma once
// The pictures of the unlock message: one medallion per id that can become new before a level (towers by
// family and level, spells, and the three notices of the hardcore mode).
#include <vector>

#include "tools/demodata/Canvas.h"

namespace demodata
{

// The ids the demo's unlock message has pictures for: the hardcore notices and everything a level announces.
std::vector<int> MessageIconIds();
// The medallion of an id, `size` pixels square.
Canvas UnlockIcon(int id, int size);

} // namespace demodata
