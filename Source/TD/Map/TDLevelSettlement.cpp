#include "Source/TD/Map/TDLevelSettlement.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDRules.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDEmitter.h"

namespace
{
constexpr int kEpisodeBonusGems = 100;

// The bonus for a star on every normal level of the episode, paid once per profile and episode. The play
// being settled is not stored yet: a won normal level counts with the stars it just earned, so the win that
// completes the episode pays the bonus (or a player who moves on would never see it).
int episodeBonus(TDMap& map, int starsNow)
{
    TDProfile& profile = *map.mProfile;
    const int event = map.mEpisode + 1;
    if (profile.getEventFlag(event))
        return 0;
    const int levels = map.getLevelCount(map.mEpisode);
    if (levels <= 0)
        return 0;
    for (int level = 0; level < levels; ++level)
    {
        const bool playedNow = map.mMode == kModeNormal && level == map.mLevel;
        if (playedNow && starsNow > 0)
            continue;
        if (profile.getLevelResult(map.mEpisode, level, kModeNormal).stars <= 0)
            return 0;
    }
    profile.setEventFlag(event);
    return kEpisodeBonusGems;
}
} // namespace

TDLevelSettlement settleLevelResult(TDMap& map)
{
    TDLevelSettlement out;
    for (TDEmitter* effect : map.mLateEmitters)
        if (effect->mEmitter)
            effect->mEmitter->SetState(2);
    const TDLevelResult old = map.mProfile->getLevelResult(map.mEpisode, map.mLevel, map.mMode);
    map.mEconomy->getLevelResult(out.result, map.mLives, map.mMode);
    // A lost level earns nothing and changes nothing the profile keeps for it: the lives a developer loss
    // leaves are no stars, and the stored scores stay those of the plays that were won.
    if (map.mState != kStateWon)
    {
        out.result.stars = 0;
        out.bestScore = old.high;
        return out;
    }
    out.stars = starsForLives(map.mLives, map.mMaxLives);
    const int starGemsPaid = out.stars > old.stars ? starGems(out.stars, old.stars) : 0;
    out.gems = starGemsPaid + episodeBonus(map, out.stars);
    if (out.gems > 0)
        map.mEconomy->addGems(out.gems);
    out.result.stars = out.stars;
    // The gems were credited above; the stored result carries none, or storing it would credit them again.
    const int total = out.result.getTotalScore();
    out.bestScore = total > old.high ? total : old.high;
    map.mProfile->saveLevelResult(map.mEpisode, map.mLevel, map.mMode, out.result);
    return out;
}
