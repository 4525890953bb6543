#pragma once
// The one catalogue of the demo game: every unit, tower, ammunition and spell with its id, name, numbers,
// flags, sprite folder and group, and the upgrades, episodes and unlocks built on them. The sheets, the
// sprites, the sounds, the particle effects and the strings are all written from these tables, so they
// cannot drift apart.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace demodata::game
{

// How a unit is drawn; the catalogue picks one per unit kind.
enum class Body
{
    Humanoid,
    Skeleton,
    Beast,
    Toad,
    Flame,
    Ghost,
    Golem,
    Beetle,
    Flier,
    Dragon
};

// An extra on a unit's drawing, so kinds of one body tell apart.
enum class Gear
{
    None,
    Club,
    Staff,
    Hat,
    Drum,
    Shield,
    Horns,
    Crown,
    Hood,
    Bag,
    Fuse,
    Sacks
};

struct UnitKind
{
    int id;
    const char* key;    // sprite group and sound stem, lower case and unique
    const char* name;   // shown in texts
    const char* folder; // sprite folder below td/units/
    Body body;
    Gear gear;
    std::uint32_t main, second; // body and detail colours (0xRRGGBB)
    float size;                 // 1 = a goblin
    float health, speed, strength, cost, r, cooldown;
    const char* flags; // flag columns set to 1, separated by blanks
    float explodeStr = 0, explodeRadius = 0;
    int ammoid = 0; // the summoning record of a summoner
    int shadow = 0; // 1 small wyvern shadow, 2 dragon shadow (chosen by id in the game; recorded here)
    const char* special = "";
};

// A unit tier is a branch row of its kind: id = kind id + 100 x tier, tinted and stronger.
struct UnitTier
{
    int id;
    int level; // levelid 1 or 2
    float healthFactor, costFactor;
    const char* fillColor; // tint of the mob shader, AARRGGBB
};

// Tower families share a folder and a look; the looks differ per upgrade level and branch.
enum class Family
{
    Dart,
    Cannon,
    Artillery,
    Support
};

struct TowerKind
{
    int id;
    int parent;  // -1 for a base tower
    int levelid; // 0 base, 1 and 2 upgrade levels, 3 and 4 branches
    int require; // the branch this one follows
    Family family;
    int variant; // 0..4: base, level 2, level 3, branch a, branch b
    const char* key;
    const char* name;
    float strength, cooldown, r, speed, cost, fps;
    int ammoid;
    const char* flags;
    int tierUpdates;
    float tierK, tierCost;
    int goldIncome;
    float health; // income towers: per cent added to kill rewards in range
    int stars;
    const char* addons;
    const char* blurb; // one line for the unlock text
};

struct AmmoKind
{
    int id;
    const char* key;
    const char* name;
    float r, fps, speed, cooldown;
    const char* img; // plain bullet picture below td/ ("" for none)
    const char* psd; // layered sheet below td/ ("" for none)
    const char* onFire;
    const char* onAmmo;
    const char* onHit;
    std::uint32_t color; // bullet and effect colour
};

struct SpellKind
{
    int spellId;
    int protoId;
    const char* key; // sheet "spells/<key>", icons and sound
    const char* name;
    float strength, speed, r, cooldown;
    const char* flags;
    const char* onAmmo;
    std::uint32_t color;
    const char* blurb;
};

struct UpgradeStep
{
    int costGems;
    std::vector<std::pair<const char*, float>> bonuses;
};

struct UpgradeKind
{
    int id;
    int section;
    const char* icon;
    const char* name;
    int unlockEpisode, unlockLevel;
    std::vector<int> targets; // -1: global
    std::vector<UpgradeStep> steps;
    const char* what; // what one step does, with %d for the step's main value; one line of a shop plate
};

struct EpisodeInfo
{
    int normalLevels, hardcoreLevels, starsRequired;
    const char* name;
};

struct UnlockLine
{
    int episode, level;
    std::vector<int> ids;
};

const std::vector<UnitKind>& Units();
const std::vector<UnitTier>& TiersOf(const UnitKind& unit);
const std::vector<TowerKind>& Towers();
const std::vector<AmmoKind>& Ammo();
const std::vector<SpellKind>& Spells();
const std::vector<UpgradeKind>& Upgrades();
const std::vector<EpisodeInfo>& Episodes();
const std::vector<UnlockLine>& Unlocks();
// Ids the hardcore mode announces at its first level (fixed by the game).
const std::vector<int>& HardcoreNewIds();
// The episode table skips this id and lists the one after it (a planned episode without levels), so the
// episode select shows one card as coming soon.
int ComingSoonEpisode();
const char* ComingSoonName();

const UnitKind* FindUnit(int id);
const TowerKind* FindTower(int id);
const AmmoKind* FindAmmo(int id);
bool HasFlag(const char* flags, const char* flag);

// Every flag column of the prototype sheets, in the order the sheets carry them.
const std::vector<std::string>& FlagColumns();

// The picture ("key" sheets, icons) and sound names derived from the tables.
std::string UnitSheetPath(const UnitKind& u); // "td/units/<folder>"
std::string TowerFolder(Family f);            // "artillery", "dart", "cannon", "support"
std::string UnlockText(int id);               // text of "unlock_<id>"

} // namespace demodata::game
