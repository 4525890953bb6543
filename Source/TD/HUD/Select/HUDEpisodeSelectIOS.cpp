#include "Source/TD/HUD/Select/HUDEpisodeSelectIOS.h"

#include "Core/Base/TextFormat.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Select/HUDEpisodeCarousel.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

namespace
{
// A drag starts only in the band of the cards.
constexpr int kDragTop = 176;
constexpr int kDragBottom = 574;

TDMap& map()
{
    return *Game::GetMap();
}

std::wstring episodeName(int index)
{
    const bool hardcore = map().mMode == kModeHardcore;
    return LocalStrings::Instance()->get((hardcore ? L"episodeHardcore" : L"episode") + std::to_wstring(index));
}
} // namespace

HUDEpisodeSelectIOS::HUDEpisodeSelectIOS()
{
    load(L"td/episode_select");
    TDMap& m = map();
    mCarousel = std::make_unique<HUDEpisodeCarousel>(m.mProfile ? m.mProfile->getLastEpisode() : 0);
    mLockImage.reset(createFrameEntryFromPsd(mLayout, L"plates/lock"));
    mNewImage.reset(createFrameEntryFromPsd(mLayout, L"plates/new"));
    for (int n = 1; n <= m.getEpisodeCount(); ++n)
        addEpisodeCard(n);
    // A profile may name an episode the table no longer has.
    mCarousel->clampCurrent();
    mCarousel->mOnEpisodeChanged = [this](int index) { onEpisodeChanged(index); };
    mCarousel->mOnMoveStarted = [this] { onMoveStarted(); };
    mCarousel->mOnMoveEnded = [this] { onMoveEnded(); };
    setText(L"levelName", episodeName(mCarousel->mCurrent));
    setText(L"caption", LocalStrings::Instance()->get(L"episodes_caption"));
    const int stars = m.mProfile ? m.mProfile->getStars(-1) : 0;
    setText(L"stars", std::to_wstring(stars) + L"/" + std::to_wstring(9 * m.getTotalLevelCount()));
}

HUDEpisodeSelectIOS::~HUDEpisodeSelectIOS() = default;

void HUDEpisodeSelectIOS::addEpisodeCard(int n)
{
    TDMap& m = map();
    const int e = n - 1;
    HUDEpisodeCard card;
    card.chapter = createFrameEntryFromPsd(mLayout, L"plates/chapter_0" + std::to_wstring(n));
    const bool open = m.isEpisodeUnlocked(e);
    const int levels = m.getLevelCount(e);
    if (!open && levels > 0)
    {
        card.text = (base::Format(LocalStrings::Instance()->get(L"unlockEpisodeText").c_str()) %
                     m.getStarsRequired(e))
                        .GetText();
        card.overlay = mLockImage.get();
    }
    else
    {
        if (levels == -1)
            card.text = LocalStrings::Instance()->get(L"comingSoon");
        card.overlay = open ? nullptr : mLockImage.get();
    }
    if (open && m.mProfile &&
        (m.mProfile->getEpisodeVisited(e, kModeNormal) < levels ||
         m.mProfile->getEpisodeVisited(e, kModeHardcore) < m.getHardcoreLevelCount(e)))
        card.newBadge = mNewImage.get();
    mCarousel->addCard(card);
}

void HUDEpisodeSelectIOS::draw(render::Graphics* graphics)
{
    if (graphics == nullptr)
        return;
    drawImages(graphics);
    graphics->SetClipRect(40.0f, 0.0f, 940.0f, 768.0f);
    mCarousel->draw(graphics);
    graphics->ResetClipRect();
    drawButtons(graphics);
    drawTexts(graphics);
}

void HUDEpisodeSelectIOS::update(float dt)
{
    HUDWindow::update(dt);
    mCarousel->update(dt);
    setButtonVisible(L"arrow_left", mCarousel->mCurrent > 0);
    setButtonVisible(L"arrow_right", mCarousel->mCurrent < mCarousel->count() - 1);
    TDButtonFrame* play = findButton(L"play");
    if (play == nullptr)
        return;
    float alpha = play->mColor.a;
    switch (mFadeState)
    {
    case kSteady:
        alpha = 1.0f;
        break;
    case kFadingOut:
        alpha -= 4.0f * dt;
        if (alpha < 0.0f)
        {
            alpha = 0.0f;
            mFadeState = kHidden;
        }
        break;
    case kFadingIn:
        alpha += 4.0f * dt;
        if (alpha > 1.0f)
        {
            alpha = 1.0f;
            mFadeState = kSteady;
        }
        break;
    default:
        break;
    }
    play->mColor = render::Color{1.0f, 1.0f, 1.0f, alpha};
    play->mVisible = alpha != 0.0f;
}

void HUDEpisodeSelectIOS::mouseDown(int x, int y)
{
    // The release that ends the press plays the button's sound; the press only looks.
    mDragArmed = buttonAt(x, y).empty();
}

void HUDEpisodeSelectIOS::mouseMove(int x, int y)
{
    HUDWindow::mouseMove(x, y);
    if (!mDragArmed)
        return;
    if (mCarousel->mState == HUDEpisodeCarousel::kRest)
    {
        if (y >= kDragTop && y <= kDragBottom)
            mCarousel->startDrag(static_cast<float>(x), static_cast<float>(y));
        return;
    }
    mCarousel->drag(static_cast<float>(x), static_cast<float>(y));
}

void HUDEpisodeSelectIOS::mouseUp(int x, int y)
{
    if (mDragArmed)
        mCarousel->release(static_cast<float>(x), static_cast<float>(y));
    mDragArmed = false;
}

int HUDEpisodeSelectIOS::hitTest(int x, int y)
{
    const int index = mCarousel->mCurrent;
    // The release has already played the sound for this button.
    const std::wstring name = buttonAt(x, y);
    const bool atRest = mCarousel->mState == HUDEpisodeCarousel::kRest;
    const bool onCard = x >= 323 && x <= 701 && y >= 201 && y <= 569;
    if (name == L"play" || (onCard && atRest))
        return map().isEpisodeUnlocked(index) ? index : -1;
    if (name == L"arrow_left" && atRest)
        mCarousel->stepLeft();
    else if (name == L"arrow_right" && atRest)
        mCarousel->stepRight();
    return -1;
}

void HUDEpisodeSelectIOS::onEpisodeChanged(int index)
{
    setText(L"levelName", episodeName(index));
}

void HUDEpisodeSelectIOS::onMoveStarted()
{
    if (mFadeState != kHidden)
        mFadeState = kFadingOut;
}

void HUDEpisodeSelectIOS::onMoveEnded()
{
    mFadeState = kFadingIn;
}
