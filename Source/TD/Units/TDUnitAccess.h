#pragma once

#include <vector>

class TDBullet;
class TDModifier;
class TDTower;
class TDUnit;
class TDUnitProto;

// What towers, bullets and spells ask of a unit, in one place: the unit's own rules (damage with its
// immunities and hit effects, visibility, holds) stay with the unit; these calls only forward to them.
namespace tdunit
{
// The row of the table for the unit's id (its base prototype), or null.
TDUnitProto* baseProto(const TDUnit& unit);
// Not invisible (its invisibility time is not above 0).
bool isVisible(const TDUnit& unit);
// Invisibility ends at once.
void reveal(TDUnit& unit);
float health(const TDUnit& unit);
// A bullet's hit with every rule of the unit's damage (primary: the bullet's own target).
void damage(TDUnit& unit, TDBullet& bullet, bool primary);
// A plain hit of that strength (blasts, splash spells).
void hit(TDUnit& unit, float strength);
// Health taken directly, no other rule.
void loseHealth(TDUnit& unit, float amount);
// Caught in a beam: state 5, animation restarted.
void hold(TDUnit& unit);
bool isHeld(const TDUnit& unit);
// The tower lets go: the unit loses the tower's modifiers and walks again.
void release(TDUnit& unit, const TDTower* tower);
// Takes a modifier into the unit's list; with check, the unit may refuse it (it is then deleted).
void addModifier(TDUnit& unit, TDModifier* modifier, bool check);
// The unit's damage-over-time modifier ("health", value each second for the duration) and its stun (half
// speed for the duration), for spells and their areas.
TDModifier* makeDot(float value, float duration);
TDModifier* makeStun(float duration);
// Live units within size x 0.5 of the point (inclusive), in list order.
void inRadius(float x, float y, float size, std::vector<TDUnit*>& out);
} // namespace tdunit
