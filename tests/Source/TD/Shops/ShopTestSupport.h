#pragma once

// A started game with a profile written for the test, and the shops opened through the HUD.
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDMap.h"

#include <gtest/gtest.h>

#include <string>

namespace shoptest
{

// The profile "Ada" with what the test puts inside it.
void writeProfile(const tdtest::GameHarness& harness, const std::string& inside);
// The whole profile file as the game last saved it.
std::string savedProfiles(const tdtest::GameHarness& harness);
// Played levels that open the demo's upgrades up to level 4 of the first episode: seven in the first
// section, three in the second and third.
inline constexpr const char* kProgress =
    "<levels><level n=\"3\" episode=\"0\" mode=\"0\" stars=\"2\"/></levels>";

// The top window of the HUD as the type asked for, or null.
template <typename T>
T* topWindow(const tdtest::GameHarness& harness)
{
    const auto& windows = harness.map()->mHud->getWindows();
    return windows.empty() ? nullptr : dynamic_cast<T*>(windows.back());
}

// The demo layout's places, in logical screen units.
// The buy button of the n-th plate of an unscrolled list.
inline float buyX()
{
    return 780.0f;
}
inline float buyY(int plate)
{
    return 254.0f + 99.0f * static_cast<float>(plate);
}
// The middle of the scroll bar's slider at the top of its track.
inline constexpr float kSliderX = 887.0f;
inline constexpr float kSliderTopY = 251.0f;
// Tab i stands on y 200 at x 300 + 200 i.
inline float tabX(int index)
{
    return 300.0f + 200.0f * static_cast<float>(index);
}
inline constexpr float kTabY = 170.0f;

} // namespace shoptest
