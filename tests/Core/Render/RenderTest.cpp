#include "Core/Render/Render.h"

#include "Core/Render/RecordingRender.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Render/Texture.h"
#include "RenderTestUtil.h"

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include <memory>

using namespace render;
using Lines = std::vector<std::string>;

namespace
{

class RenderCore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RenderInitParam param;
        param.mWidth = 1366;
        param.mHeight = 768;
        ASSERT_EQ(r.InitRender(nullptr, param), VN_OK);
        state.mShader = r.GetTexturedMultShader()->GetImpl();
        state.mBlendMode = BlendAlpha;
        r.GetTexturedMultShader()->SetProjection(&r.GetProjection());
    }

    // Plays the frame back and returns what the back end was asked, from the first draw-related record on.
    Lines Play()
    {
        EXPECT_EQ(r.Playback(), VN_OK);
        return r.TakeLog();
    }

    VNResultEnum Quad(float x, float y, float w = 10, float h = 10)
    {
        const test::QuadWriter::Quad q{x, y, w, h};
        return writer.Draw(state, &q, 1);
    }

    RecordingRender r;
    GraphicsState state;
    test::QuadWriter writer{r};
};

} // namespace

TEST_F(RenderCore, EmptyFramePlaysBeginEndPresent)
{
    ASSERT_TRUE(r.CheckDevice());
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    ASSERT_EQ(r.Present(), VN_OK);
    EXPECT_EQ(Play(), (Lines{"BeginScene", "EndScene", "Present"}));
    // The next frame records over the same bytes.
    EXPECT_EQ(r.GetCommandBuffer().Position(), 0u);
}

TEST_F(RenderCore, ConsecutiveQuadsMergeIntoOneIndexedDraw)
{
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    ASSERT_EQ(Quad(20, 0), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    const Lines log = Play();
    ASSERT_GE(log.size(), 2u);
    // State of the first draw, then one draw of 4 triangles over the union of both vertex ranges.
    EXPECT_EQ(log, (Lines{"BeginScene", "SetShader S1", "SetVertexFormat 0", "SetVertexBuffer V1",
                          "SetIndexBuffer I1", "SetBlendMode 1", "SetMatrix Proj 0.00146413 -0.00260417",
                          "SetTexture null", "DrawIndexedPrimitive 3 2 0 4 0 8", "EndScene"}));
}

TEST_F(RenderCore, AStateChangeBetweenDrawsSplitsThem)
{
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    state.mBlendMode = BlendAdditive;
    ASSERT_EQ(Quad(20, 0), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    Lines log = Play();
    const Lines tail(log.end() - 4, log.end());
    EXPECT_EQ(tail, (Lines{"DrawIndexedPrimitive 3 2 0 2 0 4", "SetBlendMode 2",
                           "DrawIndexedPrimitive 3 2 6 2 4 4", "EndScene"}));
}

TEST_F(RenderCore, StripsAreNeverMergedListsAre)
{
    state.mShader = r.GetGeomShader()->GetImpl();
    r.SetState(&state, true);
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(r.DrawPrimitive(TriangleStrip, 0, 2), VN_OK);
    ASSERT_EQ(r.DrawPrimitive(TriangleStrip, 4, 2), VN_OK);
    ASSERT_EQ(r.DrawPrimitive(LineList, 8, 1), VN_OK);
    ASSERT_EQ(r.DrawPrimitive(LineList, 10, 2), VN_OK); // continues 8 + 1 × 2
    ASSERT_EQ(r.DrawPrimitive(LineList, 20, 1), VN_OK); // a gap: a new draw
    ASSERT_EQ(r.EndFrame(), VN_OK);
    Lines draws;
    for (const std::string& l : Play())
        if (l.rfind("Draw", 0) == 0)
            draws.push_back(l);
    EXPECT_EQ(draws, (Lines{"DrawPrimitive 4 0 2", "DrawPrimitive 4 4 2", "DrawPrimitive 1 8 3",
                            "DrawPrimitive 1 20 1"}));
}

TEST_F(RenderCore, TargetChangeReRecordsScissorEvenWhenOffAndUnchanged)
{
    Image* target = nullptr;
    ASSERT_EQ(r.CreateRenderTarget(64, 32, &target, true), VN_OK);
    std::unique_ptr<Image> owner(target);
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    r.TakeLog();
    GraphicsState inTarget = state;
    inTarget.mRenderTarget = target->GetTexture();
    std::swap(state, inTarget);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    std::swap(state, inTarget);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    Lines log = Play();
    Lines filtered;
    for (const std::string& l : log)
        if (l.rfind("SetRenderTarget", 0) == 0 || l.rfind("SetScissor", 0) == 0)
            filtered.push_back(l);
    // The first draw changes no target; each change after it re-records both scissor records.
    EXPECT_EQ(filtered, (Lines{"SetRenderTarget T1", "SetScissorEnabled 0", "SetScissorRect 0 0 0 0",
                               "SetRenderTarget null", "SetScissorEnabled 0", "SetScissorRect 0 0 0 0"}));
}

TEST_F(RenderCore, ScissorRectangleIsMappedToPixels)
{
    RenderInitParam param;
    param.mWidth = 800;
    param.mHeight = 600;
    param.mScaleX = 2.0f;
    param.mScaleY = 0.5f;
    param.mOffsetX = 10.0f;
    param.mOffsetY = -4.0f;
    ASSERT_EQ(r.SwitchScreenMode(param), VN_OK);
    state.mScaleX = 2.0f;
    state.mScaleY = 0.5f;
    state.mOffsetX = 10.0f;
    state.mOffsetY = -4.0f;
    state.mScissorOn = true;
    state.mScissorRect = math::Rect(5, 20, 100.7f, 50);
    r.TakeLog();
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    Lines scissor;
    for (const std::string& l : Play())
        if (l.rfind("SetScissor", 0) == 0)
            scissor.push_back(l);
    EXPECT_EQ(scissor, (Lines{"SetScissorEnabled 1", "SetScissorRect 30 8 201 25"}));
}

TEST_F(RenderCore, FailedDeviceCheckDropsWhatWasRecorded)
{
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    ASSERT_GT(r.GetCommandBuffer().Position(), 0u);
    r.mDeviceUsable = false;
    EXPECT_FALSE(r.CheckDevice());
    EXPECT_EQ(r.GetCommandBuffer().Position(), 0u);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    r.mDeviceUsable = true;
    ASSERT_TRUE(r.CheckDevice());
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    ASSERT_EQ(r.Present(), VN_OK);
    const Lines log = Play();
    // The dropped draw is gone with its state records, and the state it set is recorded again when needed.
    EXPECT_EQ(log, (Lines{"EndScene", "BeginScene", "EndScene", "Present"}));
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    const Lines again = Play();
    EXPECT_NE(std::find(again.begin(), again.end(), "SetShader S1"), again.end());
    EXPECT_NE(std::find(again.begin(), again.end(), "SetMatrix Proj 0.00146413 -0.00260417"), again.end());
}

TEST_F(RenderCore, FailingBackEndStopsPlaybackAndRewinds)
{
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    ASSERT_EQ(r.Present(), VN_OK);
    r.mFailOn = "SetBlendMode";
    EXPECT_EQ(r.Playback(), VN_FAIL);
    Lines log = r.TakeLog();
    EXPECT_EQ(log.back(), "SetBlendMode 1");
    EXPECT_EQ(r.GetCommandBuffer().Position(), 0u);
    // The next frame plays from the start, not the tail of the failed one.
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    EXPECT_EQ(Play(), (Lines{"BeginScene", "EndScene"}));
    // The device took an unknown part of the failed frame: every state is recorded again, unchanged or not.
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    const Lines again = Play();
    for (const char* expected :
         {"SetRenderTarget null", "SetShader S1", "SetBlendMode 1", "SetScissorEnabled 0", "SetDepth 0 0",
          "SetMatrix Proj 0.00146413 -0.00260417"})
        EXPECT_NE(std::find(again.begin(), again.end(), expected), again.end()) << expected;
}

TEST_F(RenderCore, DepthRecordCarriesWriteOnlyWhileTesting)
{
    state.mShader = r.GetGeomShader()->GetImpl();
    CommandBuffer& b = r.GetCommandBuffer();
    state.mDepthTest = true;
    state.mDepthWrite = false;
    r.SetState(&state, true);
    const uint32_t start = b.Position();
    ASSERT_EQ(r.DrawPrimitive(TriangleList, 0, 1), VN_OK);
    // Find the CmdSetDepth record: opcode then two bytes (test 1, write 0).
    const uint8_t* data = b.GetData();
    bool found = false;
    for (uint32_t p = start; p + 6 <= b.Position(); ++p)
    {
        uint32_t op;
        std::memcpy(&op, data + p, 4);
        if (op == CmdSetDepth && data[p + 4] == 1 && data[p + 5] == 0)
            found = true;
    }
    EXPECT_TRUE(found);
    state.mDepthTest = false;
    r.SetState(&state, true);
    ASSERT_EQ(r.DrawPrimitive(TriangleList, 0, 1), VN_OK);
    r.EndFrame();
    Lines depth;
    for (const std::string& l : Play())
        if (l.rfind("SetDepth", 0) == 0)
            depth.push_back(l);
    EXPECT_EQ(depth, (Lines{"SetDepth 1 0", "SetDepth 0 0"}));
}

TEST_F(RenderCore, SetStateComparesOnlyWhatMatters)
{
    GraphicsState a;
    a.mScissorRect = math::Rect(1, 2, 3, 4); // scissor off: the rectangle is not taken
    a.mDepthWrite = false;                   // depth test off: the write flag is not taken
    r.SetState(&a, false);
    EXPECT_EQ(r.GetRequestedState().mScissorRect, math::Rect());
    EXPECT_TRUE(r.GetRequestedState().mDepthWrite);

    // The same source is not read again unless forced.
    a.mBlendMode = BlendAdditive;
    r.SetState(&a, false);
    EXPECT_EQ(r.GetRequestedState().mBlendMode, BlendNone);
    r.SetState(&a, true);
    EXPECT_EQ(r.GetRequestedState().mBlendMode, BlendAdditive);

    // The mapping travels only with a target change.
    GraphicsState b = a;
    b.mScaleX = 3.0f;
    r.SetState(&b, false);
    EXPECT_EQ(r.GetRequestedState().mScaleX, 1.0f);
    Image* target = nullptr;
    ASSERT_EQ(r.CreateRenderTarget(8, 8, &target, false), VN_OK);
    std::unique_ptr<Image> owner(target);
    b.mRenderTarget = target->GetTexture();
    r.SetState(&b, true);
    EXPECT_EQ(r.GetRequestedState().mScaleX, 3.0f);
}

TEST_F(RenderCore, ShaderConstantsAreResentOnlyWhenChangedOrRebound)
{
    Texture* t1 = nullptr;
    ASSERT_EQ(r.CreateTexture(&t1), VN_OK);
    std::unique_ptr<Texture> o1(t1);
    ShaderTextured* a = r.GetTexturedMultShader();
    ShaderTextured* b = r.GetTexturedTintShader();
    a->SetTexture(t1);
    b->SetProjection(&r.GetProjection());
    b->SetTexture(t1);
    auto constantsIn = [](const Lines& log)
    {
        Lines out;
        for (const std::string& l : log)
            if (l.rfind("SetMatrix", 0) == 0 || l.rfind("SetTexture", 0) == 0 || l.rfind("SetShader", 0) == 0)
                out.push_back(l);
        return out;
    };

    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    ASSERT_EQ(Quad(50, 0), VN_OK); // same texture and projection: nothing resent
    state.mShader = b->GetImpl();
    ASSERT_EQ(Quad(100, 0), VN_OK);
    state.mShader = a->GetImpl();
    ASSERT_EQ(Quad(150, 0), VN_OK); // back to A: all of A's constants again
    ASSERT_EQ(r.EndFrame(), VN_OK);
    EXPECT_EQ(constantsIn(Play()),
              (Lines{"SetShader S1", "SetMatrix Proj 0.00146413 -0.00260417", "SetTexture T1", "SetShader S2",
                     "SetMatrix Proj 0.00146413 -0.00260417", "SetTexture T1", "SetShader S1",
                     "SetMatrix Proj 0.00146413 -0.00260417", "SetTexture T1"}));
}

TEST_F(RenderCore, UnknownConstantSetterDoesNothing)
{
    r.mShaderConstants = {{"Proj", 0}};
    ShaderImpl* impl = nullptr;
    ASSERT_EQ(r.CreateShader("", "", &impl), VN_OK);
    std::unique_ptr<ShaderImpl> owner(impl);
    ShaderScalarVariable<math::Point4, 1>* color2 = nullptr;
    // The setup succeeds even for a constant the program lacks (optimised away); setting it must not fail a
    // frame.
    ASSERT_EQ(impl->AddVariable("color2", ShaderImpl::kPixelTable, &color2), VN_OK);
    color2->Set(math::Point4(1, 0, 0, 1));
    state.mShader = impl;
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    const Lines log = Play();
    EXPECT_NE(std::find(log.begin(), log.end(), "SetPoint4 missing:color2 1 0 0 1"), log.end());
    EXPECT_EQ(log.back(), "EndScene");
}

TEST_F(RenderCore, CachesRestartEachFrameAndRefuseDoubleBegin)
{
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    EXPECT_EQ(r.GetVertexCache(0)->BeginFrame(), VN_FAIL);
    ASSERT_EQ(Quad(0, 0), VN_OK);
    ASSERT_EQ(r.EndFrame(), VN_OK);
    EXPECT_EQ(r.GetVertexCache(0)->EndFrame(), VN_FAIL);
    ASSERT_EQ(r.Playback(), VN_OK);
    r.TakeLog();
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    ASSERT_EQ(Quad(0, 0), VN_OK); // first vertex 0 again: buffers count as empty in a new frame
    ASSERT_EQ(r.EndFrame(), VN_OK);
    const Lines log = Play();
    EXPECT_NE(std::find(log.begin(), log.end(), "DrawIndexedPrimitive 3 2 0 2 0 4"), log.end());
    EXPECT_EQ(r.GetVertexCache(2), nullptr); // SVertexRT has no cache
    EXPECT_NE(r.GetIndexCache32(), nullptr);
}
