// The localised strings sheet: key;text per line ("\n" in a text is a line break). The screens' texts come
// first, then the fixed keys of the level, then the texts made from the game catalogue (episode names, unlock
// texts, upgrade names and steps). Each key is written once: the first table that names it wins, so a
// screen's text, sized for its place, stands.
#include <cstdio>
#include <set>
#include <string>

#include "tools/demodata/Content.h"
#include "tools/demodata/GameCatalogue.h"
#include "tools/demodata/ScreenStrings.h"
#include "tools/demodata/Tutorial.h"

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
    // The level's own texts: wave calls, the difficulty name of hardcore, upgrade notices, dialogs the map
    // opens. (Results, modal messages and the unlock message are the screens' texts.)
    {"game_incoming", "Incoming!"},
    {"game_nextwave", "Next wave in "},
    {"diff_hardcore", "Hardcore"},
    {"towerUpgradeInfoRange", "Range +%d%%\\n"},
    {"towerUpgradeInfoDamage", "Damage +%d%%\\n"},
    {"towerUpgradeInfoRof", "Rate of fire +%d%%\\n"},
    {"towerUpgradeInfoIncome", "Income +%d%%\\n"},
    {"buyHealthDialogText", "The lives could not be bought: %s"},
};

} // namespace

void WriteStrings(Output& out)
{
    using namespace game;
    std::string sheet;
    std::set<std::string> written;
    auto add = [&](const std::string& key, const std::string& text)
    {
        // The sheet trims each line's ends; a trailing space survives only before a carriage return.
        if (written.insert(key).second)
            sheet += key + ";" + text + (!text.empty() && text.back() == ' ' ? "\r\n" : "\n");
    };
    for (const StringEntry& e : ScreenStrings())
        add(e.key, e.text);
    for (const Entry& e : kStrings)
        add(e.key, e.text);
    for (const StringEntry& e : TutorialStrings())
        add(e.key, e.text);
    for (std::size_t i = 0; i < Episodes().size(); ++i)
    {
        add("episode" + std::to_string(i), Episodes()[i].name);
        add("episodeHardcore" + std::to_string(i), std::string(Episodes()[i].name) + " (hardcore)");
    }
    add("episode" + std::to_string(ComingSoonEpisode()), ComingSoonName());
    add("episodeHardcore" + std::to_string(ComingSoonEpisode()), std::string(ComingSoonName()) + " (hardcore)");
    // What the unlock message says about every id that becomes new somewhere.
    std::set<int> ids(HardcoreNewIds().begin(), HardcoreNewIds().end());
    for (const UnlockLine& line : Unlocks())
        for (int id : line.ids)
            if (id >= 0)
                ids.insert(id);
    for (int id : ids)
        add("unlock_" + std::to_string(id), UnlockText(id));
    // The upgrade shop's plates: name, one line per step and the text of a finished upgrade.
    char buf[256];
    for (const UpgradeKind& u : Upgrades())
    {
        const std::string key = "upgrade_" + std::to_string(u.id);
        add(key + "_name", u.name);
        for (std::size_t s = 0; s < u.steps.size(); ++s)
        {
            float value = u.steps[s].bonuses.empty() ? 0 : u.steps[s].bonuses[0].second;
            std::snprintf(buf, sizeof buf, u.what, static_cast<int>(value < 0 ? -value : value));
            add(key + "_step" + std::to_string(s), buf);
        }
        add(key + "_complete", "Fully upgraded");
    }
    out.WriteText("td/strings_en.csv", sheet);
}

} // namespace demodata
