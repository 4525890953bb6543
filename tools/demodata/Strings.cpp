// The localised strings sheet: key;text per line. Later content adds its keys here.
#include <string>

#include "tools/demodata/Content.h"

namespace demodata
{
namespace
{

struct Entry
{
    const char* key;
    const char* text;
};

const Entry kStrings[] = {
    {"game_caption", "Corvantis"},
    {"options_OptionsTitle", "Options"},
    {"options_OptionsSounds", "Sound and music"},
    {"options_OptionsGameType", "Game"},
    {"options_OptionsWindowType", "Display"},
    {"options_OptionsOk", "OK"},
};

} // namespace

void WriteStrings(Output& out)
{
    std::string sheet;
    for (const Entry& e : kStrings)
        sheet += std::string(e.key) + ";" + e.text + "\n";
    out.WriteText("td/strings_en.csv", sheet);
}

} // namespace demodata
