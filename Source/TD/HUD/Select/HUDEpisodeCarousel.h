#pragma once

#include <functional>
#include <string>
#include <vector>

namespace render
{
class Graphics;
}

class TDFrameEntry;

// One card of the episode carousel.
struct HUDEpisodeCard
{
    // Owned by the carousel.
    TDFrameEntry* chapter = nullptr;
    // Not owned: the shared lock picture of a card that is not open, the shared "new" badge.
    TDFrameEntry* overlay = nullptr;
    TDFrameEntry* newBadge = nullptr;
    // Empty, the locked text or the coming-soon text.
    std::wstring text;
};

// A horizontal row of episode cards, 320 apart, with the current card in the middle. The pointer drags it;
// a release past a quarter of the spacing, or a quick flick, moves by one card, and the row slides to rest
// at 800 units per second.
class HUDEpisodeCarousel
{
public:
    enum State
    {
        kRest = 0,
        kDragging = 1,
        kSlidingLeft = 2,  // positive offset falling to 0
        kSlidingRight = 3, // negative offset rising to 0
    };

    // Starts on that card, kept within the cards once they are added.
    explicit HUDEpisodeCarousel(int current);
    ~HUDEpisodeCarousel();
    HUDEpisodeCarousel(const HUDEpisodeCarousel&) = delete;
    HUDEpisodeCarousel& operator=(const HUDEpisodeCarousel&) = delete;

    // Takes the card's chapter picture over.
    void addCard(const HUDEpisodeCard& card);
    // The current card within [0, count - 1] (0 without cards).
    void clampCurrent();
    void startDrag(float x, float y);
    void drag(float x, float y);
    void release(float x, float y);
    // The slide and the drag clock.
    void update(float dt);
    void draw(render::Graphics* graphics);
    // Arrow steps: the row moves one card (only at rest and when there is a card that way).
    void stepLeft();
    void stepRight();
    int count() const { return static_cast<int>(mCards.size()); }

    std::vector<HUDEpisodeCard> mCards;
    float mLastX = 0.0f;
    float mLastY = 0.0f;
    int mCurrent = 0;
    float mFalloff = 0.45f;
    float mOffset = 0.0f;
    // Seconds since the drag started; a release with no drag before it reads a long time, never a flick.
    float mDragTime = 1000.0f;
    float mSpacing = 320.0f;
    int mState = kRest;
    std::function<void(int)> mOnEpisodeChanged;
    std::function<void()> mOnMoveStarted;
    std::function<void()> mOnMoveEnded;

private:
    void changed();
    void started();
    void ended();
};
