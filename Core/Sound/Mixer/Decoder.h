#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// Decoders of the mixer's input formats (Ogg Vorbis, PCM and float WAV) into interleaved stereo floats.
namespace mixer
{
// A seekable byte source: memory or the file callbacks of a user stream.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    // Bytes read (0 at the end or on error).
    virtual std::size_t Read(void* buffer, std::size_t length) = 0;
    virtual bool Seek(std::uint64_t offset) = 0;
    virtual std::uint64_t Tell() const = 0;
    virtual std::uint64_t Length() const = 0;
};

class MemorySource final : public ByteSource
{
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}
    std::size_t Read(void* buffer, std::size_t length) override;
    bool Seek(std::uint64_t offset) override;
    std::uint64_t Tell() const override { return mPos; }
    std::uint64_t Length() const override { return mSize; }

private:
    const std::uint8_t* mData;
    std::size_t mSize;
    std::size_t mPos = 0;
};

class Decoder
{
public:
    virtual ~Decoder() = default;
    std::uint32_t Rate() const { return mRate; }
    // Up to frames stereo frames into out; 0 at the end, negative when the data is damaged.
    virtual long Read(float* out, std::uint32_t frames) = 0;
    // Back to the first frame; false when the source cannot seek there.
    virtual bool Rewind() = 0;

protected:
    std::uint32_t mRate = 0;
};

// Tries Ogg Vorbis, then WAV; null when neither recognises the data. The decoder owns the source.
std::unique_ptr<Decoder> OpenDecoder(std::unique_ptr<ByteSource> source);

// Decodes a whole file held in memory into stereo frames at the output rate; false when it cannot be decoded,
// is damaged anywhere, or exceeds maxFrames of output.
bool DecodeAll(const std::uint8_t* data, std::size_t size, std::uint64_t maxFrames, std::vector<float>& out);
} // namespace mixer
