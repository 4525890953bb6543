#include "Source/TD/Data/TDProfile.h"

#include "Core/Base/TextEncoding.h"
#include "Core/File/Profiles.h"
#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDLevelCursor.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/Data/TDUtil.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <tinyxml2.h>

namespace
{
using tinyxml2::XMLElement;

file::Profiles* store()
{
    return file::Profiles::Instance();
}

// The first child element of that name; a missing one is inserted as the first child when create is set.
XMLElement* child(XMLElement* parent, const char* name, bool create)
{
    if (!parent)
        return nullptr;
    XMLElement* found = parent->FirstChildElement(name);
    if (!found && create)
    {
        found = parent->GetDocument()->NewElement(name);
        parent->InsertFirstChild(found);
    }
    return found;
}

int intOf(const XMLElement* e, const char* name)
{
    return e ? leadingInt(e->Attribute(name)) : 0;
}

bool boolOf(const XMLElement* e, const char* name)
{
    const char* text = e ? e->Attribute(name) : nullptr;
    if (!text)
        return false;
    int number = 0;
    if (readLeadingInt(text, &number))
        return number != 0;
    return std::strcmp(text, "true") == 0;
}

float floatOf(const XMLElement* e, const char* name)
{
    float value = 0.0f;
    if (e)
        readLeadingFloat(e->Attribute(name), &value);
    return value;
}

int clampStars(int stars)
{
    return std::clamp(stars, 0, 3);
}

// The first child of parent named name whose int attribute key equals value.
XMLElement* findChild(XMLElement* parent, const char* name, const char* key, int value)
{
    for (XMLElement* e = parent ? parent->FirstChildElement(name) : nullptr; e;
         e = e->NextSiblingElement(name))
    {
        if (intOf(e, key) == value)
            return e;
    }
    return nullptr;
}

int saturate(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string utf8(const std::wstring& text)
{
    return base::ToNarrow(text, base::kEncodingUtf8);
}

std::string visitedName(int episode, int mode)
{
    return "episode" + std::to_string(episode) + (mode == kModeHardcore ? "h" : "n");
}
} // namespace

TDProfile::TDProfile(const TDLevelCursor& cursor, const TDEpisodeTable& episodes)
    : mCursor(cursor), mEpisodes(episodes)
{
    refreshNames();
    ensureSections();
}

XMLElement* TDProfile::getElement() const
{
    file::Profiles* profiles = store();
    if (!profiles->mCurrent)
        profiles->Load();
    return profiles->mCurrent;
}

void TDProfile::save()
{
    file::Profiles* profiles = store();
    if (profiles->Save() == 0 || mToldSaveFailure)
        return;
    // The game goes on; the player learns once that what follows is not kept.
    mToldSaveFailure = mHooks && mHooks->onSaveFailed(profiles->mSaveError);
}

int TDProfile::getProfileCount() const
{
    return static_cast<int>(store()->GetNames().size());
}

// Profiles.

void TDProfile::ensureSections()
{
    XMLElement* profile = getElement();
    if (!profile)
        return;
    child(profile, "levels", true);
    child(profile, "towers", true);
    profile->SetAttribute("version", 4);
}

void TDProfile::refreshNames()
{
    getElement(); // a store that was never read is read now
    const std::vector<std::wstring> names = store()->GetNames();
    mUserNames.assign(names.size() > 1 ? names.begin() + 1 : names.end(), names.end());
    mCurrentName = names.size() == 1 ? std::wstring() : store()->GetCurrentName();
}

void TDProfile::selectProfile(const std::wstring& name)
{
    mCurrentName = name;
    store()->SelectProfile(name);
    save();
    mUpgradeLevels.clear();
    if (mHooks)
    {
        mHooks->onProfileSelected(*this);
        if (getFullscreen() != mHooks->isFullscreen())
            mHooks->switchScreenMode();
    }
    refreshNames();
}

void TDProfile::createProfile(const std::wstring& name)
{
    // A new profile wishes for the mode the game is in, written before it is selected: creating a player
    // never switches the screen, whatever the store held under that name.
    const bool fullscreen = mHooks && mHooks->isFullscreen();
    store()->SelectProfile(name);
    if (XMLElement* fs = child(getElement(), "fs", true))
        fs->SetAttribute("v", fullscreen);
    selectProfile(name);
    ensureSections();
    save();
}

void TDProfile::renameProfile(const std::wstring& name)
{
    store()->RenameCurrent(name);
    store()->SelectProfile(name);
    save();
    refreshNames();
}

void TDProfile::deleteCurrentProfile()
{
    store()->DeleteProfile(mCurrentName);
    const std::vector<std::wstring> names = store()->GetNames();
    if (names.size() < 2)
    {
        selectProfile(store()->GetCurrentName());
        mCurrentName.clear();
    }
    else
    {
        selectProfile(names[1]);
    }
    refreshNames();
}

// Level results.

XMLElement* TDProfile::findLevelElement(int episode, int level, int mode) const
{
    XMLElement* levels = child(getElement(), "levels", false);
    for (XMLElement* e = levels ? levels->FirstChildElement("level") : nullptr; e;
         e = e->NextSiblingElement("level"))
    {
        if (intOf(e, "n") == level && intOf(e, "episode") == episode && intOf(e, "mode") == mode)
            return e;
    }
    return nullptr;
}

XMLElement* TDProfile::getLevelElement(int episode, int level, int mode)
{
    if (XMLElement* found = findLevelElement(episode, level, mode))
        return found;
    XMLElement* levels = child(getElement(), "levels", true);
    if (!levels)
        return nullptr;
    XMLElement* e = levels->GetDocument()->NewElement("level");
    e->SetAttribute("n", level);
    e->SetAttribute("episode", episode);
    e->SetAttribute("mode", mode);
    levels->InsertFirstChild(e);
    return e;
}

TDLevelResult TDProfile::getLevelResult(int episode, int level, int mode)
{
    // A level never played reads as zeros; only a stored result makes its record.
    const XMLElement* e = findLevelElement(episode, level, mode);
    TDLevelResult result;
    result.kills = intOf(e, "kills");
    result.combo = intOf(e, "combo");
    result.healthBonus = intOf(e, "healthBonus");
    result.stars = clampStars(intOf(e, "stars"));
    result.gems = intOf(e, "gems");
    result.high = intOf(e, "high");
    result.mode = intOf(e, "mode");
    return result;
}

void TDProfile::saveLevelResult(int episode, int level, int mode, const TDLevelResult& result)
{
    XMLElement* e = getLevelElement(episode, level, mode);
    if (!e)
        return;
    e->SetAttribute("combo", result.combo);
    e->SetAttribute("kills", result.kills);
    e->SetAttribute("healthBonus", result.healthBonus);
    e->SetAttribute("gems", result.gems);
    const int total = saturate(static_cast<long long>(result.kills) + result.healthBonus);
    if (total > intOf(e, "high"))
        e->SetAttribute("high", total);
    const int stars = clampStars(result.stars);
    if (stars > clampStars(intOf(e, "stars")))
        e->SetAttribute("stars", stars);
    getElement()->SetAttribute("lastEpisode", episode);
    addGems(result.gems);
    save();
}

int TDProfile::getProgress(int episode, int mode)
{
    const int count =
        mode == kModeHardcore ? mEpisodes.getHardcoreLevelCount(episode) : mEpisodes.getLevelCount(episode);
    if (count <= 0)
        return -1;
    for (int level = 0; level < count; ++level)
    {
        if (clampStars(intOf(findLevelElement(episode, level, mode), "stars")) == 0)
            return level;
    }
    return count - 1;
}

bool TDProfile::isLevelUnlocked(int episode, int level, int mode)
{
    return level >= 0 && level <= getProgress(episode, mode);
}

int TDProfile::getStars(int episode)
{
    const XMLElement* levels = child(getElement(), "levels", false);
    long long sum = 0;
    for (const XMLElement* e = levels ? levels->FirstChildElement("level") : nullptr; e;
         e = e->NextSiblingElement("level"))
    {
        if (episode == -1 || intOf(e, "episode") == episode)
            sum += clampStars(intOf(e, "stars"));
    }
    return saturate(sum);
}

void TDProfile::findLatestLevel(int& episode, int& level)
{
    episode = 0;
    level = 0;
    const int totalStars = getStars(-1);
    for (int e = mEpisodes.getEpisodeCount() - 1; e >= 0 && episode <= e; --e)
    {
        if (!mEpisodes.isEpisodeUnlocked(e, totalStars))
            continue;
        episode = e;
        const int mode = mCursor.getGameMode();
        for (int l = mEpisodes.getLevelCount(e) - 1; l > 0; --l)
        {
            if (clampStars(intOf(findLevelElement(e, l, mode), "stars")) > 0)
            {
                level = l;
                break;
            }
        }
        return;
    }
}

int TDProfile::getLastEpisode()
{
    return intOf(getElement(), "lastEpisode");
}

// Gems and mode.

int TDProfile::getGems()
{
    XMLElement* gems = child(getElement(), "gems", false);
    if (!gems)
    {
        gems = child(getElement(), "gems", true);
        if (!gems)
            return 0;
        gems->SetAttribute("amount", mStartingGems);
        return mStartingGems;
    }
    return std::max(0, intOf(gems, "amount"));
}

void TDProfile::setGems(int amount)
{
    XMLElement* gems = child(getElement(), "gems", true);
    if (!gems)
        return;
    gems->SetAttribute("amount", amount);
    save();
}

void TDProfile::addGems(int amount)
{
    XMLElement* gems = child(getElement(), "gems", false);
    const long long stored = gems ? std::max(0, intOf(gems, "amount")) : 0;
    gems = child(getElement(), "gems", true);
    if (!gems)
        return;
    gems->SetAttribute("amount", std::max(0, saturate(stored + amount)));
    save();
}

int TDProfile::getMode()
{
    XMLElement* mode = child(getElement(), "mode", false);
    if (!mode)
    {
        mode = child(getElement(), "mode", true);
        if (mode)
            mode->SetAttribute("v", 0);
        return 0;
    }
    const int value = intOf(mode, "v");
    return value >= kModeEasy && value <= kModeHardcore ? value : kModeEasy;
}

void TDProfile::setMode(int value)
{
    getMode();
    if (XMLElement* mode = child(getElement(), "mode", true))
        mode->SetAttribute("v", value);
    save();
}

// What the player has been shown.

int TDProfile::getEpisodeVisited(int episode, int mode)
{
    return intOf(child(getElement(), "episodeVisited", false), visitedName(episode, mode).c_str());
}

void TDProfile::setEpisodeVisited(int episode, int mode, int value)
{
    XMLElement* profile = getElement();
    if (!profile)
        return;
    XMLElement* visited = child(profile, "episodeVisited", false);
    if (!visited)
    {
        visited = profile->GetDocument()->NewElement("episodeVisited");
        profile->InsertEndChild(visited);
    }
    visited->SetAttribute(visitedName(episode, mode).c_str(), value);
    save();
}

bool TDProfile::getEventFlag(int n)
{
    return boolOf(child(getElement(), "episodeVisited", false), ("event" + std::to_string(n)).c_str());
}

void TDProfile::setEventFlag(int n)
{
    if (XMLElement* visited = child(getElement(), "episodeVisited", true))
        visited->SetAttribute(("event" + std::to_string(n)).c_str(), true);
    save();
}

// Settings.

float TDProfile::getVolume(const char* name)
{
    XMLElement* element = child(getElement(), name, false);
    if (!element)
    {
        if ((element = child(getElement(), name, true)))
            element->SetAttribute("v", 1.0f);
        return 1.0f;
    }
    return std::clamp(floatOf(element, "v"), 0.0f, 1.0f);
}

void TDProfile::setVolume(const char* name, float volume)
{
    if (XMLElement* element = child(getElement(), name, true))
        element->SetAttribute("v", volume);
    save();
}

float TDProfile::getMusicVolume()
{
    return getVolume("music");
}

float TDProfile::getSoundVolume()
{
    return getVolume("sound");
}

void TDProfile::setMusicVolume(float volume)
{
    setVolume("music", volume);
}

void TDProfile::setSoundVolume(float volume)
{
    setVolume("sound", volume);
}

bool TDProfile::getFullscreen()
{
    XMLElement* fs = child(getElement(), "fs", false);
    if (!fs)
    {
        const bool current = mHooks && mHooks->isFullscreen();
        if ((fs = child(getElement(), "fs", true)))
            fs->SetAttribute("v", current);
        return current;
    }
    return boolOf(fs, "v");
}

void TDProfile::setFullscreen(bool fullscreen)
{
    if (XMLElement* fs = child(getElement(), "fs", true))
        fs->SetAttribute("v", fullscreen);
    save();
}

// Tutorial state.

XMLElement* TDProfile::getTutorialElement(bool markAvailable)
{
    if (XMLElement* tutorial = child(getElement(), "tutorial", false))
        return tutorial;
    // A bare element reads as the tutorial switched off. A level start re-arms the tutorial, which reads step
    // states, before the level reads its param, so in play the first element comes from a step and keeps
    // the tutorial on.
    XMLElement* tutorial = child(getElement(), "tutorial", true);
    if (tutorial && markAvailable)
        tutorial->SetAttribute("avail", true);
    return tutorial;
}

bool TDProfile::isTutorialAvailable()
{
    const XMLElement* tutorial = child(getElement(), "tutorial", false);
    return !tutorial || boolOf(tutorial, "avail");
}

void TDProfile::setTutorialAvailable(bool available)
{
    if (XMLElement* tutorial = child(getElement(), "tutorial", true))
        tutorial->SetAttribute("avail", available);
    save();
}

int TDProfile::getTutorialStepState(int id)
{
    XMLElement* tutorial = getTutorialElement(true);
    if (!tutorial)
        return 0;
    if (const XMLElement* step = findChild(tutorial, "step", "id", id))
        return intOf(step, "state");
    XMLElement* step = tutorial->GetDocument()->NewElement("step");
    step->SetAttribute("id", id);
    step->SetAttribute("state", 0);
    tutorial->InsertFirstChild(step);
    save();
    return 0;
}

void TDProfile::setTutorialStepState(int id, int state)
{
    getTutorialStepState(id);
    if (XMLElement* step = findChild(getTutorialElement(true), "step", "id", id))
        step->SetAttribute("state", state);
    save();
}

int TDProfile::getTutorialParam(const std::wstring& name)
{
    XMLElement* tutorial = getTutorialElement(false);
    if (!tutorial)
        return 0;
    const std::string key = utf8(name);
    for (const XMLElement* p = tutorial->FirstChildElement("param"); p; p = p->NextSiblingElement("param"))
    {
        const char* pname = p->Attribute("name");
        if (pname && key == pname)
            return intOf(p, "v");
    }
    XMLElement* param = tutorial->GetDocument()->NewElement("param");
    param->SetAttribute("name", key.c_str());
    param->SetAttribute("v", 0);
    tutorial->InsertFirstChild(param);
    save();
    return 0;
}

void TDProfile::setTutorialParam(const std::wstring& name, int value)
{
    getTutorialParam(name);
    const std::string key = utf8(name);
    XMLElement* tutorial = getTutorialElement(false);
    for (XMLElement* p = tutorial ? tutorial->FirstChildElement("param") : nullptr; p;
         p = p->NextSiblingElement("param"))
    {
        const char* pname = p->Attribute("name");
        if (pname && key == pname)
        {
            p->SetAttribute("v", value);
            break;
        }
    }
    save();
}

// Permanent upgrades.

int TDProfile::getUpgradeLevel(int id)
{
    if (mCursor.getGameMode() == kModeHardcore)
        return -1;
    const auto cached = mUpgradeLevels.find(id);
    if (cached != mUpgradeLevels.end())
        return cached->second;
    mUpgradeLevels[id] = -1;

    XMLElement* profile = getElement();
    XMLElement* upgrades = child(profile, "upgrades", false);
    if (upgrades)
    {
        const XMLElement* upgrade = findChild(upgrades, "upgrade", "id", id);
        if (!upgrade)
            return -2;
        const int level = intOf(upgrade, "level");
        mUpgradeLevels[id] = level;
        return level;
    }
    upgrades = child(profile, "upgrades", true);
    if (!upgrades)
        return -1;
    if (mUpgrades)
    {
        for (const TDUpgrade* known : mUpgrades->getUpgrades())
        {
            XMLElement* upgrade = upgrades->GetDocument()->NewElement("upgrade");
            upgrade->SetAttribute("id", known->id);
            upgrade->SetAttribute("level", -1);
            upgrades->InsertFirstChild(upgrade);
        }
    }
    save();
    return -1;
}

void TDProfile::setUpgradeLevel(int id, int level)
{
    mUpgradeLevels[id] = level;
    XMLElement* upgrades = child(getElement(), "upgrades", true);
    if (!upgrades)
        return;
    XMLElement* upgrade = findChild(upgrades, "upgrade", "id", id);
    if (!upgrade)
    {
        upgrade = upgrades->GetDocument()->NewElement("upgrade");
        upgrade->SetAttribute("id", id);
        upgrades->InsertFirstChild(upgrade);
    }
    upgrade->SetAttribute("level", level);
    save();
}

// Build spots.

void TDProfile::addOwnedSpot(const std::wstring& name, int episode, int level)
{
    XMLElement* owned = child(getElement(), "owned", true);
    if (!owned)
        return;
    XMLElement* spot = owned->GetDocument()->NewElement("spot");
    spot->SetAttribute("name", utf8(name).c_str());
    spot->SetAttribute("episode", episode);
    spot->SetAttribute("level", level);
    spot->SetAttribute("mode", mCursor.getGameMode());
    owned->InsertFirstChild(spot);
    save();
}

bool TDProfile::isSpotOwned(const std::wstring& name, int episode, int level)
{
    const XMLElement* owned = child(getElement(), "owned", false);
    const std::string key = utf8(name);
    const bool hardcore = mCursor.getGameMode() == kModeHardcore;
    for (const XMLElement* spot = owned ? owned->FirstChildElement("spot") : nullptr; spot;
         spot = spot->NextSiblingElement("spot"))
    {
        const char* spotName = spot->Attribute("name");
        if (!spotName || key != spotName || intOf(spot, "episode") != episode ||
            intOf(spot, "level") != level)
            continue;
        if ((intOf(spot, "mode") == kModeHardcore) == hardcore)
            return true;
    }
    return false;
}
