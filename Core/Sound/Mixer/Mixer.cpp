#include "Core/Sound/Mixer/Mixer.h"

#include "Core/Sound/Mixer/Decoder.h"
#include "Core/Sound/Mixer/Resampler.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace mixer
{
namespace
{
// Ten minutes of decoded sample: effects are short, and a damaged header must not make us allocate without
// bound.
constexpr std::uint64_t kMaxSampleFrames = std::uint64_t(kOutputRate) * 600;

struct SampleData
{
    // The file's bytes until the first play decodes them: a game loads all its effects at start and hears
    // few of them soon, so decoding them all up front only delays the start.
    std::vector<std::uint8_t> encoded;
    bool decoded = false;
    std::vector<float> pcm; // stereo frames at the output rate, once decoded
    std::uint64_t frames = 0;
    std::uint32_t maxChannels = 0;
    std::uint32_t channels = 0; // live channels made from it
};

// True when the bytes are a WAV whose header reads and whose frames, at most one per byte, stay within the
// sample limit at the output rate: its decoding cannot fail, so it may wait for the first play. Vorbis is
// decoded at once: damage in its pages shows only then, and it must fail the load.
bool DecodesWithoutFail(const std::uint8_t* bytes, std::uint32_t length)
{
    if (length < 4 || std::memcmp(bytes, "RIFF", 4) != 0)
        return false;
    const std::unique_ptr<Decoder> decoder = OpenDecoder(std::make_unique<MemorySource>(bytes, length));
    if (!decoder || decoder->Rate() == 0)
        return false;
    return std::uint64_t(length) * kOutputRate / decoder->Rate() + 64 < kMaxSampleFrames;
}

struct Sync
{
    Handle id;
    std::uint32_t type;
    SyncProc proc;
    void* user;
};

// Reads a user stream's bytes through its file callbacks.
class ProcSource final : public ByteSource
{
public:
    ProcSource(const FileProcs& procs, void* user) : mProcs(procs), mUser(user)
    {
        mLength = mProcs.length ? mProcs.length(mUser) : 0;
    }
    std::size_t Read(void* buffer, std::size_t length) override
    {
        if (!mProcs.read)
            return 0;
        std::uint32_t want = std::uint32_t(std::min<std::size_t>(length, 0x7FFFFFFF));
        std::uint32_t got = mProcs.read(buffer, want, mUser);
        got = std::min(got, want); // a callback reporting more than asked is not believed
        mPos += got;
        return got;
    }
    bool Seek(std::uint64_t offset) override
    {
        if (!mProcs.seek || !mProcs.seek(offset, mUser))
            return false;
        mPos = offset;
        return true;
    }
    std::uint64_t Tell() const override { return mPos; }
    std::uint64_t Length() const override { return mLength; }

private:
    FileProcs mProcs;
    void* mUser;
    std::uint64_t mPos = 0;
    std::uint64_t mLength = 0;
};

struct StreamSource
{
    FileProcs procs{};
    void* user = nullptr;
    std::unique_ptr<Decoder> decoder;
    Resampler resampler;
};

struct Channel
{
    Handle sample = 0; // 0 for a stream
    std::shared_ptr<SampleData> data;
    std::uint64_t pos = 0;
    std::unique_ptr<StreamSource> stream;
    bool playing = false;
    float volume = 1.0f;
    bool sliding = false;
    float slideFrom = 0.0f, slideTo = 0.0f;
    std::uint64_t slideTotal = 0, slideDone = 0;
    std::uint64_t played = 0;
    std::vector<Sync> syncs;
};

struct FiredSync
{
    Handle channel;
    Handle sync;
};
} // namespace

struct Mixer::State
{
    // Recursive so that a sync callback, which runs with the mixer locked, may call the mixer again.
    mutable std::recursive_mutex mutex;
    std::map<Handle, std::shared_ptr<SampleData>> samples;
    std::map<Handle, std::unique_ptr<Channel>> channels;
    Handle next = 1;
    bool initialised = false;
    bool paused = false;
    std::vector<float> scratch;
    std::vector<FiredSync> fired;

    Handle NewHandle()
    {
        Handle h = next++;
        if (next == 0)
            next = 1;
        return h;
    }

    Channel* Find(Handle h) const
    {
        auto it = channels.find(h);
        return it == channels.end() ? nullptr : it->second.get();
    }

    void Fire(Handle channel, const Channel& c, std::uint32_t type)
    {
        for (const Sync& s : c.syncs)
            if (s.type == type)
                fired.push_back({channel, s.id});
    }

    void CloseStream(Channel& c)
    {
        if (c.stream && c.stream->procs.close)
            c.stream->procs.close(c.stream->user);
    }

    // Mixes one channel into out and queues the syncs of what ended in this block.
    void MixChannel(Handle h, Channel& c, float* out, std::uint32_t frames)
    {
        std::uint32_t got = 0;
        if (c.playing)
        {
            if (scratch.size() < std::size_t(frames) * 2)
                scratch.resize(std::size_t(frames) * 2);
            if (c.data)
            {
                std::uint64_t left = c.data->frames - std::min(c.pos, c.data->frames);
                got = std::uint32_t(std::min<std::uint64_t>(frames, left));
                if (got)
                    std::memcpy(scratch.data(), c.data->pcm.data() + c.pos * 2,
                                std::size_t(got) * 2 * sizeof(float));
                c.pos += got;
            }
            else if (c.stream)
            {
                StreamSource& s = *c.stream;
                got = s.resampler.Produce(scratch.data(), frames,
                                          [&s](float* buf, std::uint32_t n)
                                          { return s.decoder->Read(buf, n); });
            }
            for (std::uint32_t i = 0; i < got; ++i)
            {
                float v = c.volume;
                if (c.sliding)
                {
                    std::uint64_t t = std::min(c.slideDone + i, c.slideTotal);
                    v = c.slideFrom + (c.slideTo - c.slideFrom) * float(double(t) / double(c.slideTotal));
                }
                out[i * 2] += scratch[i * 2] * v;
                out[i * 2 + 1] += scratch[i * 2 + 1] * v;
            }
            c.played += got;
            if (got < frames)
            {
                c.playing = false;
                if (c.stream)
                    Fire(h, c, kSyncEnd);
            }
        }
        // Slides run on mixed time whether or not the channel sounds, so a fade always ends.
        if (c.sliding)
        {
            c.slideDone += frames;
            if (c.slideDone >= c.slideTotal)
            {
                c.sliding = false;
                c.volume = c.slideTo;
                Fire(h, c, kSyncSlide);
            }
            else
            {
                c.volume = c.slideFrom +
                           (c.slideTo - c.slideFrom) * float(double(c.slideDone) / double(c.slideTotal));
            }
        }
    }
};

Mixer::Mixer() : mState(std::make_unique<State>()) {}

Mixer::~Mixer()
{
    // The device goes first, so its thread can no longer mix while everything is freed.
    mDevice.reset();
    std::lock_guard lock(mState->mutex);
    for (auto& [h, c] : mState->channels)
        mState->CloseStream(*c);
    mState->channels.clear();
    mState->samples.clear();
}

bool Mixer::Init(int device, std::uint32_t freq, std::uint32_t /*flags*/)
{
    if (freq != kOutputRate)
        return false;
    {
        std::lock_guard lock(mState->mutex);
        if (mState->initialised)
            return true;
        mState->initialised = true;
    }
    if (device == kDeviceDefault)
        mDevice = OpenDefaultOutput(*this);
    return true;
}

bool Mixer::HasDevice() const
{
    return mDevice != nullptr;
}

bool Mixer::SetConfig(std::uint32_t, std::uint32_t)
{
    return true;
}

Handle Mixer::SampleLoad(int source, const void* data, std::uint64_t offset, std::uint32_t length,
                         std::uint32_t max, std::uint32_t /*flags*/)
{
    if (source != kSampleFromMemory || !data || length == 0 || max == 0)
        return 0;
    auto sample = std::make_shared<SampleData>();
    const auto* bytes = static_cast<const std::uint8_t*>(data) + offset;
    if (DecodesWithoutFail(bytes, length))
    {
        sample->encoded.assign(bytes, bytes + length);
    }
    else
    {
        if (!DecodeAll(bytes, length, kMaxSampleFrames, sample->pcm))
            return 0;
        sample->frames = sample->pcm.size() / 2;
        sample->decoded = true;
    }
    sample->maxChannels = max;
    std::lock_guard lock(mState->mutex);
    Handle h = mState->NewHandle();
    mState->samples[h] = std::move(sample);
    return h;
}

Handle Mixer::SampleGetChannel(Handle sample, bool /*onlyNew*/)
{
    std::lock_guard lock(mState->mutex);
    auto it = mState->samples.find(sample);
    if (it == mState->samples.end() || it->second->channels >= it->second->maxChannels)
        return 0;
    auto c = std::make_unique<Channel>();
    c->sample = sample;
    c->data = it->second;
    c->pos = c->data->frames; // nothing to play until ChannelPlay
    ++it->second->channels;
    Handle h = mState->NewHandle();
    mState->channels[h] = std::move(c);
    return h;
}

bool Mixer::SampleFree(Handle sample)
{
    std::lock_guard lock(mState->mutex);
    auto it = mState->samples.find(sample);
    if (it == mState->samples.end())
        return false;
    std::erase_if(mState->channels, [sample](const auto& kv) { return kv.second->sample == sample; });
    mState->samples.erase(it);
    return true;
}

bool Mixer::ChannelFree(Handle channel)
{
    std::lock_guard lock(mState->mutex);
    auto it = mState->channels.find(channel);
    if (it == mState->channels.end() || it->second->stream)
        return false;
    auto sample = mState->samples.find(it->second->sample);
    if (sample != mState->samples.end() && sample->second->channels > 0)
        --sample->second->channels;
    mState->channels.erase(it);
    return true;
}

Handle Mixer::StreamCreateFileUser(std::uint32_t /*system*/, std::uint32_t /*flags*/, const FileProcs& procs,
                                   void* user)
{
    auto stream = std::make_unique<StreamSource>();
    stream->procs = procs;
    stream->user = user;
    // The decoder reads the header through the callbacks here, on the caller's thread: the stream is not
    // shared yet.
    stream->decoder = OpenDecoder(std::make_unique<ProcSource>(procs, user));
    if (!stream->decoder)
    {
        if (procs.close)
            procs.close(user);
        return 0;
    }
    stream->resampler.Reset(stream->decoder->Rate(), kOutputRate);
    auto c = std::make_unique<Channel>();
    c->stream = std::move(stream);
    std::lock_guard lock(mState->mutex);
    Handle h = mState->NewHandle();
    mState->channels[h] = std::move(c);
    return h;
}

bool Mixer::StreamFree(Handle stream)
{
    // Taking the lock waits for a mix in progress, callbacks included; once the stream is gone none can
    // start.
    std::lock_guard lock(mState->mutex);
    auto it = mState->channels.find(stream);
    if (it == mState->channels.end() || !it->second->stream)
        return false;
    mState->CloseStream(*it->second);
    mState->channels.erase(it);
    return true;
}

bool Mixer::ChannelPlay(Handle channel, bool restart)
{
    std::unique_lock lock(mState->mutex);
    Channel* c = mState->Find(channel);
    if (!c)
        return false;
    if (c->data && !c->data->decoded)
    {
        // Decoded outside the lock so the mixing thread goes on meanwhile; the bytes do not change once
        // loaded, and this reference keeps the sample alive.
        std::shared_ptr<SampleData> sample = c->data;
        lock.unlock();
        std::vector<float> pcm;
        const bool decoded = DecodeAll(sample->encoded.data(), sample->encoded.size(), kMaxSampleFrames, pcm);
        lock.lock();
        if (!sample->decoded)
        {
            sample->pcm = decoded ? std::move(pcm) : std::vector<float>();
            sample->frames = sample->pcm.size() / 2;
            sample->decoded = true;
            sample->encoded = std::vector<std::uint8_t>();
        }
        // The channel may have been freed meanwhile.
        c = mState->Find(channel);
        if (!c)
            return false;
    }
    if (c->data)
    {
        if (restart || c->pos >= c->data->frames)
        {
            c->pos = 0;
            c->played = 0;
        }
    }
    else if (c->stream)
    {
        StreamSource& s = *c->stream;
        if (restart || s.resampler.Ended())
        {
            if (!s.decoder->Rewind())
                return false;
            s.resampler.Reset(s.decoder->Rate(), kOutputRate);
            c->played = 0;
        }
    }
    c->playing = true;
    return true;
}

bool Mixer::ChannelStop(Handle channel)
{
    std::lock_guard lock(mState->mutex);
    Channel* c = mState->Find(channel);
    if (!c)
        return false;
    c->playing = false;
    return true;
}

std::uint32_t Mixer::ChannelIsActive(Handle channel) const
{
    std::lock_guard lock(mState->mutex);
    const Channel* c = mState->Find(channel);
    return c && c->playing ? kActivePlaying : kActiveStopped;
}

bool Mixer::ChannelSetAttribute(Handle channel, std::uint32_t attrib, float value)
{
    std::lock_guard lock(mState->mutex);
    Channel* c = mState->Find(channel);
    if (!c || attrib != kAttribVolume)
        return false;
    c->volume = std::clamp(value, 0.0f, 1.0f);
    c->sliding = false; // a set value ends a slide in progress
    return true;
}

bool Mixer::ChannelGetAttribute(Handle channel, std::uint32_t attrib, float* value) const
{
    std::lock_guard lock(mState->mutex);
    const Channel* c = mState->Find(channel);
    if (!c || attrib != kAttribVolume || !value)
        return false;
    *value = c->volume;
    return true;
}

bool Mixer::ChannelSlideAttribute(Handle channel, std::uint32_t attrib, float value,
                                  std::uint32_t milliseconds)
{
    std::lock_guard lock(mState->mutex);
    Channel* c = mState->Find(channel);
    if (!c || attrib != kAttribVolume)
        return false;
    c->slideFrom = c->volume;
    c->slideTo = std::clamp(value, 0.0f, 1.0f);
    // At least one frame, so a zero-length slide still ends at the next mix and signals it.
    c->slideTotal = std::max<std::uint64_t>(1, std::uint64_t(milliseconds) * kOutputRate / 1000);
    c->slideDone = 0;
    c->sliding = true;
    return true;
}

std::uint64_t Mixer::ChannelGetPosition(Handle channel) const
{
    std::lock_guard lock(mState->mutex);
    const Channel* c = mState->Find(channel);
    return c ? c->played : 0;
}

Handle Mixer::ChannelSetSync(Handle channel, std::uint32_t type, std::uint64_t /*param*/, SyncProc proc,
                             void* user)
{
    std::lock_guard lock(mState->mutex);
    Channel* c = mState->Find(channel);
    if (!c || !proc || (type != kSyncEnd && type != kSyncSlide))
        return 0;
    Handle id = mState->NewHandle();
    c->syncs.push_back({id, type, proc, user});
    return id;
}

bool Mixer::Pause()
{
    std::lock_guard lock(mState->mutex);
    mState->paused = true;
    return true;
}

bool Mixer::Start()
{
    std::lock_guard lock(mState->mutex);
    mState->paused = false;
    return true;
}

void Mixer::Mix(float* out, std::uint32_t frames)
{
    std::fill(out, out + std::size_t(frames) * 2, 0.0f);
    std::lock_guard lock(mState->mutex);
    if (!mState->initialised || mState->paused)
        return;
    mState->fired.clear();
    for (auto& [h, c] : mState->channels)
        mState->MixChannel(h, *c, out, frames);
    for (std::size_t i = 0; i < std::size_t(frames) * 2; ++i)
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
    // Callbacks run after the block is mixed; one may free its own or another channel, so each is looked up
    // again.
    std::vector<FiredSync> fired;
    fired.swap(mState->fired);
    for (const FiredSync& f : fired)
    {
        Channel* c = mState->Find(f.channel);
        if (!c)
            continue;
        for (const Sync& s : c->syncs)
        {
            if (s.id == f.sync)
            {
                Sync copy = s;
                copy.proc(copy.id, f.channel, 0, copy.user);
                break;
            }
        }
    }
}

std::uint32_t Mixer::GetSampleCount() const
{
    std::lock_guard lock(mState->mutex);
    return std::uint32_t(mState->samples.size());
}

std::uint32_t Mixer::GetChannelCount() const
{
    std::lock_guard lock(mState->mutex);
    return std::uint32_t(mState->channels.size());
}
} // namespace mixer
