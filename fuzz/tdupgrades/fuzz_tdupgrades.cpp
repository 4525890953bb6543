// Parses arbitrary bytes as "td/upgrades.xml" and asks the list what the shop and the level rules ask: no
// upgrade text may crash the game or hand it a step it does not have.
#include "Source/TD/Data/TDAttributes.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUpgradeList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TDUpgradeList list;
    list.parse(std::string(reinterpret_cast<const char*>(data), size), L"fuzz.xml");

    for (TDUpgrade* upgrade : list.getUpgrades())
    {
        if (findById(list.getUpgrades(), upgrade->id) == nullptr)
            std::abort();
        std::vector<TDUpgrade*> section;
        list.getBySection(upgrade->section, section);
        if (section.empty())
            std::abort();
        const int count = static_cast<int>(upgrade->steps.size());
        if (upgrade->getStep(count) || upgrade->getStep(-1) || (count > 0 && !upgrade->getStep(count - 1)))
            std::abort();
        for (TDUpgradeStep* step : upgrade->steps)
        {
            if (!step->bonuses)
                continue;
            for (const char* name : {"maxHP", "enemyCost", "startBudget", "strength", "radius", "cooldown",
                                     "goldIncome", "cost", "speed"})
            {
                step->bonuses->getFloat(name);
                step->bonuses->getString(name);
            }
        }
    }
    // Nothing is bought without a profile: the rules must leave everything as it was.
    const TDGlobalBonuses bonuses = list.applyGlobal();
    if (bonuses.extraLives != 0 || bonuses.killRewardBonus != 0.0f || bonuses.startBudgetBonus != 0.0f)
        std::abort();
    TDUnitProto proto;
    proto.id = 10000;
    proto.strength = 10.0f;
    list.applyToProto(proto);
    if (proto.strength != 10.0f)
        std::abort();
    return 0;
}
