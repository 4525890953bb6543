#include "Source/TD/HUD/HUD.h"

#include "Core/Base/Containers.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/Paths.h"
#include "Core/Base/TextStream.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/LocalStrings.h"
#include "Source/TD/TDButtonFrame.h"
#include "Source/TD/TDEconomy.h"
#include "Source/TD/TDMap.h"
#include "Source/TD/TDWaves.h"

#include <algorithm>
#include <memory>

namespace
{
std::wstring decimal(int value)
{
    base::TextStream stream;
    stream.WriteInt(value);
    return stream.GetText();
}

std::wstring general(float value)
{
    base::TextStream stream;
    stream.WriteFloat(value);
    return stream.GetText();
}
} // namespace

HUD::HUD(TDMap& map) : mMap(map)
{
    file::RegisterImageContainers();
    std::unique_ptr<file::ImageContainer> layout(file::FileManager::Instance()->OpenImageContainer(L"td/ui"));
    if (!layout)
        return;
    std::vector<std::wstring> names;
    (void)layout->ListImages(L"button", false, &names, false);
    for (const std::wstring& name : names)
    {
        auto* button = new TDButtonFrame;
        button->mName = base::GetBaseName(name);
        if (const base::ImageInfo* info = layout->FindImageInfo(name))
            button->mRect = math::Rect(info->mRect[0], info->mRect[1], info->mRect[2], info->mRect[3]);
        mButtons.push_back(button);
    }
}

HUD::~HUD()
{
    base::DeleteAll(mWindows);
    base::DeleteAll(mPending);
    base::DeleteAll(mButtons);
}

void HUD::update(float dt)
{
    for (std::size_t i = 0; i < mWindows.size(); ++i)
        mWindows[i]->update(dt);
    for (std::size_t i = 0; i < mWindows.size(); ++i)
        if (!mWindows[i]->mActive)
            mWindows[i]->onClose();
    std::vector<HUDWindow*> open;
    for (HUDWindow* window : mWindows)
    {
        if (window->mActive)
            open.push_back(window);
        else
            delete window;
    }
    mWindows = std::move(open);
    mWindows.insert(mWindows.end(), mPending.begin(), mPending.end());
    mPending.clear();
}

void HUD::draw(render::Graphics* graphics)
{
    switch (mMap.mState)
    {
    case kStateEpisodeSelect:
    case kStateLevelSelect:
    case kStateShop:
    case kStateProfiles:
    case kStateNewProfileName:
    case kStateRenameProfile:
    case kStateModal:
    case kStateGemShop:
        if (Game* game = Game::Get())
            (void)game->DrawSideImages(graphics);
        break;
    default:
        break;
    }
    (void)graphics->SetBlendMode(1);
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void HUD::drawWindows(render::Graphics* graphics, int layer)
{
    for (HUDWindow* window : mWindows)
        if (window->mDrawLayer == layer)
            window->draw(graphics);
}

std::wstring HUD::click(int x, int y)
{
    return mWindows.empty() ? std::wstring() : mWindows.back()->click(x, y);
}

int HUD::hitTest(int x, int y)
{
    for (auto it = mWindows.rbegin(); it != mWindows.rend(); ++it)
        if (const int answer = (*it)->hitTest(x, y); answer != -1)
            return answer;
    return -1;
}

void HUD::mouseMove(int x, int y)
{
    for (TDButtonFrame* button : mButtons)
        button->onMouseMove(x, y);
    if (!mWindows.empty())
        mWindows.back()->mouseMove(x, y);
}

void HUD::mouseDown(int x, int y)
{
    if (!mWindows.empty())
        mWindows.back()->mouseDown(x, y);
}

void HUD::mouseUp(int x, int y)
{
    if (!mWindows.empty())
        mWindows.back()->mouseUp(x, y);
}

void HUD::mouseWheel(int delta)
{
    for (std::size_t i = 0; i < mWindows.size(); ++i)
        mWindows[i]->mouseWheel(delta);
}

void HUD::onKeyDown(int key)
{
    for (std::size_t i = 0; i < mWindows.size(); ++i)
        mWindows[i]->onKeyDown(key);
}

void HUD::onChar(wchar_t character)
{
    for (std::size_t i = 0; i < mWindows.size(); ++i)
        mWindows[i]->onChar(static_cast<int>(character));
}

void HUD::showWindow(HUDWindow* window)
{
    if (window)
        mPending.push_back(window);
}

void HUD::closeTopWindow()
{
    if (mWindows.empty())
        return;
    HUDWindow* top = mWindows.back();
    mWindows.pop_back();
    delete top;
}

void HUD::deleteWindows()
{
    base::DeleteAll(mWindows);
}

void HUD::nextLevel()
{
    ++mMap.mLevel;
    if (mMap.mMode == kModeHardcore)
    {
        if (mMap.mLevel < mMap.getHardcoreLevelCount(mMap.mEpisode))
        {
            mMap.loadLevel();
            return;
        }
        if (mMap.mProfile)
            mMap.mMode = mMap.mProfile->getMode();
        openEpisodeSelect();
        return;
    }
    if (mMap.mLevel >= mMap.getLevelCount(mMap.mEpisode))
        openEpisodeSelect();
    else
        mMap.loadLevel();
}

void HUD::deleteSpellButtons()
{
    mSpellIds.clear();
}

void HUD::addSpellButton(int spellId)
{
    mSpellIds.push_back(spellId);
}

void HUD::resetSpells() {}

void HUD::updateMoneyText()
{
    if (mMap.mEconomy)
        setText(L"text/coins", decimal(mMap.mEconomy->mShownMoney));
}

void HUD::updateGemsText()
{
    if (mMap.mEconomy)
        setText(L"text/crystals", decimal(mMap.mEconomy->mGems));
}

void HUD::updateLivesText()
{
    setText(L"text/mana", general(mMap.mLives) + L"/" + general(mMap.mMaxLives));
}

void HUD::updateWavesText()
{
    const int total = mMap.mWaves ? mMap.mWaves->getWaveCount() : 0;
    const int counter = mMap.mWaves ? mMap.mWaves->mCompletedGroups : 0;
    const float shown = static_cast<float>(std::min(total, counter + 1));
    setText(L"text/waves",
            LocalStrings::Instance()->get(L"game_wave") + L" " + general(shown) + L"/" + decimal(total));
}

void HUD::setText(const std::wstring& name, const std::wstring& text)
{
    mTexts[name] = text;
}

std::wstring HUD::getText(const std::wstring& name) const
{
    const auto found = mTexts.find(name);
    return found == mTexts.end() ? std::wstring() : found->second;
}

TDButtonFrame* HUD::findButton(const std::wstring& name) const
{
    for (TDButtonFrame* button : mButtons)
        if (button->mName == name)
            return button;
    return nullptr;
}
