#pragma once

#include "Source/TD/HUD/Menus/HUDMenuWindow.h"

#include <string>

// The list of the player's profiles (at most five): rows "profile1".."profile5" with the names, the marker
// button "p<k>" over the current one, and the buttons create, rename, delete, back and confirm. Pressing a
// row selects that profile at once. The screen only shows and starts: the map acts on the names it answers.
class HUDProfiles : public HUDMenuWindow
{
public:
    static constexpr int kMaxProfiles = 5;

    HUDProfiles();

    // Rows, markers and "confirm" from the profile list.
    void refresh() override;
    // Only the child buttons' hover: the cursor follows the board's pointer in update.
    void mouseMove(int x, int y) override;
    // The buttons' press, then the selection by row.
    void mouseDown(int x, int y) override;
    // The first visible button under the point (after "simple"); "delete" with a current profile also asks
    // for the confirmation.
    std::wstring click(int x, int y) override;

    // The child button of that name, or null.
    HUDButtonOver* findButton(const std::wstring& name) const;
};
