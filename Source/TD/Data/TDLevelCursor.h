#pragma once

// The difficulty modes. Hardcore has levels of its own, keeps every tower and spell unlocked and switches
// the permanent upgrades off.
enum TDGameMode : int
{
    kModeEasy = 0,
    kModeNormal = 1,
    kModeHard = 2,
    kModeHardcore = 3
};

// Where the player stands: the mode being played and the current episode and level (both from 0). The map
// answers it; the unlock, upgrade and progress rules ask it, so they follow the map without copies.
class TDLevelCursor
{
public:
    virtual int getGameMode() const = 0;
    virtual int getEpisodeIndex() const = 0;
    virtual int getLevelIndex() const = 0;

protected:
    ~TDLevelCursor() = default;
};
