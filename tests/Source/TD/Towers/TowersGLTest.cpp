// Towers on the GL back end (under Xvfb): on level 1-1 a scripted session buys the spot for money, builds every
// family of tower, upgrades four (a two-star dart, two branches and the beacon), sells one and casts a spell;
// the picture, kept as towers_01_01.png in the test's build folder, shows a tower on each standing tower's
// spot, none over the sold one's, and the spell's fire.
#include "Source/TD/Game.h"
#include "Source/TD/TDSpell.h"
#include "TowerFixture.h"

#include <png.h>

namespace
{
using tdtest::GameHarness;

struct Picture
{
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    math::Rect visible;

    uint32_t at(float x, float y) const
    {
        const int px = static_cast<int>((x - visible.x) * static_cast<float>(width) / visible.width);
        const int py = static_cast<int>((y - visible.y) * static_cast<float>(height) / visible.height);
        if (px < 0 || py < 0 || px >= width || py >= height)
            return 0;
        return pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(width) + static_cast<std::size_t>(px)];
    }
    // Pixels around the point that differ from another picture.
    int changedAround(const Picture& other, float x, float y, float half) const
    {
        int changed = 0;
        for (float v = y - half; v < y + half; v += 2.0f)
            for (float u = x - half; u < x + half; u += 2.0f)
                changed += at(u, v) != other.at(u, v) ? 1 : 0;
        return changed;
    }
    void save(const std::string& path) const
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(width);
        image.height = static_cast<png_uint_32>(height);
        image.format = PNG_FORMAT_BGRA;
        png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr);
    }
};

Picture take(const GameHarness& harness)
{
    Picture picture;
    picture.pixels = harness.readFrame(picture.width, picture.height);
    picture.visible = harness.game()->GetVisibleRect();
    return picture;
}

TEST(TowersGL, BuiltUpgradedAndSoldTowersAndASpellOnLevelOne)
{
    GameHarness harness(GameHarness::Backend::GL);
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    ASSERT_EQ(map->mState, kStatePlaying);
    map->mWaves->mActive.clear();
    harness.step(30);
    const Picture empty = take(harness);

    map->mEconomy->mMoney = 5000;
    std::vector<TDFrameEntry*> spots;
    for (TDFrameEntry* frame : map->mLevelArt->mSpotFrames)
        if (frame->mLink && (frame->mLink->mOwned || map->buySpot(frame)))
            spots.push_back(frame);
    ASSERT_GE(spots.size(), 6u);
    const int kinds[] = {10000, 20000, 30000, 40000, 10000, 10000};
    std::vector<TDTower*> towers;
    for (std::size_t i = 0; i < 6; ++i)
    {
        TDTower* tower = map->buildTower(map->mProtoTable->find(kinds[i]), spots[i]);
        ASSERT_NE(tower, nullptr);
        towers.push_back(tower);
    }
    ASSERT_TRUE(towers[0]->upgrade(2, 0.0f)); // two stars
    ASSERT_TRUE(towers[1]->upgrade(4, 0.0f)); // the anchor cannon
    ASSERT_TRUE(towers[3]->upgrade(4, 0.0f)); // the treasury
    ASSERT_TRUE(towers[4]->upgrade(4, 0.0f)); // the war beacon
    TDFrameEntry* soldSpot = towers[5]->mSpotFrame;
    map->sellTower(towers[5]);
    towers.pop_back();
    ASSERT_NE(map->castSpell(0, 520.0f, 410.0f), nullptr);
    harness.step(100); // the towers have faded in, the upgrade sparkles are gone
    const Picture shown = take(harness);
    shown.save(std::string(CORV_SHOT_DIR) + "/towers_01_01.png");

    for (const TDTower* tower : towers)
    {
        EXPECT_FLOAT_EQ(tower->mAlpha, 1.0f);
        EXPECT_GT(shown.changedAround(empty, tower->mBaseX, tower->mBaseY - 20.0f, 20.0f), 40)
            << "a tower at " << tower->mBaseX << "," << tower->mBaseY;
    }
    const float sx = soldSpot->mRect.x + soldSpot->mRect.width * 0.5f;
    const float sy = soldSpot->mRect.y + soldSpot->mRect.height * 0.5f;
    // The spot (bought, so its picture changed) is shown again and nothing stands above it.
    EXPECT_TRUE(soldSpot->mVisible);
    EXPECT_LT(shown.changedAround(empty, sx, sy - 55.0f, 12.0f), 10) << "the sold tower is gone";
    EXPECT_GT(shown.changedAround(empty, 520.0f, 410.0f, 40.0f), 40) << "the spell's fire";
}

} // namespace
