// The gem shop on the demo data with the stand-in purchase service: the five packs and their prices, the
// badge, the plates' hit rectangles, purchases that succeed, fail or are restored, products nobody knows,
// the progress text while a purchase runs, and the plates' hover shrink.
#include "ShopTestSupport.h"

#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/HUD/Shops/HUDBuyGemScreen.h"
#include "Source/TD/HUD/Shops/HUDGemPack.h"
#include "Source/TD/Purchase/TDPurchaseService.h"
#include "Source/TD/Purchase/TPurchaseResult.h"
#include "Source/TD/Sprites/TDButtonFrame.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

namespace
{
using tdtest::GameHarness;

// The middle of the first pack's green price button (216 x 50 at 107, 362 on its card at 87, 176): the
// button layer around it is 50 larger on every side, as the hit rule shrinks it by 50.
constexpr float kPlateX = 215.0f;
constexpr float kPlateY = 387.0f;

class GemShop : public ::testing::Test
{
protected:
    HUDBuyGemScreen* open(int gems)
    {
        shoptest::writeProfile(harness, "<gems amount=\"" + std::to_string(gems) + "\"/>");
        if (!harness.start())
            return nullptr;
        map = harness.map();
        map->mHud->openGemShop(L"episodes");
        harness.step();
        return shoptest::topWindow<HUDBuyGemScreen>(harness);
    }
    std::wstring captionGems(const HUDBuyGemScreen& screen) const
    {
        for (const auto& [name, text] : screen.mTexts)
            if (name == L"caption_gems")
                return text;
        return {};
    }

    GameHarness harness;
    TDMap* map = nullptr;
};

TEST_F(GemShop, FivePacksWithTheServicesPricesAndTheBadgeOnTheSecond)
{
    HUDBuyGemScreen* screen = open(10);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(map->mState, kStateGemShop);
    ASSERT_EQ(screen->mPacks.size(), 5u);
    const wchar_t* const ids[] = {L"buy_50_cr", L"buy_150_cr", L"buy_300_cr", L"buy_500_cr", L"buy_1000_cr"};
    const wchar_t* const prices[] = {L"$0.99", L"$2.99", L"$4.99", L"$9.99", L"$19.99"};
    for (int i = 0; i < 5; ++i)
    {
        SCOPED_TRACE(i);
        const HUDGemPack* pack = screen->mPacks[static_cast<std::size_t>(i)];
        ASSERT_NE(pack->mProduct, nullptr);
        EXPECT_EQ(pack->mProduct->id, ids[i]);
        EXPECT_EQ(pack->priceText(), prices[i]);
        EXPECT_NE(pack->mButtonImage, nullptr);
        EXPECT_NE(pack->mPriceImage, nullptr);
        EXPECT_NE(pack->mTextLayer, nullptr);
        EXPECT_EQ(pack->mBadgeImage != nullptr, i == 1);
        // The base neither draws nor answers the plate's own button.
        EXPECT_FALSE(screen->findButton(i == 0 ? L"b_01_in" : L"b_05_in")->mVisible);
    }
    EXPECT_EQ(captionGems(*screen), L"You have 10 gems");
}

TEST_F(GemShop, APlateAnswersOnlyOnItsPriceButtonFiftyUnitsInsideItsRectangleAndWithoutASound)
{
    HUDBuyGemScreen* screen = open(10);
    ASSERT_NE(screen, nullptr);
    // The first pack's button layer spans x 57 to 373 and y 312 to 462; its green button, the part that
    // answers, x 107 to 323 and y 362 to 412.
    const math::Rect button = layoutRect(*screen->mPacks[0]->mButtonLayer);
    EXPECT_EQ(button.x, 57.0f);
    EXPECT_EQ(button.y, 312.0f);
    struct Case
    {
        float x, y;
        const wchar_t* answer;
    };
    const Case cases[] = {
        {106, kPlateY, L""},
        {107, kPlateY, L"buy_50_cr"},
        {322, kPlateY, L"buy_50_cr"},
        {323, kPlateY, L""},
        {kPlateX, 361, L""},
        {kPlateX, 362, L"buy_50_cr"},
        {kPlateX, 411, L"buy_50_cr"},
        {kPlateX, 412, L""},
        {56, 720, L"back_in"},
        // The card's body and its picture of the pack are not buttons.
        {217, 260, L""},
        {217, 330, L""},
    };
    for (const Case& c : cases)
    {
        harness.sounds().clear();
        EXPECT_EQ(screen->click(static_cast<int>(c.x), static_cast<int>(c.y)), c.answer) << c.x << "," << c.y;
        EXPECT_EQ(harness.sounds().tags.size(), std::wstring(c.answer) == L"back_in" ? 1u : 0u);
    }
}

TEST_F(GemShop, PurchasesAddThePacksGemsOnlyWhenTheyGoThrough)
{
    struct Case
    {
        const char* name;
        TDPurchaseOutcome outcome;
        float plateX; // a plate's middle
        int gemsAfter;
    };
    const Case cases[] = {
        {"bought", TDPurchaseOutcome::Success, kPlateX, 110},
        {"the biggest pack bought", TDPurchaseOutcome::Success, 658.0f, 3135},
        {"refused", TDPurchaseOutcome::Fail, kPlateX, 10},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GameHarness own;
        shoptest::writeProfile(own, "<gems amount=\"10\"/>");
        ASSERT_TRUE(own.start());
        TDMap* played = own.map();
        played->mPurchaseService->setOutcome(c.outcome);
        played->mHud->openGemShop(L"levels");
        own.step();
        auto* screen = shoptest::topWindow<HUDBuyGemScreen>(own);
        ASSERT_NE(screen, nullptr);
        const float y = c.plateX == kPlateX ? kPlateY : 663.0f;
        own.click(c.plateX, y);
        ASSERT_TRUE(played->mPurchaseService->isBusy());
        const HUDGemPack* pack = nullptr;
        for (const HUDGemPack* candidate : screen->mPacks)
            if (candidate->contains(static_cast<int>(c.plateX), static_cast<int>(y)))
                pack = candidate;
        ASSERT_NE(pack, nullptr);
        EXPECT_EQ(pack->priceText(), L"Buying...");
        // A second plate while the first purchase runs starts nothing.
        own.click(kPlateX == c.plateX ? 658.0f : kPlateX, kPlateX == c.plateX ? 663.0f : kPlateY);
        own.step(60);
        EXPECT_FALSE(played->mPurchaseService->isBusy());
        EXPECT_NE(pack->priceText(), L"Buying...");
        EXPECT_EQ(played->mEconomy->mGems, c.gemsAfter);
        EXPECT_EQ(played->mProfile->getGems(), c.gemsAfter);
        EXPECT_EQ(captionGems(*screen), L"You have " + std::to_wstring(c.gemsAfter) + L" gems");
        EXPECT_EQ(played->mState, kStateGemShop) << "a pack's failure is silent";
    }
}

TEST_F(GemShop, ResultsForPacksRestoresAndUnknownProducts)
{
    HUDBuyGemScreen* screen = open(10);
    ASSERT_NE(screen, nullptr);
    struct Case
    {
        int type;
        const wchar_t* product;
        int gained;
    };
    const Case cases[] = {
        {TPurchaseResult::RestoreSuccess, L"buy_500_cr", 1200},
        {TPurchaseResult::PurchaseFail, L"buy_500_cr", 0},
        {TPurchaseResult::RestoreFail, L"buy_150_cr", 0},
        {TPurchaseResult::PurchaseSuccess, L"buy_150_cr", 335},
        {TPurchaseResult::PurchaseSuccess, L"buy_7_cr", 0},
        {TPurchaseResult::RestoreSuccess, L"", 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.type << " " << std::string(c.product, c.product + wcslen(c.product)));
        const int before = map->mEconomy->mGems;
        TPurchaseResult result;
        result.type = c.type;
        result.productId = c.product;
        map->onPurchaseResult(result);
        EXPECT_EQ(map->mEconomy->mGems, before + c.gained);
        EXPECT_EQ(captionGems(*screen), L"You have " + std::to_wstring(before + c.gained) + L" gems");
        EXPECT_EQ(map->mState, kStateGemShop);
    }
}

TEST_F(GemShop, APlateWhoseProductTheServiceLacksShowsNoPriceAndBuysNothing)
{
    HUDBuyGemScreen* screen = open(10);
    ASSERT_NE(screen, nullptr);
    screen->mPacks[0]->mProduct = nullptr;
    EXPECT_EQ(screen->mPacks[0]->priceText(), L"");
    EXPECT_EQ(screen->click(static_cast<int>(kPlateX), static_cast<int>(kPlateY)), L"");
    harness.click(kPlateX, kPlateY);
    EXPECT_FALSE(map->mPurchaseService->isBusy());
    EXPECT_EQ(map->mState, kStateGemShop);
    // The service itself refuses an id it does not know.
    EXPECT_FALSE(map->mPurchaseService->purchase(L"buy_7_cr"));
}

TEST_F(GemShop, AHoveredPlateShrinksToNinetyPerCentInAFifthOfASecondAndGrowsBack)
{
    HUDBuyGemScreen* screen = open(10);
    ASSERT_NE(screen, nullptr);
    HUDGemPack* pack = screen->mPacks[0];
    harness.move(kPlateX, kPlateY);
    harness.step(6);
    EXPECT_NEAR(pack->mScale, 0.95f, 1e-4f);
    harness.step(6);
    EXPECT_FLOAT_EQ(pack->mScale, 0.9f);
    EXPECT_FLOAT_EQ(screen->mPacks[1]->mScale, 1.0f);
    harness.move(10.0f, 10.0f);
    harness.step(12);
    EXPECT_FLOAT_EQ(pack->mScale, 1.0f);
}

} // namespace
