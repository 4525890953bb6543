#include "ReleaseWalk.h"

#include "Core/Widget/FrameManager.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Menus/HUDMainMenu.h"
#include "Source/TD/Map/TDMap.h"

#include <gtest/gtest.h>

namespace releasetest
{

TDMap& Walk::map() const
{
    return *mHarness.map();
}

HUDWindow* Walk::top() const
{
    return map().mHud->topWindow();
}

void Walk::toMainMenu()
{
    mHarness.step(5);
    mHarness.click(300.0f, 300.0f);
    mHarness.click(300.0f, 300.0f);
    for (int frame = 0; frame < 120 && top<HUDMainMenu>() == nullptr; ++frame)
        mHarness.step();
    ASSERT_NE(top<HUDMainMenu>(), nullptr) << "the splash never led to the main menu";
}

math::Point2 Walk::waitFor(const std::wstring& button)
{
    math::Point2 at = mHarness.buttonCentre(button);
    for (int frame = 0; frame < 120 && at.x < 0.0f; ++frame)
    {
        mHarness.step();
        at = mHarness.buttonCentre(button);
    }
    return at;
}

void Walk::press(const std::wstring& button)
{
    const math::Point2 at = waitFor(button);
    ASSERT_GE(at.x, 0.0f) << "no button " << std::string(button.begin(), button.end());
    clickAt(at.x, at.y);
}

void Walk::clickAt(float x, float y)
{
    mHarness.click(x, y);
    mHarness.step();
}

widget::Frame* Walk::topDialog() const
{
    widget::Frame* found = nullptr;
    for (const widget::FrameEntry& entry : mHarness.game()->GetFrameManager()->GetFrames())
        if (entry.tier == widget::FrameTierModal)
            found = entry.frame;
    return found;
}

Target button(const std::wstring& name)
{
    return [name](Walk& walk) { return walk.waitFor(name); };
}

Target point(float x, float y)
{
    return [x, y](Walk&) { return math::Point2(x, y); };
}

void runRows(const Row* rows, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        const Row& row = rows[i];
        SCOPED_TRACE(row.name);
        tdtest::GameHarness harness;
        harness.mTutorial = row.tutorial;
        ASSERT_TRUE(harness.start(row.opening));
        Walk walk(harness);
        if (row.enter)
            row.enter(walk);
        if (::testing::Test::HasFatalFailure())
            return;
        ASSERT_EQ(walk.map().mState, row.state) << "the walk did not reach the row's state";
        const math::Point2 at = row.target(walk);
        ASSERT_GE(at.x, 0.0f) << "nothing to release on";
        harness.click(at.x, at.y);
        EXPECT_EQ(walk.map().mState, row.stateAfter);
        // The screens a release opens join the HUD, and its dialogs the frame manager, in the next frame.
        harness.step();
        if (row.check)
            row.check(walk);
    }
}

} // namespace releasetest
