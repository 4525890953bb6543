#include "Source/TD/HUD/Play/TDContextMenuItem.h"

#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/HUD/Play/AttributedString.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDResources.h"

TDContextMenuItem::TDContextMenuItem(int index, int key)
    : mMoneyIcon(TDResources::Instance()->findUiImage(L"ui/context_money")),
      mGemIcon(TDResources::Instance()->findUiImage(L"ui/context_gem")),
      mLabel(std::make_unique<AttributedString>()), mKey(key), mIndex(index)
{
    mLabel->mFont = boardFont(TDBoardFont::Main42_3);
    mLabel->addImage(u'$', mMoneyIcon);
    mLabel->addImage(u'#', mGemIcon);
}

TDContextMenuItem::~TDContextMenuItem()
{
    delete mPreview;
}
