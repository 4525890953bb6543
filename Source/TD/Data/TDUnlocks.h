#pragma once

#include <cstddef>
#include <map>
#include <span>
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
    // Replaces both tables with the lines of a sheet already read into text; path only labels the log lines.
    void parse(const std::string& text, const std::wstring& path);

    // The player's progress, asked by isUnlockedByProgress; null until the profile exists.
    void setProfile(TDProfile* profile) { mProfile = profile; }

    // Offered at the current level (always in hardcore).
    bool isUnlocked(int id) const;
    // Offered at the level the player has reached (the profile's latest level), whatever the mode.
    bool isUnlockedByProgress(int id) const;
    // Replaces out with the ids first offered at the current level: those of its own line, or in hardcore
    // 36, 37 and 38 at episode 0, level 0 and nothing elsewhere.
    void getNewIds(std::vector<int>& out) const;

    // The lists of one level (empty when the file has no line for it); the unlocked one is a copy.
    std::vector<int> getUnlocked(int episode, int level) const;
    const std::vector<int>& getNew(int episode, int level) const;
    // The file has a line for the level.
    bool hasLine(int episode, int level) const;

private:
    template <typename T>
    using Table = std::map<int, std::map<int, T>>;
    template <typename T>
    static const T* lookup(const Table<T>& table, int episode, int level);
    // The ids offered at the level: the leading part of mRunning its line left.
    std::span<const int> unlocked(int episode, int level) const;
    static bool holds(std::span<const int> ids, int id);

    const TDLevelCursor& mCursor;
    TDProfile* mProfile = nullptr;
    // The ids of every line in file order. A level offers as many of them as there were after its line: a
    // copy of the running list per level would grow with the square of the sheet.
    std::vector<int> mRunning;
    Table<std::size_t> mUnlockedCount;
    Table<std::vector<int>> mNew;
};
