#pragma once

#include "Core/Base/Result.h"

namespace base
{

// Seek origins.
constexpr int kSeekBegin = 0;
constexpr int kSeekCurrent = 1;
constexpr int kSeekEnd = 2;

// A byte stream with a 32-bit size and position. Short reads and writes are reported only
// through the returned counts.
class Stream
{
public:
    // The position is at the end. Default: false (file streams: callers stop on a short read).
    virtual bool IsEnd() const;
    virtual unsigned Size() const = 0;
    virtual ~Stream();
    // Bytes actually read (0 at the end or on failure).
    virtual unsigned Read(void* buffer, unsigned length) = 0;
    // Bytes actually written.
    virtual unsigned Write(const void* buffer, unsigned length) = 0;
    // Moves the position (origin kSeekBegin, kSeekCurrent or kSeekEnd) and returns the new one.
    virtual unsigned Seek(int offset, int origin) = 0;

    // Appends count bytes read from source at its position (count 0xFFFFFFFF: the whole source
    // from its beginning; a count beyond what is left is lowered to it). VN_FAIL when the
    // source ran dry or failed, or this stream took fewer bytes than were read.
    VNResultEnum CopyFrom(Stream* source, unsigned count);
};

// The position a seek of a bounded stream reaches: offset from the origin (any other origin
// keeps the position), clamped to [0, size] without overflow.
unsigned ClampSeekPosition(unsigned position, unsigned size, int offset, int origin);

// Writes the 4 bytes at fourBytes; VN_FAIL unless all 4 were taken.
VNResultEnum WriteInt32(Stream& stream, const void* fourBytes);

} // namespace base
