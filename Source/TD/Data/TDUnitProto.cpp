#include "Source/TD/Data/TDUnitProto.h"

#include "Core/Base/Containers.h"
#include "Source/TD/Data/TDUtil.h"

#include <cstring>
#include <tinyxml2.h>

namespace
{
void readInt(const tinyxml2::XMLElement* e, const char* key, int& value)
{
    readLeadingInt(e->Attribute(key), &value);
}

void readFloat(const tinyxml2::XMLElement* e, const char* key, float& value)
{
    readLeadingFloat(e->Attribute(key), &value);
}

// A number reads as its truth; otherwise only the words "true" and "false" count.
void readFlag(const tinyxml2::XMLElement* e, const char* key, bool& value)
{
    const char* text = e->Attribute(key);
    if (!text)
        return;
    int number = 0;
    if (readLeadingInt(text, &number))
        value = number != 0;
    else if (std::strcmp(text, "true") == 0)
        value = true;
    else if (std::strcmp(text, "false") == 0)
        value = false;
}

void readString(const tinyxml2::XMLElement* e, const char* key, std::string& value)
{
    const char* text = e->Attribute(key);
    value = text ? text : "";
}
} // namespace

TDUnitProto::TDUnitProto() = default;

TDUnitProto::TDUnitProto(tinyxml2::XMLElement* e, bool readBranches, TDSpriteSheetSource* sheets)
{
    if (!e)
        return;
    readInt(e, "parent", parent);
    readInt(e, "type", type);
    readInt(e, "id", id);
    readFloat(e, "strength", strength);
    readFloat(e, "cooldown", cooldown);
    readFloat(e, "health", health);
    readFloat(e, "speed", speed);
    readFloat(e, "r", r);
    readString(e, "special", special);
    readString(e, "psd", psd);
    readFlag(e, "haste_buff", haste_buff);
    readFlag(e, "fire_dmg_only", fire_dmg_only);
    readFloat(e, "explodeStr", explodeStr);
    readFloat(e, "explodeRadius", explodeRadius);
    float debuff = 0;
    readFloat(e, "debufftower", debuff);
    debufftower = debuff != 0;
    readFlag(e, "poisonImmun", poisonImmun);
    readFlag(e, "regen", regen);
    readFlag(e, "raiseDead", raiseDead);
    readFlag(e, "invisible", invisible);
    readFlag(e, "invisibleArea", invisibleArea);
    readFlag(e, "blocktower", blocktower);
    readFlag(e, "healer", healer);
    readFlag(e, "commander", commander);
    readFlag(e, "summon", summon);
    readFlag(e, "carrier", carrier);
    readFlag(e, "straight", straight);
    readFlag(e, "ice", ice);
    readFlag(e, "stone", stone);
    readFlag(e, "pierce", pierce);
    readFlag(e, "splash", splash);
    readFlag(e, "firesplash", firesplash);
    readFlag(e, "dot", dot);
    readFlag(e, "aoe", aoe);
    readFlag(e, "hold", hold);
    readFlag(e, "stun", stun);
    readFlag(e, "boostTower", boostTower);
    readFlag(e, "showInvisible", showInvisible);
    // Only a text that reads as the integer 1 makes a flier ("true" does not).
    int airValue = 0;
    readInt(e, "air", airValue);
    air = airValue == 1;
    readFlag(e, "aimed", aimed);
    readFlag(e, "rotating", rotating);
    readInt(e, "ammoid", ammoid);
    readInt(e, "tierUpdates", tierUpdates);
    readFloat(e, "tierK", tierK);
    readFloat(e, "cost", cost);
    readFloat(e, "tierCost", tierCost);
    readInt(e, "require", require);
    readInt(e, "levelid", levelid);
    readInt(e, "level", level);
    readFloat(e, "fps", fps);
    readFloat(e, "timeout", timeout);
    readFlag(e, "teleportEnemy", teleportEnemy);
    readInt(e, "goldIncome", goldIncome);
    readInt(e, "stars", stars);
    readInt(e, "dropChance", dropChance);
    const char* color = e->Attribute("fillColor");
    fillColor = parseColor(color ? color : "ffffffff");
    readString(e, "onFire", onFire);
    readString(e, "onAmmo", onAmmo);
    readString(e, "onHit", onHit);
    readString(e, "addons", addons);
    addonList = splitAddons(addons);

    if (readBranches)
    {
        for (tinyxml2::XMLElement* child = e->FirstChildElement(); child; child = child->NextSiblingElement())
            branches.push_back(new TDUnitProto(child, false, sheets));
    }
    if (sheets)
        sheet = sheets->getSheet(*e);
}

TDUnitProto::~TDUnitProto()
{
    base::DeleteAll(branches);
}

void TDUnitProto::copyFrom(const TDUnitProto& o)
{
    parent = o.parent;
    type = o.type;
    id = o.id;
    strength = o.strength;
    cooldown = o.cooldown;
    health = o.health;
    speed = o.speed;
    r = o.r;
    special = o.special;
    psd = o.psd;
    haste_buff = o.haste_buff;
    fire_dmg_only = o.fire_dmg_only;
    explodeStr = o.explodeStr;
    explodeRadius = o.explodeRadius;
    debufftower = o.debufftower;
    poisonImmun = o.poisonImmun;
    regen = o.regen;
    raiseDead = o.raiseDead;
    invisible = o.invisible;
    invisibleArea = o.invisibleArea;
    blocktower = o.blocktower;
    healer = o.healer;
    commander = o.commander;
    summon = o.summon;
    carrier = o.carrier;
    straight = o.straight;
    ice = o.ice;
    stone = o.stone;
    pierce = o.pierce;
    splash = o.splash;
    firesplash = o.firesplash;
    dot = o.dot;
    aoe = o.aoe;
    hold = o.hold;
    stun = o.stun;
    boostTower = o.boostTower;
    showInvisible = o.showInvisible;
    air = o.air;
    aimed = o.aimed;
    rotating = o.rotating;
    ammoid = o.ammoid;
    tierUpdates = o.tierUpdates;
    tierK = o.tierK;
    cost = o.cost;
    tierCost = o.tierCost;
    require = o.require;
    levelid = o.levelid;
    level = o.level;
    fps = o.fps;
    timeout = o.timeout;
    teleportEnemy = o.teleportEnemy;
    goldIncome = o.goldIncome;
    stars = o.stars;
    fillColor = o.fillColor;
    onFire = o.onFire;
    onAmmo = o.onAmmo;
    onHit = o.onHit;
    addonList = o.addonList;
    sheet = o.sheet;
}

void TDUnitProto::clearBoosts()
{
    strength = 0;
    cooldown = 0;
    r = 0;
    // Bought upgrades add to these as well; cleared with the rest so that they never pile up frame by frame.
    cost = 0;
    goldIncome = 0;
}

std::uint32_t TDUnitProto::parseColor(const char* text)
{
    std::uint32_t value = 0;
    for (const char* p = text; p && *p; ++p)
    {
        value *= 16u;
        const char c = *p;
        if (c >= '0' && c <= '9')
            value += static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            value += static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            value += static_cast<std::uint32_t>(c - 'A' + 10);
    }
    return value;
}

std::vector<std::string> TDUnitProto::splitAddons(const std::string& text)
{
    std::vector<std::string> names;
    const std::string whole = trimBlanks(text);
    std::size_t start = 0;
    while (start <= whole.size())
    {
        std::size_t end = whole.find('/', start);
        if (end == std::string::npos)
            end = whole.size();
        std::string piece = trimBlanks(whole.substr(start, end - start));
        if (!piece.empty())
            names.push_back(std::move(piece));
        start = end + 1;
    }
    return names;
}

