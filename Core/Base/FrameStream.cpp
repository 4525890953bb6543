#include "Core/Base/FrameStream.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace base
{

namespace
{

// Moves the parent to an absolute position that may exceed the int range of one Seek call.
bool SeekParent(Stream& parent, std::uint64_t target)
{
    if (target > 0xFFFFFFFFu)
        return false;
    std::uint64_t first = std::min<std::uint64_t>(target, INT_MAX);
    unsigned reached = parent.Seek(static_cast<int>(first), kSeekBegin);
    std::uint64_t left = target - first;
    while (left > 0 && reached == first)
    {
        std::uint64_t step = std::min<std::uint64_t>(left, INT_MAX);
        first += step;
        left -= step;
        reached = parent.Seek(static_cast<int>(step), kSeekCurrent);
    }
    return reached == target;
}

} // namespace

FrameStream::FrameStream() = default;

FrameStream::FrameStream(Stream* parent, bool ownsParent, unsigned offset, unsigned size)
{
    Init(parent, ownsParent, offset, size);
}

FrameStream::~FrameStream()
{
    if (mOwnsParent)
        delete mParent;
}

void FrameStream::Init(Stream* parent, bool ownsParent, unsigned offset, unsigned size)
{
    if (mOwnsParent && mParent != parent)
        delete mParent;
    mParent = parent;
    mOwnsParent = ownsParent;
    mOffset = offset;
    mPosition = 0;
    mSize = size;
}

bool FrameStream::IsEnd() const
{
    return mPosition == mSize;
}

unsigned FrameStream::Size() const
{
    return mSize;
}

unsigned FrameStream::Read(void* buffer, unsigned length)
{
    const unsigned k = std::min(length, mSize - mPosition);
    if (k == 0 || buffer == nullptr || mParent == nullptr)
        return 0;
    // Repositioned before every read: other frames may share the parent. A window reaching
    // beyond the parent only yields what the parent has.
    if (!SeekParent(*mParent, static_cast<std::uint64_t>(mOffset) + mPosition))
        return 0;
    unsigned got = mParent->Read(buffer, k);
    got = std::min(got, k);
    mPosition += got;
    return got;
}

unsigned FrameStream::Write(const void*, unsigned)
{
    return 0;
}

unsigned FrameStream::Seek(int offset, int origin)
{
    mPosition = ClampSeekPosition(mPosition, mSize, offset, origin);
    return mPosition;
}

} // namespace base
