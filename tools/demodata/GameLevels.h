#pragma once
// The demo levels: maps (route points, curved links, build spots, art extras) and the waves played on them.
// The level files and the level art are both written from these records.
#include <string>
#include <vector>

#include "tools/demodata/Canvas.h"

namespace demodata::game
{

struct MapPoint
{
    int id;
    float x, y;
    bool spawn = false, goal = false, upper = false;
};

struct MapLink
{
    int sid, eid;
    float ax, ay; // the curve's control point
};

struct SpotDesc
{
    float x, y;
    int type = 0; // picture: 0 plain, 1 bought with gold, 2 bought with gems
    int costGold = 0, costGems = 0;
    float radiusMult = 1, damageMult = 1, incomeMult = 1;
    int towerId = 0; // a tower standing there when the level starts
};

// Named layers of the art drawn above the ground objects ("^...", "$...", "##").
struct FrontDecor
{
    std::string name;
    int kind; // 0 tree canopy, 1 stone arch, 2 bridge, 3 lantern
    float x, y, angle;
};

struct MapDesc
{
    std::string folder; // below td/data/maps/
    int theme;          // the episode whose look it has
    std::vector<MapPoint> points;
    std::vector<MapLink> links;
    std::vector<SpotDesc> spots;
    std::vector<FrontDecor> fronts;
    std::vector<PointF> ambient; // positions of the "fx" layers
};

struct EntryDesc
{
    int id, upgrade;
    float x, y; // spawn time in 1/45 s, lane
};

struct WaveDesc
{
    int timeout, spawn, award;
    float scale;
    int linked;
    std::vector<EntryDesc> entries;
};

struct LevelDesc
{
    int episode, level; // counted from 0
    bool hardcore;
    int map; // index into Maps()
    int budget;
    float wavesTimeout;
    std::vector<WaveDesc> waves;
};

const std::vector<MapDesc>& Maps();
const std::vector<LevelDesc>& Levels();

// "td/levels_normal/level_01_01.xml" and the like.
std::string LevelFileName(const LevelDesc& level);
// The art path written into the level's `li` element and the folder it names.
std::string ArtPath(const MapDesc& map);
std::string ArtFolder(const MapDesc& map);

const MapPoint* FindPoint(const MapDesc& map, int id);
// Points along a link's curve about `step` units apart, both ends included.
std::vector<PointF> SampleLink(const MapDesc& map, const MapLink& link, float step);
// The lane key a wave entry's y selects (the game's rule): its sideways offset in map units.
int LaneKey(float y);

} // namespace demodata::game
