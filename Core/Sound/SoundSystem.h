#pragma once

#include "Core/Base/Singleton.h"
#include "Core/Sound/Mixer/Mixer.h"
#include "Core/Sound/Sound.h"

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace base
{
class Stream;
}

// Sound effects and streamed music. Music is one stream at a time read through the file layer, with a play
// list, looping and a one-second fade-out when the track changes. The track switch at the end of a track or
// of a fade is marked as due on the mixer thread and carried out on the main thread by Update.
class SoundSystem : public base::Singletone<SoundSystem>, public SoundListener
{
public:
    SoundSystem();
    ~SoundSystem() override;

    // Which output the next SoundSystem opens: mixer::kDeviceDefault (the default) or mixer::kDeviceNone,
    // with which nothing advances unless the owner drives GetMixer().Mix (tests, tools).
    static void SetOutputDevice(int device);

    // Destroyed before the resource manager.
    std::vector<base::SingletoneBase*> GetDependencies() override;
    // Deletes a sound only when the system keeps it itself; it keeps none.
    void ReleaseSound(Sound* sound) override;

    // A new sound of that sample (UTF-8 path, extension optional), loading the sample when needed; owned by
    // the caller. A sample that cannot be loaded gives a silent sound.
    Sound* CreateSound(const std::string& file);

    // Switches the music to the track (UTF-8 path below the data root): the playing track fades out first; an
    // empty name stops the music at once.
    void PlayTrack(const std::string& track);
    // Plays the track once (the play list is emptied).
    void PlayMusic(const std::string& track);
    // Plays the tracks in order and wraps around; a single track loops. An empty list changes nothing.
    void SetPlaylist(const std::vector<std::string>& tracks);

    void SetMusicVolume(float volume);
    // Stored and applied to every live sound of the system.
    void SetSoundVolume(float volume);
    float GetMusicVolume() const { return mMusicVolume; }
    float GetSoundVolume() const { return mSoundVolume; }

    void Pause();
    void Start();

    // Main thread, once per frame: carries out a track switch the mixer marked as due.
    void Update();

    mixer::Mixer& GetMixer() { return mMixer; }
    const std::string& GetCurrentTrack() const { return mCurrentTrack; }
    mixer::Handle GetMusicStream() const { return mMusicStream; }

private:
    friend class Sound;
    void ForgetSound(Sound* sound);
    void FreeMusic();

    static void OnTrackEnd(mixer::Handle sync, mixer::Handle channel, std::uint32_t data, void* user);
    static void MusicFileClose(void* user);
    static std::uint64_t MusicFileLength(void* user);
    static std::uint32_t MusicFileRead(void* buffer, std::uint32_t length, void* user);
    static bool MusicFileSeek(std::uint64_t offset, void* user);

    mixer::Mixer mMixer;
    std::vector<std::string> mPlaylist;
    std::string mCurrentTrack;
    std::string mNextTrack;
    mixer::Handle mMusicStream = 0;
    base::Stream* mMusicFile = nullptr;
    float mMusicVolume = 1.0f;
    float mSoundVolume = 1.0f;
    bool mFading = false;                // a fade towards mNextTrack is under way
    std::atomic<bool> mSwitchDue{false}; // set on the mixer thread, acted on by Update
    std::set<Sound*> mSounds;            // live sounds made by CreateSound (not owned)
};
