#include "Source/TD/Sprites/TDTestSupport.h"
#include "Source/TD/Sprites/TDAnimatedSprite.h"
#include "Source/TD/Sprites/TDSprite.h"

#include <gtest/gtest.h>

#include <cmath>

using tdtest::FixtureFrame;

namespace
{

class AnimatedSprite : public tdtest::SheetDrawFixture
{
protected:
    void SetUp() override
    {
        SheetDrawFixture::SetUp();
        // Ten 10 x 10 frames drawn at the marker, so a sprite at (x, y) covers (x, y) to (x + 10, y + 10).
        std::vector<FixtureFrame> frames = {{"s_point", L"p", math::Rect(0, 0, 1, 1)}};
        for (int i = 0; i < 10; ++i)
            frames.push_back({"", L"f" + std::to_wstring(i), math::Rect(0, 0, 10, 10)});
        tdtest::RegisterSheet(L"td/fx10", frames);
    }

    // Draws the sprite; the alpha byte of its quad, or -1 when nothing was drawn.
    int DrawnAlpha(TDAnimatedSprite& sprite)
    {
        const uint32_t before = Used2D();
        sprite.draw(graphics.get());
        EXPECT_EQ(graphics->mColor, render::Color(1, 1, 1, 1));
        if (Used2D() == before)
            return -1;
        return static_cast<int>(Last<render::SVertex2D>(4)[0].diffuse >> 24);
    }

    math::Point2 DrawnCorner(TDAnimatedSprite& sprite)
    {
        sprite.draw(graphics.get());
        const render::SVertex2D* v = Last<render::SVertex2D>(4);
        return math::Point2(v[0].x + 0.5f, v[0].y + 0.5f);
    }
};

// Counts deletions of the sprites it makes.
struct CountedSprite : TDSprite
{
    explicit CountedSprite(int* deleted) : deleted(deleted) {}
    ~CountedSprite() override { ++*deleted; }
    int* deleted;
};

} // namespace

TEST_F(AnimatedSprite, PlaysOnceThenDiesAndFadesOverItsLastFifthOfASecond)
{
    TDAnimatedSprite sprite(L"td/fx10");
    EXPECT_EQ(sprite.mAnimation.mFps, 20.0f);
    EXPECT_FLOAT_EQ(sprite.getDuration(), 0.5f);
    while (sprite.isAlive() && sprite.mAge < 1.0f)
        sprite.update(0.01f);
    // It dies in the update where the age passes (10 - 1) / 20 s.
    EXPECT_GT(sprite.mAge, 0.449f);
    EXPECT_LT(sprite.mAge, 0.461f);

    struct Case
    {
        float age;
        int alpha;
    };
    const Case cases[] = {{0.2f, 255}, {0.29f, 255}, {0.35f, 191}, {0.4f, 127}, {0.5f, 0}, {0.6f, 0}};
    TDAnimatedSprite fading(L"td/fx10");
    fading.mDelay = -0.1f;
    for (const Case& c : cases)
    {
        fading.mAge = c.age;
        EXPECT_EQ(DrawnAlpha(fading), c.alpha) << "age " << c.age;
    }
}

TEST_F(AnimatedSprite, LoopingSpriteStaysAliveAndWrapsItsAge)
{
    TDAnimatedSprite sprite(L"td/fx10");
    sprite.mLoop = 1;
    sprite.mAge = 0.44f;
    sprite.mDelay = 0.3f;
    sprite.update(0.02f);
    EXPECT_TRUE(sprite.isAlive());
    EXPECT_NEAR(sprite.mAge, -0.04f, 1e-5f);
    EXPECT_EQ(sprite.mDelay, 0.0f);
}

TEST_F(AnimatedSprite, DelayedSpriteIsHiddenUntilItsDelayHasPassed)
{
    TDAnimatedSprite sprite(L"td/fx10");
    sprite.mLoop = 1;
    sprite.mDelay = 0.5f;
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(DrawnAlpha(sprite), -1) << "update " << i;
        EXPECT_EQ(sprite.mAnimation.mTime, 0.0f);
        sprite.update(0.125f);
    }
    // Exactly at 0 the delay is over for the animation but the sprite is not drawn yet.
    EXPECT_EQ(sprite.mDelay, 0.0f);
    EXPECT_EQ(sprite.mAnimation.mTime, 0.125f);
    EXPECT_EQ(DrawnAlpha(sprite), -1);
    sprite.update(0.125f);
    EXPECT_EQ(DrawnAlpha(sprite), 255);
}

TEST_F(AnimatedSprite, WithoutAFrameRateAPlayOnceSpriteHasFinished)
{
    TDAnimatedSprite once(L"td/fx10");
    once.mAnimation.mFps = 0.0f;
    EXPECT_EQ(once.getDuration(), 0.0f);
    once.update(0.01f);
    EXPECT_FALSE(once.isAlive());

    TDAnimatedSprite looping(L"td/fx10");
    looping.mAnimation.mFps = 0.0f;
    looping.mLoop = 1;
    for (int i = 0; i < 3; ++i)
        looping.update(0.5f);
    EXPECT_TRUE(looping.isAlive());
    EXPECT_EQ(looping.mAge, 0.0f);
    EXPECT_TRUE(std::isfinite(looping.mAnimation.mTime));

    // A sheet without frames plays nothing: finished at once.
    TDAnimatedSprite empty(L"td/nothing_here");
    empty.update(0.01f);
    EXPECT_FALSE(empty.isAlive());
    EXPECT_EQ(DrawnAlpha(empty), -1);
}

TEST_F(AnimatedSprite, FollowsAUnitAndOutlivesItSafely)
{
    TDAnimatedSprite sprite(L"td/fx10");
    sprite.mLoop = 1;
    sprite.mX = 5;
    sprite.mY = 6;
    sprite.update(0.01f);
    math::Point2 at = DrawnCorner(sprite);
    EXPECT_FLOAT_EQ(at.x, 5.0f);
    EXPECT_FLOAT_EQ(at.y, 6.0f);

    auto* unit = new tdtest::FakeUnit(300, 400);
    sprite.follow(unit);
    sprite.follow(nullptr); // changes nothing
    at = DrawnCorner(sprite);
    EXPECT_FLOAT_EQ(at.x, 300.0f);
    EXPECT_FLOAT_EQ(at.y, 400.0f);

    unit->moveTo(310, 410);
    sprite.update(0.01f);
    unit->moveTo(320, 420);
    at = DrawnCorner(sprite);
    EXPECT_FLOAT_EQ(at.x, 320.0f);

    // The unit goes away: the sprite stays where its last update saw the unit.
    delete unit;
    EXPECT_TRUE(sprite.mFollowed.lost());
    at = DrawnCorner(sprite);
    EXPECT_FLOAT_EQ(at.x, 310.0f);
    EXPECT_FLOAT_EQ(at.y, 410.0f);
    sprite.update(0.01f);
    EXPECT_TRUE(sprite.isAlive());
}

TEST(SpriteList, UpdatePrunesDeadSpritesAndEraseDeletesByPointer)
{
    int deleted = 0;
    std::vector<TDSprite*> sprites;
    for (int i = 0; i < 4; ++i)
    {
        sprites.push_back(new CountedSprite(&deleted));
        sprites.back()->mName = std::to_wstring(i);
    }
    const TDWatch<TDSprite> dying(sprites[1]);
    const TDWatch<TDSprite> kept(sprites[2]);
    sprites[1]->mAlive = false;
    sprites[3]->mAlive = false;
    updateSprites(sprites, 0.1f);
    ASSERT_EQ(sprites.size(), 2u);
    EXPECT_EQ(sprites[0]->mName, L"0");
    EXPECT_EQ(sprites[1]->mName, L"2");
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(dying.get(), nullptr);
    EXPECT_EQ(kept.get(), sprites[1]);

    CountedSprite outsider(&deleted);
    eraseAndDelete(sprites, &outsider);
    eraseAndDelete(sprites, dying.get());
    EXPECT_EQ(sprites.size(), 2u);
    EXPECT_EQ(deleted, 2);
    eraseAndDelete(sprites, kept.get());
    ASSERT_EQ(sprites.size(), 1u);
    EXPECT_EQ(sprites[0]->mName, L"0");
    EXPECT_EQ(deleted, 3);
    EXPECT_EQ(kept.get(), nullptr);
    delete sprites[0];
}
