#pragma once

namespace render
{
class Graphics;
}

class TDTower;
class TDUnit;

// The bullets and spells in flight, owned by the map. The level frame advances and draws them; the
// projectiles themselves come with the towers and spells.
class TDBullets
{
public:
    TDBullets() = default;
    TDBullets(const TDBullets&) = delete;
    TDBullets& operator=(const TDBullets&) = delete;
    virtual ~TDBullets() = default;

    virtual void update(float dt);
    virtual void draw(render::Graphics* graphics);
    // Forgets the bullets aimed at a unit that leaves the game.
    virtual void onUnitRemoved(TDUnit* unit);
    // Deletes a sold tower's bullets.
    virtual void onTowerRemoved(TDTower* tower);
    // Deletes every bullet (a level start).
    virtual void clear();
};
