#pragma once
// The icons of the upgrade shop's plates, by the icon names of "td/upgrades.xml".
#include <string>
#include <vector>

#include "tools/demodata/Canvas.h"

namespace demodata
{

// Every icon name the upgrade list of the game catalogue uses, once each.
const std::vector<std::string>& UpgradeIconNames();
// The icon of a name, `size` pixels square; an unknown name gets a plain star medallion.
Canvas UpgradeIcon(const std::string& name, int size);

} // namespace demodata
