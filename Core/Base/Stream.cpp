#include "Core/Base/Stream.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

namespace base
{

namespace
{
constexpr unsigned kCopyChunk = 1u << 20; // one buffer of at most 1 MiB, whatever the source size
constexpr unsigned kWholeSource = 0xFFFFFFFFu;
} // namespace

bool Stream::IsEnd() const
{
    return false;
}

Stream::~Stream() = default;

VNResultEnum Stream::CopyFrom(Stream* source, unsigned count)
{
    if (count == 0)
        return VN_OK;
    if (source == nullptr)
        return VN_FAIL;

    const unsigned size = source->Size();
    if (count == kWholeSource)
    {
        count = size;
        if (source->Seek(0, kSeekBegin) != 0)
            return VN_FAIL;
    }
    else
    {
        const unsigned position = source->Seek(0, kSeekCurrent);
        const unsigned remaining = position < size ? size - position : 0;
        count = std::min(count, remaining);
    }
    if (count == 0)
        return VN_OK;

    const unsigned chunk = std::min(count, kCopyChunk);
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[chunk]);
    if (!buffer)
        return VN_FAIL;

    while (count > 0)
    {
        const unsigned want = std::min(chunk, count);
        const unsigned got = source->Read(buffer.get(), want);
        // A source that yields nothing (a file that shrank after it was measured, a read error)
        // ends the copy instead of spinning; a reader reporting more than asked is not trusted.
        if (got == 0 || got > want)
            return VN_FAIL;
        if (Write(buffer.get(), got) != got)
            return VN_FAIL;
        count -= got;
    }
    return VN_OK;
}

unsigned ClampSeekPosition(unsigned position, unsigned size, int offset, int origin)
{
    // 64-bit arithmetic: no offset can wrap the 32-bit position around.
    std::int64_t target;
    switch (origin)
    {
    case kSeekBegin:
        target = offset;
        break;
    case kSeekCurrent:
        target = static_cast<std::int64_t>(position) + offset;
        break;
    case kSeekEnd:
        target = static_cast<std::int64_t>(size) + offset;
        break;
    default:
        target = position;
        break;
    }
    return static_cast<unsigned>(std::clamp<std::int64_t>(target, 0, size));
}

VNResultEnum WriteInt32(Stream& stream, const void* fourBytes)
{
    return stream.Write(fourBytes, 4) == 4 ? VN_OK : VN_FAIL;
}

} // namespace base
