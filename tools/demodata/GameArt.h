#pragma once
// Drawing of the game's sprites: units in their walk, death and special poses, towers in their idle and
// firing poses, turning cannons by direction. Simple shapes, but every kind has its own silhouette and
// colours.
#include "tools/demodata/Canvas.h"
#include "tools/demodata/GameCatalogue.h"

namespace demodata::game
{

// A unit frame: `pose` 0 walk (frames 0-3), 1 death (0-3), 2 special (0-2). The unit faces right and stands
// with its feet on the anchor point.
struct UnitFrameSize
{
    int width, height, anchorX, anchorY;
};
UnitFrameSize UnitFrameSizeOf(const UnitKind& u);
Canvas DrawUnit(const UnitKind& u, int pose, int frame);
constexpr int kWalkFrames = 4, kDeathFrames = 4, kSpecialFrames = 3;

// A tower frame of a non-turning tower: `pose` 0 idle, 1 firing; frames 0-3.
struct TowerFrameSize
{
    int width, height, baseX, baseY, shotX, shotY;
};
TowerFrameSize TowerFrameSizeOf(const TowerKind& t);
Canvas DrawTower(const TowerKind& t, int pose, int frame);
// A turning tower pointing at `direction` degrees (0 down the screen, 90 right); frame 0 at rest, 1-3 firing.
// `muzzle` receives the end of the barrel in frame coordinates.
Canvas DrawTurret(const TowerKind& t, float direction, int frame, PointF* muzzle);

// Helpers shared by the other pictures.
Rgba Shade(std::uint32_t rgb, float factor, std::uint8_t alpha = 255);

} // namespace demodata::game
