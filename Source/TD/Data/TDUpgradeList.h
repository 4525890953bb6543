#pragma once

#include <memory>
#include <string>
#include <vector>

class TDAttributes;
class TDProfile;
class TDUnitProto;
class TDUnlocks;

// One step of a permanent upgrade: its gem price and its bonuses (percentages by name).
class TDUpgradeStep
{
public:
    int costGold = 0; // a money price the game does not use
    int costGems = 0;
    std::unique_ptr<TDAttributes> bonuses; // null when the step lists none

    TDUpgradeStep();
    ~TDUpgradeStep();
};

// A permanent upgrade bought step by step with gems. Its targets are tower prototype ids, or -1 for an
// upgrade of the whole game (lives, kill rewards, starting budget).
class TDUpgrade
{
public:
    TDUpgrade();
    ~TDUpgrade();
    TDUpgrade(const TDUpgrade&) = delete;
    TDUpgrade& operator=(const TDUpgrade&) = delete;

    // The step at the index, or null past the last one (and for a negative index).
    TDUpgradeStep* getStep(int index) const;
    // The player can have it: a target is -1 or unlocked, by the player's progress or at the current level.
    bool isAvailable(bool byProgress, const TDUnlocks& unlocks) const;
    bool isGlobal() const;
    bool targets(int protoId) const;

    int id = 0;
    int section = 0; // the shop tab
    int unlockEpisode = 0;
    int unlockLevel = 0;
    std::wstring icon;
    std::vector<int> targetIds;
    std::vector<TDUpgradeStep*> steps; // owned
};

// What the bought global upgrades give a level; the map resets these to 0 and takes them at level start.
struct TDGlobalBonuses
{
    int extraLives = 0;
    float killRewardBonus = 0.0f;  // share added to kill rewards
    float startBudgetBonus = 0.0f; // share added to the starting budget
};

// The permanent upgrades of "td/upgrades.xml" and the rules that apply the bought steps (the step whose
// index the profile stores). Off in hardcore, where the profile reports nothing bought.
class TDUpgradeList
{
public:
    // An empty list.
    TDUpgradeList();
    // Reads the file (the map passes "td/upgrades.xml") through the file manager; a missing or damaged file
    // gives no upgrades.
    explicit TDUpgradeList(const std::wstring& path);
    ~TDUpgradeList();
    TDUpgradeList(const TDUpgradeList&) = delete;
    TDUpgradeList& operator=(const TDUpgradeList&) = delete;

    // Appends the upgrades of an upgrades.xml text; name only labels the log lines about damaged parts.
    void parse(const std::string& text, const std::wstring& name);

    // Who bought what, and what the current level offers; both must be set before the rules are asked.
    void setProfile(TDProfile* profile) { mProfile = profile; }
    void setUnlocks(const TDUnlocks* unlocks) { mUnlocks = unlocks; }

    const std::vector<TDUpgrade*>& getUpgrades() const { return mUpgrades; }
    // Appends, in list order, the upgrades listed under the shop tab.
    void getBySection(int section, std::vector<TDUpgrade*>& out) const;
    // The bought step of an upgrade, or null.
    TDUpgradeStep* getBoughtStep(const TDUpgrade& upgrade) const;

    // The global bonuses of the bought steps of the upgrades whose first target is -1. Steps hold totals: a
    // later step's non-zero value replaces an earlier one's.
    TDGlobalBonuses applyGlobal() const;
    // Raises a working copy of a prototype by the bought tower upgrades that take part (a target -1 or
    // unlocked at the current level, the prototype's id among the targets, a bought step); each step builds
    // on the values the earlier ones left.
    void applyToProto(TDUnitProto& proto) const;
    // Adds the bought tower upgrades of a tower's current prototype to its per-frame boost record, always
    // from the prototype's own values. A cooldown bonus is added as time taken off the shot period (the tower
    // subtracts its boost cooldown), so a bought bonus always shortens the period.
    void applyToTower(const TDUnitProto& current, TDUnitProto& boost) const;

private:
    std::vector<const TDUpgradeStep*> takingPart(int protoId) const;

    std::vector<TDUpgrade*> mUpgrades; // owned, in file order
    TDProfile* mProfile = nullptr;
    const TDUnlocks* mUnlocks = nullptr;
};

// The first upgrade of the list with the id, or null.
TDUpgrade* findById(const std::vector<TDUpgrade*>& list, int id);
