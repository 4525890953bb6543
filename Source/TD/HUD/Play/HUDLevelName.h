#pragma once

#include "Source/TD/HUD/HUDWindow.h"

#include <string>

// The banner over a level that starts: the episode's title and the level's number, faded in (0.5 s), held
// (2 s) and faded out (0.5 s); then it closes itself. It lives in the game board's banner slot, not on the
// HUD's stack, so the level under it takes the pointer as usual.
class HUDLevelName : public HUDWindow
{
public:
    // Mode, episode and level of the level that starts (episode and level counted from 0).
    HUDLevelName(int mode, int episode, int level);

    void update(float dt) override;
    void draw(render::Graphics* graphics) override;
    // The banner's opacity now: rising in phase 0, 1 in phase 1, falling in phase 2.
    float alpha() const;

    std::wstring mTitle;
    std::wstring mLevelLine;
    float mTimer = 0.5f;
};
