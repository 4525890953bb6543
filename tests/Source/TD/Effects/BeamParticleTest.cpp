#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Effects/TDBeamParticle.h"
#include "Source/TD/Sprites/TDTestSupport.h"

#include <gtest/gtest.h>

using tdtest::FakeUnit;

namespace
{

class Beam : public ::testing::Test
{
protected:
    void SetUp() override { tdtest::LoadTestParticles(); }
};

void ExpectPieces(const TDBeamParticle& beam, const std::vector<math::Point2>& want)
{
    ASSERT_EQ(beam.mEmitters.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i)
    {
        const math::Point2 at = beam.getPiecePosition(i);
        EXPECT_NEAR(at.x, want[i].x, 1e-3f) << "piece " << i;
        EXPECT_NEAR(at.y, want[i].y, 1e-3f) << "piece " << i;
    }
}

} // namespace

TEST_F(Beam, PiecesAndDirectionFromTheTarget)
{
    struct Case
    {
        float x, y;
        std::size_t pieces;
        float degrees;
    };
    const Case cases[] = {
        {0, 100, 4, 0}, {100, 0, 4, 90}, {0, -100, 4, 180}, {-100, 0, 4, 270},
        {0, 30, 1, 0},  {0, 31, 2, 0},   {0, 0, 0, 0}, // a target on the start point gives no piece
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "target (" << c.x << ", " << c.y << ")");
        FakeUnit unit(c.x, c.y);
        TDBeamParticle beam(0, 0, &unit, "t_line");
        EXPECT_EQ(beam.mEmitters.size(), c.pieces);
        if (c.pieces > 0)
        {
            EXPECT_NEAR(beam.getRotationDegrees(), c.degrees, 1e-3f);
        }
        for (const render::ParticleEmitter* piece : beam.mEmitters)
            EXPECT_EQ(piece->GetState(), 1);
        EXPECT_EQ(beam.mGrowth, 0.0f);
    }
}

TEST_F(Beam, GrowsToFullLengthInATenthOfASecondWithTheLastPieceEndingAtTheTarget)
{
    FakeUnit unit(10, 95);
    TDBeamParticle beam(10, 0, &unit, "t_line");
    beam.update(0.05f);
    EXPECT_FLOAT_EQ(beam.mGrowth, 0.5f);
    ExpectPieces(beam, {{10, 0}, {10, 15}, {10, 30}, {10, 32.5f}});
    beam.update(0.05f);
    EXPECT_FLOAT_EQ(beam.mGrowth, 1.0f);
    ExpectPieces(beam, {{10, 0}, {10, 30}, {10, 60}, {10, 65}});
    beam.update(0.5f);
    EXPECT_FLOAT_EQ(beam.mGrowth, 1.0f);
    EXPECT_TRUE(beam.isPlaying());
}

TEST_F(Beam, FollowsItsTarget)
{
    FakeUnit unit(0, 95);
    TDBeamParticle beam(0, 0, &unit, "t_line");
    // Moving away: every missing piece at once.
    unit.moveTo(0, 200);
    beam.update(0.02f);
    EXPECT_EQ(beam.mEmitters.size(), 7u);
    // Coming closer: one piece fewer per update.
    unit.moveTo(0, 50);
    std::vector<std::size_t> counts;
    for (int i = 0; i < 6; ++i)
    {
        beam.update(0.02f);
        counts.push_back(beam.mEmitters.size());
    }
    EXPECT_EQ(counts, (std::vector<std::size_t>{6, 5, 4, 3, 2, 2}));
    // Turning with it.
    unit.moveTo(-100, 0);
    beam.update(0.02f);
    EXPECT_NEAR(beam.getRotationDegrees(), 270.0f, 1e-3f);
    EXPECT_TRUE(beam.isPlaying());
}

TEST_F(Beam, UnknownEffectGivesAnEmptyBeamThatTheMapDrops)
{
    FakeUnit unit(0, 300);
    auto* beam = new TDBeamParticle(0, 0, &unit, "no_such_effect");
    EXPECT_TRUE(beam->mEmitters.empty());
    beam->update(0.02f); // must not keep asking for pieces it cannot get
    EXPECT_TRUE(beam->mEmitters.empty());
    std::vector<TDParticle*> particles = {beam};
    updateParticles(particles, 0.02f);
    EXPECT_TRUE(particles.empty());
}

TEST_F(Beam, ATargetThatGoesAwayStopsTheBeam)
{
    auto* unit = new FakeUnit(0, 100);
    auto* beam = new TDBeamParticle(0, 0, unit, "t_line");
    const TDWatch<TDBeamParticle> towerView(beam);
    std::vector<TDParticle*> particles = {beam};
    updateParticles(particles, 0.02f);
    ASSERT_EQ(particles.size(), 1u);

    delete unit;
    beam->update(0.02f);
    EXPECT_FALSE(beam->isPlaying());
    ExpectPieces(*beam, {{0, 0}, {0, 12}, {0, 24}, {0, 28}}); // at the last place read, grown to 0.4
    updateParticles(particles, 0.02f);
    EXPECT_TRUE(particles.empty());
    EXPECT_EQ(towerView.get(), nullptr);

    TDBeamParticle orphan(0, 0, nullptr, "t_line");
    EXPECT_TRUE(orphan.mEmitters.empty());
    orphan.update(0.02f);
    EXPECT_FALSE(orphan.isPlaying());
}
