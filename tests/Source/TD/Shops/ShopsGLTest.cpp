// Both shops on the GL back end in a window (under Xvfb), kept as upgrade_shop.png, gem_shop.png and
// gem_shop_buying.png in the test's build folder: the upgrade shop's plates pass under its header when
// scrolled; the gem shop shows its cards and the badge of the second pack, answers on each card's green price
// button and nowhere else on the card, and shows the progress text on that button while a purchase runs.
#include "ShopTestSupport.h"

#include "Core/Layer/Layer.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Shops/HUDBuyGemScreen.h"
#include "Source/TD/HUD/Shops/HUDGemPack.h"
#include "Source/TD/HUD/Shops/HUDShopWindow.h"
#include "Source/TD/Harness/TDPicture.h"
#include "Source/TD/Purchase/TDPurchaseService.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

namespace
{
using tdtest::GameHarness;

using tdtest::blue;
using tdtest::green;
using tdtest::Picture;
using tdtest::red;
using tdtest::takePicture;

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
    const Picture shop = takePicture(harness);
    ASSERT_GT(shop.width, 0);
    shop.save(std::string(CORV_SHOT_DIR) + "/upgrade_shop.png");
    // The first plate's face (blue) under its icon ring's edge, the header's gold rule over the list.
    const uint32_t plate = shop.at(640.0f, 215.0f);
    EXPECT_GT(blue(plate), red(plate)) << std::hex << plate;
    const uint32_t rule = shop.at(200.0f, 197.0f);
    EXPECT_GT(red(rule), 150) << std::hex << rule;

    // Scrolled to the end, the first plate has passed under the header: the header's colours stand there.
    auto* window = shoptest::topWindow<HUDShopWindow>(harness);
    ASSERT_NE(window, nullptr);
    harness.wheel(500.0f, 400.0f, -1024);
    harness.step(2);
    const Picture scrolled = takePicture(harness);
    scrolled.save(std::string(CORV_SHOT_DIR) + "/upgrade_shop_scrolled.png");
    EXPECT_FLOAT_EQ(window->mContainer->GetPosition().y, -420.0f);
    EXPECT_EQ(scrolled.at(400.0f, 150.0f), shop.at(400.0f, 150.0f)) << "the header covers the list";

    harness.click(512.0f, 698.0f);
    harness.step(30);
    ASSERT_EQ(map->mState, kStateGemShop);
    harness.move(658.0f, 663.0f);
    harness.step(30);
    const Picture gems = takePicture(harness);
    gems.save(std::string(CORV_SHOT_DIR) + "/gem_shop.png");
    // The "most popular" badge on the second plate is red; the first plate's rim is gold.
    const uint32_t badge = gems.at(560.0f, 170.0f);
    EXPECT_GT(red(badge), green(badge) + 60) << std::hex << badge;
    EXPECT_GT(red(gems.at(90.0f, 300.0f)), 120) << std::hex << gems.at(90.0f, 300.0f);
    // Each plate's price text stands white on its green bar.
    for (const math::Point2 bar : {math::Point2(386.0f, 387.0f), math::Point2(533.0f, 663.0f)})
    {
        int white = 0;
        for (float x = bar.x - 80.0f; x < bar.x + 80.0f; x += 1.0f)
            for (float y = bar.y - 12.0f; y < bar.y + 12.0f; y += 1.0f)
                white += green(gems.at(x, y)) > 220 && blue(gems.at(x, y)) > 220 ? 1 : 0;
        EXPECT_GT(white, 100) << bar.x;
    }

    // What answers is what looks like a button: the middle of each pack's hit rectangle (its button layer
    // shrunk by 50) is on the green price button; the pack's picture on the card above answers nothing.
    auto* screen = shoptest::topWindow<HUDBuyGemScreen>(harness);
    ASSERT_NE(screen, nullptr);
    for (const HUDGemPack* pack : screen->mPacks)
    {
        SCOPED_TRACE(pack->mIndex);
        const math::Rect button = layoutRect(*pack->mButtonLayer);
        const float x = button.x + button.width * 0.5f;
        const float y = button.y + button.height * 0.5f;
        const uint32_t shown = gems.at(x, y - 12.0f);
        EXPECT_GT(green(shown), red(shown) + 40) << std::hex << shown;
        EXPECT_EQ(screen->click(static_cast<int>(x), static_cast<int>(y)), pack->mProduct->id);
        const math::Rect picture = layoutRect(*pack->mPriceLayer);
        EXPECT_EQ(screen->click(static_cast<int>(picture.x + picture.width * 0.5f),
                                static_cast<int>(picture.y + picture.height * 0.5f)),
                  L"");
    }

    // While the first pack is being bought its button reads the progress text instead of the price; after
    // the answer, the price again.
    auto differing = [&](const Picture& a, const Picture& b)
    {
        int count = 0;
        for (float x = 110.0f; x < 320.0f; x += 1.0f)
            for (float y = 365.0f; y < 409.0f; y += 1.0f)
                count += a.at(x, y) != b.at(x, y) ? 1 : 0;
        return count;
    };
    harness.move(10.0f, 10.0f);
    harness.step(30);
    const Picture idle = takePicture(harness);
    harness.click(215.0f, 387.0f);
    harness.move(10.0f, 10.0f);
    harness.step(20); // the pack's hover shrink has gone, the purchase (half a second) still runs
    ASSERT_TRUE(map->mPurchaseService->isBusy());
    const Picture buying = takePicture(harness);
    buying.save(std::string(CORV_SHOT_DIR) + "/gem_shop_buying.png");
    EXPECT_GT(differing(idle, buying), 200) << "no progress text on the button";
    harness.step(30);
    ASSERT_FALSE(map->mPurchaseService->isBusy());
    EXPECT_LT(differing(idle, takePicture(harness)), 20) << "the price is back";
}

} // namespace
