#include "SelectTestSupport.h"

#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/Map/TDMap.h"

namespace selecttest
{

void SelectScreens::SetUp()
{
    ASSERT_TRUE(mHarness.start());
    mMap = mHarness.map();
    ASSERT_NE(mMap, nullptr);
}

HUD& SelectScreens::hud() const
{
    return *mMap->mHud;
}

HUDWindow* SelectScreens::topWindow() const
{
    return mMap->mHud->topWindow();
}

void SelectScreens::press(const std::wstring& button)
{
    const math::Point2 at = mHarness.buttonCentre(button);
    ASSERT_GE(at.x, 0.0f) << "no visible button " << std::string(button.begin(), button.end());
    clickAt(at.x, at.y);
}

void SelectScreens::clickAt(float x, float y)
{
    mHarness.click(x, y);
    mHarness.step();
}

std::vector<std::wstring> SelectScreens::profileNames() const
{
    mMap->mProfile->refreshNames();
    return mMap->mProfile->getUserProfileNames();
}

} // namespace selecttest
