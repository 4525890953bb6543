#pragma once
// The texts of the game's screens: captions, button labels, messages and the formats the screens fill in.
#include <vector>

namespace demodata
{

struct StringEntry
{
    const char* key;
    const char* text;
};

// Every key the screens look up, with its English text ("\n" in a text is a line break).
const std::vector<StringEntry>& ScreenStrings();

} // namespace demodata
