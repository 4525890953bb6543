// The tutorial's opener. The confirmation dialog replaces the body: its OK calls TDTutorial::confirmSkip,
// its cancel TDTutorial::cancelSkip.
#include "Source/TD/HUD/HUD.h"

#include "Source/TD/TDTutorial.h"

void HUD::showTutorialCancelDialog()
{
    TDTutorial::Instance()->confirmSkip();
}
