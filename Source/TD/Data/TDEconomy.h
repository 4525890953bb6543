#pragma once

#include "Source/TD/Data/TDLevelResult.h"

class TDProfile;

// Who shows the purse: the HUD rewrites its money and gem texts when told.
class TDEconomyView
{
public:
    virtual void onMoneyChanged() = 0;
    virtual void onGemsChanged() = 0;

protected:
    ~TDEconomyView() = default;
};

// The purse of the running level: money (with the value the HUD shows trailing it), the player's gems (kept
// in step with the profile), the kill score and the kill combo. Kills that come at most a combo window
// apart form a combo, which pays a bonus when it ends.
class TDEconomy
{
public:
    TDEconomy() = default;

    // Both may stay null (nothing is shown or stored then).
    void setView(TDEconomyView* view) { mView = view; }
    void setProfile(TDProfile* profile) { mProfile = profile; }

    void addMoney(int amount);
    // Also counted as gained this level and stored in the profile.
    void addGems(int amount);
    // Pays a kill (see comboBonus for what an ending combo adds). The position is where the combo's notice
    // would stand.
    void addKillReward(int reward, float x, float y);
    // No check: the callers test the price first.
    void spendMoney(int amount);
    // Only when the gems suffice; the gem text and the profile are refreshed either way.
    void spendGems(int amount);
    // Once per frame while the level is played (unscaled time): the shown money runs toward the money by 4,
    // or 1 when closer, and a combo whose window has passed pays its bonus.
    void update(float dt);
    // A new level run: money, shown money, kill score, combo, money spent and gems gained back to 0.
    void reset();

    // The result of the run so far; stars and gems are the result window's to fill.
    void getLevelResult(TDLevelResult& out, float lives, int mode) const;

    int mShownMoney = 0;
    int mKillScore = 0;
    int mComboBonus = 0;
    int mMoneySpent = 0;
    int mGemsGained = 0;
    int mBudget = 0; // the level's starting money
    int mMoney = 0;
    int mGems = 0;
    float mComboWindow = 1.0f;
    int mComboCount = 0;
    float mComboTimer = 0.0f;
    float mComboX = 0.0f;
    float mComboY = 0.0f;

private:
    void endCombo();
    void moneyChanged();
    void gemsChanged();

    TDEconomyView* mView = nullptr;
    TDProfile* mProfile = nullptr;
};
