// The game world's demo data hangs together: the sheets parse by the game's rules, every id a level, unlock,
// spell or upgrade names has a record, every sprite group, emitter, sound tag and string a record or the game
// names exists, and every level the episode table announces is there with its art.
#include <tinyxml2.h>

#include <functional>
#include <set>
#include <sstream>

#include "tools/demodata/DemoDataFixture.h"

#ifdef CORV_DEMODATA_PARTICLES
#include "Core/Particles/Lib/PtcFormat.h"
#endif

namespace
{

using namespace demodata_test;
using Row = std::map<std::string, std::string>;

std::string Trim(const std::string& s)
{
    std::size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : s)
        if (c == sep)
        {
            out.push_back(Trim(cur));
            cur.clear();
        }
        else
            cur += c;
    out.push_back(Trim(cur));
    return out;
}

std::vector<std::string> Lines(const fs::path& path)
{
    Bytes b = ReadAll(path);
    std::vector<std::string> out;
    for (const std::string& l : Split(std::string(b.begin(), b.end()), '\n'))
        if (!l.empty())
            out.push_back(l);
    return out;
}

// A prototype sheet read the way the game reads it; `fields` counts the rows whose width differs from the
// header's.
std::vector<Row> ReadSheet(const fs::path& path, int& badRows)
{
    std::vector<std::string> lines = Lines(path);
    std::vector<Row> rows;
    badRows = 0;
    if (lines.empty())
        return rows;
    std::vector<std::string> header = Split(lines[0], ';');
    for (std::size_t i = 1; i < lines.size(); ++i)
    {
        std::string line = lines[i];
        EXPECT_EQ(line.find(','), std::string::npos) << path << ": a comma would turn into a point: " << line;
        std::vector<std::string> f = Split(line, ';');
        if (f.size() != header.size())
            ++badRows;
        Row r;
        for (std::size_t k = 0; k < f.size() && k < header.size(); ++k)
            r[header[k]] = f[k];
        rows.push_back(r);
    }
    return rows;
}

int Int(const Row& r, const char* key)
{
    auto it = r.find(key);
    return it == r.end() ? 0 : std::atoi(it->second.c_str());
}

float Float(const Row& r, const char* key)
{
    auto it = r.find(key);
    return it == r.end() ? 0.0f : static_cast<float>(std::atof(it->second.c_str()));
}

std::string Str(const Row& r, const char* key)
{
    auto it = r.find(key);
    return it == r.end() ? std::string() : it->second;
}

// The layer names of an image folder.
std::vector<std::string> FolderLayers(const fs::path& dir)
{
    std::vector<std::string> names;
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile((dir / "layers.xml").c_str()) != tinyxml2::XML_SUCCESS)
        return names;
    for (const auto* l = doc.FirstChildElement("Layers")->FirstChildElement("Layer"); l;
         l = l->NextSiblingElement("Layer"))
        names.push_back(l->Attribute("name"));
    return names;
}

// Images directly in a group (a name of the form group + "/" + leaf), in folder order.
std::vector<std::string> Direct(const std::vector<std::string>& names, const std::string& group)
{
    std::vector<std::string> out;
    std::string prefix = group.empty() ? "" : group + "/";
    for (const std::string& n : names)
        if (n.rfind(prefix, 0) == 0 && n.find('/', prefix.size()) == std::string::npos)
            out.push_back(n);
    return out;
}

class DemoGame : public DemoData
{
protected:
    static void SetUpTestSuite()
    {
        DemoData::SetUpTestSuite();
        int bad = 0;
        sUnits = ReadSheet(Root() / "td/units_sheet.csv", bad);
        sBadRows = bad;
        sTowers = ReadSheet(Root() / "td/towers_sheet.csv", bad);
        sBadRows += bad;
        sAmmo = ReadSheet(Root() / "td/ammo_sheet.csv", bad);
        sBadRows += bad;
        for (const std::vector<Row>* sheet : {&sUnits, &sTowers, &sAmmo})
            for (const Row& r : *sheet)
                sById[Int(r, "id")] = r;
        for (const char* dir :
             {"td/units/t1units", "td/units/t2units", "td/units/t3units", "td/towers/artillery",
              "td/towers/dart", "td/towers/cannon", "td/towers/support", "td/data/ui_parts"})
        {
            std::vector<std::string> names = FolderLayers(Root() / dir);
            sPreloaded.insert(sPreloaded.end(), names.begin(), names.end());
        }
        for (const std::string& l : Lines(Root() / "td/sounds_sheet.csv"))
            if (l[0] != '#')
                sSounds[Split(l, ';')[0]] = Split(l, ';')[1];
        for (const std::string& l : Lines(Root() / "td/strings_en.csv"))
            sStrings.insert(l.substr(0, l.find(';')));
    }

    static inline std::vector<Row> sUnits, sTowers, sAmmo;
    static inline std::map<int, Row> sById;
    static inline int sBadRows = 0;
    static inline std::vector<std::string> sPreloaded;
    static inline std::map<std::string, std::string> sSounds;
    static inline std::set<std::string> sStrings;
};

TEST_F(DemoGame, PrototypeSheetsHaveEveryColumnAndUniqueIds)
{
    EXPECT_EQ(sBadRows, 0);
    const char* kColumns[] = {
        "parent",        "type",          "id",         "strength",      "cooldown",
        "health",        "speed",         "r",          "special",       "psd",
        "haste_buff",    "fire_dmg_only", "explodeStr", "explodeRadius", "debufftower",
        "poisonImmun",   "regen",         "raiseDead",  "invisible",     "invisibleArea",
        "blocktower",    "healer",        "commander",  "summon",        "carrier",
        "straight",      "ice",           "stone",      "pierce",        "splash",
        "firesplash",    "dot",           "aoe",        "hold",          "stun",
        "boostTower",    "showInvisible", "air",        "aimed",         "rotating",
        "ammoid",        "tierUpdates",   "tierK",      "cost",          "tierCost",
        "require",       "levelid",       "level",      "fps",           "timeout",
        "teleportEnemy", "goldIncome",    "stars",      "dropChance",    "fillColor",
        "onFire",        "onAmmo",        "onHit",      "addons"};
    for (const std::vector<Row>* sheet : {&sUnits, &sTowers, &sAmmo})
    {
        ASSERT_FALSE(sheet->empty());
        for (const char* c : kColumns)
            EXPECT_TRUE(sheet->front().count(c)) << c;
    }
    // The table answers the first record of an id: ids must not repeat across the three sheets.
    std::size_t rows = sUnits.size() + sTowers.size() + sAmmo.size();
    EXPECT_EQ(sById.size(), rows);
    // A branch row follows its parent, which is a top-level row of the same sheet; top-level rows say -1.
    for (const std::vector<Row>* sheet : {&sUnits, &sTowers, &sAmmo})
    {
        std::set<int> topLevel;
        for (const Row& r : *sheet)
        {
            int parent = Int(r, "parent");
            if (parent == -1)
                topLevel.insert(Int(r, "id"));
            else
                EXPECT_TRUE(topLevel.count(parent)) << Str(r, "id");
            EXPECT_FALSE(Str(r, "psd").empty() && Str(r, "img").empty()) << Str(r, "id");
        }
    }
}

TEST_F(DemoGame, ContentCoversTheIdsAndKindsTheGameUses)
{
    // Units the game spawns itself, every flag and two tiers of every unit.
    for (int id : {0, 11, 39, 36, 37, 38})
        EXPECT_TRUE(sById.count(id) && Int(sById[id], "parent") == -1) << id;
    for (const char* flag : {"haste_buff", "fire_dmg_only", "debufftower", "poisonImmun", "regen",
                             "raiseDead", "invisible", "invisibleArea", "blocktower", "healer", "commander",
                             "summon", "carrier", "straight", "ice", "stone", "air"})
    {
        bool any = false;
        for (const Row& r : sUnits)
            any = any || Str(r, flag) == "1";
        EXPECT_TRUE(any) << flag;
    }
    for (const Row& r : sUnits)
        if (Int(r, "parent") == -1)
        {
            std::set<int> tiers;
            for (const Row& b : sUnits)
                if (Int(b, "parent") == Int(r, "id"))
                    tiers.insert(Int(b, "levelid"));
            EXPECT_EQ(tiers, (std::set<int>{1, 2})) << Str(r, "id");
            EXPECT_NE(Str(r, "fillColor"), "") << Str(r, "id");
        }
    bool bombs = false;
    for (const Row& r : sUnits)
        bombs = bombs || (Float(r, "explodeStr") > 0 && Float(r, "explodeRadius") > 0);
    EXPECT_TRUE(bombs);
    // Tower families: base ids, their upgrade levels and two branches each, and every special kind.
    for (int base : {10000, 20000, 30000, 40000})
    {
        ASSERT_TRUE(sById.count(base)) << base;
        EXPECT_EQ(Int(sById[base], "type"), 1);
        for (int id : {base + 1, base + 2, base + 100, base + 200})
        {
            ASSERT_TRUE(sById.count(id)) << id;
            EXPECT_EQ(Int(sById[id], "parent"), base) << id;
        }
    }
    auto anyTower = [](const std::function<bool(const Row&)>& test)
    {
        for (const Row& r : sTowers)
            if (test(r))
                return true;
        return false;
    };
    EXPECT_TRUE(
        anyTower([](const Row& r) { return Int(r, "goldIncome") > 0 && Float(r, "strength") == -1; }));
    EXPECT_TRUE(anyTower([](const Row& r) { return Str(r, "boostTower") == "1"; }));
    EXPECT_TRUE(anyTower([](const Row& r) { return Str(r, "showInvisible") == "1"; }));
    EXPECT_TRUE(
        anyTower([](const Row& r) { return Str(r, "teleportEnemy") == "1" && Float(r, "speed") == -1; }));
    EXPECT_TRUE(anyTower([](const Row& r) { return Str(r, "aimed") == "1"; }));
    EXPECT_TRUE(anyTower([](const Row& r) { return Str(r, "rotating") == "1"; }));
    EXPECT_TRUE(anyTower([](const Row& r) { return Int(r, "tierUpdates") > 0; }));
    EXPECT_TRUE(anyTower([](const Row& r) { return Int(r, "ammoid") == 2003; }));
    // Fire ammunition and the spell records.
    for (int id : {2001, 2002, 2003, 3000, 3001, 3002, 3003, 3004})
        EXPECT_TRUE(sById.count(id)) << id;
    for (const Row& r : sTowers)
        if (Int(r, "ammoid") != 0)
        {
            EXPECT_TRUE(sById.count(Int(r, "ammoid"))) << Str(r, "id");
        }
    for (const Row& r : sUnits)
        if (Int(r, "ammoid") != 0)
        {
            EXPECT_TRUE(sById.count(Int(r, "ammoid"))) << Str(r, "id");
        }
}

TEST_F(DemoGame, SpellsSetupAndUnlocksNameExistingRecords)
{
    std::set<int> spellIds;
    for (const std::string& line : Lines(Root() / "td/spells_sheet.csv"))
    {
        std::vector<std::string> f = Split(line, ';');
        ASSERT_EQ(f.size(), 5u) << line;
        if (f[0] == "#")
            continue;
        EXPECT_TRUE(sById.count(std::atoi(f[1].c_str()))) << line;
        EXPECT_TRUE(DecodePng(Root() / f[2]).ok) << f[2];
        EXPECT_TRUE(DecodePng(Root() / f[3]).ok) << f[3];
        spellIds.insert(std::atoi(f[4].c_str()));
    }
    EXPECT_EQ(spellIds, (std::set<int>{0, 1, 2, 3, 4}));

    std::vector<std::array<int, 4>> episodes;
    for (std::string line : Lines(Root() / "td/setup_sheet.csv"))
    {
        std::vector<std::string> f = Split(line, ';');
        ASSERT_EQ(f.size(), 5u) << line;
        episodes.push_back({std::atoi(f[0].c_str()), std::atoi(f[1].c_str()), std::atoi(f[2].c_str()),
                            std::atoi(f[3].c_str())});
    }
    ASSERT_GE(episodes.size(), 3u);
    std::set<std::pair<int, int>> lines;
    for (const std::string& line : Lines(Root() / "td/unlocks.csv"))
    {
        std::vector<std::string> f = Split(line, ';');
        ASSERT_EQ(f.size(), 3u) << line;
        lines.insert({std::atoi(f[0].c_str()), std::atoi(f[1].c_str())});
        if (f[2].empty())
            continue;
        for (const std::string& id : Split(f[2], ','))
        {
            int v = std::atoi(id.c_str());
            EXPECT_TRUE(v == -1 || sById.count(v)) << line;
            if (v >= 0)
            {
                EXPECT_TRUE(sStrings.count("unlock_" + id)) << id;
            }
        }
    }
    // Every normal level has its unlock line, or nothing would be available there. The last row is a planned
    // episode after a skipped id: no levels, and the skipped id's card ("coming soon") has its name.
    ASSERT_EQ(episodes.back()[1], 0);
    ASSERT_EQ(episodes.back()[0], episodes[episodes.size() - 2][0] + 2);
    const int skipped = episodes.back()[0] - 1;
    EXPECT_TRUE(sStrings.count("episode" + std::to_string(skipped)));
    episodes.pop_back();
    for (const auto& e : episodes)
    {
        EXPECT_GT(e[1], 0);
        EXPECT_GT(e[2], 0);
        for (int l = 0; l < e[1]; ++l)
            EXPECT_TRUE(lines.count({e[0], l})) << e[0] << " " << l;
        EXPECT_TRUE(sStrings.count("episode" + std::to_string(e[0])));
        EXPECT_TRUE(sStrings.count("episodeHardcore" + std::to_string(e[0])));
    }
    for (int id : {36, 37, 38})
        EXPECT_TRUE(sStrings.count("unlock_" + std::to_string(id)));
}

TEST_F(DemoGame, UpgradesTargetExistingRecordsAndFillTheShopSections)
{
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.LoadFile((Root() / "td/upgrades.xml").c_str()), tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* root = doc.FirstChildElement("upgrades");
    ASSERT_NE(root, nullptr);
    std::map<int, int> perSection;
    bool global = false;
    for (const auto* u = root->FirstChildElement("upgrade"); u; u = u->NextSiblingElement())
    {
        int id = u->IntAttribute("id");
        ++perSection[u->IntAttribute("section")];
        EXPECT_NE(u->Attribute("icon"), nullptr);
        const auto* targets = u->FirstChildElement("targets");
        ASSERT_NE(targets, nullptr) << id;
        for (const auto* t = targets->FirstChildElement("target"); t; t = t->NextSiblingElement())
        {
            int target = t->IntAttribute("id");
            global = global || target == -1;
            EXPECT_TRUE(target == -1 || sById.count(target)) << id << " " << target;
        }
        const auto* steps = u->FirstChildElement("steps");
        ASSERT_NE(steps, nullptr) << id;
        int n = 0;
        for (const auto* s = steps->FirstChildElement("step"); s; s = s->NextSiblingElement(), ++n)
        {
            EXPECT_GT(s->IntAttribute("cost_r"), 0);
            ASSERT_NE(s->FirstChildElement("attributes"), nullptr);
            EXPECT_NE(s->FirstChildElement("attributes")->FirstChildElement("a"), nullptr);
            EXPECT_TRUE(sStrings.count("upgrade_" + std::to_string(id) + "_step" + std::to_string(n))) << id;
        }
        EXPECT_TRUE(n > 0 && n <= 10) << id;
        EXPECT_TRUE(sStrings.count("upgrade_" + std::to_string(id) + "_name")) << id;
        EXPECT_TRUE(sStrings.count("upgrade_" + std::to_string(id) + "_complete")) << id;
    }
    EXPECT_TRUE(global);
    EXPECT_GE(perSection[0], 6);
    EXPECT_EQ(perSection[1], 4);
    EXPECT_LE(perSection[2], 3);
}

// Every level the episode table announces: the file, its routes, spots and waves, and its art.
TEST_F(DemoGame, EveryAnnouncedLevelIsThereAndConsistent)
{
    std::set<int> unitsInWaves;
    std::set<std::string> announced;
    bool boughtWithGold = false, boughtWithGems = false, prebuilt = false, upper = false, linked = false,
         severalSpawns = false;
    for (const std::string& line : Lines(Root() / "td/setup_sheet.csv"))
    {
        std::vector<std::string> f = Split(line, ';');
        int episode = std::atoi(f[0].c_str());
        for (int hard = 0; hard < 2; ++hard)
            for (int level = 0; level < std::atoi(f[1 + hard].c_str()); ++level)
            {
                char name[64];
                std::snprintf(name, sizeof name, "td/levels_%s/level_%02d_%02d.xml",
                              hard ? "hardcore" : "normal", episode + 1, level + 1);
                SCOPED_TRACE(name);
                announced.insert(name);
                tinyxml2::XMLDocument doc;
                ASSERT_EQ(doc.LoadFile((Root() / name).c_str()), tinyxml2::XML_SUCCESS);
                const auto* map = doc.FirstChildElement("map");
                ASSERT_NE(map, nullptr);
                ASSERT_NE(map->FirstChildElement("budget"), nullptr);
                EXPECT_GT(std::atoi(map->FirstChildElement("budget")->GetText()), 0);
                // The art folder the "li" path names, with its ground at the root and its effect places.
                std::string li = map->FirstChildElement("li")->GetText();
                std::string art = li.substr(li.rfind("/td/data/") + 1);
                art = art.substr(0, art.rfind('/'));
                std::vector<std::string> layers = FolderLayers(Root() / art);
                EXPECT_FALSE(Direct(layers, "").empty()) << art;
                EXPECT_FALSE(Direct(layers, "fx").empty()) << art;

                std::map<int, std::pair<float, float>> points;
                std::set<int> spawns;
                int goals = 0;
                for (const auto* p = map->FirstChildElement("points")->FirstChildElement(); p;
                     p = p->NextSiblingElement())
                {
                    points[p->IntAttribute("id")] = {p->FloatAttribute("x"), p->FloatAttribute("y")};
                    for (const auto* a = p->FirstChildElement(); a; a = a->NextSiblingElement())
                    {
                        std::string n = a->Attribute("name");
                        if (n == "spawn" && a->FloatAttribute("value") == 1)
                            spawns.insert(p->IntAttribute("id"));
                        goals += n == "goal" && a->FloatAttribute("value") == 1;
                        upper = upper || n == "upper";
                    }
                }
                EXPECT_EQ(goals, 1);
                ASSERT_FALSE(spawns.empty());
                severalSpawns = severalSpawns || spawns.size() > 1;
                std::map<int, std::set<int>> graph;
                for (const auto* l = map->FirstChildElement("links")->FirstChildElement(); l;
                     l = l->NextSiblingElement())
                {
                    int a = l->IntAttribute("sid"), b = l->IntAttribute("eid");
                    EXPECT_TRUE(points.count(a) && points.count(b));
                    EXPECT_TRUE(l->Attribute("anchor_x") && l->Attribute("anchor_y"));
                    graph[a].insert(b);
                    graph[b].insert(a);
                }
                // Every spawn reaches the goal.
                for (int s : spawns)
                {
                    std::set<int> seen = {s};
                    std::vector<int> todo = {s};
                    bool found = false;
                    while (!todo.empty())
                    {
                        int p = todo.back();
                        todo.pop_back();
                        for (const auto* q = map->FirstChildElement("points")->FirstChildElement(); q;
                             q = q->NextSiblingElement())
                            if (q->IntAttribute("id") == p)
                                for (const auto* a = q->FirstChildElement(); a; a = a->NextSiblingElement())
                                    found = found || std::string(a->Attribute("name")) == "goal";
                        for (int n : graph[p])
                            if (seen.insert(n).second)
                                todo.push_back(n);
                    }
                    EXPECT_TRUE(found) << s;
                }
                int spots = 0;
                for (const auto* s = map->FirstChildElement("spots")->FirstChildElement("spot"); s;
                     s = s->NextSiblingElement(), ++spots)
                {
                    std::map<std::string, float> a;
                    for (const auto* e = s->FirstChildElement(); e; e = e->NextSiblingElement())
                        a[e->Attribute("name")] = e->FloatAttribute("value");
                    // Without the three multipliers a spot would read 0 and show every boost icon.
                    for (const char* m : {"radius_mult", "damage_mult", "income_mult"})
                        EXPECT_TRUE(a.count(m) && a[m] > 0) << m;
                    boughtWithGold = boughtWithGold || a["cost_gold"] > 0;
                    boughtWithGems = boughtWithGems || a["cost_real"] > 0;
                    if (a["tower_id"] != 0)
                    {
                        prebuilt = true;
                        EXPECT_TRUE(sById.count(static_cast<int>(a["tower_id"])));
                    }
                }
                EXPECT_GE(spots, 5);
                float strength = 0;
                for (const auto* w = map->FirstChildElement("waves")->FirstChildElement("wave"); w;
                     w = w->NextSiblingElement())
                {
                    EXPECT_TRUE(spawns.count(w->IntAttribute("spawn"))) << w->IntAttribute("spawn");
                    linked = linked || w->IntAttribute("linked") >= 0;
                    for (const auto* e = w->FirstChildElement(); e; e = e->NextSiblingElement())
                    {
                        int id = e->IntAttribute("id"), tier = e->IntAttribute("upgrade") - 1;
                        ASSERT_TRUE(sById.count(id)) << id;
                        if (tier > 0)
                        {
                            EXPECT_TRUE(sById.count(id + 100 * tier)) << id << " tier " << tier;
                        }
                        unitsInWaves.insert(id);
                        strength += Float(sById[id], "strength");
                        EXPECT_LE(e->FloatAttribute("y"), 0);
                        EXPECT_GE(e->FloatAttribute("y"), -130);
                    }
                }
                // Without towers the units take more than the 25 lives a level starts with.
                if (!hard)
                {
                    EXPECT_GE(strength, 25);
                }
            }
    }
    std::set<std::string> present;
    for (const std::string& f : ListTree(Root()))
        if (f.rfind("td/levels_", 0) == 0)
            present.insert(f);
    EXPECT_EQ(present, announced);
    EXPECT_TRUE(boughtWithGold && boughtWithGems && prebuilt && upper && linked && severalSpawns);
    for (const Row& r : sUnits)
        if (Int(r, "parent") == -1)
        {
            EXPECT_TRUE(unitsInWaves.count(Int(r, "id"))) << "unit " << Str(r, "id") << " is in no wave";
        }

    // The spot the tutorial points at on the first level.
    tinyxml2::XMLDocument first;
    ASSERT_EQ(first.LoadFile((Root() / "td/levels_normal/level_01_01.xml").c_str()), tinyxml2::XML_SUCCESS);
    bool tutorialSpot = false;
    for (const auto* s = first.FirstChildElement("map")->FirstChildElement("spots")->FirstChildElement(); s;
         s = s->NextSiblingElement())
        tutorialSpot = tutorialSpot || (s->FloatAttribute("x") == 896 && s->FloatAttribute("y") == 563);
    EXPECT_TRUE(tutorialSpot);
}

// The groups every prototype's "psd" names exist in the preloaded folders with the frames their users read.
TEST_F(DemoGame, SpriteGroupsOfEveryRecordExist)
{
    for (const Row& r : sUnits)
    {
        std::string g = Str(r, "psd");
        SCOPED_TRACE(g);
        EXPECT_EQ(Direct(sPreloaded, g).size(), 1u); // the anchor frame
        for (const char* pose : {"walk", "death", "special"})
            EXPECT_GE(Direct(sPreloaded, g + "/" + pose).size(), 3u) << pose;
    }
    for (const Row& r : sTowers)
    {
        std::string g = Str(r, "psd");
        SCOPED_TRACE(g);
        EXPECT_EQ(Direct(sPreloaded, g + "/base_point").size(), 1u);
        if (Str(r, "rotating") == "1")
        {
            EXPECT_EQ(Direct(sPreloaded, g).size(), 128u);
            EXPECT_EQ(Direct(sPreloaded, g + "/s_point").size(), 32u);
        }
        else
        {
            EXPECT_GE(Direct(sPreloaded, g + "/idle").size(), 1u);
            EXPECT_GE(Direct(sPreloaded, g + "/blast").size(), 1u);
            EXPECT_EQ(Direct(sPreloaded, g + "/s_point").size(), 1u);
        }
    }
    // Bullets draw a plain picture, the arcing shell and the spells a layered sheet of their own.
    for (const Row& r : sAmmo)
    {
        if (!Str(r, "img").empty())
        {
            EXPECT_TRUE(DecodePng(Root() / "td" / Str(r, "img")).ok) << Str(r, "img");
        }
        if (!Str(r, "psd").empty())
        {
            std::vector<std::string> names = FolderLayers(Root() / "td" / Str(r, "psd"));
            EXPECT_FALSE(names.empty()) << Str(r, "psd");
            EXPECT_EQ(Direct(names, "s_point").size(), 1u) << Str(r, "psd");
            if (Int(r, "id") == 2003)
            {
                EXPECT_GE(Direct(names, "fire").size(), 1u);
            }
            else
                EXPECT_GE(Direct(names, "").size(), 2u) << Str(r, "psd");
        }
    }
    EXPECT_FALSE(Direct(FolderLayers(Root() / "td/tower3_1b"), "fire").empty());
    // The interface sheet, the spot pictures and the effect sprites the world looks up.
    for (const char* name :
         {"ui/brush",         "ui/power_buff",   "ui/sell",        "ui/buy",       "ui/lvl2",
          "ui/lvl3",          "ui/radius",       "ui/bar",         "ui/immune",    "ui/money",
          "ui/context_money", "ui/context_gem",  "ui/l1",          "ui/l2",        "ui/l3",
          "ui/acid_01",       "ui/beam_01",      "ui/aoe_01",      "ui/burn_01",   "ui/dazed_01",
          "ui/hammer_01",     "ui/money_01",     "ui/portal_01",   "ui/wing_01",   "ui/might_01",
          "ui/might_02",      "ui/radius_boost", "ui/power_boost", "ui/wave_hint", "spots/s",
          "spots/g",          "spots/p"})
        EXPECT_EQ(std::count(sPreloaded.begin(), sPreloaded.end(), name), 1) << name;
    for (int i = 1; i <= 12; ++i)
    {
        char name[32];
        std::snprintf(name, sizeof name, "ui/tower_%02d", i);
        EXPECT_EQ(std::count(sPreloaded.begin(), sPreloaded.end(), name), 1) << name;
    }
    for (const char* sheet :
         {"enemy_spot", "mob_heal", "mob_dot", "disabletower", "tower_debuff", "spell_cast"})
    {
        EXPECT_GE(Direct(sPreloaded, sheet).size(), 4u) << sheet;
        EXPECT_EQ(Direct(sPreloaded, std::string(sheet) + "/s_point").size(), 1u) << sheet;
    }
    for (const char* file :
         {"td/data/ui_parts/shadows/wywern_shadow.png", "td/data/ui_parts/shadows/dragon_shadow.png",
          "td/data/context/small_icons/income.png"})
        EXPECT_TRUE(DecodePng(Root() / file).ok) << file;
    // Group names come back lower case from the folder reader, so the sheets use lower case.
    for (const std::string& n : sPreloaded)
        EXPECT_EQ(n,
                  [&]
                  {
                      std::string l = n;
                      std::transform(l.begin(), l.end(), l.begin(), ::tolower);
                      return l;
                  }())
            << n;
}

TEST_F(DemoGame, EverySoundTagTheWorldPlaysHasAFile)
{
    std::vector<std::string> tags = {"simple",    "context_in",   "context_out", "buildTower",
                                     "sellTower", "upgradeTower", "buySpot",     "teleportEnemy",
                                     "winSound",  "loseSound"};
    for (const Row& r : sTowers)
        tags.push_back("tower" + Str(r, "id") + "shot");
    for (const Row& r : sAmmo)
        if (!Str(r, "onHit").empty())
            tags.push_back("ammo" + Str(r, "id") + "hit");
    for (const Row& r : sUnits)
    {
        if (Int(r, "parent") == -1)
            tags.push_back("enemy" + Str(r, "id") + "hit");
        tags.push_back("enemy" + Str(r, "id") + "die");
        tags.push_back("enemy" + Str(r, "id") + "special");
    }
    for (int spell = 0; spell < 5; ++spell)
        tags.push_back("spell" + std::to_string(spell));
    std::set<std::string> files;
    for (const std::string& tag : tags)
    {
        ASSERT_TRUE(sSounds.count(tag)) << tag;
        EXPECT_TRUE(fs::is_regular_file(Root() / "td/data/sound" / sSounds[tag])) << tag;
        files.insert(sSounds[tag]);
    }
    EXPECT_EQ(files.size(), tags.size()); // a sound of its own for every tag
}

TEST_F(DemoGame, WorldStringKeysExist)
{
    for (const char* key : {"game_caption",
                            "game_incoming",
                            "game_nextwave",
                            "game_win",
                            "game_lose",
                            "game_kill_score",
                            "game_combo_bonus",
                            "game_life_bonus",
                            "game_total_score",
                            "game_best_score",
                            "gems",
                            "diff_easy",
                            "diff_normal",
                            "diff_hard",
                            "diff_hardcore",
                            "towerUpgradeInfoRange",
                            "towerUpgradeInfoDamage",
                            "towerUpgradeInfoRof",
                            "towerUpgradeInfoIncome",
                            "HardcoreTitle",
                            "HardcoreUnlockMessage",
                            "profiles_error",
                            "profiles_maxcount",
                            "progress_confirm_text",
                            "buyHealthDialogTitle",
                            "buyHealthDialogText",
                            "unlock_caption",
                            "unlock_button",
                            "profile_corrupt"})
        EXPECT_TRUE(sStrings.count(key)) << key;
}

#ifdef CORV_DEMODATA_PARTICLES
void Names(const ptl::FolderDesc& folder, std::vector<std::string>& out)
{
    for (const ptl::EmitterDesc& e : folder.emitters)
        out.push_back(e.name);
    for (const ptl::FolderDesc& f : folder.folders)
        Names(f, out);
}

// Every effect a record names, the ones the world starts by name and the episodes' ambient effects are in
// the particle file once.
TEST_F(DemoGame, EveryEmitterTheWorldStartsIsInTheParticleFile)
{
    Bytes b = ReadAll(Root() / "td/fx/fx2.ptc");
    ptl::PtcDesc desc;
    ASSERT_TRUE(ptl::ReadPtc(b.data(), b.size(), desc));
    std::vector<std::string> names;
    Names(desc.root, names);
    std::vector<std::string> wanted = {"build",   "upgrade",  "active",   "active_btn", "damage_h",  "hammer",
                                       "mg_00",   "portal_1", "blow_bub", "t_line",     "blik_6",    "btfly",
                                       "sh_snow", "tr1",      "bird",     "lava_3",     "fire_fly_2"};
    for (const std::vector<Row>* sheet : {&sUnits, &sTowers, &sAmmo})
        for (const Row& r : *sheet)
            for (const char* key : {"onFire", "onAmmo", "onHit"})
                if (!Str(r, key).empty())
                    wanted.push_back(Str(r, key));
    for (const std::string& name : wanted)
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;
}
#endif

} // namespace
