#include "Source/TD/Routes/TDPathTable.h"

TDLinkLanes* TDPathTable::recordOf(const TDLink* link) const
{
    for (const auto& record : mRecords)
    {
        if (record->link == link)
            return record.get();
    }
    return nullptr;
}

const TDLinkLanes* TDPathTable::findRecord(const TDLink* link) const
{
    return recordOf(link);
}

void TDPathTable::setLane(const TDLink* link, int key, TDLaneSamples samples)
{
    TDLinkLanes* record = recordOf(link);
    if (!record)
    {
        mRecords.push_back(std::make_unique<TDLinkLanes>());
        record = mRecords.back().get();
        record->link = link;
    }
    record->lanes[key] = std::move(samples);
}

const TDLaneSamples* TDPathTable::findLane(const TDLink* link, int key) const
{
    const TDLinkLanes* record = findRecord(link);
    if (!record)
        return nullptr;
    const auto found = record->lanes.find(key);
    return found == record->lanes.end() ? nullptr : &found->second;
}

bool TDPathTable::getLane(const TDLink* link, int key, TDLaneSamples& out) const
{
    const TDLaneSamples* lane = findLane(link, key);
    if (!lane)
        return false;
    out = *lane;
    return true;
}

std::size_t TDPathTable::laneCount() const
{
    std::size_t count = 0;
    for (const auto& record : mRecords)
        count += record->lanes.size();
    return count;
}
