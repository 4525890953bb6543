#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class TDFrameEntry;
class TDSpriteSheet;

// Hands out the sprite sheet that a prototype row names with its "psd" (and "img") attribute, null for none.
// The game answers it with the sprite registry (registrySheets); tests and tools may answer it themselves.
class TDSpriteSheetSource
{
public:
    virtual TDSpriteSheet* getSheet(const tinyxml2::XMLElement& element) = 0;

protected:
    ~TDSpriteSheetSource() = default;
};

// One unit, tower or ammunition type: a flat record of numbers, flags and strings read from one row of a
// prototype sheet, with the branch records of its child rows (tower upgrade branches, unit tiers). Every key
// that a row lacks or that does not read keeps its default.
class TDUnitProto
{
public:
    // Empty strings and lists and every value at its default; a tower's boost record starts like this and
    // a working copy is filled with copyFrom.
    TDUnitProto();
    // Reads the element's attributes; with readBranches every child element becomes a branch (whose own
    // children are not read). The sprite sheet comes from sheets when one is given.
    TDUnitProto(tinyxml2::XMLElement* element, bool readBranches, TDSpriteSheetSource* sheets = nullptr);
    ~TDUnitProto();

    TDUnitProto(const TDUnitProto&) = delete;
    TDUnitProto& operator=(const TDUnitProto&) = delete;

    // Every field of other except its branches, its raw "addons" text and its dropChance.
    void copyFrom(const TDUnitProto& other);
    // Zeroes the values that boosts and bought upgrades add to a tower's per-frame boost record.
    void clearBoosts();
    // The frames of a group of the prototype's sprite sheet ("" the root); none without a sheet.
    const std::vector<TDFrameEntry*>& frames(const char* group) const;

    // "80ff0000" gives 0x80FF0000: each character shifts the value by one hex digit and adds its digit (any
    // other character adds nothing).
    static std::uint32_t parseColor(const char* text);
    // The add-on names of an "addons" text: split at "/", trimmed, empty pieces skipped.
    static std::vector<std::string> splitAddons(const std::string& text);

    int parent = 0;
    int type = 0;
    int id = 0;
    float strength = 0;
    float cooldown = 0;
    float health = 0;
    float speed = 0;
    float r = 0; // a diameter
    std::string special;
    std::string psd;
    bool haste_buff = false;
    bool fire_dmg_only = false;
    float explodeStr = 0;
    float explodeRadius = 0;
    bool debufftower = false;
    bool poisonImmun = false;
    bool regen = false;
    bool raiseDead = false;
    bool invisible = false;
    bool invisibleArea = false;
    bool blocktower = false;
    bool healer = false;
    bool commander = false;
    bool summon = false;
    bool carrier = false;
    bool straight = false;
    bool ice = false;
    bool stone = false;
    bool pierce = false;
    bool splash = false;
    bool firesplash = false;
    bool dot = false;
    bool aoe = false;
    bool hold = false;
    bool stun = false;
    bool boostTower = false;
    bool showInvisible = false;
    bool air = false;
    bool aimed = false;
    bool rotating = false;
    int ammoid = 0;
    int tierUpdates = 0;
    float tierK = 0;
    float cost = 0;
    float tierCost = 0;
    int require = 0;
    int levelid = 0;
    int level = 0;
    float fps = 0;
    float timeout = 0;
    bool teleportEnemy = false;
    int goldIncome = 0;
    int stars = 0;
    int dropChance = 0;
    std::uint32_t fillColor = 0xFFFFFFFFu;
    std::string onFire;
    std::string onAmmo;
    std::string onHit;
    std::string addons;
    std::vector<std::string> addonList;
    std::vector<TDUnitProto*> branches; // owned
    TDSpriteSheet* sheet = nullptr;     // belongs to the sprite registry
};
