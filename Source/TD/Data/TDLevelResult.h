#pragma once

// The outcome of one run of a level, as the economy reports it and the profile stores it.
struct TDLevelResult
{
    int kills = 0;       // kill score
    int combo = 0;       // combo bonus
    int healthBonus = 0; // lives left × 100
    int stars = 0;       // 0-3
    int gems = 0;
    int high = 0; // best total score
    int mode = 0; // TDGameMode

    // The score a run is ranked by; the combo bonus is not part of it.
    int getTotalScore() const { return kills + healthBonus; }
};
