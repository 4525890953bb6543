#pragma once

// Shared by the selection screen tests: the harness game started on the first level, with helpers that open
// a screen as its opener does and press its buttons through the pointer.

#include "Source/TD/Harness/TDGameHarness.h"

#include <gtest/gtest.h>

#include <string>

class HUD;
class HUDWindow;

namespace selecttest
{

class SelectScreens : public ::testing::Test
{
protected:
    void SetUp() override;

    HUD& hud() const;
    // The top screen of the stack, cast; null when it is not of that type.
    template <class Screen>
    Screen* top() const
    {
        return dynamic_cast<Screen*>(topWindow());
    }
    HUDWindow* topWindow() const;
    // Presses and releases on the named button of the top screen, then runs a frame; fails the test when the
    // top screen shows no such button.
    void press(const std::wstring& button);
    // A press and release at a point, then a frame.
    void clickAt(float x, float y);
    // The profiles as the store keeps them (the default one left out).
    std::vector<std::wstring> profileNames() const;

    tdtest::GameHarness mHarness;
    TDMap* mMap = nullptr;
};

} // namespace selecttest
