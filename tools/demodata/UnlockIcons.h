#pragma once
// The pictures of the unlock message: one medallion per id that can become new before a level (towers by
// family and level, spells, and the three notices of the hardcore mode).
#include <vector>

#include "tools/demodata/Canvas.h"

namespace demodata
{

// Every id the unlock message can show (the catalogue's towers and spells, the hardcore notices), ascending.
const std::vector<int>& UnlockIconIds();
// The medallion of an id, `size` pixels square.
Canvas UnlockIcon(int id, int size);

} // namespace demodata
