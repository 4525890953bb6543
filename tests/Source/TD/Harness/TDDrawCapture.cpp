#include "Source/TD/Harness/TDDrawCapture.h"

#include "Core/Render/BufferDoubleCache.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Render/VertexFormat.h"

#include <gtest/gtest.h>

namespace tdtest
{

namespace
{
using ImageCache = render::BufferDoubleCache<render::VertexBuffer<render::SVertex2D>>;

render::VertexBufferImpl* imageBuffer(const render::RecordingRender* recording)
{
    auto* cache = static_cast<ImageCache*>(recording->GetVertexCache(render::SVertex2D::Format().mId));
    return cache->GetFirst()->GetImpl();
}
} // namespace

RecordedFrame::RecordedFrame(render::RecordingRender* recording) : mRecording(recording)
{
    EXPECT_NE(recording, nullptr);
    if (!recording)
        return;
    EXPECT_FALSE(recording->IsFrameOpen());
    EXPECT_EQ(recording->BeginFrame(), VN_OK);
    mGraphics = std::make_unique<render::Graphics>(recording);
}

RecordedFrame::~RecordedFrame()
{
    mGraphics.reset();
    if (mRecording && mRecording->IsFrameOpen())
    {
        (void)mRecording->EndFrame();
        (void)mRecording->Playback();
    }
}

uint32_t RecordedFrame::mark() const
{
    return mRecording ? imageBuffer(mRecording)->GetUsed() : 0;
}

std::vector<Quad> RecordedFrame::quadsSince(uint32_t mark) const
{
    std::vector<Quad> quads;
    const uint32_t now = this->mark();
    if (now <= mark)
        return quads;
    void* end = nullptr;
    uint32_t got = 0;
    EXPECT_EQ(imageBuffer(mRecording)->Reserve(0, &end, &got), VN_OK);
    const auto* v = static_cast<const render::SVertex2D*>(end) - (now - mark);
    // Four corners a quad, top-left first and bottom-right third; every vertex sits half a unit up and left
    // of the point it stands for.
    for (uint32_t i = 0; i + 3 < now - mark; i += 4)
        quads.push_back(Quad{v[i].x + 0.5f, v[i].y + 0.5f, v[i + 2].x + 0.5f, v[i + 2].y + 0.5f});
    return quads;
}

} // namespace tdtest
