#pragma once

#include <vector>

namespace render
{
class Image;
}

class TDFrameEntry;
class TDPoint;

// The next-wave markers: one picture at each spawn point of the wave that comes next, kept inside the screen,
// and the wave-clock time at which that wave starts. A press on one calls the wave early.
class TDWaveCallMarkers
{
public:
    // The picture is the frame "ui/wave_hint" of the preloaded sheet "td/ui" (none when missing).
    TDWaveCallMarkers();
    TDWaveCallMarkers(const TDWaveCallMarkers&) = delete;
    TDWaveCallMarkers& operator=(const TDWaveCallMarkers&) = delete;
    ~TDWaveCallMarkers();

    // A marker at the point, clamped into the 1024 x 768 screen, below the top 100 and above the bottom 100
    // units. A null point adds nothing.
    void add(const TDPoint* point);
    void clear();
    // The map point lies strictly inside a marker.
    bool hitTest(int x, int y) const;

    const std::vector<TDFrameEntry*>& getMarkers() const { return mMarkers; }

    // Not owned.
    render::Image* mImage = nullptr;
    // Owned.
    std::vector<TDFrameEntry*> mMarkers;
    // Wave-clock seconds at which the next wave starts.
    float mDueTime = 0.0f;
};
