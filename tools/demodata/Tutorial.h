#pragma once
// The tutorial of the first level: its script "td/tutorial.xml", its pictures "td/data/tutorial" and the
// texts it shows.
#include <vector>

#include "tools/demodata/ScreenStrings.h"

namespace demodata
{

// Every key the tutorial script names, with its English text.
const std::vector<StringEntry>& TutorialStrings();

} // namespace demodata
