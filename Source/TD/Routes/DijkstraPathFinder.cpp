#include "Source/TD/Routes/DijkstraPathFinder.h"

#include "Source/TD/Routes/MapExtractor.h"
#include "Source/TD/Routes/TDPoint.h"
#include "Source/TD/Routes/TDRoutes.h"

#include <algorithm>

DijkstraPathFinder::DijkstraPathFinder(MapExtractor& extractor, const TDRoutes& routes)
    : mExtractor(extractor), mRoutes(routes)
{
}

DijkstraNode* DijkstraPathFinder::nodeOf(int pointId)
{
    for (DijkstraNode& node : mExtractor.getNodes())
    {
        if (node.point->id == pointId)
            return &node;
    }
    return nullptr;
}

DijkstraNode* DijkstraPathFinder::pickNext()
{
    // Unreached nodes (distance 10 000 000) still qualify, so the search settles every node.
    float best = 10000001.0f;
    DijkstraNode* next = nullptr;
    for (DijkstraNode& node : mExtractor.getNodes())
    {
        if (node.visited)
            continue;
        if (best > node.distance)
        {
            best = node.distance;
            next = &node;
        }
    }
    return next;
}

std::vector<int> DijkstraPathFinder::findPath(const TDPoint* start, const TDPoint* goal)
{
    if (!start || !goal || start->id == goal->id)
        return {};
    DijkstraNode* current = nodeOf(start->id);
    DijkstraNode* const target = nodeOf(goal->id);
    if (!current || !target)
        return {};
    DijkstraNode* const origin = current;
    current->distance = 0.0f;
    while (current)
    {
        current->visited = true;
        for (const int id : current->neighbours)
        {
            DijkstraNode* neighbour = nodeOf(id);
            if (!neighbour || neighbour->visited)
                continue;
            const float cost = mRoutes.linkDistance(current->point, neighbour->point);
            if (cost < 0.0f)
                continue;
            if (neighbour->distance > current->distance + cost)
            {
                neighbour->distance = current->distance + cost;
                neighbour->predecessor = current;
            }
        }
        current = pickNext();
    }

    // Back from the goal along the predecessors. Each predecessor was settled before its successor, so
    // the chain cannot loop; the bound only guards the walk.
    std::vector<int> route;
    const std::size_t limit = mExtractor.getNodes().size();
    for (const DijkstraNode* node = target; node && route.size() < limit; node = node->predecessor)
    {
        route.push_back(node->point->id);
        if (node == origin)
        {
            std::reverse(route.begin(), route.end());
            return route;
        }
    }
    return {};
}
