#include "Source/TD/Purchase/TDPurchaseService.h"

#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

namespace
{
// Receives the answers as the map will: through a member delegate.
struct Receiver
{
    void onPurchaseResult(const TPurchaseResult& result) { results.push_back(result); }
    std::vector<TPurchaseResult> results;
};

class PurchaseServiceTest : public tdtest::GameDataTest
{
protected:
    void SetUp() override
    {
        GameDataTest::SetUp();
        Write("td/strings_en.csv", "purchase_failed;The purchase failed\npurchase_timeout;No answer came\n");
        if (LocalStrings::Exists())
            delete LocalStrings::Instance();
        TDPurchaseService::Listener listener;
        listener.Reset(new base::MemberDelegate1<Receiver, const TPurchaseResult&, void>(
            &mReceiver, &Receiver::onPurchaseResult));
        mService.setListener(listener);
    }
    void TearDown() override
    {
        delete LocalStrings::Instance();
        GameDataTest::TearDown();
    }

    // Frames of 1/64 s (exact in binary) until an answer arrives or the frames run out; the number of frames
    // taken.
    int RunFrames(int frames)
    {
        const std::size_t before = mReceiver.results.size();
        for (int frame = 1; frame <= frames; ++frame)
        {
            mService.update(1.0f / 64.0f);
            if (mReceiver.results.size() > before)
                return frame;
        }
        return -1;
    }

    TDPurchaseService mService;
    Receiver mReceiver;
};

TEST_F(PurchaseServiceTest, TheCatalogueHoldsTheGemPacksAndTheRefill)
{
    for (const wchar_t* id :
         {L"buy_50_cr", L"buy_150_cr", L"buy_300_cr", L"buy_500_cr", L"buy_1000_cr", L"buy_health"})
    {
        const TDProduct* product = mService.findProduct(id);
        ASSERT_NE(product, nullptr) << testing::PrintToString(std::wstring(id));
        EXPECT_EQ(product->id, id);
        EXPECT_FALSE(product->price.empty());
        EXPECT_FALSE(product->pending);
    }
    EXPECT_EQ(mService.findProduct(L"buy_7_cr"), nullptr);
    EXPECT_FALSE(mService.purchase(L"buy_7_cr"));
    EXPECT_FALSE(mService.isBusy());
}

TEST_F(PurchaseServiceTest, TheAnswerComesFromAFrameAfterTheRequest)
{
    mService.setAnswerDelay(0.0f);
    ASSERT_TRUE(mService.purchase(L"buy_150_cr"));
    EXPECT_TRUE(mReceiver.results.empty()) << "never inside the request";
    EXPECT_TRUE(mService.findProduct(L"buy_150_cr")->pending);
    EXPECT_EQ(RunFrames(10), 2) << "the update of the request's own frame does not answer";
    ASSERT_EQ(mReceiver.results.size(), 1u);
    EXPECT_EQ(mReceiver.results[0].type, TPurchaseResult::PurchaseSuccess);
    EXPECT_EQ(mReceiver.results[0].productId, L"buy_150_cr");
    EXPECT_FALSE(mService.findProduct(L"buy_150_cr")->pending);
    EXPECT_FALSE(mService.isBusy());

    mService.setAnswerDelay(0.5f);
    ASSERT_TRUE(mService.purchase(L"buy_150_cr"));
    EXPECT_EQ(RunFrames(100), 32) << "half a second";
}

TEST_F(PurchaseServiceTest, ASecondRequestWhileOneIsUnderWayIsIgnored)
{
    ASSERT_TRUE(mService.purchase(L"buy_50_cr"));
    EXPECT_FALSE(mService.purchase(L"buy_1000_cr"));
    EXPECT_FALSE(mService.purchase(L"buy_50_cr"));
    EXPECT_FALSE(mService.findProduct(L"buy_1000_cr")->pending);
    RunFrames(100);
    ASSERT_EQ(mReceiver.results.size(), 1u);
    EXPECT_EQ(mReceiver.results[0].productId, L"buy_50_cr");
    EXPECT_EQ(RunFrames(100), -1) << "one answer per request";
    EXPECT_TRUE(mService.purchase(L"buy_1000_cr")) << "free again once answered";
}

TEST_F(PurchaseServiceTest, TheTestChoosesTheOutcome)
{
    struct Case
    {
        TDPurchaseOutcome outcome;
        int type;
        const wchar_t* text;
        int frames; // until the answer, with the default delay and a 2 s time-out
    } cases[] = {
        {TDPurchaseOutcome::Success, TPurchaseResult::PurchaseSuccess, L"", 32},
        {TDPurchaseOutcome::Fail, TPurchaseResult::PurchaseFail, L"The purchase failed", 32},
        {TDPurchaseOutcome::NoAnswer, TPurchaseResult::PurchaseFail, L"No answer came", 128},
    };
    mService.setTimeout(2.0f);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.type);
        mReceiver.results.clear();
        mService.setOutcome(c.outcome);
        ASSERT_TRUE(mService.purchase(L"buy_health"));
        EXPECT_EQ(RunFrames(1000), c.frames);
        ASSERT_EQ(mReceiver.results.size(), 1u);
        EXPECT_EQ(mReceiver.results[0].type, c.type);
        EXPECT_EQ(mReceiver.results[0].text, c.text);
    }
}

TEST_F(PurchaseServiceTest, TheListenerMayStartTheNextPurchase)
{
    struct Chain
    {
        TDPurchaseService* service = nullptr;
        TDEconomy economy;
        int answers = 0;
        void onPurchaseResult(const TPurchaseResult& result)
        {
            handlePurchaseResult(result, economy, nullptr);
            if (++answers == 1)
            {
                EXPECT_TRUE(service->purchase(L"buy_300_cr"));
            }
        }
    } chain;
    chain.service = &mService;
    TDPurchaseService::Listener listener;
    listener.Reset(
        new base::MemberDelegate1<Chain, const TPurchaseResult&, void>(&chain, &Chain::onPurchaseResult));
    mService.setListener(listener);
    ASSERT_TRUE(mService.purchase(L"buy_50_cr"));
    RunFrames(100);
    RunFrames(100);
    EXPECT_EQ(chain.answers, 2);
    EXPECT_EQ(chain.economy.mGems, 100 + 575);
}
} // namespace
