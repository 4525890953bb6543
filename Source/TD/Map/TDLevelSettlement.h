#pragma once

#include "Source/TD/Data/TDLevelResult.h"

class TDMap;

// What the end of a level settled: the stars of this play, the gems it paid (new stars and the episode
// bonus), the best score to show, and the result as it was stored.
struct TDLevelSettlement
{
    int stars = 0;
    int gems = 0;
    int bestScore = 0;
    TDLevelResult result;
};

// Settles the level that just ended. A win (state 1) counts the stars from the lives left, pays the gems for
// stars not earned before and, once per episode, the bonus for a star on every normal level, and stores the
// result (stars and best score stay the best ever). A loss pays nothing and stores nothing. Either way the
// persistent effects stop. Run once per ending, by the result window.
TDLevelSettlement settleLevelResult(TDMap& map);
