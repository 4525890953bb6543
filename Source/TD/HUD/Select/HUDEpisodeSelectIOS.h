#pragma once

#include "Source/TD/HUD/HUDWindow.h"

#include <memory>

class HUDEpisodeCarousel;

// The episode select: every episode of the episode table as a card on a carousel, the player's star total,
// and the buttons back, shop, play and the two arrows. "play" (or a release on the middle card at rest)
// answers the card's index when that episode is open; the map then opens its level select.
class HUDEpisodeSelectIOS : public HUDWindow
{
public:
    enum Fade
    {
        kSteady = 0,
        kFadingOut = 1,
        kHidden = 2,
        kFadingIn = 3,
    };

    HUDEpisodeSelectIOS();
    ~HUDEpisodeSelectIOS() override;

    // Appends the card of episode number n (from 1).
    void addEpisodeCard(int n);
    void draw(render::Graphics* graphics) override;
    void update(float dt) override;
    void mouseMove(int x, int y) override;
    void mouseUp(int x, int y) override;
    void mouseDown(int x, int y) override;
    // The open episode under "play" or the middle card at rest; arrow steps; else -1.
    int hitTest(int x, int y) override;

    void onEpisodeChanged(int index);
    void onMoveStarted();
    void onMoveEnded();

    std::unique_ptr<HUDEpisodeCarousel> mCarousel;
    int mFadeState = kSteady;
    bool mDragArmed = false;
    // Shared by the cards; owned.
    std::unique_ptr<TDFrameEntry> mLockImage;
    std::unique_ptr<TDFrameEntry> mNewImage;
};
