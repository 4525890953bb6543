#pragma once

#include "Source/TD/HUD/HUDWindow.h"

#include <string>
#include <vector>

class TDSplashLogo;

// The first screen: the pictures "logo/logo.ini" lists (loose files in "logo/"), one after the other, each
// faded in from black, held and faded out; then the main menu. A press skips the current picture.
class TDSplashScreens : public HUDWindow
{
public:
    // Reads the list and starts the menu music.
    TDSplashScreens();
    ~TDSplashScreens() override;

    void draw(render::Graphics* graphics) override;
    // The current logo; after the last one the screen closes itself.
    void update(float dt) override;
    // Opens the main menu.
    void onClose() override;
    // Skips to the next logo; "done" when that was the last one. Silent.
    std::wstring click(int x, int y) override;

    // The picture names of the list's text, in order: each non-blank line's second ";" field split at ",",
    // spaces removed (an empty item names no picture).
    static std::vector<std::wstring> parseList(const std::string& text);

    // Owned, in list order.
    std::vector<TDSplashLogo*> mLogos;
    // The logo shown; the number of logos once all are done.
    int32_t mCurrent = 0;
};
