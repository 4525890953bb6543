#include "Source/TD/Purchase/TPurchaseResult.h"

#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

namespace
{
struct Hooks : TDPurchaseHooks
{
    void onHealthRefilled() override { ++refills; }
    void onHealthPurchaseFailed(const std::wstring& c, const std::wstring& m) override
    {
        caption = c;
        message = m;
        ++failures;
    }
    int refills = 0;
    int failures = 0;
    std::wstring caption, message;
};

class PurchaseResultTest : public tdtest::GameDataTest
{
protected:
    void SetUp() override
    {
        GameDataTest::SetUp();
        Write("td/strings_en.csv",
              "buyHealthDialogTitle;No lives\nbuyHealthDialogText;The store said: %s.\n");
        if (LocalStrings::Exists())
            delete LocalStrings::Instance(); // read this test's sheet
    }
    void TearDown() override
    {
        delete LocalStrings::Instance();
        GameDataTest::TearDown();
    }

    void Handle(int type, const wchar_t* product, const wchar_t* text = L"")
    {
        TPurchaseResult result;
        result.type = type;
        result.productId = product;
        result.text = text;
        handlePurchaseResult(result, mEconomy, &mHooks);
    }

    TDEconomy mEconomy;
    Hooks mHooks;
};

TEST_F(PurchaseResultTest, GemPacksGiveTheirGemsWhenBoughtOrRestored)
{
    const int packs[][2] = {{0, 100}, {1, 335}, {2, 575}, {3, 1200}, {4, 3125}};
    for (const auto& [index, gems] : packs)
        EXPECT_EQ(gemsForProduct(gemPackProductIds[index].productId), gems);
    EXPECT_EQ(gemsForProduct(L"buy_health"), 0);
    EXPECT_EQ(gemsForProduct(L"buy_7_cr"), 0);

    Handle(TPurchaseResult::RestoreSuccess, L"buy_500_cr");
    EXPECT_EQ(mEconomy.mGems, 1200);
    Handle(TPurchaseResult::PurchaseSuccess, L"buy_50_cr");
    EXPECT_EQ(mEconomy.mGems, 1300);
    EXPECT_EQ(mEconomy.mGemsGained, 1300);
    Handle(TPurchaseResult::PurchaseFail, L"buy_500_cr");
    Handle(TPurchaseResult::RestoreFail, L"buy_1000_cr");
    Handle(TPurchaseResult::PurchaseSuccess, L"something_else");
    EXPECT_EQ(mEconomy.mGems, 1300);
    EXPECT_EQ(mHooks.refills + mHooks.failures, 0) << "gem packs never touch the lives";
}

TEST_F(PurchaseResultTest, OnlyABoughtRefillRestoresTheLives)
{
    Handle(TPurchaseResult::PurchaseSuccess, L"buy_health");
    EXPECT_EQ(mHooks.refills, 1);
    EXPECT_EQ(mEconomy.mGems, 0);

    for (int type :
         {TPurchaseResult::PurchaseFail, TPurchaseResult::RestoreSuccess, TPurchaseResult::RestoreFail})
    {
        SCOPED_TRACE(type);
        mHooks = Hooks();
        Handle(type, L"buy_health", L"declined");
        EXPECT_EQ(mHooks.refills, 0);
        EXPECT_EQ(mHooks.failures, 1);
        EXPECT_EQ(mHooks.caption, L"No lives");
        EXPECT_EQ(mHooks.message, L"The store said: declined.");
    }
}
} // namespace
