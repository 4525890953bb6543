#pragma once

// What the game draws on the harness's recording back end, read back from the frame's vertex buffer: a frame
// opened with a graphics context over it, and the image quads written to it since a mark.

#include "Core/Base/MathTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace render
{
class Graphics;
class RecordingRender;
} // namespace render

namespace tdtest
{
// An image quad as written: its top-left and bottom-right corners on the logical screen.
struct Quad
{
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;

    float width() const { return right - left; }
    float height() const { return bottom - top; }
    math::Point2 centre() const { return math::Point2((left + right) * 0.5f, (top + bottom) * 0.5f); }
};

// A frame of the recording back end, open while this lives (no other may be open meanwhile: the harness's
// step draws a frame of its own); it is ended and played back at the end.
class RecordedFrame
{
public:
    explicit RecordedFrame(render::RecordingRender* recording);
    ~RecordedFrame();
    RecordedFrame(const RecordedFrame&) = delete;
    RecordedFrame& operator=(const RecordedFrame&) = delete;

    render::Graphics* graphics() const { return mGraphics.get(); }
    // Image vertices written so far in this frame.
    uint32_t mark() const;
    // The image quads written since the mark, in order.
    std::vector<Quad> quadsSince(uint32_t mark) const;

private:
    render::RecordingRender* mRecording;
    std::unique_ptr<render::Graphics> mGraphics;
};

} // namespace tdtest
