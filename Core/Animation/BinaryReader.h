#pragma once

#include "Core/Base/Stream.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace animation
{

// Little-endian reads that know how many bytes are left, so a count read from a file can be checked against
// the rest of the file before anything is allocated for it.
class BinaryReader
{
public:
    explicit BinaryReader(base::Stream& stream)
        : mStream(stream), mPosition(stream.Seek(0, base::kSeekCurrent)), mSize(stream.Size())
    {
    }

    unsigned Remaining() const { return mSize > mPosition ? mSize - mPosition : 0; }

    bool Bytes(void* out, unsigned length)
    {
        if (length == 0)
            return true;
        const unsigned got = mStream.Read(out, length);
        mPosition += got;
        return got == length;
    }

    bool U32(uint32_t& value)
    {
        unsigned char b[4];
        if (!Bytes(b, 4))
            return false;
        value = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
        return true;
    }

    bool F32(float& value)
    {
        uint32_t bits = 0;
        if (!U32(bits))
            return false;
        std::memcpy(&value, &bits, 4);
        return true;
    }

    // u32 length and that many bytes; a length beyond the end of the stream is refused before allocating.
    bool String(std::string& out)
    {
        uint32_t length = 0;
        if (!U32(length) || length > Remaining())
            return false;
        out.resize(length);
        return Bytes(out.data(), length);
    }

    // Whether count items of itemSize bytes can still follow.
    bool Fits(uint32_t count, unsigned itemSize) const
    {
        return itemSize == 0 || count <= Remaining() / itemSize;
    }

private:
    base::Stream& mStream;
    unsigned mPosition;
    unsigned mSize;
};

} // namespace animation
