#pragma once

#include "Core/Base/Result.h"
#include "Source/TD/Routes/TDBezier.h"
#include "Source/TD/Routes/TDLink.h"
#include "Source/TD/Routes/TDPathTable.h"
#include "Source/TD/Routes/TDPoint.h"

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tinyxml2
{
class XMLElement;
} // namespace tinyxml2

// What the route preparation needs of one wave: its spawn point id (-1: the first spawn point) and the
// lane key of each of its entries (TDRoutes::laneKey of the entry's "y").
struct TDRouteWave
{
    int spawnId = -1;
    std::vector<int> laneKeys;
};

// A level's walking network: the route points, the links between them, the shortest routes from spawn
// points to the goal and the lane tables units walk along. The level object owns one and forwards to it.
class TDRoutes
{
public:
    TDRoutes() = default;
    TDRoutes(const TDRoutes&) = delete;
    TDRoutes& operator=(const TDRoutes&) = delete;

    // Names the level in warning lines.
    void setLevelName(const std::wstring& name) { mLevelName = name; }
    const std::wstring& getLevelName() const { return mLevelName; }

    // Replace the points (or links) by one per child element, in document order; a missing element
    // leaves none. Links are checked against the points, so load the points first.
    void loadPoints(const tinyxml2::XMLElement* points, float mapScale);
    void loadLinks(const tinyxml2::XMLElement* links, float mapScale);
    void addPoint(std::unique_ptr<TDPoint> point);
    void addLink(std::unique_ptr<TDLink> link);
    // Points, links and lane tables.
    void clear();

    const std::vector<std::unique_ptr<TDPoint>>& getPoints() const { return mPoints; }
    const std::vector<std::unique_ptr<TDLink>>& getLinks() const { return mLinks; }
    TDPathTable& getPathTable() { return mPathTable; }
    const TDPathTable& getPathTable() const { return mPathTable; }

    // The first point with the id, or null.
    TDPoint* findPoint(int id) const;
    // The first point whose "spawn" (or "goal") attribute is exactly 1, or null.
    TDPoint* getFirstSpawnPoint() const;
    TDPoint* getGoalPoint() const;
    // The points joined to the id by links, in link order, each once.
    std::vector<TDPoint*> getNeighbours(int pointId) const;
    // The first link joining the two points in either direction, or null.
    TDLink* findLink(const TDPoint* a, const TDPoint* b) const;
    TDLink* findLinkByIds(int a, int b) const;
    // The straight distance between two points joined by a link; -1 when no link joins them.
    float linkDistance(const TDPoint* a, const TDPoint* b) const;

    // The link's curve from its start point through its anchor to its end point; false when the link is
    // null or names a point the level lacks.
    bool getCurve(const TDLink* link, TDCurve& out) const;
    // The length of the link's curve; 0 for a null link.
    float getLinkLength(const TDLink* link) const;
    // The curve parameter reached after travelling distance along the link displaced by offset; 1 past
    // the end or for a link without a curve.
    float advanceOnLink(const TDLink* link, float t, float distance, float offset) const;

    // The shortest route (point ids) from one point to another. Empty, with one warning line per pair,
    // when a point is missing or unknown, the two are the same point, or the goal cannot be reached:
    // a unit given an empty route has nowhere to walk.
    std::vector<int> findRoute(const TDPoint* from, const TDPoint* to) const;
    // The links between consecutive points of a route.
    std::vector<const TDLink*> linkChain(const std::vector<int>& route) const;

    // Lane key of a wave entry's "y": trunc(((-y) - 65) / 65 * 20), so -65 walks the link itself, 0 (an
    // entry without "y") the lane 20 units to one side and -130 the one 20 units to the other.
    static int laneKey(float entryY);
    // "td/levels_normal/level_EE_LL.cache" (mode 3: "levels_hardcore"), episode and level counted from 0.
    static std::wstring pathCacheName(int mode, int episode, int level);

    // Reads the loose route cache file (packs are never consulted) into the lane tables. VN_FAIL when
    // there is no such file, or, with a warning line, when it is damaged: the tables are then unchanged.
    VNResultEnum loadPathCache(const std::wstring& name);
    // Empties the lane tables and fills them for a level start: from the cache file when it is sound, else
    // by sampling, for each spawn point, every link of its route to the goal for every lane key of its
    // waves (each link and key once).
    void preparePaths(const std::wstring& cacheName, const std::vector<TDRouteWave>& waves);

    // The lane of the link for the key, sampled and stored when the tables lack it (so a unit on a key no
    // wave announced still has a lane); null for a link without a curve.
    const TDLaneSamples* ensureLane(const TDLink* link, int key);

private:
    void warn(const std::wstring& text) const;

    std::vector<std::unique_ptr<TDPoint>> mPoints;
    std::vector<std::unique_ptr<TDLink>> mLinks;
    TDPathTable mPathTable;
    std::wstring mLevelName = L"level";
    // Route failures already reported, so a level spawning many units logs each once.
    mutable std::set<std::pair<int, int>> mReportedRoutes;
};
