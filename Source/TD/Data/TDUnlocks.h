#pragma once

#include <map>
#include <string>
#include <vector>

class TDLevelCursor;
class TDProfile;

// Which tower and spell ids each level offers, from "td/unlocks.csv": one line per level, "episode;level;
// id,id,..." (episodes and levels from 0, spaces ignored). A level offers every id of its own line and of
// every earlier line of the file; an id of -1 stands for every id. In hardcore everything is offered.
class TDUnlocks
{
public:
    // Reads the file; cursor tells the current mode, episode and level at every question.
    explicit TDUnlocks(const TDLevelCursor& cursor, const std::wstring& path = L"td/unlocks.csv");

    // The player's progress, asked by isUnlockedByProgress; null until the profile exists.
    void setProfile(TDProfile* profile) { mProfile = profile; }

    // Offered at the current level (always in hardcore).
    bool isUnlocked(int id) const;
    // Offered at the level the player has reached (the profile's latest level), whatever the mode.
    bool isUnlockedByProgress(int id) const;
    // Replaces out with the ids first offered at the current level: those of its own line, or in hardcore
    // 36, 37 and 38 at episode 0, level 0 and nothing elsewhere.
    void getNewIds(std::vector<int>& out) const;

    // The lists of one level (empty when the file has no line for it).
    const std::vector<int>& getUnlocked(int episode, int level) const;
    const std::vector<int>& getNew(int episode, int level) const;
    // The file has a line for the level.
    bool hasLine(int episode, int level) const;

private:
    using Table = std::map<int, std::map<int, std::vector<int>>>;
    static const std::vector<int>& lookup(const Table& table, int episode, int level);
    static bool holds(const std::vector<int>& ids, int id);

    const TDLevelCursor& mCursor;
    TDProfile* mProfile = nullptr;
    Table mUnlocked;
    Table mNew;
};
