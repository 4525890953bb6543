#include "Source/TD/Routes/TDPathCache.h"

#include "Core/Base/TextFormat.h"
#include "Source/TD/Routes/TDPathTable.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace
{
// Map coordinates lie on a screen of a few thousand units; beyond this a value is damage, and its squares
// would overflow the lane arithmetic.
constexpr float kMaxCoordinate = 1.0e6f;
// Sample normals are unit vectors, or zero where a curve stands still.
constexpr float kMaxNormalLengthSquared = 1.01f;

class Reader
{
public:
    Reader(const unsigned char* data, std::size_t size) : mData(data), mSize(size) {}

    std::size_t left() const { return mSize - mPosition; }

    bool u32(std::uint32_t& value)
    {
        if (left() < 4)
            return false;
        const unsigned char* p = mData + mPosition;
        value = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
        mPosition += 4;
        return true;
    }
    bool i32(std::int32_t& value)
    {
        std::uint32_t bits = 0;
        if (!u32(bits))
            return false;
        value = static_cast<std::int32_t>(bits);
        return true;
    }
    bool f32(float& value)
    {
        std::uint32_t bits = 0;
        if (!u32(bits))
            return false;
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }
    // True when count items of itemSize bytes can still follow.
    bool fits(std::uint32_t count, std::size_t itemSize) const
    {
        return static_cast<std::uint64_t>(count) * itemSize <= left();
    }

private:
    const unsigned char* mData;
    std::size_t mSize;
    std::size_t mPosition = 0;
};

bool validCoordinate(float v)
{
    return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate;
}

int asInt(std::size_t value)
{
    return static_cast<int>(value);
}

VNResultEnum refuse(std::wstring& error, const std::wstring& why)
{
    error = why;
    return VN_FAIL;
}

// The bytes a record needs at the least: link index, pair count, lane count.
constexpr std::size_t kMinRecordBytes = 12;
constexpr std::size_t kPairBytes = 8;
constexpr std::size_t kMinLaneBytes = 8;
constexpr std::size_t kSampleBytes = 20;
} // namespace

VNResultEnum readPathCache(const unsigned char* data, std::size_t size,
                           const std::vector<std::unique_ptr<TDLink>>& links, TDPathTable& table,
                           std::wstring& error)
{
    Reader in(data, size);
    std::uint32_t recordCount = 0;
    if (!in.u32(recordCount))
        return refuse(error, L"shorter than its record count");
    if (!in.fits(recordCount, kMinRecordBytes))
        return refuse(error, base::Format(L"announces %u records, more than its %u bytes hold") %
                                 recordCount % static_cast<unsigned>(size));

    std::vector<std::unique_ptr<TDLinkLanes>> records;
    for (std::uint32_t r = 0; r < recordCount; ++r)
    {
        const int rec = static_cast<int>(r);
        std::int32_t linkIndex = 0;
        std::uint32_t pairCount = 0;
        if (!in.i32(linkIndex) || !in.u32(pairCount))
            return refuse(error, base::Format(L"record %d is cut short") % rec);
        if (linkIndex < 0 || static_cast<std::size_t>(linkIndex) >= links.size())
            return refuse(error, base::Format(L"record %d names link %d; the level has %d links") % rec %
                                     linkIndex % asInt(links.size()));
        if (!in.fits(pairCount, kPairBytes))
            return refuse(error, base::Format(L"record %d announces %u values, more than the file holds") %
                                     rec % pairCount);
        auto record = std::make_unique<TDLinkLanes>();
        record->link = links[static_cast<std::size_t>(linkIndex)].get();
        // The counts were checked against the bytes left, so these reads cannot fall short.
        for (std::uint32_t p = 0; p < pairCount; ++p)
        {
            std::int32_t key = 0;
            float value = 0.0f;
            in.i32(key);
            in.f32(value);
            if (!std::isfinite(value))
                return refuse(error, base::Format(L"record %d holds a value that is not a number") % rec);
            record->cachedValues[key] = value;
        }

        std::uint32_t laneCount = 0;
        if (!in.u32(laneCount))
            return refuse(error, base::Format(L"record %d is cut short") % rec);
        if (!in.fits(laneCount, kMinLaneBytes))
            return refuse(error, base::Format(L"record %d announces %u lanes, more than the file holds") %
                                     rec % laneCount);
        for (std::uint32_t l = 0; l < laneCount; ++l)
        {
            std::int32_t key = 0;
            std::uint32_t sampleCount = 0;
            if (!in.i32(key) || !in.u32(sampleCount))
                return refuse(error, base::Format(L"record %d is cut short") % rec);
            if (sampleCount < 2)
                return refuse(error, base::Format(L"record %d: lane %d has %u samples; a lane needs 2") %
                                         rec % key % sampleCount);
            if (!in.fits(sampleCount, kSampleBytes))
                return refuse(error,
                              base::Format(L"record %d: lane %d announces %u samples, more than the file "
                                           L"holds") %
                                  rec % key % sampleCount);
            TDLaneSamples samples(sampleCount);
            for (TDLaneSample& s : samples)
            {
                in.u32(s.reserved);
                in.f32(s.nx);
                in.f32(s.ny);
                in.f32(s.x);
                in.f32(s.y);
                const bool normalOk = std::isfinite(s.nx) && std::isfinite(s.ny) &&
                                      s.nx * s.nx + s.ny * s.ny <= kMaxNormalLengthSquared;
                if (!normalOk || !validCoordinate(s.x) || !validCoordinate(s.y))
                    return refuse(error, base::Format(L"record %d: lane %d holds a sample out of range") %
                                             rec % key);
            }
            // A key written twice keeps its last lane.
            record->lanes[key] = std::move(samples);
        }
        records.push_back(std::move(record));
    }
    if (in.left() != 0)
        return refuse(error,
                      base::Format(L"%u bytes follow the last record") % static_cast<unsigned>(in.left()));

    for (auto& record : records)
        table.appendRecord(std::move(record));
    return VN_OK;
}
