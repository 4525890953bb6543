#pragma once

#include "Source/TD/HUD/HUDWindow.h"

#include <vector>

// Before a level: what becomes new, one item at a time (its icon "icons/id<id>" of the layout
// "td/data/message" and the text "unlock_<id>"). Each "ok" shows the next item; "ok" on the last answers
// "ok" and the map lets the level run. Ids without an icon are left out, so a message may end up with no
// item at all; its opener does not show such a message.
class HUDUnlockMessage : public HUDWindow
{
public:
    explicit HUDUnlockMessage(const std::vector<int>& ids);

    // Shows the icons of that id and its text.
    void showItem(int id);
    void draw(render::Graphics* graphics) override;
    int hitTest(int x, int y) override;
    // "ok" on the last item answers "ok"; every other answer is empty.
    std::wstring click(int x, int y) override;

    // One per icon found, in the order given.
    std::vector<int> mIds;
    int mCurrent = 0;
    // Owned by the window's images.
    std::vector<TDFrameEntry*> mIcons;
};
