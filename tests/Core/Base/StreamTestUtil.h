#pragma once

#include "Core/Base/Stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace streamtest
{

// A readable stream over fixed bytes that can misbehave: it may claim a larger size than it has
// (a file that shrank after it was measured), fail its reads after some point, and counts calls.
class ScriptedStream : public base::Stream
{
public:
    explicit ScriptedStream(std::vector<unsigned char> bytes, unsigned claimedSize = 0)
        : mBytes(std::move(bytes)), mClaimed(claimedSize ? claimedSize : static_cast<unsigned>(mBytes.size()))
    {
    }
    ~ScriptedStream() override
    {
        if (mDeleted)
            *mDeleted = true;
    }

    unsigned Size() const override { return mClaimed; }
    unsigned Read(void* buffer, unsigned length) override
    {
        ++reads;
        largestRead = std::max(largestRead, length);
        unsigned end = static_cast<unsigned>(mBytes.size());
        if (failReadsFrom >= 0)
            end = std::min(end, static_cast<unsigned>(failReadsFrom)); // an error from this byte on
        const unsigned available = mPosition < end ? end - mPosition : 0;
        const unsigned k = std::min(length, available);
        if (k)
            std::memcpy(buffer, mBytes.data() + mPosition, k);
        mPosition += k;
        return k;
    }
    unsigned Write(const void*, unsigned) override { return 0; }
    unsigned Seek(int offset, int origin) override
    {
        ++seeks;
        mPosition = base::ClampSeekPosition(mPosition, mClaimed, offset, origin);
        return mPosition;
    }

    void TrackDeletion(bool* flag) { mDeleted = flag; }

    int failReadsFrom = -1;
    int reads = 0;
    int seeks = 0;
    unsigned largestRead = 0;

private:
    std::vector<unsigned char> mBytes;
    unsigned mClaimed;
    unsigned mPosition = 0;
    bool* mDeleted = nullptr;
};

inline std::vector<unsigned char> Sequence(unsigned n)
{
    std::vector<unsigned char> bytes(n);
    for (unsigned i = 0; i < n; ++i)
        bytes[i] = static_cast<unsigned char>(i * 7 + i / 256);
    return bytes;
}

} // namespace streamtest
