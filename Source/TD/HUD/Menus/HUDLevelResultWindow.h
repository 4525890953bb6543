#pragma once

#include "Source/TD/HUD/HUDWindow.h"

class TDMap;

// The window over the frozen level when it ends, "td/ui_levelresult": it grows in, then, for a win, counts
// its four score rows (kills, combo bonus x 10, lives x 100, total) up one after the other, a second each,
// passing over empty kill and combo rows; a loss keeps every row at 0. Making it settles the play (stars,
// gems, best score, the stored result), so leaving it in any way keeps them; its stars, gems and best score
// show what was settled. The texts and pictures that differ between victory and defeat are set by whoever
// opens it.
class HUDLevelResultWindow : public HUDWindow
{
public:
    explicit HUDLevelResultWindow(TDMap& map);

    void update(float dt) override;
    void draw(render::Graphics* graphics) override;

private:
    // Sets the text of a row to its caption and the value counted so far; after a second, the next phase.
    void countRow(const wchar_t* rectName, const wchar_t* captionKey, int target);

    TDMap& mMap;
    bool mWon; // the level was won when the window opened
};
