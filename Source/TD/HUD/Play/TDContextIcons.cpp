#include "Source/TD/HUD/Play/TDContextIcons.h"

#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDResources.h"

namespace
{
// Which add-on of a prototype shows which effect key.
const std::map<std::string, std::string>& addonKeys()
{
    static const std::map<std::string, std::string> keys = {
        {"dot", "dot"},         {"aim", "aimed"},        {"splash", "splash"},  {"fsplash", "firesplash"},
        {"stun", "stun"},       {"boost", "towerBoost"}, {"gold", "goldIncome"}, {"tele", "teleportEnemy"},
        {"air", "air"},         {"star1", "stars1"},     {"star2", "stars2"}};
    return keys;
}
} // namespace

void TDContextIcons::load()
{
    const TDResources& resources = *TDResources::Instance();
    brush = resources.findUiImage(L"ui/brush");
    boostMarker = resources.findUiImage(L"ui/power_buff");
    level2 = resources.findUiImage(L"ui/lvl2");
    level3 = resources.findUiImage(L"ui/lvl3");
    sell = resources.findUiImage(L"ui/sell");
    buy = resources.findUiImage(L"ui/buy");
    bar = resources.findUiImage(L"ui/bar");
    range = resources.findUiImage(L"ui/radius");
    starMarks[0] = resources.findUiImage(L"ui/l1");
    starMarks[1] = resources.findUiImage(L"ui/l2");
    starMarks[2] = resources.findUiImage(L"ui/l3");
    const struct
    {
        int ids[3];
        const wchar_t* frame;
    } towerFrames[] = {
        {{10000, 10001, 10002}, L"ui/tower_01"}, {{10100, 0, 0}, L"ui/tower_03"}, {{10200, 0, 0}, L"ui/tower_02"},
        {{20000, 20001, 20002}, L"ui/tower_05"}, {{20100, 0, 0}, L"ui/tower_04"}, {{20200, 0, 0}, L"ui/tower_06"},
        {{30000, 30001, 30002}, L"ui/tower_09"}, {{30100, 0, 0}, L"ui/tower_11"}, {{30200, 0, 0}, L"ui/tower_10"},
        {{40000, 40001, 40002}, L"ui/tower_08"}, {{40100, 0, 0}, L"ui/tower_12"}, {{40200, 0, 0}, L"ui/tower_07"}};
    towers.clear();
    for (const auto& entry : towerFrames)
    {
        render::Image* image = resources.findUiImage(entry.frame);
        for (int id : entry.ids)
            if (id != 0)
                towers[id] = image;
    }
    const std::pair<const char*, const wchar_t*> effectFrames[] = {
        {"dot", L"ui/acid_01"},          {"aimed", L"ui/beam_01"},       {"splash", L"ui/aoe_01"},
        {"firesplash", L"ui/burn_01"},   {"stun", L"ui/dazed_01"},       {"towerBoost", L"ui/hammer_01"},
        {"goldIncome", L"ui/money_01"},  {"teleportEnemy", L"ui/portal_01"}, {"air", L"ui/wing_01"},
        {"stars1", L"ui/might_01"},      {"stars2", L"ui/might_02"}};
    effects.clear();
    for (const auto& [key, frame] : effectFrames)
        effects[key] = resources.findUiImage(frame);
}

render::Image* TDContextIcons::towerIcon(int protoId) const
{
    const auto found = towers.find(protoId);
    return found == towers.end() ? nullptr : found->second;
}

render::Image* TDContextIcons::addonIcon(const std::string& addon) const
{
    const auto key = addonKeys().find(addon);
    if (key == addonKeys().end())
        return nullptr;
    const auto found = effects.find(key->second);
    return found == effects.end() ? nullptr : found->second;
}
