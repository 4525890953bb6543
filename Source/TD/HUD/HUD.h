#pragma once

#include "Source/TD/TDEconomy.h"

#include <map>
#include <string>
#include <vector>

namespace render
{
class Graphics;
}

class HUDWindow;
class TDButtonFrame;
class TDMap;

// The in-level overlay and the screen manager, as far as the level core needs it: the stack of open windows
// (queued windows join it at the end of the next update, a window that cleared its active flag goes), the
// counters' texts, the openers (each sets the map's state), the input lock the tutorial sets, the places of
// the speed buttons from the layout "td/ui", and the spell ids a level offers. The screens complete it: its
// own pictures and buttons, the screens its openers queue and the spell buttons.
class HUD : public TDEconomyView
{
public:
    // The map it serves is given, because the map builds its HUD before the game board knows the map.
    explicit HUD(TDMap& map);
    HUD(const HUD&) = delete;
    HUD& operator=(const HUD&) = delete;
    virtual ~HUD();

    // The frame (unscaled time): every window's update, bottom to top; then the windows that cleared their
    // active flag get onClose and go; then the queued windows join the stack in queue order.
    void update(float dt);
    // The side images in the menu states, then normal blending in white for what follows.
    void draw(render::Graphics* graphics);
    // The open screens of a draw layer (0 under the map's effects, 1 above them).
    void drawWindows(render::Graphics* graphics, int layer);

    // Pointer and keys. With a window open, click answers the top window's click and hitTest the first
    // answer of the windows from the top (-1 when none answers); with none open both answer nothing yet
    // (the HUD's own buttons and spell buttons come with the screens). The pointer goes to the top window,
    // the wheel, keys and characters to every window, bottom to top.
    std::wstring click(int x, int y);
    int hitTest(int x, int y);
    void mouseMove(int x, int y);
    void mouseDown(int x, int y);
    void mouseUp(int x, int y);
    void mouseWheel(int delta);
    void onKeyDown(int key);
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
    void showUnlockMessage(const std::vector<int>& ids);
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

    // Spells: the spell ids the level offers, in the order asked.
    void deleteSpellButtons();
    void addSpellButton(int spellId);
    // Every spell button ready.
    void resetSpells();
    const std::vector<int>& getSpellIds() const { return mSpellIds; }

    // Counters: "text/coins" (shown money), "text/crystals" (gems), "text/mana" (lives / maximum) and
    // "text/waves" (wave counter / groups).
    void updateMoneyText();
    void updateGemsText();
    void updateLivesText();
    void updateWavesText();
    void onMoneyChanged() override { updateMoneyText(); }
    void onGemsChanged() override { updateGemsText(); }
    void setText(const std::wstring& name, const std::wstring& text);
    // The text of a rectangle; empty when it has none.
    std::wstring getText(const std::wstring& name) const;

    // A button of the layout by name, or null.
    TDButtonFrame* findButton(const std::wstring& name) const;

    // 0 none, 1 fading in, 2 faded.
    int mFadeState = 0;
    // Set by the tutorial: what the player may press.
    int mBlockUI = 0;
    int mBlockShop = 0;

private:
    TDMap& mMap;
    std::vector<HUDWindow*> mWindows;
    std::vector<HUDWindow*> mPending;
    // Owned: the buttons of "td/ui" (rectangles; their pictures come with the screens).
    std::vector<TDButtonFrame*> mButtons;
    std::map<std::wstring, std::wstring> mTexts;
    std::vector<int> mSpellIds;
};
