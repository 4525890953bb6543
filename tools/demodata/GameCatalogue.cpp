#include "tools/demodata/GameCatalogue.h"

#include <cstring>

namespace demodata::game
{
namespace
{

// Unit kinds. Speeds are map units per second, health hit points, strength the lives an escaping unit takes,
// cost its kill reward. Ids 0, 11 and 39 are the ones the game spawns itself (summoned, carried, raised);
// 3, 30, 31, 38 and 10, 32, 33 are fliers the game gives a wyvern or dragon shadow.
const std::vector<UnitKind> kUnits = {
    {0, "imp", "Imp", "t1units", Body::Humanoid, Gear::Horns, 0xC0392B, 0x6E2C00, 0.75f, 20, 62, 1, 2, 0, 0,
     ""},
    {1, "goblin", "Goblin", "t1units", Body::Humanoid, Gear::Club, 0x6AB04C, 0x7F5539, 0.9f, 32, 42, 1, 4, 0,
     0, ""},
    {2, "wolf", "Grey wolf", "t1units", Body::Beast, Gear::None, 0x8D99AE, 0x2B2D42, 1.0f, 26, 72, 1, 4, 0, 0,
     ""},
    {3, "drake", "Cave drake", "t1units", Body::Flier, Gear::None, 0x8E44AD, 0xF5B041, 0.8f, 24, 56, 1, 5,
     0, 0,       "air",        0,         0,           0,          1},
    {4, "orc", "Orc brute", "t2units", Body::Humanoid, Gear::Shield, 0x4D7C0F, 0x7B3F00, 1.25f, 95, 34, 2, 8,
     0, 0, "pierce"},
    {5, "shaman", "Goblin shaman", "t2units", Body::Humanoid, Gear::Staff, 0x58A55C, 0x6C3483, 0.95f, 60, 36,
     1, 9, 0, 7, "summon", 0, 0, 1100},
    {6, "cleric", "Cleric", "t2units", Body::Humanoid, Gear::Hood, 0xF4F1DE, 0xE9C46A, 1.0f, 55, 38, 1, 8,
     150, 3, "healer"},
    {7, "ghost", "Ghost", "t2units", Body::Ghost, Gear::None, 0xDDE6ED, 0x5DADE2, 1.0f, 40, 46, 1, 7, 0, 3,
     "invisible"},
    {8, "troll", "Troll", "t3units", Body::Golem, Gear::Club, 0x5E8C31, 0x3B5323, 1.35f, 170, 30, 2, 12, 0,
     1.5f, "regen"},
    {9, "drummer", "War drummer", "t2units", Body::Humanoid, Gear::Drum, 0xB9770E, 0x922B21, 1.0f, 55, 40, 1,
     7, 150, 4, "haste_buff"},
    {10,
     "dragon",
     "Red dragon",
     "t3units",
     Body::Dragon,
     Gear::None,
     0xC0392B,
     0xF39C12,
     1.5f,
     230,
     32,
     4,
     25,
     0,
     0,
     "air",
     0,
     0,
     0,
     2},
    {11, "larva", "Beetle larva", "t1units", Body::Beetle, Gear::None, 0xD4AC0D, 0x7D6608, 0.6f, 16, 56, 1, 1,
     0, 0, ""},
    {12, "carrier", "Brood carrier", "t3units", Body::Beetle, Gear::Sacks, 0x9A7D0A, 0x4A235A, 1.35f, 140, 30,
     2, 12, 0, 0, "carrier"},
    {13, "icegolem", "Ice golem", "t3units", Body::Golem, Gear::None, 0xAED6F1, 0x2E86C1, 1.3f, 150, 30, 2,
     12, 0, 0, "ice"},
    {14, "stonegolem", "Stone golem", "t3units", Body::Golem, Gear::None, 0x99A3A4, 0x515A5A, 1.3f, 190, 28,
     2, 14, 0, 0, "stone"},
    {15, "firesprite", "Fire sprite", "t2units", Body::Flame, Gear::None, 0xF39C12, 0xE74C3C, 1.0f, 60, 44, 1,
     9, 0, 0, "fire_dmg_only"},
    {16, "bombbeetle", "Bomb beetle", "t2units", Body::Beetle, Gear::Fuse, 0x34495E, 0xE67E22, 0.95f, 45, 50,
     1, 6, 0, 0, "aoe", 40, 70},
    {17, "necro", "Necromancer", "t2units", Body::Humanoid, Gear::Hood, 0x1C2833, 0x58D68D, 1.0f, 70, 34, 2,
     12, 170, 0, "raiseDead"},
    {18, "wraith", "Mist wraith", "t2units", Body::Ghost, Gear::Hood, 0x5B2C6F, 0xA569BD, 1.05f, 60, 42, 1, 9,
     150, 2.5f, "invisibleArea"},
    {19, "saboteur", "Saboteur", "t1units", Body::Humanoid, Gear::Bag, 0x566573, 0xF4D03F, 0.9f, 45, 52, 1, 8,
     180, 0, "blocktower"},
    {20, "hexer", "Hexer", "t2units", Body::Humanoid, Gear::Hat, 0x7D3C98, 0x17202A, 0.95f, 55, 38, 1, 9, 170,
     0, "debufftower"},
    {21, "toad", "Swamp toad", "t1units", Body::Toad, Gear::None, 0x7DCEA0, 0x1E8449, 1.0f, 70, 36, 1, 6, 0,
     0, "poisonImmun"},
    {22, "warlord", "Orc warlord", "t3units", Body::Humanoid, Gear::Crown, 0x3D6B1F, 0xB03A2E, 1.45f, 260, 28,
     4, 25, 0, 0, "commander"},
    {23, "harpy", "Harpy", "t2units", Body::Flier, Gear::Hood, 0xD35400, 0xFAD7A0, 0.9f, 45, 60, 1, 8, 0, 0,
     "air straight"},
    {30, "wyvern", "Wyvern", "t3units", Body::Flier, Gear::Horns, 0x196F3D, 0xF7DC6F, 1.2f, 90,
     44, 2,        12,       0,         0,           "air",       0,        0,        0,    1},
    {31, "seawyvern", "Sea wyvern", "t3units", Body::Flier, Gear::Horns, 0x1F618D, 0x76D7C4, 1.25f, 110,
     46, 2,           14,           0,         0,           "air",       0,        0,        0,     1},
    {32,
     "youngdragon",
     "Young dragon",
     "t3units",
     Body::Dragon,
     Gear::None,
     0xCA6F1E,
     0xF8C471,
     1.25f,
     160,
     38,
     3,
     18,
     0,
     0,
     "air",
     0,
     0,
     0,
     2},
    {33,
     "blackdragon",
     "Black dragon",
     "t3units",
     Body::Dragon,
     Gear::Horns,
     0x212F3C,
     0xE74C3C,
     1.7f,
     320,
     30,
     5,
     30,
     0,
     0,
     "air",
     0,
     0,
     0,
     2},
    {36, "doomknight", "Doom knight", "t3units", Body::Humanoid, Gear::Shield, 0x2C3E50, 0xC0392B, 1.4f, 380,
     26, 5, 30, 0, 0, "stone"},
    {37, "lich", "Lich", "t3units", Body::Skeleton, Gear::Crown, 0xD5DBDB, 0x8E44AD, 1.15f, 200, 30, 4, 28,
     170, 4, "raiseDead healer"},
    {38,
     "bonewyvern",
     "Bone wyvern",
     "t3units",
     Body::Flier,
     Gear::None,
     0xE5E8E8,
     0x6C3483,
     1.3f,
     200,
     40,
     3,
     22,
     0,
     0,
     "air",
     0,
     0,
     0,
     1},
    {39, "skeleton", "Skeleton", "t1units", Body::Skeleton, Gear::None, 0xECF0F1, 0x7F8C8D, 0.9f, 30, 40, 1,
     2, 0, 0, ""},
};

// Tier 1 is tinted gold, tier 2 red; both hit harder and pay more.
UnitTier Tier(int base, int level)
{
    return level == 1 ? UnitTier{base + 100, 1, 1.8f, 1.5f, "40ffc830"}
                      : UnitTier{base + 200, 2, 3.0f, 2.2f, "50e03020"};
}

// Towers: four families, each a base tower (type 1, built from the build menu), two upgrade levels and two
// branches. Upgrade levels draw one and two star marks. Ranges are diameters.
const std::vector<TowerKind> kTowers = {
    // Dart towers: quick homing darts that also reach fliers.
    {10000,
     -1,
     0,
     0,
     Family::Dart,
     0,
     "dart_1",
     "Dart tower",
     7,
     0.7f,
     260,
     450,
     70,
     12,
     1001,
     "aimed air",
     1,
     0.15f,
     35,
     0,
     0,
     0,
     "air/aim",
     "Quick darts that also hit fliers."},
    {10001,
     10000,
     1,
     0,
     Family::Dart,
     1,
     "dart_2",
     "Dart tower II",
     11,
     0.65f,
     280,
     480,
     80,
     12,
     1001,
     "aimed air",
     0,
     0,
     0,
     0,
     0,
     1,
     "air/aim/star1",
     "Sharper darts."},
    {10002,
     10000,
     2,
     1,
     Family::Dart,
     2,
     "dart_3",
     "Dart tower III",
     16,
     0.6f,
     300,
     520,
     110,
     14,
     1001,
     "aimed air pierce",
     0,
     0,
     0,
     0,
     0,
     2,
     "air/aim/star2",
     "The best darts money buys."},
    {10100,
     10000,
     3,
     2,
     Family::Dart,
     3,
     "dart_venom",
     "Venom spire",
     14,
     0.7f,
     300,
     480,
     150,
     12,
     1002,
     "aimed air dot",
     0,
     0,
     0,
     0,
     0,
     0,
     "dot/air/aim",
     "Poisoned darts burn on for seconds."},
    {10200,
     10000,
     4,
     2,
     Family::Dart,
     4,
     "dart_beacon",
     "War beacon",
     -1,
     1,
     260,
     25,
     160,
     8,
     0,
     "boostTower",
     0,
     0,
     0,
     0,
     0,
     0,
     "boost",
     "Raises the damage and range of the towers around it."},
    // Cannons: turning turrets with splash, ground only.
    {20000,
     -1,
     0,
     0,
     Family::Cannon,
     0,
     "cannon_1",
     "Cannon",
     16,
     1.5f,
     230,
     380,
     90,
     16,
     1003,
     "rotating splash",
     1,
     0.15f,
     45,
     0,
     0,
     0,
     "splash",
     "A turning cannon whose balls hurt a whole group."},
    {20001,
     20000,
     1,
     0,
     Family::Cannon,
     1,
     "cannon_2",
     "Cannon II",
     24,
     1.4f,
     240,
     400,
     100,
     16,
     1003,
     "rotating splash",
     0,
     0,
     0,
     0,
     0,
     1,
     "splash/star1",
     "Heavier balls."},
    {20002,
     20000,
     2,
     1,
     Family::Cannon,
     2,
     "cannon_3",
     "Cannon III",
     34,
     1.3f,
     250,
     420,
     130,
     16,
     1003,
     "rotating splash aoe",
     0,
     0,
     0,
     0,
     0,
     2,
     "splash/star2",
     "The heaviest balls."},
    {20100,
     20000,
     3,
     2,
     Family::Cannon,
     3,
     "cannon_frost",
     "Frost cannon",
     30,
     1.3f,
     260,
     420,
     170,
     16,
     1005,
     "rotating splash stun",
     0,
     0,
     0,
     0,
     0,
     0,
     "stun/splash",
     "Frost balls slow whatever they hit."},
    {20200,
     20000,
     4,
     2,
     Family::Cannon,
     4,
     "cannon_anchor",
     "Anchor cannon",
     40,
     1.6f,
     260,
     400,
     170,
     16,
     1006,
     "rotating hold",
     0,
     0,
     0,
     0,
     0,
     0,
     "splash",
     "Chain shot that holds a unit in place."},
    // Artillery: fire shells, the only shots that hurt fire-only units.
    {30000,
     -1,
     0,
     0,
     Family::Artillery,
     0,
     "mortar_1",
     "Fire mortar",
     20,
     2.2f,
     300,
     320,
     100,
     10,
     2001,
     "splash",
     0,
     0,
     0,
     0,
     0,
     0,
     "splash",
     "Burning shells: the only thing fire sprites fear."},
    {30001,
     30000,
     1,
     0,
     Family::Artillery,
     1,
     "mortar_2",
     "Fire mortar II",
     30,
     2.1f,
     310,
     330,
     110,
     10,
     2001,
     "splash",
     0,
     0,
     0,
     0,
     0,
     1,
     "splash/star1",
     "Hotter shells."},
    {30002,
     30000,
     2,
     1,
     Family::Artillery,
     2,
     "mortar_3",
     "Fire mortar III",
     44,
     2.0f,
     320,
     340,
     150,
     10,
     2001,
     "splash",
     0,
     0,
     0,
     0,
     0,
     2,
     "splash/star2",
     "The hottest shells."},
    {30100,
     30000,
     3,
     2,
     Family::Artillery,
     3,
     "mortar_inferno",
     "Inferno mortar",
     50,
     2.2f,
     320,
     320,
     190,
     10,
     2002,
     "splash firesplash",
     0,
     0,
     0,
     0,
     0,
     0,
     "fsplash/splash",
     "Leaves the ground burning."},
    {30200,
     30000,
     4,
     2,
     Family::Artillery,
     4,
     "mortar_siege",
     "Siege mortar",
     70,
     3.0f,
     340,
     200,
     210,
     10,
     2003,
     "splash aimed",
     0,
     0,
     0,
     0,
     0,
     0,
     "splash/aim",
     "Lobs huge shells in a high arc."},
    // Support: crystal bolts that reveal the invisible; the branches hold units in a beam or pay gold.
    {40000,
     -1,
     0,
     0,
     Family::Support,
     0,
     "crystal_1",
     "Crystal tower",
     9,
     1.0f,
     250,
     400,
     80,
     8,
     1004,
     "aimed air showInvisible",
     0,
     0,
     0,
     0,
     0,
     0,
     "air/aim",
     "Magic bolts that reveal invisible units."},
    {40001,
     40000,
     1,
     0,
     Family::Support,
     1,
     "crystal_2",
     "Crystal tower II",
     14,
     0.95f,
     270,
     420,
     90,
     8,
     1004,
     "aimed air showInvisible",
     0,
     0,
     0,
     0,
     0,
     1,
     "air/aim/star1",
     "Brighter bolts."},
    {40002,
     40000,
     2,
     1,
     Family::Support,
     2,
     "crystal_3",
     "Crystal tower III",
     20,
     0.9f,
     290,
     440,
     120,
     8,
     1004,
     "aimed air showInvisible",
     0,
     0,
     0,
     0,
     0,
     2,
     "air/aim/star2",
     "The brightest bolts."},
    {40100,
     40000,
     3,
     2,
     Family::Support,
     3,
     "portal",
     "Portal tower",
     30,
     5,
     260,
     -1,
     180,
     8,
     1007,
     "teleportEnemy air",
     0,
     0,
     0,
     0,
     0,
     0,
     "tele/air",
     "A beam holds a unit and sends it back to the start."},
    {40200,
     40000,
     4,
     2,
     Family::Support,
     4,
     "treasury",
     "Treasury",
     -1,
     8,
     260,
     0,
     150,
     8,
     0,
     "",
     0,
     0,
     0,
     15,
     25,
     0,
     "gold",
     "Pays gold every few seconds and a quarter more for kills nearby."},
};

// Bullets, the summoning record of the shaman, and the spell records (3000-3004). Fire ammunition 2001-2003
// is what hurts fire-only units; 2003 flies a high arc and draws the sheet "tower3_1b".
const std::vector<AmmoKind> kAmmo = {
    {1001, "dart", "Dart", 40, 12, 0, 0, "data/ammo/dart.png", "", "fire_dart", "", "hit_dart", 0xD4AC0D},
    {1002, "venom", "Venom dart", 40, 12, 0, 0, "data/ammo/venom.png", "", "fire_dart", "trail_venom",
     "hit_venom", 0x58D68D},
    {1003, "cannonball", "Cannonball", 100, 12, 0, 0, "data/ammo/cannonball.png", "", "fire_cannon", "",
     "hit_cannon", 0x424949},
    {1004, "bolt", "Crystal bolt", 40, 12, 0, 0, "data/ammo/bolt.png", "", "", "trail_magic", "hit_magic",
     0x5DADE2},
    {1005, "frost", "Frost ball", 90, 12, 0, 0, "data/ammo/frost.png", "", "fire_cannon", "trail_frost",
     "hit_frost", 0xAED6F1},
    {1006, "chain", "Chain shot", 60, 12, 0, 0, "data/ammo/chain.png", "", "fire_cannon", "", "hit_chain",
     0x7B7D7D},
    {1007, "spark", "Portal spark", 30, 12, 0, 0, "data/ammo/spark.png", "", "", "", "hit_portal", 0xBB8FCE},
    {1100, "summon", "Summoning circle", 0, 12, 0.8f, 2.6f, "data/ammo/spark.png", "", "portal_1", "", "",
     0xA569BD},
    {2001, "fireshell", "Fire shell", 110, 12, 0, 0, "data/ammo/fireshell.png", "", "fire_mortar",
     "trail_fire", "hit_fire", 0xE67E22},
    {2002, "inferno", "Inferno shell", 90, 12, 0, 0, "data/ammo/inferno.png", "", "fire_mortar", "trail_fire",
     "hit_inferno", 0xE74C3C},
    {2003, "siegeshell", "Siege shell", 140, 12, 0, 0, "", "tower3_1b", "fire_mortar", "trail_fire",
     "hit_siege", 0xF39C12},
};

// Spells: the spell id names the button and the sound, the prototype id its values; spell 4 is cast at once
// and needs a tower on the map.
const std::vector<SpellKind> kSpells = {
    {0, 3000, "meteor", "Meteor", 40, 2, 160, 30, "splash firesplash", "spell_meteor", 0xE67E22,
     "Drops a burning rock on a crowd."},
    {1, 3001, "frost", "Frost nova", 12, 4, 180, 30, "splash stun", "spell_frost", 0x85C1E9,
     "Freezes everything in a circle."},
    {2, 3002, "poison", "Poison cloud", 8, 6, 170, 30, "dot", "spell_poison", 0x58D68D,
     "A cloud that eats away at those who walk in."},
    {3, 3003, "roots", "Entangling roots", 5, 4, 150, 35, "hold", "spell_roots", 0x7D6608,
     "Roots hold every unit in place."},
    {4, 3004, "warcry", "War cry", 50, 8, 200, 45, "boostTower", "spell_warcry", 0xF4D03F,
     "Every tower hits harder and farther for a while."},
};

std::vector<int> FamilyIds(int base)
{
    return {base, base + 1, base + 2, base + 100, base + 200};
}

// The upgrade shop: section 0 holds seven upgrades, section 1 four, section 2 three.
const std::vector<UpgradeKind>& BuildUpgrades()
{
    static const std::vector<UpgradeKind> upgrades = {
        {1,
         0,
         "walls",
         "Thick walls",
         0,
         0,
         {-1},
         {{5, {{"maxHP", 2}}}, {10, {{"maxHP", 4}}}, {20, {{"maxHP", 6}}}},
         "+%d lives a level"},
        {2,
         0,
         "bounty",
         "Bounty hunters",
         0,
         1,
         {-1},
         {{5, {{"enemyCost", 10}}}, {10, {{"enemyCost", 20}}}, {20, {{"enemyCost", 30}}}},
         "Kills pay +%d%%"},
        {3,
         0,
         "chest",
         "War chest",
         0,
         2,
         {-1},
         {{5, {{"startBudget", 10}}}, {10, {{"startBudget", 20}}}, {20, {{"startBudget", 30}}}},
         "Start gold +%d%%"},
        {4,
         0,
         "darts",
         "Barbed darts",
         0,
         0,
         FamilyIds(10000),
         {{4, {{"strength", 10}}}, {8, {{"strength", 20}}}, {14, {{"strength", 30}}}},
         "Darts hit +%d%%"},
        {5,
         0,
         "powder",
         "Black powder",
         0,
         1,
         FamilyIds(20000),
         {{4, {{"strength", 10}}}, {8, {{"strength", 20}}}, {14, {{"strength", 30}}}},
         "Cannons hit +%d%%"},
        {6,
         0,
         "coals",
         "Hot coals",
         0,
         2,
         FamilyIds(30000),
         {{4, {{"strength", 10}}}, {8, {{"strength", 20}}}, {14, {{"strength", 30}}}},
         "Mortars hit +%d%%"},
        {7,
         0,
         "focus",
         "Crystal focus",
         0,
         3,
         FamilyIds(40000),
         {{4, {{"radius", 10}}}, {8, {{"radius", 20}}}},
         "Crystal range +%d%%"},
        {8,
         1,
         "bows",
         "Long bows",
         0,
         2,
         FamilyIds(10000),
         {{6, {{"radius", 10}}}, {12, {{"radius", 15}}}},
         "Dart range +%d%%"},
        {9,
         1,
         "loaders",
         "Quick loaders",
         0,
         3,
         FamilyIds(20000),
         {{6, {{"cooldown", 10}}}, {12, {{"cooldown", 20}}}},
         "Cannon reload +%d%%"},
        {10,
         1,
         "sights",
         "Mortar sights",
         0,
         4,
         FamilyIds(30000),
         {{6, {{"radius", 10}}}, {12, {{"radius", 20}}}},
         "Mortar range +%d%%"},
        {11,
         1,
         "veins",
         "Rich veins",
         1,
         2,
         {40200},
         {{8, {{"goldIncome", 20}}}, {16, {{"goldIncome", 40}}}},
         "Treasury +%d%%"},
        {12,
         2,
         "lore",
         "Spell lore",
         0,
         1,
         {3000, 3001, 3002, 3003, 3004},
         {{6, {{"cooldown", 15}}}, {12, {{"cooldown", 30}}}},
         "Spells +%d%% faster"},
        {13,
         2,
         "embers",
         "Ember magic",
         0,
         0,
         {3000},
         {{5, {{"strength", 25}}}, {10, {{"strength", 50}}}},
         "Meteors hit +%d%%"},
        {14,
         2,
         "masons",
         "Master masons",
         0,
         1,
         {10000, 20000, 30000, 40000},
         {{8, {{"cost", -5}}}, {16, {{"cost", -10}}}},
         "Towers cost -%d%%"},
    };
    return upgrades;
}

const std::vector<EpisodeInfo> kEpisodes = {
    {5, 2, 0, "Green Vale"},
    {4, 2, 8, "Frostpeak"},
    {4, 2, 18, "Ember Woods"},
};

// Each line lists what becomes new at that level; a level sees everything of its line and the lines before.
// Every level has a line, because a level without one has nothing unlocked.
const std::vector<UnlockLine> kUnlocks = {
    // The tutorial of 1-1 has the dart tower earn its first star, so that upgrade is there from the start.
    {0, 0, {10000, 10001, 3000}},
    {0, 1, {20000}},
    {0, 2, {30000, 20001, 10002, 3001}},
    {0, 3, {40000, 30001, 20002, 40001, 3002}},
    {0, 4, {10100, 10200, 30002, 40002, 3003}},
    {1, 0, {20100, 20200, 3004}},
    {1, 1, {30100, 30200}},
    {1, 2, {40100, 40200}},
    {1, 3, {}},
    {2, 0, {}},
    {2, 1, {}},
    {2, 2, {}},
    {2, 3, {-1}},
};

const std::vector<int> kHardcoreNew = {36, 37, 38};

const std::vector<std::string> kFlagColumns = {
    "haste_buff",    "fire_dmg_only", "debufftower", "poisonImmun", "regen",        "raiseDead",
    "invisible",     "invisibleArea", "blocktower",  "healer",      "commander",    "summon",
    "carrier",       "straight",      "ice",         "stone",       "pierce",       "splash",
    "firesplash",    "dot",           "aoe",         "hold",        "stun",         "boostTower",
    "showInvisible", "air",           "aimed",       "rotating",    "teleportEnemy"};

} // namespace

const std::vector<UnitKind>& Units()
{
    return kUnits;
}

const std::vector<UnitTier>& TiersOf(const UnitKind& unit)
{
    static std::vector<std::vector<UnitTier>> cache;
    if (cache.empty())
        for (const UnitKind& u : kUnits)
            cache.push_back({Tier(u.id, 1), Tier(u.id, 2)});
    return cache[static_cast<std::size_t>(&unit - kUnits.data())];
}

const std::vector<TowerKind>& Towers()
{
    return kTowers;
}
const std::vector<AmmoKind>& Ammo()
{
    return kAmmo;
}
const std::vector<SpellKind>& Spells()
{
    return kSpells;
}
const std::vector<UpgradeKind>& Upgrades()
{
    return BuildUpgrades();
}
const std::vector<EpisodeInfo>& Episodes()
{
    return kEpisodes;
}
const std::vector<UnlockLine>& Unlocks()
{
    return kUnlocks;
}
const std::vector<int>& HardcoreNewIds()
{
    return kHardcoreNew;
}
int ComingSoonEpisode()
{
    return static_cast<int>(kEpisodes.size());
}
const char* ComingSoonName()
{
    return "Sunken Coast";
}
const std::vector<std::string>& FlagColumns()
{
    return kFlagColumns;
}

const UnitKind* FindUnit(int id)
{
    for (const UnitKind& u : kUnits)
        if (u.id == id)
            return &u;
    return nullptr;
}

const TowerKind* FindTower(int id)
{
    for (const TowerKind& t : kTowers)
        if (t.id == id)
            return &t;
    return nullptr;
}

const AmmoKind* FindAmmo(int id)
{
    for (const AmmoKind& a : kAmmo)
        if (a.id == id)
            return &a;
    return nullptr;
}

bool HasFlag(const char* flags, const char* flag)
{
    std::size_t n = std::strlen(flag);
    for (const char* p = flags; *p;)
    {
        while (*p == ' ')
            ++p;
        const char* end = p;
        while (*end && *end != ' ')
            ++end;
        if (static_cast<std::size_t>(end - p) == n && std::strncmp(p, flag, n) == 0)
            return true;
        p = end;
    }
    return false;
}

std::string UnitSheetPath(const UnitKind& u)
{
    return std::string("td/units/") + u.folder;
}

std::string TowerFolder(Family f)
{
    switch (f)
    {
    case Family::Dart:
        return "dart";
    case Family::Cannon:
        return "cannon";
    case Family::Artillery:
        return "artillery";
    case Family::Support:
        return "support";
    }
    return "";
}

std::string UnlockText(int id)
{
    if (const TowerKind* t = FindTower(id))
        return std::string(t->parent < 0 ? "New tower: " : "New upgrade: ") + t->name + ". " + t->blurb;
    for (const SpellKind& s : kSpells)
        if (s.protoId == id)
            return std::string("New spell: ") + s.name + ". " + s.blurb;
    if (const UnitKind* u = FindUnit(id))
        return std::string("New enemy: ") + u->name + ". Beware!";
    return "Something new.";
}

} // namespace demodata::game
