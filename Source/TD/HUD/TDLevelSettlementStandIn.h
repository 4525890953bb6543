#pragma once

// Settles a finished play while the level world's own settlement is not part of the build: stars from the
// lives left, gems for newly earned stars, the best score and the stored result. The world's settlement
// (Source/TD/TDLevelSettlement.h) replaces it as soon as it exists.

#include "Source/TD/TDEconomy.h"
#include "Source/TD/TDLevelResult.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDProfile.h"

#include <algorithm>

struct TDLevelSettlement
{
    int stars = 0;
    int gems = 0;
    int bestScore = 0;
    TDLevelResult result;
};

inline TDLevelSettlement settleLevelResult(TDMap& map)
{
    TDLevelSettlement settled;
    const float share = map.mMaxLives > 0.0f ? map.mLives / map.mMaxLives : 0.0f;
    settled.stars = share == 1.0f ? 3 : share >= 0.5f && share < 1.0f ? 2 : share > 0.0f && share < 0.5f ? 1 : 0;
    TDLevelResult old;
    if (map.mProfile)
        old = map.mProfile->getLevelResult(map.mEpisode, map.mLevel, map.mMode);
    map.mEconomy->getLevelResult(settled.result, map.mLives, map.mMode);
    // 3 gems for the first star, 5 for the second and 5 for the third.
    constexpr int kStarGems[] = {0, 3, 8, 13};
    if (settled.stars > old.stars)
        settled.gems = kStarGems[settled.stars] - kStarGems[old.stars];
    settled.result.stars = map.mState == kStateWon ? settled.stars : 0;
    settled.result.gems = settled.gems;
    settled.bestScore = std::max(settled.result.getTotalScore(), old.high);
    if (map.mProfile)
        map.mProfile->saveLevelResult(map.mEpisode, map.mLevel, map.mMode, settled.result);
    // After the store, which adds the result's gems to the profile's count: the purse then writes its own
    // count over it, so the gems are counted once.
    if (settled.gems > 0)
        map.mEconomy->addGems(settled.gems);
    return settled;
}
