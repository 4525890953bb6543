#include "Source/TD/HUD/Shops/HUDGemPack.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/TextFormat.h"
#include "Core/File/ImageContainer.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Purchase/TDPurchaseService.h"
#include "Source/TD/Purchase/TPurchaseResult.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

namespace
{

// A layer name from a format, through the engine's formatter.
template <typename... Args>
std::wstring layerName(const wchar_t* format, const Args&... args)
{
    base::TextFormat text(format);
    ((text % args), ...);
    text.Finish();
    return text.GetResult();
}

// The layer's record and picture; both null when the layout lacks it.
const base::ImageInfo* loadLayer(file::ImageContainer* layout, const std::wstring& name,
                                 render::Image*& image)
{
    const base::ImageInfo* info = findPsdLayer(layout, name);
    image = info != nullptr ? loadPsdLayerImage(layout, name) : nullptr;
    return info;
}

// The whole picture stretched into its layer's rectangle, scaled about the plate's middle.
void drawScaled(render::Graphics* graphics, render::Image* image, const base::ImageInfo* layer, float scale,
                float cx, float cy)
{
    if (image == nullptr || layer == nullptr)
        return;
    graphics
        ->DrawImage(
            image, render::DestRect(static_cast<float>(layer->mRect[0]), static_cast<float>(layer->mRect[1]),
                                    static_cast<float>(layer->mRect[2]), static_cast<float>(layer->mRect[3])))
        .Translate(-cx, -cy)
        .Scale(scale)
        .Translate(cx, cy);
}

} // namespace

const wchar_t* gemPackProductId(int index)
{
    return index >= 0 && index < kGemPackCount ? gemPackProductIds[index].productId : L"";
}

HUDGemPack::HUDGemPack(file::ImageContainer* layout, int index, const std::wstring& language,
                       const TDProduct* product)
    : mIndex(index), mProduct(product)
{
    const int number = index + 1;
    mButtonLayer = loadLayer(layout, layerName(L"button/b_%02d_in", number), mButtonImage);
    mPriceLayer = loadLayer(layout, layerName(L"pricing/%s/%d", language, number), mPriceImage);
    if (index == 1)
        mBadgeLayer = loadLayer(layout, L"1/most_popular", mBadgeImage);
    mTextLayer = findPsdLayer(layout, layerName(L"text/b_%02d_text", number));
}

HUDGemPack::~HUDGemPack()
{
    delete mButtonImage;
    delete mPriceImage;
    delete mBadgeImage;
}

bool HUDGemPack::contains(int x, int y) const
{
    if (mButtonLayer == nullptr)
        return false;
    const math::Rect rect = layoutRect(*mButtonLayer);
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    return px >= rect.x + kHitInset && px < rect.x + rect.width - kHitInset && py >= rect.y + kHitInset &&
           py < rect.y + rect.height - kHitInset;
}

std::wstring HUDGemPack::priceText() const
{
    LocalStrings* strings = LocalStrings::Instance();
    if (mProduct != nullptr && mProduct->pending)
        return strings->get(L"gemShopBuy_progress");
    base::TextFormat text(strings->get(L"gemShopBuyFor"));
    text % (mProduct != nullptr ? mProduct->price : std::wstring());
    text.Finish();
    return text.GetResult();
}

void HUDGemPack::draw(render::Graphics* graphics) const
{
    if (graphics == nullptr || mButtonLayer == nullptr)
        return;
    const math::Rect plate = layoutRect(*mButtonLayer);
    const float cx = plate.x + plate.width * 0.5f;
    const float cy = plate.y + plate.height * 0.5f;
    drawScaled(graphics, mButtonImage, mButtonLayer, mScale, cx, cy);
    drawScaled(graphics, mPriceImage, mPriceLayer, mScale, cx, cy);
    drawScaled(graphics, mBadgeImage, mBadgeLayer, mScale, cx, cy);
    if (mTextLayer == nullptr || graphics->mFont == nullptr)
        return;
    const math::Rect box = layoutRect(*mTextLayer);
    // The draw keeps a pointer to the text until it is recorded: the text must outlive it.
    const std::wstring shown = priceText();
    auto text = graphics->DrawText(shown, box.width, 0.0f, 3, true);
    text->mAlignH = 2;
    text->mAlignV = 2;
    text.Translate(box.x + box.width * 0.5f - cx, box.y + box.height * 0.5f - cy)
        .Scale(mScale)
        .Translate(cx, cy);
}
