#include "Source/TD/HUD/Menus/HUDUnlockMessage.h"

#include "Core/Base/ImageInfo.h"
#include "Core/File/ImageContainer.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <algorithm>

namespace
{
std::wstring iconName(int id)
{
    return L"icons/id" + std::to_wstring(id);
}
} // namespace

HUDUnlockMessage::HUDUnlockMessage(const std::vector<int>& ids)
{
    load(L"td/data/message");
    std::vector<std::wstring> records;
    if (mLayout != nullptr)
        (void)mLayout->ListImages(L"icons", false, &records, false);
    for (int id : ids)
    {
        const std::wstring name = iconName(id);
        for (const std::wstring& record : records)
        {
            if (record != name)
                continue;
            const base::ImageInfo* info = mLayout->FindImageInfo(record);
            if (info == nullptr)
                continue;
            auto* icon = new TDFrameEntry;
            icon->mRect = layoutRect(*info);
            icon->mDepth = info->mIndex;
            icon->mName = record;
            icon->mTexture = loadPsdLayerImage(mLayout, record);
            icon->mOwnsTexture = true;
            icon->mVisible = false;
            mIcons.push_back(icon);
            mImages.push_back(icon);
            mIds.push_back(id);
        }
    }
    std::stable_sort(mImages.begin(), mImages.end(), TDFrameEntry::lessByDepth);
    setFont(boardFont(TDBoardFont::Main32_2));
    setText(L"caption", LocalStrings::Instance()->get(L"unlock_caption"));
    setText(L"button", LocalStrings::Instance()->get(L"unlock_button"));
    mCurrent = 0;
    if (!mIds.empty())
        showItem(mIds.front());
}

void HUDUnlockMessage::showItem(int id)
{
    const std::wstring name = iconName(id);
    for (TDFrameEntry* icon : mIcons)
        icon->mVisible = icon->mName == name;
    setText(L"message", LocalStrings::Instance()->get(L"unlock_" + std::to_wstring(id)));
}

void HUDUnlockMessage::draw(render::Graphics* graphics)
{
    drawImages(graphics);
    drawButtons(graphics);
    const CountedHandle<render::Font> saved = mFont;
    for (const auto& [name, text] : mTexts)
    {
        mFont = boardFont(name == L"button" ? TDBoardFont::Main80 : TDBoardFont::Main32_2);
        drawText(graphics, name, text);
    }
    mFont = saved;
}

int HUDUnlockMessage::hitTest(int, int)
{
    return -1;
}

std::wstring HUDUnlockMessage::click(int x, int y)
{
    if (HUDWindow::click(x, y) != L"ok")
        return std::wstring();
    if (mCurrent + 1 < static_cast<int>(mIds.size()))
    {
        ++mCurrent;
        showItem(mIds[static_cast<std::size_t>(mCurrent)]);
        return std::wstring();
    }
    return L"ok";
}
