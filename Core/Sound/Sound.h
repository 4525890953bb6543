#pragma once

#include "Core/Resource/CountedHandle.h"
#include "Core/Sound/Mixer/Mixer.h"

namespace resource
{
class ResourceSound;
}

class SoundSystem;

// One playable channel of a sound effect; deleted by whoever created it.
class Sound
{
public:
    Sound(SoundSystem* system, const CountedHandle<resource::ResourceSound>& sample, mixer::Handle channel);
    // Stops and frees the channel, then drops the sample (the last handle unloads it).
    virtual ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Plays from the beginning; a sound still playing restarts instead of overlapping itself.
    void Play();
    bool IsPlaying() const;
    // fadeSeconds > 0 slides to the volume over that time; otherwise sets it at once.
    void SetVolume(float volume, float fadeSeconds);

    mixer::Handle GetChannel() const { return mChannel; }

private:
    friend class SoundSystem;
    SoundSystem* mSystem;
    CountedHandle<resource::ResourceSound> mSample;
    mixer::Handle mChannel;
};

// Receives a sound to release.
class SoundListener
{
public:
    virtual ~SoundListener() = default;
    virtual void ReleaseSound(Sound* sound) = 0;
};
