#include "Source/TD/Data/TDUpgradeList.h"

#include "Core/Base/Containers.h"
#include "Core/Base/TextEncoding.h"
#include "Source/TD/Data/TDAttributes.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/Data/TDUtil.h"
#include "Core/File/FileManager.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <tinyxml2.h>

namespace
{
using tinyxml2::XMLElement;

int intOf(const XMLElement* e, const char* name)
{
    return e ? leadingInt(e->Attribute(name)) : 0;
}

// The first child named first and every element after it, whatever their names.
template <typename F>
void forEachFrom(const XMLElement* parent, const char* first, F&& f)
{
    for (const XMLElement* e = parent ? parent->FirstChildElement(first) : nullptr; e;
         e = e->NextSiblingElement())
        f(e);
}

float bonus(const TDUpgradeStep* step, const char* name)
{
    return step->bonuses ? step->bonuses->getFloat(name) : 0.0f;
}
// value + the truncated percent of base, kept in the int range.
int addIncome(int value, float percent, int base)
{
    const long long sum =
        static_cast<long long>(value) + truncToInt((percent / 100.0f) * static_cast<float>(base));
    return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}
} // namespace

TDUpgradeStep::TDUpgradeStep() = default;
TDUpgradeStep::~TDUpgradeStep() = default;

TDUpgrade::TDUpgrade() = default;

TDUpgrade::~TDUpgrade()
{
    base::DeleteAll(steps);
}

TDUpgradeStep* TDUpgrade::getStep(int index) const
{
    if (index < 0 || index >= static_cast<int>(steps.size()))
        return nullptr;
    return steps[static_cast<std::size_t>(index)];
}

bool TDUpgrade::isGlobal() const
{
    return !targetIds.empty() && targetIds.front() == -1;
}

bool TDUpgrade::targets(int protoId) const
{
    return std::find(targetIds.begin(), targetIds.end(), protoId) != targetIds.end();
}

bool TDUpgrade::isAvailable(bool byProgress, const TDUnlocks& unlocks) const
{
    for (int target : targetIds)
    {
        if (target == -1 || (byProgress ? unlocks.isUnlockedByProgress(target) : unlocks.isUnlocked(target)))
            return true;
    }
    return false;
}

TDUpgradeList::TDUpgradeList() = default;

TDUpgradeList::TDUpgradeList(const std::wstring& path)
{
    const std::string text = readGameTextFile(path, true);
    if (text.empty() && file::FileManager::Instance()->Exists(path))
        logDataProblem(path, L"empty; no upgrades are offered");
    parse(text, path);
}

TDUpgradeList::~TDUpgradeList()
{
    base::DeleteAll(mUpgrades);
}

void TDUpgradeList::parse(const std::string& text, const std::wstring& name)
{
    if (text.empty())
        return;
    tinyxml2::XMLDocument document;
    if (document.Parse(text.data(), text.size()) != tinyxml2::XML_SUCCESS)
    {
        logDataProblem(name, L"not readable as XML; no upgrades are offered");
        return;
    }
    const XMLElement* root = document.FirstChildElement("upgrades");
    if (!root)
    {
        logDataProblem(name, L"the root element \"upgrades\" is missing; no upgrades are offered");
        return;
    }
    forEachFrom(root, "upgrade",
                [&](const XMLElement* e)
                {
                    auto* upgrade = new TDUpgrade;
                    upgrade->id = intOf(e, "id");
                    upgrade->section = intOf(e, "section");
                    const char* icon = e->Attribute("icon");
                    upgrade->icon = base::ToWide(icon ? icon : "", base::kEncodingUtf8);
                    const XMLElement* unlock = e->FirstChildElement("unlock");
                    upgrade->unlockEpisode = intOf(unlock, "episode");
                    upgrade->unlockLevel = intOf(unlock, "level");

                    const XMLElement* targets = e->FirstChildElement("targets");
                    if (!targets)
                        logDataProblem(name, L"upgrade " + std::to_wstring(upgrade->id) +
                                                 L" has no \"targets\"; it applies to nothing");
                    forEachFrom(targets, "target",
                                [&](const XMLElement* t) { upgrade->targetIds.push_back(intOf(t, "id")); });

                    forEachFrom(e->FirstChildElement("steps"), "step",
                                [&](const XMLElement* s)
                                {
                                    auto* step = new TDUpgradeStep;
                                    step->costGold = intOf(s, "cost_g");
                                    step->costGems = intOf(s, "cost_r");
                                    if (const XMLElement* attributes = s->FirstChildElement("attributes"))
                                        step->bonuses = std::make_unique<TDAttributes>(attributes);
                                    else
                                        logDataProblem(name, L"a step of upgrade " +
                                                                 std::to_wstring(upgrade->id) +
                                                                 L" has no \"attributes\"; it gives nothing");
                                    upgrade->steps.push_back(step);
                                });
                    mUpgrades.push_back(upgrade);
                });
}

void TDUpgradeList::getBySection(int section, std::vector<TDUpgrade*>& out) const
{
    for (TDUpgrade* upgrade : mUpgrades)
    {
        if (upgrade->section == section)
            out.push_back(upgrade);
    }
}

TDUpgradeStep* TDUpgradeList::getBoughtStep(const TDUpgrade& upgrade) const
{
    if (!mProfile)
        return nullptr;
    return upgrade.getStep(mProfile->getUpgradeLevel(upgrade.id));
}

TDGlobalBonuses TDUpgradeList::applyGlobal() const
{
    TDGlobalBonuses bonuses;
    for (const TDUpgrade* upgrade : mUpgrades)
    {
        if (!upgrade->isGlobal())
            continue;
        const TDUpgradeStep* step = getBoughtStep(*upgrade);
        if (!step)
            continue;
        const float lives = bonus(step, "maxHP");
        const float reward = bonus(step, "enemyCost");
        const float budget = bonus(step, "startBudget");
        if (lives > 0)
            bonuses.extraLives = truncToInt(lives);
        if (reward > 0)
            bonuses.killRewardBonus = reward / 100.0f;
        if (budget > 0)
            bonuses.startBudgetBonus = budget / 100.0f;
    }
    return bonuses;
}

std::vector<const TDUpgradeStep*> TDUpgradeList::takingPart(int protoId) const
{
    std::vector<const TDUpgradeStep*> steps;
    for (const TDUpgrade* upgrade : mUpgrades)
    {
        bool offered = false;
        for (int target : upgrade->targetIds)
            offered = offered || target == -1 || (mUnlocks && mUnlocks->isUnlocked(target));
        if (!offered || !upgrade->targets(protoId))
            continue;
        if (const TDUpgradeStep* step = getBoughtStep(*upgrade))
            steps.push_back(step);
    }
    return steps;
}

void TDUpgradeList::applyToProto(TDUnitProto& p) const
{
    for (const TDUpgradeStep* step : takingPart(p.id))
    {
        p.r = p.r + (bonus(step, "radius") / 100.0f) * p.r;
        p.strength = p.strength + std::ceil((bonus(step, "strength") / 100.0f) * p.strength);
        p.cost = p.cost + std::floor((bonus(step, "cost") / 100.0f) * p.cost);
        p.cooldown = std::max(0.0f, p.cooldown - (bonus(step, "cooldown") / 100.0f) * p.cooldown);
        p.goldIncome = addIncome(p.goldIncome, bonus(step, "goldIncome"), p.goldIncome);
        p.speed = p.speed + std::floor((bonus(step, "speed") / 100.0f) * p.speed);
    }
}

void TDUpgradeList::applyToTower(const TDUnitProto& p, TDUnitProto& b) const
{
    for (const TDUpgradeStep* step : takingPart(p.id))
    {
        b.r += (bonus(step, "radius") / 100.0f) * p.r;
        b.strength += std::ceil((bonus(step, "strength") / 100.0f) * p.strength);
        b.cost += (bonus(step, "cost") / 100.0f) * p.cost;
        b.cooldown += (bonus(step, "cooldown") / 100.0f) * p.cooldown;
        b.goldIncome = addIncome(b.goldIncome, bonus(step, "goldIncome"), p.goldIncome);
    }
}

TDUpgrade* findById(const std::vector<TDUpgrade*>& list, int id)
{
    for (TDUpgrade* upgrade : list)
    {
        if (upgrade->id == id)
            return upgrade;
    }
    return nullptr;
}
