#pragma once

// Levels made for a test: the routes, spots and art of the demo's level 1-1 with waves of the test's own,
// written as a level of the ninth episode (which the demo lacks) and played through the harness.

#include "Source/TD/Data/TDLevelCursor.h"
#include "Source/TD/Harness/TDGameHarness.h"

#include <fstream>
#include <sstream>
#include <string>

namespace tdtest
{
// The text of demo level 1-1 with its waves element replaced.
inline std::string levelWithWaves(const std::string& waves)
{
    std::ifstream in(demoDataRoot() / "td/levels_normal/level_01_01.xml");
    std::stringstream text;
    text << in.rdbuf();
    std::string level = text.str();
    const std::size_t from = level.find("<waves");
    const std::size_t to = level.find("</waves>");
    if (from == std::string::npos || to == std::string::npos)
        return level;
    return level.substr(0, from) + waves + level.substr(to + 8);
}

// Writes the level as level index `level` of episode index 8 in the mode's folder and plays it.
inline void playLevel(GameHarness& harness, int mode, int level, const std::string& waves)
{
    const char* folder = mode == kModeHardcore ? "td/levels_hardcore/" : "td/levels_normal/";
    const fs::path file = demoDataRoot() / folder / ("level_09_0" + std::to_string(level + 1) + ".xml");
    std::ofstream(file) << levelWithWaves(waves);
    harness.loadLevel(mode, 8, level);
}
} // namespace tdtest
