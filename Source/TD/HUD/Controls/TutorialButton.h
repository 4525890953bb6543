#pragma once

#include "Source/TD/HUD/Controls/HUDLayerButton.h"

#include <cstdint>

class TDTutorial;

// The tutorial's skip button: a click inside it asks the tutorial to confirm the skip.
class TutorialButton : public HUDLayerButton
{
public:
    TutorialButton(const TDFrameEntry* over, const TDFrameEntry* normal, const std::wstring& label,
                   TDTutorial& tutorial);

    void onClick(int x, int y) override;

    uint8_t mReserved = 0;

private:
    TDTutorial& mTutorial;
};
