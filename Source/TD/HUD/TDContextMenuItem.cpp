#include "Source/TD/HUD/TDContextMenuItem.h"

#include "Source/TD/AttributedString.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/TDFrameEntry.h"
#include "Source/TD/TDResources.h"
#include "Source/TD/TDUnitProto.h"

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
