#pragma once

#include "Core/Base/Stream.h"

namespace base
{

// A read-only window [offset, offset + size) of a parent stream (a file inside a pack). The
// parent is repositioned before every read, so several frames may share one parent.
class FrameStream : public Stream
{
public:
    FrameStream();
    FrameStream(Stream* parent, bool ownsParent, unsigned offset, unsigned size);
    ~FrameStream() override;

    FrameStream(const FrameStream&) = delete;
    FrameStream& operator=(const FrameStream&) = delete;

    // Re-initialises the window (an owned previous parent is deleted); position 0.
    void Init(Stream* parent, bool ownsParent, unsigned offset, unsigned size);

    bool IsEnd() const override;
    unsigned Size() const override;
    unsigned Read(void* buffer, unsigned length) override;
    // Read-only: always 0.
    unsigned Write(const void* buffer, unsigned length) override;
    // Within the window, clamped to [0, size].
    unsigned Seek(int offset, int origin) override;

private:
    Stream* mParent = nullptr;
    bool mOwnsParent = false;
    unsigned mOffset = 0;
    unsigned mPosition = 0;
    unsigned mSize = 0;
};

} // namespace base
