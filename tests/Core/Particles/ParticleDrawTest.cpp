#include "Core/Base/AABB.h"
#include "Core/Particles/Lib/PtcFormat.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Render/RenderInitParam.h"
#include "Core/Render/Transform2D.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace render;

namespace
{
// "mixed": 2 alpha particles on atlas 0, 3 additive ones on atlas 1, 1 on atlas 9 (not loaded); 4 × 4 units
// each.
std::vector<std::uint8_t> MixedFile()
{
    auto type = [](std::uint16_t atlas, bool additive, std::uint32_t burst)
    {
        ptl::ParticleTypeDesc t;
        t.atlas = atlas;
        t.additive = additive;
        t.rate = 0.0f;
        t.burst = burst;
        t.lifeMin = t.lifeMax = 5.0f;
        t.spread = 0.0f;
        t.sizeStart = t.sizeEnd = 4.0f;
        t.colorStart = t.colorEnd = 0xFF808080;
        return t;
    };
    ptl::PtcDesc d;
    d.atlases = {"a.png", "b.png"};
    ptl::EmitterDesc e;
    e.name = "mixed";
    e.duration = 5.0f;
    e.types = {type(0, false, 2), type(1, true, 3), type(9, false, 1)};
    d.root.emitters = {e};
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ptl::WritePtc(d, bytes));
    return bytes;
}

std::vector<std::string> Matching(const std::vector<std::string>& log, const std::string& prefix)
{
    std::vector<std::string> out;
    for (const std::string& line : log)
        if (line.rfind(prefix, 0) == 0)
            out.push_back(line);
    return out;
}
} // namespace

TEST(ParticleDraw, EachListIsOneIndexedDrawWithItsBlendAndTheGraphicsBlendIsRestored)
{
    RecordingRender r;
    RenderInitParam param;
    param.mWidth = 1366;
    param.mHeight = 768;
    ASSERT_EQ(r.InitRender(nullptr, param), VN_OK);

    ParticleSystem sys;
    auto bytes = MixedFile();
    ASSERT_TRUE(sys.LoadFromMemory(bytes.data(), bytes.size(), nullptr));
    sys.SetAtlas(0, new Image());
    sys.SetAtlas(1, new Image());
    std::unique_ptr<ParticleEmitter> e(sys.GetEmitter("mixed"));
    e->SetPosition(math::Point2(100.0f, 50.0f), 0);

    int count = -1;
    math::AABB before, after;
    ASSERT_EQ(r.BeginFrame(), VN_OK);
    {
        Graphics g(&r);
        g.SetColor(1.0f, 1.0f, 1.0f, 0.5f);
        {
            auto p = g.DrawParticles(e.get());
            p->mOutCount = &count;
        }
        EXPECT_EQ(count, 0); // stopped: nothing drawn

        e->SetState(1);
        Transform2D shift;
        shift.Translate(10.0f, 0.0f);
        {
            auto p = g.DrawParticles(e.get()).Transform(shift);
            p->mOutCount = &count;
            p->mOutBounds = &before;
            p->mOutBoundsTransformed = &after;
        }
        EXPECT_EQ(g.mState.mBlendMode, BlendAlpha);
        // A later image draw is not additive.
    }
    ASSERT_EQ(r.EndFrame(), VN_OK);
    ASSERT_EQ(r.Playback(), VN_OK);
    const std::vector<std::string> log = r.TakeLog();

    EXPECT_EQ(count, 5); // the list on the missing atlas is skipped
    EXPECT_FLOAT_EQ(before.mMin.x, 98.0f);
    EXPECT_FLOAT_EQ(before.mMax.x, 102.0f);
    EXPECT_FLOAT_EQ(before.mMin.y, 48.0f);
    EXPECT_FLOAT_EQ(after.mMin.x, 108.0f);
    EXPECT_FLOAT_EQ(after.mMax.y, 52.0f);
    const auto draws = Matching(log, "DrawIndexedPrimitive");
    ASSERT_EQ(draws.size(), 2u) << ::testing::PrintToString(log);
    const auto blends = Matching(log, "SetBlendMode");
    ASSERT_FALSE(blends.empty());
    EXPECT_NE(std::find(blends.begin(), blends.end(), "SetBlendMode 2"), blends.end())
        << ::testing::PrintToString(log);
}
