// The localised strings sheet: key;text per line ("\n" in a text is a line break). The fixed keys come first,
// then the texts made from the game catalogue (episode names, unlock texts, upgrade names and steps).
#include <cstdio>
#include <set>
#include <string>

#include "tools/demodata/Content.h"
#include "tools/demodata/GameCatalogue.h"

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
    // The level's own texts: wave calls, results, difficulty names, upgrade notices, dialogs the map opens.
    {"game_incoming", "Incoming!"},
    {"game_nextwave", "Next wave in "},
    {"game_win", "Victory!"},
    {"game_lose", "Defeat"},
    {"game_kill_score", "Kills: "},
    {"game_combo_bonus", "Combo bonus: "},
    {"game_life_bonus", "Lives bonus: "},
    {"game_total_score", "Total: "},
    {"game_best_score", "Best score: "},
    {"gems", "Gems"},
    {"diff_easy", "Easy"},
    {"diff_normal", "Normal"},
    {"diff_hard", "Hard"},
    {"diff_hardcore", "Hardcore"},
    {"towerUpgradeInfoRange", "Range +%d%%\\n"},
    {"towerUpgradeInfoDamage", "Damage +%d%%\\n"},
    {"towerUpgradeInfoRof", "Rate of fire +%d%%\\n"},
    {"towerUpgradeInfoIncome", "Income +%d%%\\n"},
    {"HardcoreTitle", "Hardcore"},
    {"HardcoreUnlockMessage", "Earn three stars on every level of this episode to open its hardcore levels."},
    {"profiles_error", "Too many players"},
    {"profiles_maxcount", "There can be five players at most. Delete one first."},
    {"progress_confirm_text", "Leave the level? Its progress will be lost."},
    {"buyHealthDialogTitle", "Purchase failed"},
    {"buyHealthDialogText", "The lives could not be bought: %s"},
    {"unlock_caption", "Something new!"},
    {"unlock_button", "OK"},
    {"profile_corrupt", "The player file was damaged and has been started afresh."},
};

std::string Line(const std::string& key, const std::string& text)
{
    return key + ";" + text + "\n";
}

} // namespace

void WriteStrings(Output& out)
{
    using namespace game;
    std::string sheet;
    for (const Entry& e : kStrings)
        sheet += Line(e.key, e.text);
    for (std::size_t i = 0; i < Episodes().size(); ++i)
    {
        sheet += Line("episode" + std::to_string(i), Episodes()[i].name);
        sheet += Line("episodeHardcore" + std::to_string(i), std::string(Episodes()[i].name) + " (hardcore)");
    }
    // What the unlock message says about every id that becomes new somewhere.
    std::set<int> ids(HardcoreNewIds().begin(), HardcoreNewIds().end());
    for (const UnlockLine& line : Unlocks())
        for (int id : line.ids)
            if (id >= 0)
                ids.insert(id);
    for (int id : ids)
        sheet += Line("unlock_" + std::to_string(id), UnlockText(id));
    // The upgrade shop's plates: name, one line per step and the text of a finished upgrade.
    char buf[256];
    for (const UpgradeKind& u : Upgrades())
    {
        const std::string key = "upgrade_" + std::to_string(u.id);
        sheet += Line(key + "_name", u.name);
        for (std::size_t s = 0; s < u.steps.size(); ++s)
        {
            float value = u.steps[s].bonuses.empty() ? 0 : u.steps[s].bonuses[0].second;
            std::snprintf(buf, sizeof buf, u.what, static_cast<int>(value < 0 ? -value : value));
            sheet += Line(key + "_step" + std::to_string(s), buf);
        }
        sheet += Line(key + "_complete", std::string(u.name) + ": fully upgraded.");
    }
    out.WriteText("td/strings_en.csv", sheet);
}

} // namespace demodata
