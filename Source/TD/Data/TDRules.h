#pragma once

#include <vector>

class TDUnitProto;

// The game's money, score and reward formulas in one place, for the economy, the units, the towers, the
// context menu and the result window.

// The money a killed unit pays: its prototype cost c, plus ceil(c × the bought "enemyCost" share), plus
// int(c × rangeBonus + 0.5) where rangeBonus is the per-unit share of the income towers around it.
int killReward(float cost, float enemyCostBonus, float rangeBonus);

// The bonus a combo of count kills pays when it ends: trunc(count × 1.3 + 0.5) in single precision; a single
// kill (or none) pays nothing.
int comboBonus(int count);

// Stars of a finished level by the share of lives kept: 3 for all of them, 2 from half, 1 for any, else 0.
int starsForLives(float lives, float maxLives);

// Gems for stars newly earned in a run: 3 for the first star, 5 for the second and 5 for the third, counting
// only the stars above oldStars (the stored best).
int starGems(int stars, int oldStars);

// What selling a tower gives back: floor((int cost of its current tier + int cost of the tier it was built
// from, 0 when none) × sellFactor).
int sellRefund(float cost, float parentCost, float sellFactor);

// Lives at level start: 25 plus the bought extra lives, or 1 in hardcore.
int levelStartLives(int extraLives, bool hardcore);
// Money at level start: the level's budget plus int(budget × the bought start-budget share).
int levelStartMoney(int budget, float startBudgetBonus);
// The life bonus of a result: lives × 100, truncated.
int healthBonus(float lives);

// Seconds between a tower's shots: its prototype's cooldown less the time its boost record takes off, never
// below zero, and half as long again while a unit weakens the tower.
float towerShotPeriod(float protoCooldown, float boostCooldown, bool debuffed);

// The price of upgrading along a tower's branches: proto's cost, plus the price of the sibling whose
// "levelid" is proto's "require", and so on until a "require" equals stop. The chain ends where no sibling
// has the required level id, and a chain that comes back to a tier it has passed ends there too.
float sumTierCosts(int stop, const std::vector<TDUnitProto*>& siblings, const TDUnitProto& proto);
