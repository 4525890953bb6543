#pragma once

#include "Core/Base/MathTypes.h"

#include <string>

namespace base
{
class ImageInfo;
}
namespace file
{
class ImageContainer;
}
namespace render
{
class Graphics;
class Image;
} // namespace render

struct TDProduct;

// One pack plate of the gem shop: the plate picture "button/b_NN_in", the price picture of the language
// ("pricing/<language>/N"), the "most popular" badge on the second pack, the rectangle of the price text and
// the purchase service's record of the pack's product. NN and N count from 1. Layers the layout lacks leave
// their part out.
class HUDGemPack
{
public:
    // Inside the plate by this much on every side before a point counts as a hit.
    static constexpr float kHitInset = 50.0f;

    HUDGemPack(file::ImageContainer* layout, int index, const std::wstring& language,
               const TDProduct* product);
    HUDGemPack(const HUDGemPack&) = delete;
    HUDGemPack& operator=(const HUDGemPack&) = delete;
    // Deletes its three images.
    ~HUDGemPack();

    // The plate's rectangle shrunk by the inset: left and top included, right and bottom excluded.
    bool contains(int x, int y) const;
    // The plate scaled about its middle: the pictures, then the price text (or the text of a purchase under
    // way) in the font the graphics holds.
    void draw(render::Graphics* graphics) const;
    // The price text as it shows now.
    std::wstring priceText() const;

    int mIndex = 0;
    const base::ImageInfo* mButtonLayer = nullptr;
    render::Image* mButtonImage = nullptr;
    const base::ImageInfo* mPriceLayer = nullptr;
    render::Image* mPriceImage = nullptr;
    const base::ImageInfo* mBadgeLayer = nullptr;
    render::Image* mBadgeImage = nullptr;
    const base::ImageInfo* mTextLayer = nullptr;
    // The service's record; it outlives the screen. Null for a product it does not know.
    const TDProduct* mProduct = nullptr;
    float mScale = 1.0f;
    bool mHovered = false;
};

// The product ids of the five packs, in plate order.
const wchar_t* gemPackProductId(int index);
