#pragma once

#include "Core/Base/Singleton.h"

#include <string>
#include <vector>

class Sound;
class TDProfile;

namespace w7
{
// Told of every sound the game asks for: each tag played (known to the sheet or not) and each music request
// (an empty file stops the music). Tests record the game's sounds through it.
class SoundObserver
{
public:
    virtual void onSoundTag(const std::wstring& tag, bool known) = 0;
    virtual void onMusic(const std::wstring& file) = 0;

protected:
    ~SoundObserver() = default;
};

// The game's sound effects by tag, from "td/sounds_sheet.csv": one row per effect, "tag;file;volume;group;
// unused" (spaces ignored, '#' at the start of a tag marks a comment), the file relative to
// "td/data/sound/" with or without its extension. Every row loads its own sound, so playing never loads.
// Effects play at the player's sound volume; effects of one group do not stop each other.
class SoundTags : public base::Singletone<SoundTags>
{
public:
    struct Entry
    {
        std::wstring tag;
        std::wstring file;
        int group = 0;
        float volume = 0.0f; // read, not used: every effect plays at the player's volume
        Sound* sound = nullptr;
    };

    SoundTags() = default;
    ~SoundTags() override;

    // The sounds belong to the sound system, which must outlive them.
    std::vector<base::SingletoneBase*> GetDependencies() override;

    // Replaces every entry with the rows of the sheet; a missing sheet leaves none. Always true.
    bool Load(const std::wstring& path = L"td/sounds_sheet.csv");
    // Plays the first row of the tag that names a file, from its beginning; false when there is none.
    bool Play(const std::wstring& tag);

    // Where the player's volumes are read; without a profile the sound system's current volumes stay.
    void SetProfile(TDProfile* profile) { mProfile = profile; }
    TDProfile* GetProfile() const { return mProfile; }

    const std::vector<Entry*>& GetEntries() const { return mEntries; }

    // Null: nobody is told.
    void SetObserver(SoundObserver* observer) { mObserver = observer; }
    SoundObserver* GetObserver() const { return mObserver; }

private:
    void Clear();

    std::vector<Entry*> mEntries; // owned, in sheet order
    TDProfile* mProfile = nullptr;
    SoundObserver* mObserver = nullptr;
};

// Loops one music track (a path below the data root) at the player's music volume; the track that already
// plays goes on.
void PlayMusic(const std::wstring& file);
// Stops the music at once.
void StopMusic();

// The music of the splash screens, the main menu and the level select.
inline constexpr const wchar_t* kMenuMusic = L"td/data/music/main_menu.ogg";
// The music of an episode's levels: "ingame1" to "ingame7" for episodes 0 to 6, "ingame1" for any other.
std::wstring LevelMusic(int episode);
} // namespace w7
