#pragma once

#include "Source/TD/HUD/Menus/HUDModalMessage.h"

#include <string>

class TDFrameEntry;

// The entry of a player name on the layout "td/data/mm": for a new profile (map state 14) or a new name of
// the current one (state 15). A name is at most 16 characters of [0-9A-Za-z], not empty and not the name of
// a profile already in the store; the OK button shows only for such a name.
class HUDModalInput : public HUDModalMessage
{
public:
    HUDModalInput();
    ~HUDModalInput() override;

    // Window, buttons, then the typed text and a cursor bar in the input box.
    void draw(render::Graphics* graphics) override;
    // Only the child buttons' hover: the cursor follows the board's pointer in update.
    void mouseMove(int x, int y) override;
    void onChar(int character) override;
    // Backspace (8) removes the last character; other keys do nothing.
    void onKeyDown(int key) override;
    // The child button's name; on "ok" it creates or renames the profile and closes itself, on "cancel" it
    // closes itself in state 15. The window may be gone when it returns: it touches none of its own fields
    // after it asked the HUD to close it.
    std::wstring click(int x, int y) override;

    // Shows OK exactly while the text is an acceptable name.
    void applyNameRule();
    bool isAcceptable() const;

    // The last root picture named "input"; null when the layout has none (then no text is drawn). Not owned.
    TDFrameEntry* mInputBox = nullptr;
    std::wstring mText;
    static constexpr std::size_t kMaxLength = 16;
};
