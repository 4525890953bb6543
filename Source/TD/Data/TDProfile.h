#pragma once

#include "Source/TD/Data/TDLevelResult.h"

#include <map>
#include <string>
#include <vector>

namespace tinyxml2
{
class XMLElement;
}

class TDEpisodeTable;
class TDLevelCursor;
class TDProfile;
class TDUpgradeList;

// What selecting a profile changes outside the profile; the map answers it.
class TDProfileHooks
{
public:
    // The profile has been switched: the economy takes its gem count, the map its mode, and the tutorial
    // reloads its enabled flag and step states from it.
    virtual void onProfileSelected(TDProfile& profile) = 0;
    // The window's full-screen state, and the switch between full screen and windowed.
    virtual bool isFullscreen() const = 0;
    virtual void switchScreenMode() = 0;
    // The player's progress could not be written (why: the system's reason); false when the player could not
    // be told yet (asked again at the next failed save). Told once per session.
    virtual bool onSaveFailed(const std::wstring& why)
    {
        (void)why;
        return false;
    }

protected:
    ~TDProfileHooks() = default;
};

// The game's data inside the current `Profile` element of "profiles.xml" (the engine's file::Profiles):
// level results per episode, level and mode, gems, the chosen mode, volumes, the full-screen wish, what the
// player has been shown, the tutorial's state, bought upgrades and build spots. Every setter saves the file
// at once; a getter creates a missing element with its default in memory and leaves saving to the next
// save. Values a hand-edited file holds out of range read as the nearest sound value (stars 0-3, gems and
// volumes never negative).
class TDProfile
{
public:
    // cursor gives the mode being played, episodes the episode table; both outlive the accessor.
    TDProfile(const TDLevelCursor& cursor, const TDEpisodeTable& episodes);

    // The upgrades whose entries a fresh profile gets; null until the list exists.
    void setUpgradeList(const TDUpgradeList* upgrades) { mUpgrades = upgrades; }
    void setHooks(TDProfileHooks* hooks) { mHooks = hooks; }

    // Profiles.
    void ensureSections();
    void refreshNames();
    void selectProfile(const std::wstring& name);
    void createProfile(const std::wstring& name);
    void renameProfile(const std::wstring& name);
    void deleteCurrentProfile();
    void save();
    // Every profile name but the first (the default profile a new file starts with), in file order.
    const std::vector<std::wstring>& getUserProfileNames() const { return mUserNames; }
    // The player's name; empty while the file holds only one profile.
    const std::wstring& getCurrentName() const { return mCurrentName; }
    int getProfileCount() const;
    // The store's current `Profile` element (the store is loaded when it is not yet).
    tinyxml2::XMLElement* getElement() const;

    // Level results.
    // The stored record of a level, or null; reading never makes one.
    tinyxml2::XMLElement* findLevelElement(int episode, int level, int mode) const;
    // The record of a level, made (with zeros) when absent.
    tinyxml2::XMLElement* getLevelElement(int episode, int level, int mode);
    TDLevelResult getLevelResult(int episode, int level, int mode);
    // Replaces kills, combo, healthBonus and gems; keeps the best "high" and the most stars; remembers the
    // episode as the last one played and adds the result's gems to the total.
    void saveLevelResult(int episode, int level, int mode, const TDLevelResult& result);
    // The first level of the episode (in that mode's level count) without stars, or the last level when all
    // have stars; -1 for an episode without levels.
    int getProgress(int episode, int mode);
    bool isLevelUnlocked(int episode, int level, int mode);
    // Stars of every mode in the episode, or in every episode for -1.
    int getStars(int episode);
    // The highest open episode and its highest level with stars in the current mode (0 and 0 when none).
    void findLatestLevel(int& episode, int& level);
    int getLastEpisode();

    // Gems and mode.
    int getGems();
    void setGems(int amount);
    void addGems(int amount);
    int getMode();
    void setMode(int mode);

    // What the player has been shown.
    int getEpisodeVisited(int episode, int mode);
    void setEpisodeVisited(int episode, int mode, int value);
    bool getEventFlag(int n);
    void setEventFlag(int n);

    // Settings.
    float getMusicVolume();
    float getSoundVolume();
    void setMusicVolume(float volume);
    void setSoundVolume(float volume);
    bool getFullscreen();
    void setFullscreen(bool fullscreen);

    // Tutorial state.
    bool isTutorialAvailable();
    void setTutorialAvailable(bool available);
    int getTutorialStepState(int id);
    void setTutorialStepState(int id, int state);
    int getTutorialParam(const std::wstring& name);
    void setTutorialParam(const std::wstring& name, int value);

    // Permanent upgrades: the index of the highest step bought, negative for none (always -1 in hardcore,
    // where they are off).
    int getUpgradeLevel(int id);
    void setUpgradeLevel(int id, int level);

    // Build spots bought for good (per mode family: hardcore apart from the others).
    void addOwnedSpot(const std::wstring& name, int episode, int level);
    bool isSpotOwned(const std::wstring& name, int episode, int level);

    // The gem count a profile without one starts with.
    int mStartingGems = 0;

private:
    float getVolume(const char* name);
    void setVolume(const char* name, float volume);
    // The "tutorial" element, created when missing: with "avail" 1 for a step's state, bare for a param.
    tinyxml2::XMLElement* getTutorialElement(bool markAvailable);

    const TDLevelCursor& mCursor;
    const TDEpisodeTable& mEpisodes;
    const TDUpgradeList* mUpgrades = nullptr;
    TDProfileHooks* mHooks = nullptr;
    std::map<int, int> mUpgradeLevels; // upgrade id -> bought level, for the current profile
    std::vector<std::wstring> mUserNames;
    std::wstring mCurrentName;
    // The player has been told that progress cannot be saved (once a session is enough).
    bool mToldSaveFailure = false;
};
