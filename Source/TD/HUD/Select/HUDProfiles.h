#pragma once

#include "Source/TD/HUD/HUDWindow.h"

#include <string>
#include <vector>

class HUDButtonOver;

// The list of the player's profiles (at most five): rows "profile1".."profile5" with the names, the marker
// button "p<k>" over the current one, and the buttons create, rename, delete, back and confirm. Pressing a
// row selects that profile at once. The screen only shows and starts: the map acts on the names it answers.
class HUDProfiles : public HUDWindow
{
public:
    static constexpr int kMaxProfiles = 5;

    HUDProfiles();
    ~HUDProfiles() override;

    void draw(render::Graphics* graphics) override;
    void update(float dt) override;
    // Rows, markers and "confirm" from the profile list.
    void refresh() override;
    void mouseMove(int x, int y) override;
    void mouseUp(int x, int y) override;
    // The buttons' press, then the selection by row.
    void mouseDown(int x, int y) override;
    // The first visible button under the point (after "simple"); "delete" with a current profile also asks
    // for the confirmation.
    std::wstring click(int x, int y) override;

    HUDButtonOver* findChild(const std::wstring& name) const;

    // Owned, in layout order.
    std::vector<HUDButtonOver*> mChildren;
};
