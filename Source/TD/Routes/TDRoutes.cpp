#include "Source/TD/Routes/TDRoutes.h"

#include "Core/Base/FileStream.h"
#include "Core/Base/Log.h"
#include "Core/Base/TextFormat.h"
#include "Core/File/ReadFile.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Routes/DijkstraPathFinder.h"
#include "Source/TD/Routes/MapExtractor.h"
#include "Source/TD/Routes/TDPathCache.h"

#include <tinyxml2.h>

#include <climits>
#include <cmath>

namespace
{
// Lanes of a link are cut into this many pieces of equal length.
constexpr int kLanePieces = 20;
} // namespace

void TDRoutes::warn(const std::wstring& text) const
{
    base::LogMessage(*base::MainLog::Instance(), L"%s: %s\n") % mLevelName % text;
}

void TDRoutes::loadPoints(const tinyxml2::XMLElement* points, float mapScale)
{
    // Lanes sampled from the old geometry are stale now; they are prepared again at the level start.
    mPathTable.clear();
    mPoints.clear();
    mReportedRoutes.clear();
    if (!points)
        return;
    for (const tinyxml2::XMLElement* child = points->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        auto point = std::make_unique<TDPoint>(*child, mapScale, mLevelName);
        if (findPoint(point->id))
            warn(base::Format(L"route point id %d appears twice; lookups find the first") % point->id);
        mPoints.push_back(std::move(point));
    }
}

void TDRoutes::loadLinks(const tinyxml2::XMLElement* links, float mapScale)
{
    // The lane tables point at the links about to go.
    mPathTable.clear();
    mLinks.clear();
    mReportedRoutes.clear();
    if (!links)
        return;
    for (const tinyxml2::XMLElement* child = links->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        auto link = std::make_unique<TDLink>(*child, mapScale, mLevelName);
        if (!findPoint(link->sid) || !findPoint(link->eid))
            warn(base::Format(L"route link %d-%d names a point the level lacks; no unit walks it") %
                 link->sid % link->eid);
        mLinks.push_back(std::move(link));
    }
}

void TDRoutes::addPoint(std::unique_ptr<TDPoint> point)
{
    mPoints.push_back(std::move(point));
    mReportedRoutes.clear();
}

void TDRoutes::addLink(std::unique_ptr<TDLink> link)
{
    mLinks.push_back(std::move(link));
    mReportedRoutes.clear();
}

void TDRoutes::clear()
{
    // The lane tables point at the links: they go first.
    mPathTable.clear();
    mLinks.clear();
    mPoints.clear();
    mReportedRoutes.clear();
}

TDPoint* TDRoutes::findPoint(int id) const
{
    for (const auto& point : mPoints)
    {
        if (point->id == id)
            return point.get();
    }
    return nullptr;
}

TDPoint* TDRoutes::getFirstSpawnPoint() const
{
    for (const auto& point : mPoints)
    {
        if (point->isSpawn())
            return point.get();
    }
    return nullptr;
}

TDPoint* TDRoutes::getGoalPoint() const
{
    for (const auto& point : mPoints)
    {
        if (point->isGoal())
            return point.get();
    }
    return nullptr;
}

std::vector<TDPoint*> TDRoutes::getNeighbours(int pointId) const
{
    std::vector<TDPoint*> result;
    for (const auto& link : mLinks)
    {
        TDPoint* candidate = nullptr;
        if (link->eid == pointId)
            candidate = findPoint(link->sid);
        else if (link->sid == pointId)
            candidate = findPoint(link->eid);
        if (!candidate)
            continue;
        bool known = false;
        for (const TDPoint* p : result)
            known = known || p->id == candidate->id;
        if (!known)
            result.push_back(candidate);
    }
    return result;
}

TDLink* TDRoutes::findLinkByIds(int a, int b) const
{
    for (const auto& link : mLinks)
    {
        if (link->joins(a, b))
            return link.get();
    }
    return nullptr;
}

TDLink* TDRoutes::findLink(const TDPoint* a, const TDPoint* b) const
{
    if (!a || !b)
        return nullptr;
    return findLinkByIds(a->id, b->id);
}

float TDRoutes::linkDistance(const TDPoint* a, const TDPoint* b) const
{
    if (!findLink(a, b))
        return -1.0f;
    const float dx = a->x - b->x;
    const float dy = a->y - b->y;
    return std::sqrt(dx * dx + dy * dy);
}

bool TDRoutes::getCurve(const TDLink* link, TDCurve& out) const
{
    if (!link)
        return false;
    const TDPoint* start = findPoint(link->sid);
    const TDPoint* end = findPoint(link->eid);
    if (!start || !end)
        return false;
    out = TDCurve{start->x, start->y, link->anchor_x, link->anchor_y, end->x, end->y};
    return true;
}

float TDRoutes::getLinkLength(const TDLink* link) const
{
    TDCurve curve;
    return getCurve(link, curve) ? curveArcLength(curve) : 0.0f;
}

float TDRoutes::advanceOnLink(const TDLink* link, float t, float distance, float offset) const
{
    TDCurve curve;
    return getCurve(link, curve) ? advanceOnCurve(curve, t, distance, offset) : 1.0f;
}

std::vector<int> TDRoutes::findRoute(const TDPoint* from, const TDPoint* to) const
{
    std::vector<int> route;
    const wchar_t* why = nullptr;
    if (!from || !to)
        why = from ? L"there is no goal" : L"the start point is missing";
    else if (!findPoint(from->id))
        why = L"the start point is not part of the level";
    else if (from->id == to->id)
        why = L"the start point is the goal";
    else
    {
        MapExtractor extractor;
        extractor.extract(*this);
        DijkstraPathFinder finder(extractor, *this);
        route = finder.findPath(from, to);
        if (route.empty())
            why = L"the goal cannot be reached";
    }
    if (why)
    {
        const std::pair<int, int> pair(from ? from->id : INT_MIN, to ? to->id : INT_MIN);
        if (mReportedRoutes.insert(pair).second)
        {
            warn(base::Format(
                     L"no route from point %d to point %d: %s; its units leave without reward or lost "
                     L"lives") %
                 pair.first % pair.second % why);
        }
    }
    return route;
}

std::vector<const TDLink*> TDRoutes::linkChain(const std::vector<int>& route) const
{
    std::vector<const TDLink*> chain;
    for (std::size_t i = 0; i + 1 < route.size(); ++i)
    {
        if (const TDLink* link = findLinkByIds(route[i], route[i + 1]))
            chain.push_back(link);
    }
    return chain;
}

int TDRoutes::laneKey(float entryY)
{
    float key = ((-entryY) - 65.0f) / 65.0f * 20.0f;
    // A value too wide for an int would make the conversion undefined; such a "y" reads as an absent one.
    if (!(std::fabs(key) < 1.0e6f))
        key = -20.0f;
    return static_cast<int>(key);
}

std::wstring TDRoutes::pathCacheName(int mode, int episode, int level)
{
    return base::Format(L"td/levels_%s/level_%02d_%02d.cache") % (mode == 3 ? L"hardcore" : L"normal") %
           (episode + 1) % (level + 1);
}

VNResultEnum TDRoutes::loadPathCache(const std::wstring& name)
{
    // Opened as a loose file below the data root, never through the mounted packs.
    base::FileStream file;
    if (file.Open(name, base::FileStream::ModeRead, base::FileStream::OpenExisting) != VN_OK)
        return VN_FAIL;
    const unsigned size = file.Size();
    std::wstring error;
    std::vector<unsigned char> bytes;
    if (size > file::kMaxWholeFileSize)
        error = L"larger than any level's lanes";
    else
    {
        bytes.resize(size);
        if (size != 0 && file.Read(bytes.data(), size) != size)
            error = L"cannot be read to its end";
    }
    if (error.empty() && readPathCache(bytes.data(), bytes.size(), mLinks, mPathTable, error) == VN_OK)
        return VN_OK;
    base::LogMessage(*base::MainLog::Instance(), L"Route cache '%s' refused: %s; the lanes are computed\n") %
        name % error;
    return VN_FAIL;
}

const TDLaneSamples* TDRoutes::ensureLane(const TDLink* link, int key)
{
    if (const TDLaneSamples* lane = mPathTable.findLane(link, key))
        return lane;
    TDCurve c;
    if (!getCurve(link, c))
        return nullptr;
    TDLaneSamples samples;
    sampleLane(c.sx, c.sy, c.cx, c.cy, c.ex, c.ey, static_cast<float>(key), kLanePieces, samples);
    if (samples.size() < 2)
        warn(base::Format(L"lane %d of route link %d-%d cannot be sampled; its units pass the link at once") %
             key % link->sid % link->eid);
    else if (!curveHasLength(c) && !mPathTable.findRecord(link))
        logDataProblem(mLevelName,
                       base::Format(L"route link %d-%d has no length; its units pass it at once") %
                           link->sid % link->eid);
    mPathTable.setLane(link, key, std::move(samples));
    return mPathTable.findLane(link, key);
}

void TDRoutes::preparePaths(const std::wstring& cacheName, const std::vector<TDRouteWave>& waves)
{
    mPathTable.clear();
    if (loadPathCache(cacheName) == VN_OK)
        return;

    const TDPoint* goal = getGoalPoint();
    if (!goal)
    {
        warn(L"no route point is the goal; units have no route");
        return;
    }
    int goals = 0;
    for (const auto& point : mPoints)
        goals += point->isGoal() ? 1 : 0;
    if (goals > 1)
        warn(base::Format(L"%d route points are goals; every route leads to the first, point %d") % goals %
             goal->id);

    const TDPoint* firstSpawn = getFirstSpawnPoint();
    for (const auto& spawn : mPoints)
    {
        if (!spawn->isSpawn())
            continue;
        const std::vector<const TDLink*> chain = linkChain(findRoute(spawn.get(), goal));
        for (const TDRouteWave& wave : waves)
        {
            const bool belongs = wave.spawnId == -1 ? spawn.get() == firstSpawn : wave.spawnId == spawn->id;
            if (!belongs)
                continue;
            for (const int key : wave.laneKeys)
            {
                for (const TDLink* link : chain)
                    ensureLane(link, key);
            }
        }
    }
}
