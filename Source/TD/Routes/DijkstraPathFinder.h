#pragma once

#include <vector>

class MapExtractor;
class TDPoint;
class TDRoutes;
struct DijkstraNode;

// Shortest route between two points of a level's graph. Edges cost the straight distance between their
// points (not the length of the curve); ties keep the node earlier in point order.
class DijkstraPathFinder
{
public:
    // The extractor must have extracted its nodes from routes.
    DijkstraPathFinder(MapExtractor& extractor, const TDRoutes& routes);

    // The point ids from start to goal; empty when either point has no node, when they are the same point,
    // or when the goal cannot be reached.
    std::vector<int> findPath(const TDPoint* start, const TDPoint* goal);

    // The unvisited node of least distance (the first of equals), or null when every node is visited.
    DijkstraNode* pickNext();

private:
    DijkstraNode* nodeOf(int pointId);

    MapExtractor& mExtractor;
    const TDRoutes& mRoutes;
};
