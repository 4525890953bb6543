#pragma once

// Shared by the release table tests: a game in the harness brought to a screen the way a player gets there,
// with the place a row releases on and the dialogs a release may open.

#include "Source/TD/Harness/TDGameHarness.h"

#include <functional>
#include <string>

class HUDWindow;
class TDMap;
namespace widget
{
class Frame;
}

namespace releasetest
{

class Walk
{
public:
    explicit Walk(tdtest::GameHarness& harness) : mHarness(harness) {}

    tdtest::GameHarness& harness() const { return mHarness; }
    TDMap& map() const;
    HUDWindow* top() const;
    template <class Screen>
    Screen* top() const
    {
        return dynamic_cast<Screen*>(top());
    }

    // From the splash: two presses skip the logos, then the frames until the main menu is up.
    void toMainMenu();
    // The named button of the top screen, once it shows (screens join the HUD a frame after their opener and
    // some fade their buttons in): a click, then a frame. Fails the test when it never shows.
    void press(const std::wstring& button);
    void clickAt(float x, float y);
    // Frames until the named button of the top screen shows; its centre, or (-1, -1).
    math::Point2 waitFor(const std::wstring& button);
    // The topmost dialog of the frame manager's modal tier of that type, null when none is open.
    template <class Dialog>
    Dialog* dialog() const
    {
        return dynamic_cast<Dialog*>(topDialog());
    }

private:
    widget::Frame* topDialog() const;

    tdtest::GameHarness& mHarness;
};

// Where a row releases: the centre of a named button of the top screen, or a point the row computes.
using Target = std::function<math::Point2(Walk&)>;
Target button(const std::wstring& name);
Target point(float x, float y);

// A release table row: the screens walked to reach the state, the release, the state after it and what else
// the row does.
struct Row
{
    const char* name;
    tdtest::GameHarness::Opening opening;
    std::function<void(Walk&)> enter;
    int state; // the state the row belongs to, checked before the release
    Target target;
    int stateAfter;
    std::function<void(Walk&)> check;
    bool tutorial = false; // the first level's tutorial runs
};

// Each row in a game of its own: started, walked, released on, checked.
void runRows(const Row* rows, std::size_t count);
template <std::size_t N>
void runRows(const Row (&rows)[N])
{
    runRows(rows, N);
}

} // namespace releasetest
