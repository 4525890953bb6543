#pragma once

#include "Core/Render/Font.h"
#include "Core/Resource/CountedHandle.h"

#include <string>

namespace layer
{
class Layer;
}

// The game board's six fonts. Their roles are fixed: Main42_3 is every window's default font, Main80 the
// caption font, Main32_1 the label font of the hand-drawn buttons, Main42_1 the tab label, Main42_3 and
// Main32_2 the selected and unselected tab label, Main42_2 the section captions of the dialogs.
enum class TDBoardFont : int
{
    Main32_1 = 0,
    Main32_2,
    Main42_1,
    Main42_2,
    Main80,
    Main42_3,
};
inline constexpr int kBoardFontCount = 6;

// The font's resource name below the data root ("td/data/fonts/main_42_3"); null outside the range.
const wchar_t* boardFontPath(TDBoardFont font);

// What the screens need of the game board that shows them: its fonts, the last pointer position it was
// given, and its root layer, drawn after the map and the HUD, to which screens hang layers that must lie
// above both. The board makes itself the current context when it starts and clears it when it goes; until
// then every lookup answers empty, and the screens still work (they draw no text and attach nothing).
class TDScreenContext
{
public:
    // An empty handle when the font is not loaded.
    virtual CountedHandle<render::Font> getFont(TDBoardFont font) const = 0;
    // Logical screen units.
    virtual int getPointerX() const = 0;
    virtual int getPointerY() const = 0;
    virtual layer::Layer* getRootLayer() const = 0;

    static TDScreenContext* current();
    static void setCurrent(TDScreenContext* context);

protected:
    ~TDScreenContext() = default;
};

// The current board's font; empty without a board.
CountedHandle<render::Font> boardFont(TDBoardFont font);
// The current board's root layer; null without a board.
layer::Layer* boardRootLayer();

// Loads a bitmap font through the resource manager with the application's renderer (what the board does for
// each of its six fonts). An empty handle, and one log line, when it cannot be loaded.
CountedHandle<render::Font> loadBoardFont(const std::wstring& path);
