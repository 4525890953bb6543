#include "Core/Sound/Sound.h"

#include "Core/Sound/ResourceSound.h"
#include "Core/Sound/SoundSystem.h"

Sound::Sound(SoundSystem* system, const CountedHandle<resource::ResourceSound>& sample, mixer::Handle channel)
    : mSystem(system), mSample(sample), mChannel(channel)
{
}

Sound::~Sound()
{
    if (mSystem)
    {
        mixer::Mixer& mix = mSystem->GetMixer();
        mix.ChannelStop(mChannel);
        mix.ChannelFree(mChannel);
        mSystem->ForgetSound(this);
    }
    mSample.Release();
}

void Sound::Play()
{
    if (mSystem)
        mSystem->GetMixer().ChannelPlay(mChannel, true);
}

bool Sound::IsPlaying() const
{
    return mSystem && mSystem->GetMixer().ChannelIsActive(mChannel) == mixer::kActivePlaying;
}

void Sound::SetVolume(float volume, float fadeSeconds)
{
    if (!mSystem)
        return;
    if (fadeSeconds > 0.0f)
        mSystem->GetMixer().ChannelSlideAttribute(mChannel, mixer::kAttribVolume, volume,
                                                  std::uint32_t(fadeSeconds * 1000.0f));
    else
        mSystem->GetMixer().ChannelSetAttribute(mChannel, mixer::kAttribVolume, volume);
}
