#pragma once

#include <cstdint>
#include <memory>

// A small software mixer: samples decoded into memory, streams decoded while they play, one float stereo
// output at 44,100 Hz. It is driven either by an audio device (the device thread calls Mix) or directly by
// calling Mix.
namespace mixer
{
using Handle = std::uint32_t;

inline constexpr std::uint32_t kOutputRate = 44100;

// Output devices for Init.
inline constexpr int kDeviceDefault = -1; // the system's default output
inline constexpr int kDeviceNone = 0;     // no device: nothing plays until the owner calls Mix

// Channel attributes.
inline constexpr std::uint32_t kAttribVolume = 2;

// Sync types. Every sync runs on the mixing thread, after the block in which its event happened.
inline constexpr std::uint32_t kSyncEnd = 2;            // a stream reached its end
inline constexpr std::uint32_t kSyncSlide = 0x40000005; // an attribute slide finished

// ChannelIsActive results.
inline constexpr std::uint32_t kActiveStopped = 0;
inline constexpr std::uint32_t kActivePlaying = 1;

// SampleLoad source kinds.
inline constexpr int kSampleFromMemory = 1;

// File callbacks of a user stream; all run on the mixing thread while the stream exists.
struct FileProcs
{
    void (*close)(void* user);
    std::uint64_t (*length)(void* user);
    std::uint32_t (*read)(void* buffer, std::uint32_t length, void* user);
    bool (*seek)(std::uint64_t offset, void* user);
};

// sync handle, channel, data (0), user pointer given to ChannelSetSync.
using SyncProc = void (*)(Handle sync, Handle channel, std::uint32_t data, void* user);

class OutputDevice;

// Thread-safe: every call may come from any thread; callbacks run on the mixing thread with the mixer locked,
// so a call that frees a stream returns only when no callback of it is running or can run afterwards.
class Mixer
{
public:
    Mixer();
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Starts mixing at freq (only 44,100 is produced). device kDeviceDefault opens the audio device and falls
    // back to no device when there is none; false only for an unsupported rate.
    bool Init(int device, std::uint32_t freq, std::uint32_t flags);
    // Whether a real output device plays the mix.
    bool HasDevice() const;
    // Options are accepted and ignored; the mixer has no tunable buffering.
    bool SetConfig(std::uint32_t option, std::uint32_t value);

    // Decodes Ogg Vorbis or PCM/float WAV bytes (memory source kind only) into a sample; 0 when undecodable.
    Handle SampleLoad(int source, const void* data, std::uint64_t offset, std::uint32_t length,
                      std::uint32_t max, std::uint32_t flags);
    // A new channel playing the sample (onlyNew is accepted for shape); 0 for an unknown sample or when the
    // sample already has its maximum number of channels.
    Handle SampleGetChannel(Handle sample, bool onlyNew);
    // Frees the sample and every channel made from it.
    bool SampleFree(Handle sample);
    // Frees one channel of a sample (not a stream).
    bool ChannelFree(Handle channel);

    // A stream decoded while it plays, reading its bytes through the callbacks; 0 when it cannot be decoded
    // (the close callback has then run).
    Handle StreamCreateFileUser(std::uint32_t system, std::uint32_t flags, const FileProcs& procs,
                                void* user);
    // Frees the stream; its close callback runs, and no other callback of it runs afterwards.
    bool StreamFree(Handle stream);

    bool ChannelPlay(Handle channel, bool restart);
    bool ChannelStop(Handle channel);
    std::uint32_t ChannelIsActive(Handle channel) const;
    bool ChannelSetAttribute(Handle channel, std::uint32_t attrib, float value);
    bool ChannelGetAttribute(Handle channel, std::uint32_t attrib, float* value) const;
    // Moves the attribute linearly to value over the given time of mixed output.
    bool ChannelSlideAttribute(Handle channel, std::uint32_t attrib, float value, std::uint32_t milliseconds);
    // Frames of output the channel has played since its last start.
    std::uint64_t ChannelGetPosition(Handle channel) const;
    // Arms a sync on a stream or channel; the sync stays until the channel is freed. 0 on failure.
    Handle ChannelSetSync(Handle channel, std::uint32_t type, std::uint64_t param, SyncProc proc, void* user);

    // Pause and resume all output; nothing advances while paused.
    bool Pause();
    bool Start();

    // Mixes the next frames of interleaved stereo floats into out (overwritten). The device thread calls
    // this; tests and tools call it directly on a mixer without a device.
    void Mix(float* out, std::uint32_t frames);

    // Counts of live objects, for leak checks.
    std::uint32_t GetSampleCount() const;
    std::uint32_t GetChannelCount() const;

private:
    struct State;
    std::unique_ptr<State> mState;
    std::unique_ptr<OutputDevice> mDevice;
};

// The device side; the SDL implementation lives in Linux/.
class OutputDevice
{
public:
    virtual ~OutputDevice() = default;
};

// Opens the default audio device feeding from mixer.Mix; null when there is none.
std::unique_ptr<OutputDevice> OpenDefaultOutput(Mixer& mixer);
} // namespace mixer
