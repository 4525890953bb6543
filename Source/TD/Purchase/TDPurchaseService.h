#pragma once

#include "Core/Base/Delegate.h"
#include "Core/Resource/CountedHandle.h"
#include "Source/TD/Purchase/TPurchaseResult.h"

#include <string>
#include <vector>

// A product of the purchase service as the gem shop shows it.
struct TDProduct
{
    std::wstring id;
    std::wstring price;   // display text
    bool pending = false; // a purchase of it is under way
};

// How the stand-in answers the purchases it is asked for.
enum class TDPurchaseOutcome
{
    Success,
    Fail,
    NoAnswer // the request is left hanging until the time-out fails it
};

// The local stand-in for the platform's purchase service: a fixed catalogue (the five gem packs and the
// lives refill) with display prices, and purchases that are answered by the outcome set on it. It holds one
// request at a time and answers it on the main thread, from update, never before the frame after the
// request; a request that gets no answer within the time-out fails.
class TDPurchaseService
{
public:
    using Listener = CountedHandle<base::Delegate1<const TPurchaseResult&, void>>;

    TDPurchaseService();
    TDPurchaseService(const TDPurchaseService&) = delete;
    TDPurchaseService& operator=(const TDPurchaseService&) = delete;

    // The product's record, or null for a product the catalogue lacks. Records stay valid as long as the
    // service; their pending flags change as purchases start and end.
    const TDProduct* findProduct(const std::wstring& id) const;
    const std::vector<TDProduct>& getCatalogue() const { return mCatalogue; }

    // Asks to buy the product. False, and nothing starts, for an unknown product or while another purchase
    // is under way.
    bool purchase(const std::wstring& id);
    bool isBusy() const { return mPending != nullptr; }

    // Receives every answer, one per finished request.
    void setListener(const Listener& listener) { mListener = listener; }

    // Once per frame on the main thread: answers the request under way when its time has come.
    void update(float dt);

    // What the next requests answer (Success unless set), after how long, and when an unanswered request
    // gives up.
    void setOutcome(TDPurchaseOutcome outcome) { mOutcome = outcome; }
    void setAnswerDelay(float seconds) { mAnswerDelay = seconds; }
    void setTimeout(float seconds) { mTimeout = seconds; }

private:
    void answer(int type, const std::wstring& text);

    std::vector<TDProduct> mCatalogue; // fixed at construction, so record pointers stay valid
    TDProduct* mPending = nullptr;
    float mElapsed = 0.0f;
    int mUpdates = 0; // updates since the request
    TDPurchaseOutcome mOutcome = TDPurchaseOutcome::Success;
    float mAnswerDelay = 0.5f;
    float mTimeout = 30.0f;
    Listener mListener;
};
