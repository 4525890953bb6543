// The game's data sheets, all from the catalogue: "td/units_sheet.csv", "td/towers_sheet.csv",
// "td/ammo_sheet.csv" (with the spell records), "td/spells_sheet.csv", "td/setup_sheet.csv" and
// "td/unlocks.csv".
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tools/demodata/Content.h"
#include "tools/demodata/GameCatalogue.h"

namespace demodata
{
namespace
{

using namespace game;

std::string Num(float v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(v));
    return buf;
}

// Every column of a prototype record; the three sheets share them so every row reads the same way.
std::vector<std::string> Columns()
{
    std::vector<std::string> c = {"id",  "name", "parent",   "type",     "levelid",    "require",
                                  "psd", "img",  "strength", "cooldown", "health",     "speed",
                                  "r",   "cost", "fps",      "special",  "explodeStr", "explodeRadius"};
    for (const std::string& f : FlagColumns())
        c.push_back(f);
    for (const char* k : {"ammoid", "tierUpdates", "tierK", "tierCost", "level", "timeout", "goldIncome",
                          "stars", "dropChance", "fillColor", "onFire", "onAmmo", "onHit", "addons"})
        c.push_back(k);
    return c;
}

class Sheet
{
public:
    Sheet() : mColumns(Columns())
    {
        for (std::size_t i = 0; i < mColumns.size(); ++i)
            mText += (i ? ";" : "") + mColumns[i];
        mText += "\n";
    }

    // Writes one row; flags named in `flags` read 1, the other flag columns 0.
    void Row(std::map<std::string, std::string> values, const char* flags)
    {
        for (const std::string& f : FlagColumns())
            values[f] = HasFlag(flags, f.c_str()) ? "1" : "0";
        for (std::size_t i = 0; i < mColumns.size(); ++i)
        {
            auto it = values.find(mColumns[i]);
            std::string v = it != values.end() ? it->second : Default(mColumns[i]);
            mText += (i ? ";" : "") + v;
        }
        mText += "\n";
    }

    const std::string& Text() const { return mText; }

private:
    static std::string Default(const std::string& column)
    {
        static const char* kText[] = {"name", "psd", "img", "special", "onFire", "onAmmo", "onHit", "addons"};
        for (const char* t : kText)
            if (column == t)
                return "";
        if (column == "fillColor")
            return "ffffffff";
        if (column == "parent")
            return "-1";
        return "0";
    }

    std::vector<std::string> mColumns;
    std::string mText;
};

std::string UnitsSheet()
{
    Sheet s;
    for (const UnitKind& u : Units())
    {
        float fps = u.body == Body::Flier || u.body == Body::Dragon ? 10.0f : 8.0f;
        std::map<std::string, std::string> base = {{"id", std::to_string(u.id)},
                                                   {"name", u.name},
                                                   {"psd", u.key},
                                                   {"strength", Num(u.strength)},
                                                   {"cooldown", Num(u.cooldown)},
                                                   {"health", Num(u.health)},
                                                   {"speed", Num(u.speed)},
                                                   {"r", Num(u.r)},
                                                   {"cost", Num(u.cost)},
                                                   {"fps", Num(fps)},
                                                   {"special", u.special},
                                                   {"explodeStr", Num(u.explodeStr)},
                                                   {"explodeRadius", Num(u.explodeRadius)},
                                                   {"ammoid", std::to_string(u.ammoid)},
                                                   {"fillColor", "00ffffff"}};
        s.Row(base, u.flags);
        for (const UnitTier& t : TiersOf(u))
        {
            std::map<std::string, std::string> tier = base;
            tier["id"] = std::to_string(t.id);
            tier["name"] = std::string(u.name) + (t.level == 1 ? " veteran" : " champion");
            tier["parent"] = std::to_string(u.id);
            tier["levelid"] = std::to_string(t.level);
            tier["health"] = Num(std::round(u.health * t.healthFactor));
            tier["cost"] = Num(std::round(u.cost * t.costFactor));
            tier["fillColor"] = t.fillColor;
            s.Row(tier, u.flags);
        }
    }
    return s.Text();
}

std::string TowersSheet()
{
    Sheet s;
    for (const TowerKind& t : Towers())
        s.Row({{"id", std::to_string(t.id)},
               {"name", t.name},
               {"parent", std::to_string(t.parent)},
               {"type", t.parent < 0 ? "1" : "0"},
               {"levelid", std::to_string(t.levelid)},
               {"require", std::to_string(t.require)},
               {"psd", t.key},
               {"strength", Num(t.strength)},
               {"cooldown", Num(t.cooldown)},
               {"health", Num(t.health)},
               {"speed", Num(t.speed)},
               {"r", Num(t.r)},
               {"cost", Num(t.cost)},
               {"fps", Num(t.fps)},
               {"ammoid", std::to_string(t.ammoid)},
               {"tierUpdates", std::to_string(t.tierUpdates)},
               {"tierK", Num(t.tierK)},
               {"tierCost", Num(t.tierCost)},
               {"level", std::to_string(t.levelid + 1)},
               {"goldIncome", std::to_string(t.goldIncome)},
               {"stars", std::to_string(t.stars)},
               {"addons", t.addons}},
              t.flags);
    return s.Text();
}

std::string AmmoSheet()
{
    Sheet s;
    for (const AmmoKind& a : Ammo())
        s.Row({{"id", std::to_string(a.id)},
               {"name", a.name},
               {"psd", a.psd},
               {"img", a.img},
               {"r", Num(a.r)},
               {"fps", Num(a.fps)},
               {"speed", Num(a.speed)},
               {"cooldown", Num(a.cooldown)},
               {"onFire", a.onFire},
               {"onAmmo", a.onAmmo},
               {"onHit", a.onHit}},
              "");
    for (const SpellKind& sp : Spells())
        s.Row({{"id", std::to_string(sp.protoId)},
               {"name", sp.name},
               {"psd", std::string("spells/") + sp.key},
               {"strength", Num(sp.strength)},
               {"speed", Num(sp.speed)},
               {"r", Num(sp.r)},
               {"cooldown", Num(sp.cooldown)},
               {"fps", "20"},
               {"onAmmo", sp.onAmmo}},
              sp.flags);
    return s.Text();
}

std::string SpellsSheet()
{
    std::string text = "#;prototype;icon;shade;spell\n";
    for (const SpellKind& sp : Spells())
        text += std::string(sp.key) + ";" + std::to_string(sp.protoId) + ";td/data/spells/" + sp.key +
                ".png;td/data/spells/" + sp.key + "_shade.png;" + std::to_string(sp.spellId) + "\n";
    return text;
}

// Episode id; normal levels; hardcore levels; stars that open it; its music track.
std::string SetupSheet()
{
    std::string text;
    for (std::size_t e = 0; e < Episodes().size(); ++e)
    {
        const EpisodeInfo& info = Episodes()[e];
        text += std::to_string(e) + ";" + std::to_string(info.normalLevels) + ";" +
                std::to_string(info.hardcoreLevels) + ";" + std::to_string(info.starsRequired) + ";" +
                std::to_string(e + 1) + "\n";
    }
    // The planned episode after the gap: no levels, never open.
    const int planned = ComingSoonEpisode() + 1;
    text += std::to_string(planned) + ";0;0;0;" + std::to_string(planned + 1) + "\n";
    return text;
}

std::string UnlocksSheet()
{
    std::string text;
    for (const UnlockLine& line : Unlocks())
    {
        text += std::to_string(line.episode) + ";" + std::to_string(line.level) + ";";
        for (std::size_t i = 0; i < line.ids.size(); ++i)
            text += (i ? "," : "") + std::to_string(line.ids[i]);
        text += "\n";
    }
    return text;
}

} // namespace

void WriteGameSheets(Output& out)
{
    out.WriteText("td/units_sheet.csv", UnitsSheet());
    out.WriteText("td/towers_sheet.csv", TowersSheet());
    out.WriteText("td/ammo_sheet.csv", AmmoSheet());
    out.WriteText("td/spells_sheet.csv", SpellsSheet());
    out.WriteText("td/setup_sheet.csv", SetupSheet());
    out.WriteText("td/unlocks.csv", UnlocksSheet());
}

} // namespace demodata
