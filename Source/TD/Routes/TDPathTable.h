#pragma once

#include "Source/TD/Routes/TDBezier.h"

#include <map>
#include <memory>
#include <vector>

class TDLink;

// The lanes of one link, by lane key (the lane's sideways offset in whole map units).
struct TDLinkLanes
{
    const TDLink* link = nullptr;       // not owned
    std::map<int, float> cachedValues;  // filled only from a route cache; nothing reads them
    std::map<int, TDLaneSamples> lanes; // lane key -> samples from the link's start to its end
};

// The sampled lanes of a level, one record per link in insertion order. Lookups use the first record of a
// link (a route cache may hold more than one).
class TDPathTable
{
public:
    void clear() { mRecords.clear(); }
    bool empty() const { return mRecords.empty(); }

    // Stores the samples under the key in the link's first record (replacing what the key held), or in a
    // new record appended for the link.
    void setLane(const TDLink* link, int key, TDLaneSamples samples);
    void insert(const TDLink* link, int key, TDLaneSamples samples)
    {
        setLane(link, key, std::move(samples));
    }

    // Copies the samples stored for the link and key into out; false, with out untouched, when the link
    // has no record or its first record has no such key.
    bool getLane(const TDLink* link, int key, TDLaneSamples& out) const;
    bool lookup(const TDLink* link, int key, TDLaneSamples& out) const { return getLane(link, key, out); }

    // The stored samples without a copy, or null; valid until the table changes.
    const TDLaneSamples* findLane(const TDLink* link, int key) const;
    const TDLinkLanes* findRecord(const TDLink* link) const;

    // Appends a record as it stands (the route cache's records, in file order).
    void appendRecord(std::unique_ptr<TDLinkLanes> record) { mRecords.push_back(std::move(record)); }
    const std::vector<std::unique_ptr<TDLinkLanes>>& getRecords() const { return mRecords; }

    // Lanes over all records.
    std::size_t laneCount() const;

private:
    TDLinkLanes* recordOf(const TDLink* link) const;

    std::vector<std::unique_ptr<TDLinkLanes>> mRecords;
};
