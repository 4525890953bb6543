#include "Source/TD/Data/TDRules.h"

#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{
int saturate(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}
} // namespace

int killReward(float cost, float enemyCostBonus, float rangeBonus)
{
    const float upgrade = std::ceil(enemyCostBonus * cost);
    const int range = truncToInt(cost * rangeBonus + 0.5f);
    return truncToInt(upgrade + static_cast<float>(range) + cost);
}

int comboBonus(int count)
{
    if (count <= 1)
        return 0;
    return truncToInt(static_cast<float>(count) * 1.3f + 0.5f);
}

int starsForLives(float lives, float maxLives)
{
    if (!(maxLives > 0.0f))
        return 0;
    const float share = lives / maxLives;
    if (share == 1.0f)
        return 3;
    if (share >= 0.5f && share < 1.0f)
        return 2;
    if (share > 0.0f && share < 0.5f)
        return 1;
    return 0;
}

int starGems(int stars, int oldStars)
{
    static const int kGemsForStar[3] = {3, 5, 5};
    stars = std::clamp(stars, 0, 3);
    oldStars = std::clamp(oldStars, 0, 3);
    int gems = 0;
    for (int star = oldStars; star < stars; ++star)
        gems += kGemsForStar[star];
    return gems;
}

int sellRefund(float cost, float parentCost, float sellFactor)
{
    const double value = static_cast<double>(truncToInt(cost)) + static_cast<double>(truncToInt(parentCost));
    return saturate(std::floor(value * static_cast<double>(sellFactor)));
}

int levelStartLives(int extraLives, bool hardcore)
{
    return hardcore ? 1 : saturate(25.0 + extraLives);
}

int levelStartMoney(int budget, float startBudgetBonus)
{
    return saturate(static_cast<double>(budget) + truncToInt(static_cast<float>(budget) * startBudgetBonus));
}

int healthBonus(float lives)
{
    return truncToInt(lives * 100.0f);
}

float towerShotPeriod(float protoCooldown, float boostCooldown, bool debuffed)
{
    const float period = std::max(0.0f, protoCooldown - boostCooldown);
    return debuffed ? period * 1.5f : period;
}

float sumTierCosts(int stop, const std::vector<TDUnitProto*>& siblings, const TDUnitProto& proto)
{
    float sum = 0.0f;
    std::vector<const TDUnitProto*> paid;
    for (const TDUnitProto* current = &proto; current;)
    {
        sum += current->cost;
        paid.push_back(current);
        if (current->require == stop)
            break;
        const TDUnitProto* next = nullptr;
        for (const TDUnitProto* sibling : siblings)
        {
            if (sibling && sibling->levelid == current->require)
            {
                next = sibling;
                break;
            }
        }
        // Each tier is paid once: a chain that comes round to a tier again ends there.
        if (std::find(paid.begin(), paid.end(), next) != paid.end())
            break;
        current = next;
    }
    return sum;
}
