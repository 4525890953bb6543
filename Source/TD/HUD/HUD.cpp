#include "Source/TD/HUD/HUD.h"

#include "Core/Base/Containers.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Base/Paths.h"
#include "Core/Base/TextStream.h"
#include "Core/File/FileManager.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUDWindow.h"
#include "Source/TD/HUD/Play/HUDSpellButton.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"
#include "Source/TD/Sprites/TDSpriteAnimation.h"
#include "Source/TD/Towers/TDSpellList.h"
#include "Source/TD/Units/TDWaves.h"

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

bool holdsPoint(const math::Rect& rect, int x, int y)
{
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    return px >= rect.x && px <= rect.x + rect.width && py >= rect.y && py <= rect.y + rect.height;
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
    mSpellCursor = std::make_unique<TDSpriteAnimation>(L"td/spell_cast", std::wstring());
    loadOverlay();
}

void HUD::loadOverlay()
{
    file::RegisterImageContainers();
    std::unique_ptr<file::ImageContainer> layout(file::FileManager::Instance()->OpenImageContainer(L"td/ui"));
    if (!layout)
    {
        logDataProblem(L"td/ui", L"the HUD layout cannot be opened; the overlay shows nothing");
        return;
    }
    file::ImageContainer* folder = layout.get();
    forEachLayoutImage(*layout, std::wstring(), false,
                       [this, folder](const std::wstring& name, const base::ImageInfo& info)
                       {
                           // Taken in layout order, unnamed and unsorted: nothing looks them up.
                           auto* image = new TDFrameEntry;
                           fillFromLayout(*image, folder, name, info);
                           mImages.push_back(image);
                       });
    forEachLayoutImage(*layout, L"button", false,
                       [this, folder](const std::wstring& name, const base::ImageInfo& info)
                       {
                           auto* button = new TDButtonFrame;
                           fillFromLayout(*button, folder, name, info);
                           button->mName = base::GetBaseName(name);
                           mButtons.push_back(button);
                       });
    forEachLayoutImage(*layout, L"spell", false,
                       [this](const std::wstring& name, const base::ImageInfo& info)
                       {
                           auto* slot = new TDFrameEntry;
                           slot->mRect = layoutRect(info);
                           slot->mName = base::GetBaseName(name);
                           mSpellSlots.push_back(slot);
                       });
    forEachLayoutImage(*layout, L"text", false,
                       [this](const std::wstring& name, const base::ImageInfo& info)
                       {
                           auto* rect = new TDFrameEntry;
                           rect->mRect = layoutRect(info);
                           rect->mName = name;
                           TDFrameEntry*& place = mTextRects[name];
                           delete place;
                           place = rect;
                       });
}

HUD::~HUD()
{
    mSpellCursor.reset();
    base::DeleteAll(mSpellButtons);
    base::DeleteAll(mSpellSlots);
    base::DeleteAll(mWindows);
    base::DeleteAll(mPending);
}

void HUD::update(float dt)
{
    HUDWindow::update(dt);
    mSpellCursor->advance(dt);
    for (HUDSpellButton* button : mSpellButtons)
        button->update(dt);
    for (std::size_t i = 0; i < mWindows.size(); ++i)
        mWindows[i]->update(dt);
    for (std::size_t i = 0; i < mWindows.size(); ++i)
        if (!mWindows[i]->mActive)
            mWindows[i]->onClose();
    // The closed ones are deleted while the list still holds every window, as their destructors may look.
    mStaying.clear();
    for (HUDWindow* window : mWindows)
    {
        if (window->mActive)
            mStaying.push_back(window);
        else
            delete window;
    }
    mWindows.swap(mStaying);
    mStaying.clear();
    mWindows.insert(mWindows.end(), mPending.begin(), mPending.end());
    mPending.clear();
}

void HUD::draw(render::Graphics* graphics)
{
    if (!graphics)
        return;
    switch (mMap.mState)
    {
    case kStateEpisodeSelect:
    case kStateLevelSelect:
    case kStateMainMenu:
    case kStateSplash:
        break;
    default:
        if (mMap.mArmedSpell)
            if (const TDScreenContext* board = TDScreenContext::current())
                mSpellCursor->draw(graphics, static_cast<float>(board->getPointerX()),
                                   static_cast<float>(board->getPointerY()), 0.0f);
        for (HUDSpellButton* button : mSpellButtons)
            button->draw(graphics);
        HUDWindow::draw(graphics);
        break;
    }
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
    if (!mWindows.empty())
        return mWindows.back()->click(x, y);
    for (HUDSpellButton* button : mSpellButtons)
        if (button->hitTest(x, y))
            return button->mName;
    return HUDWindow::click(x, y);
}

int HUD::hitTest(int x, int y)
{
    for (auto it = mWindows.rbegin(); it != mWindows.rend(); ++it)
        if (const int answer = (*it)->hitTest(x, y); answer != -1)
            return answer;
    if (!mWindows.empty())
        return -1;
    // An own button answers a code of its own, never its index: the map takes a non-negative answer for a
    // spell button. A hidden button is not there for the player, so the point goes on to what lies under it.
    for (const TDButtonFrame* button : mButtons)
        if (button->mVisible && holdsPoint(button->mRect, x, y))
            return kHitOwnButton;
    for (std::size_t i = 0; i < mSpellButtons.size(); ++i)
        if (mSpellButtons[i]->hitTest(x, y))
            return static_cast<int>(i);
    for (HUDSpellButton* button : mSpellButtons)
        if (button->contains(x, y))
            return kHitSpellNotReady;
    return -1;
}

void HUD::mouseMove(int x, int y)
{
    HUDWindow::mouseMove(x, y);
    if (!mWindows.empty())
        mWindows.back()->mouseMove(x, y);
    for (HUDSpellButton* button : mSpellButtons)
        button->mouseMove(x, y);
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

// Keys, like the pointer, are the top window's: a screen under a dialog takes none.
void HUD::onKeyDown(int key)
{
    if (!mWindows.empty())
        mWindows.back()->onKeyDown(key);
}

void HUD::onChar(wchar_t character)
{
    if (!mWindows.empty())
        mWindows.back()->onChar(static_cast<int>(character));
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
    if (mMap.mArmedSpell)
        mMap.mArmedSpell = nullptr;
    base::DeleteAll(mSpellButtons);
}

void HUD::addSpellButton(int spellId)
{
    const TDSpellProto* row = mMap.mSpellList ? mMap.mSpellList->findById(spellId) : nullptr;
    if (!row || !mMap.mUnlocks || !mMap.mUnlocks->isUnlocked(row->mProtoId))
        return;
    const std::size_t index = mSpellButtons.size();
    if (index >= mSpellSlots.size())
    {
        logDataProblem(L"td/ui", L"no spell place for a spell button " + std::to_wstring(index + 1) +
                                     L" (spell " + std::to_wstring(spellId) + L"); the spell gets no button");
        return;
    }
    const TDFrameEntry& slot = *mSpellSlots[index];
    auto* button = new HUDSpellButton(mMap, spellId, row->mProtoId, row->mIcon, row->mShade);
    button->mCenterX = slot.mRect.x + slot.mRect.width * 0.5f;
    button->mCenterY = slot.mRect.y + slot.mRect.height * 0.5f;
    button->mIndex = static_cast<int32_t>(index);
    button->mName = slot.mName;
    mSpellButtons.push_back(button);
}

void HUD::resetSpells()
{
    for (HUDSpellButton* button : mSpellButtons)
        button->reset();
}

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

std::wstring HUD::getText(const std::wstring& name) const
{
    for (const auto& [rect, text] : mTexts)
        if (rect == name)
            return text;
    return std::wstring();
}
