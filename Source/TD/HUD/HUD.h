#pragma once

#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/HUD/HUDWindow.h"

#include <memory>
#include <string>
#include <vector>

namespace render
{
class Graphics;
}

class HUDSpellButton;
class TDButtonFrame;
class TDFrameEntry;
class TDMap;
class TDSpriteAnimation;

// The in-level overlay and the screen manager. As the overlay it is a window of its own built from the layout
// "td/ui": its pictures, the speed and menu buttons, the counters for lives, money, gems and waves, one spell
// button per spell the level offers and the cursor shown while a spell is aimed; it stays hidden behind the
// full-screen menus. As the screen manager it keeps the stack of open windows (queued windows join it at the
// end of the next update, a window that cleared its active flag goes) and opens every screen through an
// opener that first sets the map's state.
class HUD : public HUDWindow, public TDEconomyView
{
public:
    // The map it serves is given, because the map builds its HUD before the game board knows the map.
    explicit HUD(TDMap& map);
    HUD(const HUD&) = delete;
    HUD& operator=(const HUD&) = delete;
    ~HUD() override;

    // What HUD::hitTest answers for a point on one of the HUD's own visible buttons: never a spell index.
    static constexpr int kHitOwnButton = -3;
    // ... and for a point on a spell button that cannot be used now.
    static constexpr int kHitSpellNotReady = -2;

    // The frame (unscaled time): the HUD's own buttons, the spell cursor and the spell buttons; then every
    // window's update, bottom to top; then the windows that cleared their active flag get onClose and go;
    // then the queued windows join the stack in queue order.
    void update(float dt) override;
    // The overlay (spell cursor while a spell is aimed, spell buttons, pictures, buttons, counters) unless a
    // full-screen menu is up; the side images in the menu states; then normal blending in white.
    void draw(render::Graphics* graphics) override;
    // The open screens of a draw layer (0 under the map's effects, 1 above them).
    void drawWindows(render::Graphics* graphics, int layer);

    // Pointer and keys. With a window open, click answers the top window's click and hitTest the first
    // answer of the windows from the top (-1 when none answers). With none open, click answers the name of a
    // usable spell button (silently), else of a visible own button (after "simple"); hitTest answers the
    // index of a usable spell button, kHitSpellNotReady on one that is not, kHitOwnButton on a visible own
    // button, else -1. Moves go to the own buttons, the top window and the spell buttons; presses and
    // releases to the top window; the wheel, keys and characters to every window, bottom to top.
    std::wstring click(int x, int y) override;
    int hitTest(int x, int y) override;
    void mouseMove(int x, int y) override;
    void mouseDown(int x, int y) override;
    void mouseUp(int x, int y) override;
    void mouseWheel(int delta) override;
    void onKeyDown(int key) override;
    using HUDWindow::onChar;
    void onChar(wchar_t character);

    // The stack of windows (owned); the last is the top window.
    // Queues a window; it joins the stack at the end of the next update.
    void showWindow(HUDWindow* window);
    // Deletes the top window at once, without onClose; nothing on an empty stack.
    void closeTopWindow();
    // Deletes every window of the stack (a level start); queued windows stay queued.
    void deleteWindows();
    const std::vector<HUDWindow*>& getWindows() const { return mWindows; }
    // The top window rebuilds what it shows from changed data; nothing on an empty stack.
    void refreshTopWindow();

    // Openers: each sets the map's state (and what its screen needs of the map) and asks for its screen.
    // The first screen of the game: the splash screens, then the main menu.
    void openSplashScreens();
    void openMainMenu();
    void openProfiles();
    void openEpisodeSelect();
    void openLevelSelect();
    // The upgrade shop after a level (fromGame 1) or from a menu (0); the gem shop, which returns to the
    // screen named ("game", "shop0", "shop1", "episodes", "levels"). Both in HUDOpenShops.cpp.
    void openShop(int fromGame);
    void openGemShop(const std::wstring& returnScreen);
    // The unlock message of the ids that have a picture; false (nothing opened, nothing changed) when none
    // has, so the level starts as it does without news.
    bool showUnlockMessage(const std::vector<int>& ids);
    void showModalMessage(const std::wstring& caption, const std::wstring& message, int restoreState);
    void showModalDialog(const std::wstring& caption, const std::wstring& message, int restoreState);
    void showModalInput();
    // The two confirmations go to the game board's overlay slot (replacing what it held), not the stack:
    // deleting the current profile, and turning the tutorial off (its skip button).
    void showProfileDeletionDialog();
    void showTutorialCancelDialog();
    // The top window of the stack, or null.
    HUDWindow* topWindow() const { return mWindows.empty() ? nullptr : mWindows.back(); }
    // After a won level: the next level of the episode, or the episode select past its last one (in
    // hardcore the mode then returns to the profile's).
    void nextLevel();
    // The result window over the frozen level, with the texts and pictures of a victory or a defeat.
    void showLevelResult(bool won);
    // The level name banner of the level being started, in the game board's banner slot (not on the stack).
    void showLevelName();
    // Whether a window waits to join the stack (an opener of a screen that exists queues one).
    bool hasQueuedWindow() const { return !mPending.empty(); }

    // Spells. A level start deletes the buttons and adds one per spell id it offers: a spell the spell list
    // lacks or the level has not unlocked gets none; the others take the spell places of the layout in
    // order (a spell beyond the last place gets none, with a log line).
    void deleteSpellButtons();
    void addSpellButton(int spellId);
    // Every spell button ready at once, without the glint.
    void resetSpells();
    const std::vector<HUDSpellButton*>& getSpellButtons() const { return mSpellButtons; }
    // The spell places of the layout ("spell/..."), rectangles named by base name.
    const std::vector<TDFrameEntry*>& getSpellSlots() const { return mSpellSlots; }

    // Counters: "text/coins" (shown money), "text/crystals" (gems), "text/mana" (lives / maximum) and
    // "text/waves" (wave counter / groups).
    void updateMoneyText();
    void updateGemsText();
    void updateLivesText();
    void updateWavesText();
    void onMoneyChanged() override { updateMoneyText(); }
    void onGemsChanged() override { updateGemsText(); }
    // The text of a rectangle; empty when it has none.
    std::wstring getText(const std::wstring& name) const;

    // 0 none, 1 fading in, 2 faded.
    int mFadeState = 0;
    // Set by the tutorial: what the player may press.
    int mBlockUI = 0;
    int mBlockShop = 0;

private:
    // The layout "td/ui" read the HUD's way: root pictures in layout order, the buttons directly in "button",
    // the spell places directly in "spell" and the text places directly in "text" under their full names.
    void loadOverlay();

    TDMap& mMap;
    std::vector<HUDWindow*> mWindows;
    std::vector<HUDWindow*> mPending;
    // The windows that stay open, gathered by update; kept so that the frame does not allocate a list.
    std::vector<HUDWindow*> mStaying;
    // Owned: rectangles and names only.
    std::vector<TDFrameEntry*> mSpellSlots;
    // Drawn at the pointer while a spell is aimed.
    std::unique_ptr<TDSpriteAnimation> mSpellCursor;
    // Owned; a button's index is its place here.
    std::vector<HUDSpellButton*> mSpellButtons;
};
