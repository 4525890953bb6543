#include "Source/TD/HUD/Select/HUDLevelSelect.h"

#include "Core/Base/Containers.h"
#include "Core/Base/ImageInfo.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Image.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Controls/HUDTabBar.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/Select/HUDLevelPlate.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

namespace
{
// Both hardcore buttons stand at the same place, whatever the layout says.
constexpr float kHardcoreX = 857.0f;
constexpr float kHardcoreY = 448.0f;

TDMap& map()
{
    return *Game::GetMap();
}

void detachAndDelete(layer::Layer* layer)
{
    removeFromParent(layer);
    delete layer;
}
} // namespace

HUDLevelSelect::HUDLevelSelect()
{
    load(L"td/level_select");
    w7::PlayMusic(L"td/data/music/main_menu.ogg");
    setFont(boardFont(TDBoardFont::Main42_3));
    TDMap& m = map();
    m.mCurrentScreen = L"levels";
    const bool hardcore = m.mMode == kModeHardcore;
    const int episode = m.mEpisode;

    const std::wstring key = (hardcore ? L"episodeHardcore" : L"episode") + std::to_wstring(episode);
    mCaption = new layer::TextLayer(boardFont(hardcore ? TDBoardFont::Main42_3 : TDBoardFont::Main80),
                                    LocalStrings::Instance()->get(key), 1024.0f, 0.0f, 2, true);
    mCaption->SetAlignment(2, 2);
    if (const base::ImageInfo* place = findPsdLayer(mLayout, L"text/episode"))
        mCaption->SetPosition(math::Point3(place->mRect[0] + place->mRect[2] / 2.0f,
                                           place->mRect[1] + place->mRect[3] / 2.0f, 0.0f));

    const int hardcoreLevels = m.getHardcoreLevelCount(episode);
    if (hardcore)
    {
        for (const wchar_t* name : {L"locked_d", L"unlocked_d", L"upgrade"})
            setButtonVisible(name, false);
    }
    else if (hardcoreLevels > 0)
    {
        const bool open = m.isHardcoreUnlocked(episode);
        setButtonVisible(L"unlocked_d", open);
        setButtonVisible(L"locked_d", !open);
        for (const wchar_t* name : {L"locked_d", L"unlocked_d"})
        {
            if (TDButtonFrame* button = findButton(name))
            {
                button->mRect.x = kHardcoreX;
                button->mRect.y = kHardcoreY;
            }
        }
        if (m.mProfile && m.mProfile->getEpisodeVisited(episode, kModeHardcore) < hardcoreLevels)
        {
            render::Image* badge = loadPsdLayerImage(mLayout, L"plate/new");
            const int badgeW = badge ? badge->GetWidth() : 0;
            const int badgeH = badge ? badge->GetHeight() : 0;
            const float bx = kHardcoreX + 50.0f;
            const float by = kHardcoreY - 20.0f;
            mBadgeImage = new layer::ImageLayer;
            mBadgeImage->SetImage(badge, true);
            mBadgeImage->SetPosition(math::Point3(bx, by, -1.0f));
            mBadgeText = new layer::TextLayer(boardFont(TDBoardFont::Main42_3),
                                              LocalStrings::Instance()->get(L"episodeSelectNew"), 80.0f, 0.0f, 2,
                                              true);
            mBadgeText->SetAlignment(2, 2);
            mBadgeText->SetPosition(
                math::Point3(bx + static_cast<float>(badgeW / 2), by + static_cast<float>(badgeH / 2), -1.0f));
            if (layer::Layer* root = boardRootLayer())
            {
                root->AddChild(mBadgeImage);
                root->AddChild(mBadgeText);
            }
        }
    }
    else
    {
        setButtonVisible(L"locked_d", false);
        setButtonVisible(L"unlocked_d", false);
    }
    if (!hardcore)
        setImageVisible(L"skulls", false);

    setText(L"gems", std::to_wstring(m.mProfile ? m.mProfile->getGems() : 0));

    if (hardcore)
    {
        mTabBar = new HUDTabBar(mLayout, {}, {});
    }
    else
    {
        mTabBar = new HUDTabBar(mLayout, {L"level_tab_0", L"level_tab_1", L"level_tab_2"}, {true, true, true});
        mTabBar->select(m.mMode);
    }
    if (layer::Layer* root = boardRootLayer())
        root->AddChild(mCaption);

    rebuildPlates();
    const int count = hardcore ? hardcoreLevels : m.getLevelCount(episode);
    if (m.mProfile)
        m.mProfile->setEpisodeVisited(episode, m.mMode, count);
}

HUDLevelSelect::~HUDLevelSelect()
{
    detachAndDelete(mCaption);
    detachAndDelete(mBadgeImage);
    detachAndDelete(mBadgeText);
    delete mTabBar;
    base::DeleteAll(mPlates);
}

void HUDLevelSelect::rebuildPlates()
{
    base::DeleteAll(mPlates);
    TDMap& m = map();
    const int count = m.mMode == kModeHardcore ? m.getHardcoreLevelCount(m.mEpisode) : m.getLevelCount(m.mEpisode);
    for (int level = 0; level < count; ++level)
        mPlates.push_back(new HUDLevelPlate(m.mEpisode, level, mLayout));
}

void HUDLevelSelect::draw(render::Graphics* graphics)
{
    HUDWindow::draw(graphics);
    for (HUDLevelPlate* plate : mPlates)
        plate->draw(graphics);
}

void HUDLevelSelect::update(float dt)
{
    HUDWindow::update(dt);
    for (HUDLevelPlate* plate : mPlates)
        plate->update(dt);
    mTabBar->update(dt);
    TDMap& m = map();
    if (m.mMode == kModeHardcore && m.mProfile && !m.mProfile->getEventFlag(0))
    {
        m.mProfile->setEventFlag(0);
        m.mHud->showModalMessage(LocalStrings::Instance()->get(L"HardcoreTitle"),
                                 LocalStrings::Instance()->get(L"HardcoreDescMessage"), m.mState);
    }
}

void HUDLevelSelect::mouseMove(int x, int y)
{
    HUDWindow::mouseMove(x, y);
    for (HUDLevelPlate* plate : mPlates)
        if (plate->mOpen)
            plate->mHover = plate->contains(x, y) ? 1 : 0;
    mTabBar->updateHover(x, y);
}

void HUDLevelSelect::mouseDown(int x, int y)
{
    const int tab = mTabBar->press(x, y);
    TDMap& m = map();
    if (tab == -1 || m.mMode == kModeHardcore)
        return;
    m.mMode = tab;
    if (m.mProfile)
        m.mProfile->setMode(tab);
    (void)w7::SoundTags::Instance()->Play(L"simple");
    rebuildPlates();
}

int HUDLevelSelect::hitTest(int x, int y)
{
    for (HUDLevelPlate* plate : mPlates)
        if (plate->contains(x, y))
            return plate->mLevel;
    return -1;
}
