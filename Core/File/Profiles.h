#pragma once

#include "Core/Base/Singleton.h"

#include <string>
#include <vector>

namespace tinyxml2
{
class XMLDocument;
class XMLElement;
} // namespace tinyxml2

namespace file
{
// The player profiles, all in "profiles.xml" in the user-data folder: a `Profiles` root whose
// `currentProfile` names the selected profile, and one `Profile` element per player (attribute `name`, UTF-8)
// holding the game's data. Only Save (and the destructor) write the file; a save replaces it atomically, and
// a file that cannot be read is first kept aside under another name, so neither a crash nor a damaged file
// loses the player's progress.
class Profiles : public base::Singletone<Profiles>
{
public:
    Profiles() = default;
    // Saves once more unless mNoSaveAtExit is set.
    ~Profiles() override;

    // The user-data folder (and the file manager and log it saves through), which must outlive the store so
    // that the last save can happen.
    std::vector<base::SingletoneBase*> GetDependencies() override;

    // (Re)reads "profiles.xml"; a missing, unreadable or rootless file gives one profile of the default name.
    void Load();
    // Writes the document; 0 on success, 4 when the file cannot be written (the old file is then unchanged,
    // and mSaveError says why).
    int Save();
    // Removes temporary files of saves that a killed process left behind ("profiles.xml.tmp-" and eight
    // characters, untouched for a minute: a save in progress is never older). Load does it first.
    void RemoveStaleTempFiles();

    tinyxml2::XMLElement* FindProfile(const std::wstring& name) const;
    std::vector<std::wstring> GetNames() const;
    std::wstring GetCurrentName() const;
    // Makes the named profile current, appending it when absent.
    void SelectProfile(const std::wstring& name);
    // Renames the current profile (names are not checked for uniqueness); nothing without a current profile.
    void RenameCurrent(const std::wstring& newName);
    // Removes the named profile; when it was current, the first remaining one (or a new default one) is
    // selected.
    void DeleteProfile(const std::wstring& name);

    tinyxml2::XMLDocument* mDocument = nullptr;
    tinyxml2::XMLElement* mRoot = nullptr;
    tinyxml2::XMLElement* mCurrent = nullptr; // the game keeps its data under this element
    // Why the last save failed, in the system's words; empty after a save that worked.
    std::wstring mSaveError;

    // Set when "profiles.xml" existed but could not be read; the main menu shows "profile_corrupt" once and
    // clears it.
    static inline bool mCorrupt = false;
    // Set by a process that found another instance running: it must leave the file alone at exit.
    static inline bool mNoSaveAtExit = false;

    static constexpr const wchar_t* kDefaultName = L"Player01234567890123456789";
    static constexpr const wchar_t* kFileName = L"profiles.xml";

private:
    // Moves an unreadable "profiles.xml" aside; false when it is still in the way.
    bool KeepDamagedFile();
    void MakeFreshDocument();

    // An unreadable file that could not be moved aside yet: Save must not write over it.
    bool mDamagedInPlace = false;
};
} // namespace file
