#include "Source/TD/Routes/MapExtractor.h"

#include "Source/TD/Routes/TDRoutes.h"

void MapExtractor::extract(const TDRoutes& routes)
{
    for (const auto& point : routes.getPoints())
    {
        DijkstraNode node;
        node.point = point.get();
        for (const TDPoint* neighbour : routes.getNeighbours(point->id))
            node.neighbours.push_back(neighbour->id);
        mNodes.push_back(std::move(node));
    }
}
