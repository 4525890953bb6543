#include "Source/TD/Data/TDEconomy.h"

#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDRules.h"

#include <algorithm>
#include <climits>

namespace
{
// Sums stay in the int range whatever the data and the cheats add up to.
int clampToInt(long long value)
{
    return static_cast<int>(
        std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

int add(int a, int b)
{
    return clampToInt(static_cast<long long>(a) + b);
}

int subtract(int a, int b)
{
    return clampToInt(static_cast<long long>(a) - b);
}
} // namespace

void TDEconomy::moneyChanged()
{
    if (mView)
        mView->onMoneyChanged();
}

void TDEconomy::gemsChanged()
{
    if (mView)
        mView->onGemsChanged();
    if (mProfile)
        mProfile->setGems(mGems);
}

void TDEconomy::addMoney(int amount)
{
    mMoney = add(mMoney, amount);
    moneyChanged();
}

void TDEconomy::addGems(int amount)
{
    mGems = add(mGems, amount);
    mGemsGained = add(mGemsGained, amount);
    gemsChanged();
}

void TDEconomy::endCombo()
{
    const int bonus = comboBonus(mComboCount);
    mComboBonus = add(mComboBonus, bonus);
    mMoney = add(mMoney, bonus);
    mComboCount = 0;
}

void TDEconomy::addKillReward(int reward, float x, float y)
{
    if (mComboTimer <= mComboWindow)
    {
        ++mComboCount;
        mComboX = x;
        mComboY = y;
    }
    else
    {
        endCombo();
    }
    mKillScore = add(mKillScore, reward);
    mMoney = add(mMoney, reward);
    mComboTimer = 0.0f;
    moneyChanged();
}

void TDEconomy::spendMoney(int amount)
{
    mMoney = subtract(mMoney, amount);
    mMoneySpent = add(mMoneySpent, amount);
    moneyChanged();
}

void TDEconomy::spendGems(int amount)
{
    if (mGems >= amount)
        mGems = subtract(mGems, amount);
    gemsChanged();
}

void TDEconomy::update(float dt)
{
    if (mShownMoney != mMoney)
    {
        const long long gap = static_cast<long long>(mMoney) - mShownMoney;
        const int step = (gap >= 4 || gap <= -4) ? 4 : 1;
        mShownMoney = add(mShownMoney, gap > 0 ? step : -step);
        moneyChanged();
    }
    mComboTimer += dt;
    if (mComboTimer > mComboWindow)
    {
        mComboTimer = 0.0f;
        endCombo();
    }
}

void TDEconomy::reset()
{
    mMoney = 0;
    mShownMoney = 0;
    mKillScore = 0;
    mComboCount = 0;
    mComboBonus = 0;
    mMoneySpent = 0;
    mGemsGained = 0;
}

void TDEconomy::getLevelResult(TDLevelResult& out, float lives, int mode) const
{
    out.kills = mKillScore;
    out.combo = mComboBonus;
    out.healthBonus = healthBonus(lives);
    out.stars = 0;
    out.gems = 0;
    out.mode = mode;
}
