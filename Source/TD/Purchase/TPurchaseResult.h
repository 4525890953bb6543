#pragma once

#include <string>

class TDEconomy;

// What the purchase service reports on a finished request.
struct TPurchaseResult
{
    enum Type : int
    {
        PurchaseSuccess = 0,
        PurchaseFail = 1,
        RestoreSuccess = 2,
        RestoreFail = 3
    };

    int type = PurchaseFail;
    std::wstring productId;
    std::wstring text; // the service's own words on the outcome
};

// A pack of gems the gem shop offers, in shop order.
struct TDGemPack
{
    const wchar_t* productId;
    int gems;
};

inline constexpr int kGemPackCount = 5;
extern const TDGemPack gemPackProductIds[kGemPackCount];
// The lives refill sold when a level is lost.
inline constexpr const wchar_t* kHealthProductId = L"buy_health";

// The gems a product gives, 0 for a product that is no gem pack.
int gemsForProduct(const std::wstring& productId);

// What a result of the lives refill changes outside the purse; the map answers it.
class TDPurchaseHooks
{
public:
    // Bought: the lives are back at their maximum, the level plays on (state 0) with the HUD's fade cleared,
    // its lives text refreshed and every spell button ready.
    virtual void onHealthRefilled() = 0;
    // Anything else: the map shows the dialog (restore state -1) and enters state 22.
    virtual void onHealthPurchaseFailed(const std::wstring& caption, const std::wstring& message) = 0;

protected:
    ~TDPurchaseHooks() = default;
};

// Acts on a purchase result: a bought or restored gem pack adds its gems; the lives refill goes to hooks,
// its failure with the localised dialog texts ("buyHealthDialogTitle", and "buyHealthDialogText" filled with
// the service's text).
void handlePurchaseResult(const TPurchaseResult& result, TDEconomy& economy, TDPurchaseHooks* hooks);
