#include "Core/Sound/SoundSystem.h"

#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Sound/ResourceSound.h"

#include <climits>
#include <memory>

namespace
{
constexpr std::uint32_t kFadeMilliseconds = 1000;
int gOutputDevice = mixer::kDeviceDefault;
} // namespace

SoundSystem::SoundSystem()
{
    mMixer.Init(gOutputDevice, mixer::kOutputRate, 0);
    mMixer.SetConfig(34, 4);
}

SoundSystem::~SoundSystem()
{
    FreeMusic();
    // Sounds that outlive the system become silent shells instead of reaching a destroyed mixer.
    for (Sound* sound : mSounds)
        sound->mSystem = nullptr;
    mSounds.clear();
}

void SoundSystem::SetOutputDevice(int device)
{
    gOutputDevice = device;
}

std::vector<base::SingletoneBase*> SoundSystem::GetDependencies()
{
    return {resource::ResourceManager::Instance()};
}

void SoundSystem::ReleaseSound(Sound*)
{
    // The system keeps no sounds of its own: every sound is deleted by the code that created it.
}

Sound* SoundSystem::CreateSound(const std::string& file)
{
    const std::wstring path = base::ToWide(file, 1);
    CountedHandle<resource::ResourceSound> sample =
        resource::ResourceManager::Instance()->Get<resource::ResourceSound>(path);
    mixer::Handle channel = 0;
    if (sample)
    {
        if (!sample->IsLoaded())
            sample->Load();
        if (sample->IsLoaded())
            channel = mMixer.SampleGetChannel(sample->GetSample(), true);
    }
    auto* sound = new Sound(this, sample, channel);
    mSounds.insert(sound);
    return sound;
}

void SoundSystem::ForgetSound(Sound* sound)
{
    mSounds.erase(sound);
}

void SoundSystem::FreeMusic()
{
    if (mMusicStream != 0)
    {
        mMixer.ChannelStop(mMusicStream);
        // Returns only when no callback of the stream runs or can run: the file below may go now.
        mMixer.StreamFree(mMusicStream);
        mMusicStream = 0;
    }
    delete mMusicFile;
    mMusicFile = nullptr;
    // A switch marked by the freed stream is void: what replaces the music is decided by the caller.
    mFading = false;
    mSwitchDue = false;
}

void SoundSystem::PlayTrack(const std::string& track)
{
    // A request during a fade only replaces the track that follows it; the armed switch stays the only one.
    if (mFading && mMusicStream != 0 && !track.empty())
    {
        mNextTrack = track;
        return;
    }
    if (track == mCurrentTrack && mMusicStream != 0)
    {
        if (mMixer.ChannelIsActive(mMusicStream) != mixer::kActiveStopped)
            return;
        if (!track.empty())
            mMixer.ChannelPlay(mMusicStream, true);
        return;
    }
    if (mMusicStream != 0)
    {
        if (mMixer.ChannelIsActive(mMusicStream) != mixer::kActiveStopped && !track.empty())
        {
            mMixer.ChannelSlideAttribute(mMusicStream, mixer::kAttribVolume, 0.0f, kFadeMilliseconds);
            mMixer.ChannelSetSync(mMusicStream, mixer::kSyncSlide, 0, &SoundSystem::OnTrackEnd, this);
            mNextTrack = track;
            mFading = true;
            return;
        }
        FreeMusic();
    }
    if (track.empty())
    {
        mCurrentTrack.clear();
        return;
    }
    std::unique_ptr<file::FileInfo> info(file::FileManager::Instance()->FindFile(base::ToWide(track, 1)));
    if (!info)
        return;
    mMusicFile = info->OpenStream();
    if (!mMusicFile)
        return;
    mixer::FileProcs procs{&SoundSystem::MusicFileClose, &SoundSystem::MusicFileLength,
                           &SoundSystem::MusicFileRead, &SoundSystem::MusicFileSeek};
    mMusicStream = mMixer.StreamCreateFileUser(1, 0, procs, mMusicFile);
    if (mMusicStream == 0)
    {
        // Nothing plays; the file is not kept, and the same name is tried afresh next time (no stream
        // exists).
        delete mMusicFile;
        mMusicFile = nullptr;
    }
    else
    {
        // The volume goes on before playing, so the device never hears the first block at full volume.
        mMixer.ChannelSetAttribute(mMusicStream, mixer::kAttribVolume, mMusicVolume);
        mMixer.ChannelPlay(mMusicStream, true);
        if (!mPlaylist.empty())
        {
            mMixer.ChannelSetSync(mMusicStream, mixer::kSyncEnd, 0, &SoundSystem::OnTrackEnd, this);
            mNextTrack = mPlaylist.front();
            for (std::size_t i = 0; i < mPlaylist.size(); ++i)
            {
                if (mPlaylist[i] == track)
                {
                    mNextTrack = mPlaylist[(i + 1) % mPlaylist.size()];
                    break;
                }
            }
        }
    }
    mCurrentTrack = track;
}

void SoundSystem::PlayMusic(const std::string& track)
{
    mPlaylist.clear();
    PlayTrack(track);
}

void SoundSystem::SetPlaylist(const std::vector<std::string>& tracks)
{
    mPlaylist = tracks;
    if (!mPlaylist.empty())
        PlayTrack(mPlaylist.front());
}

void SoundSystem::SetMusicVolume(float volume)
{
    mMusicVolume = volume;
    // During a fade the stream's volume belongs to the slide (setting it would cancel the slide and with it
    // the switch); the next track starts at the stored value.
    if (mMusicStream != 0 && !mFading)
        mMixer.ChannelSetAttribute(mMusicStream, mixer::kAttribVolume, volume);
}

void SoundSystem::SetSoundVolume(float volume)
{
    mSoundVolume = volume;
    for (Sound* sound : mSounds)
        mMixer.ChannelSetAttribute(sound->mChannel, mixer::kAttribVolume, volume);
}

void SoundSystem::Pause()
{
    mMixer.Pause();
}

void SoundSystem::Start()
{
    mMixer.Start();
}

void SoundSystem::Update()
{
    if (!mSwitchDue.exchange(false))
        return;
    const std::string next = mNextTrack;
    PlayTrack(std::string());
    PlayTrack(next);
}

void SoundSystem::OnTrackEnd(mixer::Handle, mixer::Handle, std::uint32_t, void* user)
{
    // Mixer thread: only mark the switch; the main thread owns the fields and the file manager.
    static_cast<SoundSystem*>(user)->mSwitchDue = true;
}

void SoundSystem::MusicFileClose(void*)
{
    // The system deletes the stream itself after freeing the music.
}

std::uint64_t SoundSystem::MusicFileLength(void* user)
{
    return static_cast<base::Stream*>(user)->Size();
}

std::uint32_t SoundSystem::MusicFileRead(void* buffer, std::uint32_t length, void* user)
{
    return static_cast<base::Stream*>(user)->Read(buffer, length);
}

bool SoundSystem::MusicFileSeek(std::uint64_t offset, void* user)
{
    if (offset > std::uint64_t(INT_MAX))
        return false;
    return static_cast<base::Stream*>(user)->Seek(int(offset), base::kSeekBegin) == offset;
}
