#include "Source/TD/HUD/Controls/TutorialButton.h"

#include "Source/TD/Tutorial/TDTutorial.h"

TutorialButton::TutorialButton(const TDFrameEntry* over, const TDFrameEntry* normal, const std::wstring& label,
                               TDTutorial& tutorial)
    : HUDLayerButton(over, normal, label), mTutorial(tutorial)
{
}

void TutorialButton::onClick(int x, int y)
{
    if (hitTest(x, y))
        mTutorial.requestSkip();
}
