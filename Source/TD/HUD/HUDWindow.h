#pragma once

#include "Core/Render/Font.h"
#include "Core/Resource/CountedHandle.h"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace file
{
class ImageContainer;
}
namespace render
{
class Graphics;
}

class TDButtonFrame;
class TDFrameEntry;

// The base of every game screen and dialog the HUD shows. A window is not a widget: it keeps its own
// pictures, draws them when told, takes pointer and key calls, and answers a click with the name of the
// button under the pointer; whoever asked decides what the name means. A window asks to be closed by
// clearing its active flag.
//
// Its look comes from a layout, an exported image folder in the 1024 x 768 layout space: images at the root
// are its pictures (drawn in ascending layer index), images anywhere below "button" are buttons named by
// their base names, images directly below "text" are named text rectangles whose assigned texts are drawn
// centred in them. The whole layout is drawn scaled by the window's scale about the centre of that space.
class HUDWindow
{
public:
    // No layout: a subclass loads one itself or builds its pictures its own way.
    HUDWindow();
    // Loads the layout and closes it again: such a window builds everything at construction.
    explicit HUDWindow(const std::wstring& layoutName);
    HUDWindow(const HUDWindow&) = delete;
    HUDWindow& operator=(const HUDWindow&) = delete;

    // Images, then the visible buttons, then the texts.
    virtual void draw(render::Graphics* graphics);
    // Advances the elapsed time and the buttons' hover zoom.
    virtual void update(float dt);
    // Rebuilds what the screen shows from changed data; nothing here.
    virtual void refresh();
    // Nothing calls it.
    virtual void reservedHook();
    // Run by the HUD right before it deletes a window whose active flag was cleared; nothing here.
    virtual void onClose();
    // Stores the cursor and gives the point to every button's hover test.
    virtual void mouseMove(int x, int y);
    virtual void mouseUp(int x, int y);
    virtual void mouseDown(int x, int y);
    virtual void mouseWheel(int delta);
    virtual void onChar(int character);
    virtual void onKeyDown(int key);
    // The index of the first button whose rectangle holds the point, edges included, visible or not; -1.
    virtual int hitTest(int x, int y);
    // The name of the first visible button whose rectangle holds the point, edges included, after playing
    // "simple"; empty (and silent) when there is none.
    virtual std::wstring click(int x, int y);
    // The name click answers, without the sound: for screens that look at a point again within one press.
    std::wstring buttonAt(int x, int y) const;
    // Deletes the pictures, buttons and text rectangles, and a layout a subclass left open.
    virtual ~HUDWindow();

    // Builds the pictures, buttons and text rectangles of the layout and keeps it open (releaseLayout closes
    // it). A layout that cannot be opened leaves the window empty, with one log line.
    void load(const std::wstring& layoutName);
    // Closes the layout; nothing when none is open.
    void releaseLayout();

    // The first button of that exact name; null, with one log line per name and window, when there is none.
    TDButtonFrame* findButton(const std::wstring& name);
    // Shows or hides the named button; a missing one is logged by findButton and otherwise ignored.
    void setButtonVisible(const std::wstring& name, bool visible);
    void setFont(const CountedHandle<render::Font>& font);
    // Replaces the text of a name already given one (keeping its place in the draw order), else appends it.
    // A name without a text rectangle is kept all the same and draws nothing.
    void setText(const std::wstring& rectName, const std::wstring& text);
    // Every root picture of exactly that (full layer) name.
    void setImageVisible(const std::wstring& imageName, bool visible);

    void drawImages(render::Graphics* graphics);
    void drawButtons(render::Graphics* graphics);
    void drawTexts(render::Graphics* graphics);
    void drawText(render::Graphics* graphics, const std::wstring& rectName, const std::wstring& text);

    // The HUD draws the windows of layer 0 under the map's context menu and effects, those of layer 1 last.
    int32_t mDrawLayer = 0;
    // Open between load and releaseLayout; owned.
    file::ImageContainer* mLayout = nullptr;
    // Owned, in layout order.
    std::vector<TDButtonFrame*> mButtons;
    // Owned rectangles without texture, by base name.
    std::map<std::wstring, TDFrameEntry*> mTextRects;
    // Owned root pictures, back to front.
    std::vector<TDFrameEntry*> mImages;
    // (rectangle name, text) in the order each name first got a text.
    std::vector<std::pair<std::wstring, std::wstring>> mTexts;
    // The board's default font at construction.
    CountedHandle<render::Font> mFont;
    // Seconds since construction; subclasses time their animations with it.
    float mElapsed = 0.0f;
    // Added to the pictures and texts, not to the buttons.
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;
    // The whole layout grows or shrinks by it about the layout centre.
    float mScale = 1.0f;
    // The last pointer position given to mouseMove.
    float mCursorX = 0.0f;
    float mCursorY = 0.0f;
    // 0 asks the HUD to close the window.
    uint8_t mActive = 1;
    // Free for a subclass's own animation.
    int32_t mPhase = 0;

private:
    // What load was given, for the log.
    std::wstring mLayoutName;
    // Button names already reported missing, so a lookup repeated every frame logs once.
    std::set<std::wstring> mReportedMissing;
};
