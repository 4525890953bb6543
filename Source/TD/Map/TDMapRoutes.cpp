// The map's route operations: the level's route network is TDRoutes; these forward to it so units, towers and
// the level start ask the map as before.
#include "Source/TD/Map/TDMap.h"

#include "Source/TD/Routes/TDBezier.h"
#include "Source/TD/Units/TDWaves.h"

void TDMap::loadPoints(const tinyxml2::XMLElement* points)
{
    mRoutes.loadPoints(points, mMapScale);
}

void TDMap::loadLinks(const tinyxml2::XMLElement* links)
{
    mRoutes.loadLinks(links, mMapScale);
}

std::vector<TDPoint*> TDMap::getNeighbours(int pointId) const
{
    return mRoutes.getNeighbours(pointId);
}

TDLink* TDMap::findLink(const TDPoint* a, const TDPoint* b) const
{
    return mRoutes.findLink(a, b);
}

std::vector<int> TDMap::findRoute(const TDPoint* from, const TDPoint* to) const
{
    return mRoutes.findRoute(from, to);
}

float TDMap::linkDistance(const TDPoint* a, const TDPoint* b) const
{
    return mRoutes.linkDistance(a, b);
}

TDPoint* TDMap::getGoalPoint() const
{
    return mRoutes.getGoalPoint();
}

TDPoint* TDMap::getFirstSpawnPoint() const
{
    return mRoutes.getFirstSpawnPoint();
}

TDPoint* TDMap::findPoint(int id) const
{
    return mRoutes.findPoint(id);
}

float TDMap::getLinkLength(const TDLink* link) const
{
    return mRoutes.getLinkLength(link);
}

float TDMap::advanceOnLink(const TDLink* link, float t, float distance, float offset) const
{
    return mRoutes.advanceOnLink(link, t, distance, offset);
}

math::Point2 TDMap::getLinkNormal(const TDLink* link, float t) const
{
    TDCurve curve;
    if (!mRoutes.getCurve(link, curve))
        return math::Point2(0.0f, 0.0f);
    return linkNormal(curve, t);
}

std::wstring TDMap::getPathCacheName() const
{
    return TDRoutes::pathCacheName(mMode, mEpisode, mLevel);
}

VNResultEnum TDMap::loadPathCache()
{
    return mRoutes.loadPathCache(getPathCacheName());
}

void TDMap::preparePaths()
{
    std::vector<TDRouteWave> waves;
    for (const TDWaveProto* wave : mWaves->getWaves())
    {
        TDRouteWave route;
        route.spawnId = wave->mSpawnId;
        for (const TDWaveEntry* entry : wave->mEntries)
            route.laneKeys.push_back(TDRoutes::laneKey(entry->mY));
        waves.push_back(std::move(route));
    }
    mRoutes.preparePaths(getPathCacheName(), waves);
}
