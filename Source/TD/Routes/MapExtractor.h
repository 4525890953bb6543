#pragma once

#include <vector>

class TDPoint;
class TDRoutes;

// One point of the graph while a shortest route is searched.
struct DijkstraNode
{
    const TDPoint* point = nullptr;      // not owned
    DijkstraNode* predecessor = nullptr; // set by the search
    float distance = 10000000.0f;
    bool visited = false;
    std::vector<int> neighbours; // ids of the points joined to this one by a link, in link order
};

// A source of search nodes.
class DijkstraDataExtractor
{
public:
    virtual ~DijkstraDataExtractor() = default;
    virtual void extract(const TDRoutes& routes) = 0;
};

// The search nodes of a level's route graph: one per route point, in point order.
class MapExtractor : public DijkstraDataExtractor
{
public:
    // Appends one fresh node per point with the ids of its neighbours (TDRoutes::getNeighbours).
    void extract(const TDRoutes& routes) override;

    std::vector<DijkstraNode>& getNodes() { return mNodes; }
    const std::vector<DijkstraNode>& getNodes() const { return mNodes; }

private:
    std::vector<DijkstraNode> mNodes;
};
