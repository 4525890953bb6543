#pragma once

#include "Source/TD/TDEconomy.h"

#include <map>
#include <string>
#include <vector>

namespace render
{
class Graphics;
}

class TDButtonFrame;
class TDMap;

// The in-level overlay and the screen manager, as far as the level core needs it: the counters' texts, the
// openers (each sets the map's state), the input lock the tutorial sets, the places of the speed buttons
// from the layout "td/ui", and the spell ids a level offers. The screens complete it: its pictures, the
// stack of screens the openers queue, the spell buttons, and the answers of click and hitTest.
class HUD : public TDEconomyView
{
public:
    // The map it serves is given, because the map builds its HUD before the game board knows the map.
    explicit HUD(TDMap& map);
    HUD(const HUD&) = delete;
    HUD& operator=(const HUD&) = delete;
    virtual ~HUD();

    // The frame (unscaled time).
    void update(float dt);
    // The side images in the menu states, then normal blending in white for what follows.
    void draw(render::Graphics* graphics);
    // The open screens of a draw layer (0 under the map's effects, 1 above them).
    void drawWindows(render::Graphics* graphics, int layer);

    // Pointer and keys. click answers the name of the button under the point, hitTest the index of a usable
    // spell button (-2 one that cannot be used, -1 nothing); with no screen and no spell button yet they
    // answer nothing.
    std::wstring click(int x, int y);
    int hitTest(int x, int y);
    void mouseMove(int x, int y);
    void mouseDown(int x, int y);
    void mouseUp(int x, int y);
    void mouseWheel(int delta);
    void onKeyDown(int key);
    void onChar(wchar_t character);

    // The stack of screens.
    void closeTopWindow();
    int getWindowCount() const { return 0; }

    // Openers: each sets the map's state (and what its screen needs of the map) and asks for its screen.
    // The first screen of the game. Until the splash and the menus exist, the game goes straight to the first
    // level of the first episode.
    void openSplashScreens();
    void openMainMenu();
    void openProfiles();
    void openEpisodeSelect();
    void openLevelSelect();
    void openShop(int fromGame);
    void openGemShop(const std::wstring& returnScreen);
    void showUnlockMessage(const std::vector<int>& ids);
    void showModalMessage(const std::wstring& caption, const std::wstring& message, int restoreState);
    void showModalDialog(const std::wstring& caption, const std::wstring& message, int restoreState);
    void showModalInput();
    // After a won level: the next level of the episode, or the episode select past its last one (in
    // hardcore the mode then returns to the profile's).
    void nextLevel();

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
    // Owned: the buttons of "td/ui" (rectangles; their pictures come with the screens).
    std::vector<TDButtonFrame*> mButtons;
    std::map<std::wstring, std::wstring> mTexts;
    std::vector<int> mSpellIds;
};
