// Route cache files: any bytes are read or refused against a level of five links; a read table is walked
// the way units walk it.
#include "Source/TD/Routes/TDBezier.h"
#include "Source/TD/Routes/TDLink.h"
#include "Source/TD/Routes/TDPathCache.h"
#include "Source/TD/Routes/TDPathTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    static const std::vector<std::unique_ptr<TDLink>> links = []
    {
        std::vector<std::unique_ptr<TDLink>> out;
        for (int i = 0; i < 5; ++i)
            out.push_back(std::make_unique<TDLink>(i, i + 1, 10.0f * static_cast<float>(i), 0.0f));
        return out;
    }();
    TDPathTable table;
    std::wstring error;
    if (readPathCache(data, size, links, table, error) != VN_OK)
    {
        if (!table.empty() || error.empty())
            __builtin_trap(); // a refused file must leave the table as it was and say why
        return 0;
    }
    volatile float sink = 0.0f;
    for (const auto& link : links)
    {
        const TDLinkLanes* record = table.findRecord(link.get());
        if (!record)
            continue;
        for (const auto& [key, samples] : record->lanes)
        {
            TDLaneSamples copy;
            table.getLane(link.get(), key, copy);
            // A unit walking the lane at a brisk pace, as the unit update does.
            float t = 0.0f;
            for (int step = 0; step < 64 && t < 1.0f && t >= 0.0f; ++step)
            {
                t = advanceOnLane(copy, t, 7.5f);
                const math::Point2 p = getLanePosition(copy, t);
                sink = sink + p.x + p.y;
            }
        }
    }
    (void)sink;
    return 0;
}
