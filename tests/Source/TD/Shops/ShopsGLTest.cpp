// Both shops on the GL back end in a window (under Xvfb), kept as upgrade_shop.png and gem_shop.png in the
// test's build folder: the upgrade shop's plates pass under its header when scrolled, the gem shop shows
// its plates and the badge of the second pack.
#include "ShopTestSupport.h"

#include "Core/Layer/Layer.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUDShopWindow.h"

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
        return pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(px)];
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

int channel(uint32_t c, int shift)
{
    return static_cast<int>((c >> shift) & 0xFF);
}

TEST(ShopsGL, BothShopsOnScreen)
{
    GameHarness harness(GameHarness::Backend::GL);
    shoptest::writeProfile(harness,
                           std::string(shoptest::kProgress) +
                               "<gems amount=\"12\"/><upgrades><upgrade id=\"1\" level=\"1\"/>"
                               "<upgrade id=\"2\" level=\"0\"/><upgrade id=\"3\" level=\"2\"/></upgrades>");
    if (!harness.start())
        GTEST_SKIP() << "needs a display with OpenGL 4.5 (run under xvfb-run)";
    TDMap* map = harness.map();
    map->mHud->openShop(0);
    harness.step(30);
    harness.move(shoptest::buyX(), shoptest::buyY(1));
    harness.step(30);
    const Picture shop = take(harness);
    ASSERT_GT(shop.width, 0);
    shop.save(std::string(CORV_SHOT_DIR) + "/upgrade_shop.png");
    // The first plate's face (blue) under its icon ring's edge, the header's gold rule over the list.
    const uint32_t plate = shop.at(640.0f, 215.0f);
    EXPECT_GT(channel(plate, 0), channel(plate, 16)) << std::hex << plate;
    const uint32_t rule = shop.at(200.0f, 197.0f);
    EXPECT_GT(channel(rule, 16), 150) << std::hex << rule;

    // Scrolled to the end, the first plate has passed under the header: the header's colours stand there.
    auto* window = shoptest::topWindow<HUDShopWindow>(harness);
    ASSERT_NE(window, nullptr);
    harness.wheel(500.0f, 400.0f, -1024);
    harness.step(2);
    const Picture scrolled = take(harness);
    scrolled.save(std::string(CORV_SHOT_DIR) + "/upgrade_shop_scrolled.png");
    EXPECT_FLOAT_EQ(window->mContainer->GetPosition().y, -420.0f);
    EXPECT_EQ(scrolled.at(400.0f, 150.0f), shop.at(400.0f, 150.0f)) << "the header covers the list";

    harness.click(512.0f, 698.0f);
    harness.step(30);
    ASSERT_EQ(map->mState, kStateGemShop);
    harness.move(660.0f, 582.0f);
    harness.step(30);
    const Picture gems = take(harness);
    gems.save(std::string(CORV_SHOT_DIR) + "/gem_shop.png");
    // The "most popular" badge on the second plate is red; the first plate's rim is gold.
    const uint32_t badge = gems.at(560.0f, 170.0f);
    EXPECT_GT(channel(badge, 16), channel(badge, 8) + 60) << std::hex << badge;
    EXPECT_GT(channel(gems.at(90.0f, 300.0f), 16), 120) << std::hex << gems.at(90.0f, 300.0f);
    // Each plate's price text stands white on its green bar.
    for (const math::Point2 bar : {math::Point2(386.0f, 387.0f), math::Point2(533.0f, 663.0f)})
    {
        int white = 0;
        for (float x = bar.x - 80.0f; x < bar.x + 80.0f; x += 1.0f)
            for (float y = bar.y - 12.0f; y < bar.y + 12.0f; y += 1.0f)
                white += channel(gems.at(x, y), 8) > 220 && channel(gems.at(x, y), 0) > 220 ? 1 : 0;
        EXPECT_GT(white, 100) << bar.x;
    }
}

} // namespace
