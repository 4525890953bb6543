#pragma once

#include "Core/Base/Stream.h"

namespace base
{

// A stream over an owned, growable byte buffer.
class MemoryStream : public Stream
{
public:
    MemoryStream();
    // A copy of n bytes at buffer, position 0.
    MemoryStream(const void* buffer, unsigned n);
    ~MemoryStream() override;

    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;

    bool IsEnd() const override;
    unsigned Size() const override;
    unsigned Read(void* buffer, unsigned length) override;
    // Grows the buffer through the virtual Resize when needed; a buffer that cannot grow takes
    // only what fits.
    unsigned Write(const void* buffer, unsigned length) override;
    // The result is clamped to [0, size].
    unsigned Seek(int offset, int origin) override;

    // Makes the buffer n bytes long, keeping the first min(size, n) bytes when keep is set; the
    // position is lowered to n when beyond. A failed allocation leaves the buffer unchanged.
    virtual void Resize(unsigned n, bool keep);

    unsigned char* GetData() { return mData; }
    const unsigned char* GetData() const { return mData; }
    unsigned GetPosition() const { return mPosition; }

protected:
    // Bytes between the position and the end; 0 should a derived class leave the position beyond.
    unsigned Left() const { return mPosition < mSize ? mSize - mPosition : 0; }

    unsigned char* mData = nullptr;
    unsigned mPosition = 0;
    unsigned mSize = 0;
};

} // namespace base
