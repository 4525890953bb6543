#include "Source/TD/HUD/Shops/HUDBuyGemScreen.h"

#include "Core/Base/MathUtil.h"
#include "Core/Base/TextFormat.h"
#include "Core/Render/Graphics.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/Shops/HUDGemPack.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Purchase/TDPurchaseService.h"

namespace
{

constexpr float kHoverScale = 0.9f;

std::wstring plateButtonName(int number)
{
    base::TextFormat name(L"b_%02d_in");
    name % number;
    name.Finish();
    return name.GetResult();
}

} // namespace

HUDBuyGemScreen::HUDBuyGemScreen()
{
    // The plates point into the layout's records: it stays open as long as the screen.
    load(L"td/gem_shop");
    const TDMap* map = Game::GetMap();
    const std::wstring language = map != nullptr ? map->mLanguage : std::wstring(L"en");
    for (int i = 0; i < kPackCount; ++i)
    {
        const TDProduct* product = map != nullptr && map->mPurchaseService
                                       ? map->mPurchaseService->findProduct(gemPackProductId(i))
                                       : nullptr;
        mPacks.push_back(new HUDGemPack(mLayout, i, language, product));
        // The plate draws and answers for itself.
        setButtonVisible(plateButtonName(i + 1), false);
    }
    setFont(boardFont(TDBoardFont::Main42_3));
    setText(L"caption", LocalStrings::Instance()->get(L"gemShopTitle"));
    refresh();
}

HUDBuyGemScreen::~HUDBuyGemScreen()
{
    for (HUDGemPack* pack : mPacks)
        delete pack;
}

void HUDBuyGemScreen::draw(render::Graphics* graphics)
{
    HUDWindow::draw(graphics);
    if (graphics == nullptr)
        return;
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    if (mFont)
        graphics->mFont = mFont.Get();
    for (const HUDGemPack* pack : mPacks)
        pack->draw(graphics);
}

void HUDBuyGemScreen::update(float dt)
{
    HUDWindow::update(dt);
    refresh();
    for (HUDGemPack* pack : mPacks)
        (void)math::Approach(&pack->mScale, dt * 0.5f, pack->mHovered ? kHoverScale : 1.0f);
}

void HUDBuyGemScreen::refresh()
{
    const TDMap* map = Game::GetMap();
    base::TextFormat caption(LocalStrings::Instance()->get(L"gemShopTitle2"));
    caption % (map != nullptr && map->mEconomy ? map->mEconomy->mGems : 0);
    caption.Finish();
    setText(L"caption_gems", caption.GetResult());
}

void HUDBuyGemScreen::mouseMove(int x, int y)
{
    HUDWindow::mouseMove(x, y);
    for (HUDGemPack* pack : mPacks)
        pack->mHovered = pack->contains(x, y);
}

std::wstring HUDBuyGemScreen::click(int x, int y)
{
    for (const HUDGemPack* pack : mPacks)
        if (pack->contains(x, y))
            return pack->mProduct != nullptr ? pack->mProduct->id : std::wstring();
    return HUDWindow::click(x, y);
}
