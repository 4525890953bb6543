#include "Core/Sound/Mixer/Decoder.h"

#include "Core/Sound/Mixer/Mixer.h"
#include "Core/Sound/Mixer/Resampler.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace mixer
{
std::size_t MemorySource::Read(void* buffer, std::size_t length)
{
    std::size_t n = std::min(length, mSize - mPos);
    if (n)
        std::memcpy(buffer, mData + mPos, n);
    mPos += n;
    return n;
}

bool MemorySource::Seek(std::uint64_t offset)
{
    if (offset > mSize)
        return false;
    mPos = std::size_t(offset);
    return true;
}

namespace
{
constexpr std::uint32_t kMinRate = 1000;
constexpr std::uint32_t kMaxRate = 384000;

// ---- Ogg Vorbis ----

std::size_t OggRead(void* ptr, std::size_t size, std::size_t count, void* user)
{
    if (size == 0)
        return 0;
    return static_cast<ByteSource*>(user)->Read(ptr, size * count) / size;
}

int OggSeek(void* user, ogg_int64_t offset, int whence)
{
    auto* src = static_cast<ByteSource*>(user);
    std::int64_t base = 0;
    if (whence == SEEK_CUR)
        base = std::int64_t(src->Tell());
    else if (whence == SEEK_END)
        base = std::int64_t(src->Length());
    std::int64_t target = base + offset;
    if (target < 0)
        return -1;
    return src->Seek(std::uint64_t(target)) ? 0 : -1;
}

long OggTell(void* user)
{
    return long(static_cast<ByteSource*>(user)->Tell());
}

class OggDecoder final : public Decoder
{
public:
    explicit OggDecoder(std::unique_ptr<ByteSource> source) : mSource(std::move(source)) {}
    ~OggDecoder() override
    {
        if (mOpen)
            ov_clear(&mFile);
    }

    bool Open()
    {
        ov_callbacks callbacks{OggRead, OggSeek, nullptr, OggTell};
        if (ov_open_callbacks(mSource.get(), &mFile, nullptr, 0, callbacks) != 0)
            return false;
        mOpen = true;
        vorbis_info* info = ov_info(&mFile, -1);
        if (!info || info->channels < 1 || info->rate < long(kMinRate) || info->rate > long(kMaxRate))
            return false;
        mRate = std::uint32_t(info->rate);
        return true;
    }

    long Read(float* out, std::uint32_t frames) override
    {
        std::uint32_t done = 0;
        while (done < frames)
        {
            float** pcm = nullptr;
            int section = 0;
            long got =
                ov_read_float(&mFile, &pcm, int(std::min<std::uint32_t>(frames - done, 4096)), &section);
            if (got == OV_HOLE)
                continue; // a gap in the page sequence; the decoder resynchronises by itself
            if (got < 0)
                return done ? long(done) : -1;
            if (got == 0)
                break;
            // A chained file may change its channel count between sections.
            vorbis_info* info = ov_info(&mFile, section);
            int channels = info ? info->channels : 1;
            for (long i = 0; i < got; ++i)
            {
                float l = pcm[0][i];
                float r = channels > 1 ? pcm[1][i] : l;
                out[(done + i) * 2] = l;
                out[(done + i) * 2 + 1] = r;
            }
            done += std::uint32_t(got);
        }
        return long(done);
    }

    bool Rewind() override { return ov_pcm_seek(&mFile, 0) == 0; }

private:
    std::unique_ptr<ByteSource> mSource;
    OggVorbis_File mFile{};
    bool mOpen = false;
};

// ---- WAV ----

std::uint32_t Le32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t Le16(const std::uint8_t* p)
{
    return std::uint16_t(p[0] | p[1] << 8);
}

class WavDecoder final : public Decoder
{
public:
    explicit WavDecoder(std::unique_ptr<ByteSource> source) : mSource(std::move(source)) {}

    bool Open()
    {
        std::uint8_t head[12];
        if (mSource->Read(head, 12) != 12 || std::memcmp(head, "RIFF", 4) != 0 ||
            std::memcmp(head + 8, "WAVE", 4) != 0)
            return false;
        std::uint64_t length = mSource->Length();
        bool haveFormat = false;
        for (;;)
        {
            std::uint8_t chunk[8];
            if (mSource->Read(chunk, 8) != 8)
                return false;
            std::uint32_t size = Le32(chunk + 4);
            std::uint64_t start = mSource->Tell();
            if (std::memcmp(chunk, "fmt ", 4) == 0)
            {
                std::uint8_t fmt[24] = {};
                if (size < 16 || mSource->Read(fmt, std::min<std::uint32_t>(size, 24)) < 16)
                    return false;
                std::uint16_t tag = Le16(fmt);
                if (tag == 0xFFFE)
                {
                    // Extensible: the real tag opens the sub-format GUID at offset 24 of the chunk.
                    if (size < 26)
                        return false;
                    std::uint8_t ext[2];
                    if (!mSource->Seek(start + 24) || mSource->Read(ext, 2) != 2)
                        return false;
                    tag = Le16(ext);
                }
                mChannels = Le16(fmt + 2);
                mRate = Le32(fmt + 4);
                mBlockAlign = Le16(fmt + 12);
                mBits = Le16(fmt + 14);
                mFloat = tag == 3;
                if (tag != 1 && tag != 3)
                    return false;
                if (mChannels < 1 || mChannels > 8 || mRate < kMinRate || mRate > kMaxRate)
                    return false;
                bool bitsOk =
                    mFloat ? mBits == 32 : (mBits == 8 || mBits == 16 || mBits == 24 || mBits == 32);
                if (!bitsOk || mBlockAlign != mChannels * mBits / 8)
                    return false;
                haveFormat = true;
            }
            else if (std::memcmp(chunk, "data", 4) == 0)
            {
                if (!haveFormat)
                    return false;
                mDataStart = start;
                // A header that claims more data than the file holds is cut to what is there.
                std::uint64_t available = length > start ? length - start : 0;
                mDataFrames = std::min<std::uint64_t>(size, available) / mBlockAlign;
                return true;
            }
            std::uint64_t next = start + size + (size & 1);
            if (next > length || !mSource->Seek(next))
                return false;
        }
    }

    long Read(float* out, std::uint32_t frames) override
    {
        std::uint64_t left = mDataFrames - mFrame;
        std::uint32_t n = std::uint32_t(std::min<std::uint64_t>(frames, left));
        n = std::min<std::uint32_t>(n, 4096);
        if (n == 0)
            return 0;
        mBytes.resize(std::size_t(n) * mBlockAlign);
        std::size_t got = mSource->Read(mBytes.data(), mBytes.size());
        n = std::uint32_t(got / mBlockAlign);
        if (n == 0)
            return -1; // the header promised data the source no longer gives
        for (std::uint32_t i = 0; i < n; ++i)
        {
            const std::uint8_t* frame = mBytes.data() + std::size_t(i) * mBlockAlign;
            float l = Sample(frame);
            float r = mChannels > 1 ? Sample(frame + mBits / 8) : l;
            out[i * 2] = l;
            out[i * 2 + 1] = r;
        }
        mFrame += n;
        return long(n);
    }

    bool Rewind() override
    {
        mFrame = 0;
        return mSource->Seek(mDataStart);
    }

private:
    float Sample(const std::uint8_t* p) const
    {
        switch (mBits)
        {
        case 8:
            return (float(p[0]) - 128.0f) / 128.0f;
        case 16:
            return float(std::int16_t(Le16(p))) / 32768.0f;
        case 24:
            return float(std::int32_t(std::uint32_t(p[0]) << 8 | std::uint32_t(p[1]) << 16 |
                                      std::uint32_t(p[2]) << 24) >>
                         8) /
                   8388608.0f;
        default:
            if (mFloat)
            {
                std::uint32_t bits = Le32(p);
                float f;
                std::memcpy(&f, &bits, 4);
                return f == f ? std::clamp(f, -1.0f, 1.0f) : 0.0f; // NaN becomes silence
            }
            return float(double(std::int32_t(Le32(p))) / 2147483648.0);
        }
    }

    std::unique_ptr<ByteSource> mSource;
    std::uint16_t mChannels = 0, mBlockAlign = 0, mBits = 0;
    bool mFloat = false;
    std::uint64_t mDataStart = 0, mDataFrames = 0, mFrame = 0;
    std::vector<std::uint8_t> mBytes;
};
} // namespace

std::unique_ptr<Decoder> OpenDecoder(std::unique_ptr<ByteSource> source)
{
    if (!source || !source->Seek(0))
        return nullptr;
    // Sniff the first bytes so that each decoder sees only data it may own.
    std::uint8_t magic[4] = {};
    std::size_t got = source->Read(magic, 4);
    if (got != 4 || !source->Seek(0))
        return nullptr;
    if (std::memcmp(magic, "OggS", 4) == 0)
    {
        auto ogg = std::make_unique<OggDecoder>(std::move(source));
        if (!ogg->Open())
            return nullptr;
        return ogg;
    }
    if (std::memcmp(magic, "RIFF", 4) == 0)
    {
        auto wav = std::make_unique<WavDecoder>(std::move(source));
        if (!wav->Open())
            return nullptr;
        return wav;
    }
    return nullptr;
}

bool DecodeAll(const std::uint8_t* data, std::size_t size, std::uint64_t maxFrames, std::vector<float>& out)
{
    out.clear();
    auto decoder = OpenDecoder(std::make_unique<MemorySource>(data, size));
    if (!decoder)
        return false;
    Resampler resampler;
    resampler.Reset(decoder->Rate(), kOutputRate);
    Resampler::Pull pull = [&](float* buf, std::uint32_t frames) { return decoder->Read(buf, frames); };
    constexpr std::uint32_t kBlock = 4096;
    std::size_t frames = 0;
    for (;;)
    {
        out.resize((frames + kBlock) * 2);
        std::uint32_t got = resampler.Produce(out.data() + frames * 2, kBlock, pull);
        frames += got;
        if (frames > maxFrames)
            return false;
        if (got < kBlock)
            break;
    }
    out.resize(frames * 2);
    // Damage anywhere means the sample is not what its file says: report failure rather than half a sound.
    return !resampler.Damaged();
}
} // namespace mixer
