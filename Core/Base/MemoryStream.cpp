#include "Core/Base/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace base
{

MemoryStream::MemoryStream() = default;

MemoryStream::MemoryStream(const void* buffer, unsigned n)
{
    if (n == 0)
        return;
    mData = new (std::nothrow) unsigned char[n];
    if (mData == nullptr)
        return;
    if (buffer)
        std::memcpy(mData, buffer, n);
    else
        std::memset(mData, 0, n);
    mSize = n;
}

MemoryStream::~MemoryStream()
{
    delete[] mData;
}

bool MemoryStream::IsEnd() const
{
    return mPosition == mSize;
}

unsigned MemoryStream::Size() const
{
    return mSize;
}

unsigned MemoryStream::Read(void* buffer, unsigned length)
{
    const unsigned k = std::min(length, Left());
    if (k == 0 || buffer == nullptr)
        return 0;
    std::memcpy(buffer, mData + mPosition, k);
    mPosition += k;
    return k;
}

unsigned MemoryStream::Write(const void* buffer, unsigned length)
{
    if (length == 0 || buffer == nullptr)
        return 0;
    // A 32-bit stream cannot grow past 4 GiB: the part beyond is not taken.
    length = std::min(length, 0xFFFFFFFFu - mPosition);
    if (length > Left())
        Resize(mPosition + length, true);
    // A derived Resize may give less (or a failed allocation nothing): write what fits.
    length = std::min(length, Left());
    if (length == 0)
        return 0;
    std::memcpy(mData + mPosition, buffer, length);
    mPosition += length;
    return length;
}

unsigned MemoryStream::Seek(int offset, int origin)
{
    mPosition = ClampSeekPosition(mPosition, mSize, offset, origin);
    return mPosition;
}

void MemoryStream::Resize(unsigned n, bool keep)
{
    unsigned char* data = nullptr;
    if (n > 0)
    {
        data = new (std::nothrow) unsigned char[n];
        if (data == nullptr)
            return;
        if (keep && mData)
            std::memcpy(data, mData, std::min(mSize, n));
    }
    delete[] mData;
    mData = data;
    mSize = n;
    mPosition = std::min(mPosition, n);
}

} // namespace base
