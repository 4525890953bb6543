#include "Source/TD/HUD/Shops/HUDShopPlate.h"

#include "Core/Base/ImageInfo.h"
#include "Core/Base/MathUtil.h"
#include "Core/Base/TextStream.h"
#include "Core/File/ImageContainer.h"
#include "Core/Layer/ImageLayer.h"
#include "Core/Layer/TextLayer.h"
#include "Core/Render/Image.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/Game.h"
#include "Source/TD/HUD/HUD.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDLayoutHelpers.h"

#include <string>

namespace
{

constexpr wchar_t kPlateImage[] = L"item_plate/Layer_1";
constexpr wchar_t kBuyActiveImage[] = L"item_plate/buy_ac";
constexpr wchar_t kBuyInactiveImage[] = L"item_plate/buy_in";
constexpr float kMinZoom = 1.0f;
constexpr float kMaxZoom = 1.1f;
// Rows outside the list's window between the header and the footer are never hit.
constexpr int kListTop = 170;
constexpr int kListBottom = 610;
// The buy button's hit window stands this far left of the picture's middle.
constexpr int kHitShift = 30;

std::wstring decimal(int value)
{
    base::TextStream stream;
    stream.WriteInt(value);
    return stream.GetText();
}

std::wstring upgradeKey(int id, const std::wstring& tail)
{
    return L"upgrade_" + decimal(id) + tail;
}

int imageWidth(const layer::ImageLayer* picture)
{
    return picture->GetImage() != nullptr ? picture->GetImage()->GetWidth() : 0;
}

int imageHeight(const layer::ImageLayer* picture)
{
    return picture->GetImage() != nullptr ? picture->GetImage()->GetHeight() : 0;
}

// The profile's bought level; -1 (nothing) without a map or profile.
int boughtLevel(TDMap* map, int id)
{
    return map != nullptr && map->mProfile ? map->mProfile->getUpgradeLevel(id) : -1;
}

TDUpgrade* findUpgrade(TDMap* map, int id)
{
    return map != nullptr && map->mUpgrades ? findById(map->mUpgrades->getUpgrades(), id) : nullptr;
}

// Every negative level means nothing bought: the first step comes next.
int nextStepIndex(int level)
{
    return level < 0 ? 0 : level + 1;
}

layer::TextLayer* makeText(TDBoardFont font, float boxWidth, int32_t align, float x, float y)
{
    auto* text = new layer::TextLayer(boardFont(font), std::wstring(), boxWidth, 0.0f, align, false);
    text->SetAlignment(align, align);
    text->SetPosition(math::Point3(x, y, 0.0f));
    return text;
}

void detachAndDelete(layer::Layer* layer)
{
    removeFromParent(layer);
    delete layer;
}

} // namespace

HUDShopPlate::HUDShopPlate(file::ImageContainer* layout, const TDUpgrade& upgrade) : mUpgradeId(upgrade.id)
{
    TDMap* map = Game::GetMap();
    mMaxed = upgrade.getStep(nextStepIndex(boughtLevel(map, mUpgradeId))) == nullptr ? 1 : 0;

    math::Point2 origin(0.0f, 0.0f);
    if (const base::ImageInfo* plate = findPsdLayer(layout, kPlateImage))
        origin = math::Point2(static_cast<float>(plate->mRect[0]), static_cast<float>(plate->mRect[1]));
    mRoot = new layer::ImageLayer;
    if (findPsdLayer(layout, kPlateImage) != nullptr)
        mRoot->SetImage(loadPsdLayerImage(layout, kPlateImage), true);

    mIcon = new layer::ImageLayer;
    const std::wstring iconName = L"icons/" + upgrade.icon;
    if (findPsdLayer(layout, iconName) != nullptr)
        mIcon->SetImage(loadPsdLayerImage(layout, iconName), true);
    mIcon->SetAnchors(layer::AnchorCentre, layer::AnchorCentre);
    mIcon->SetPosition(math::Point3(53.0f, 58.0f, 0.0f));
    mRoot->AddChild(mIcon);

    mName = makeText(TDBoardFont::Main42_3, 333.0f, 0, 140.0f, 14.0f);
    mName->SetText(LocalStrings::Instance()->get(upgradeKey(mUpgradeId, L"_name")));
    mRoot->AddChild(mName);

    mClearStars = new layer::ImageLayer;
    initImageLayerFromPsd(mClearStars, layout, L"item_plate/stars/clear_star", origin);
    mRoot->AddChild(mClearStars);
    const int starCount = static_cast<int>(upgrade.steps.size()) < kStarSlots
                              ? static_cast<int>(upgrade.steps.size())
                              : kStarSlots;
    for (int i = 1; i <= starCount; ++i)
    {
        auto* star = new layer::ImageLayer;
        // "star_0" and the step number: "star_09", then "star_010".
        initImageLayerFromPsd(star, layout, L"item_plate/stars/star_0" + decimal(i), origin);
        mStars[static_cast<std::size_t>(i - 1)] = star;
        mRoot->AddChild(star);
    }

    mBuyActive = new layer::ImageLayer;
    mBuyInactive = new layer::ImageLayer;
    initImageLayerFromPsd(mBuyActive, layout, kBuyActiveImage, origin);
    initImageLayerFromPsd(mBuyInactive, layout, kBuyInactiveImage, origin);
    const math::Point3 activeAt = mBuyActive->GetPosition();
    mBuyWidth = imageWidth(mBuyActive);
    mBuyHeight = imageHeight(mBuyActive);
    mBuyActive->SetPosition(
        math::Point3(static_cast<float>(-mBuyWidth) * 0.5f, static_cast<float>(-mBuyHeight) * 0.5f, 0.0f));
    mBuyInactive->SetPosition(math::Point3(static_cast<float>(-imageWidth(mBuyInactive)) * 0.5f,
                                           static_cast<float>(-imageHeight(mBuyInactive)) * 0.5f, 0.0f));
    mBuy = new layer::Layer;
    mBuy->SetPosition(math::Point3(activeAt.x + static_cast<float>(mBuyWidth) * 0.5f,
                                   activeAt.y + static_cast<float>(mBuyHeight) * 0.5f, 0.0f));
    mBuy->AddChild(mBuyInactive);
    mBuy->AddChild(mBuyActive);
    mRoot->AddChild(mBuy);

    mDescription = makeText(TDBoardFont::Main32_2, 333.0f, 0, 140.0f, 70.0f);
    mRoot->AddChild(mDescription);
    mGemIcon = new layer::ImageLayer;
    initImageLayerFromPsd(mGemIcon, layout, L"item_plate/grem", origin);
    mRoot->AddChild(mGemIcon);
    mPrice = makeText(TDBoardFont::Main42_3, 70.0f, 2, 775.0f, 55.0f);
    mRoot->AddChild(mPrice);
    mBuyActive->SetVisible(false);
    refresh();
}

HUDShopPlate::~HUDShopPlate()
{
    removeFromParent(mRoot);
    removeFromParent(mBuy);
    detachAndDelete(mBuyActive);
    detachAndDelete(mBuyInactive);
    delete mBuy;
    for (layer::ImageLayer* star : mStars)
        detachAndDelete(star);
    detachAndDelete(mClearStars);
    detachAndDelete(mGemIcon);
    detachAndDelete(mPrice);
    detachAndDelete(mDescription);
    detachAndDelete(mName);
    detachAndDelete(mIcon);
    delete mRoot;
}

void HUDShopPlate::refresh()
{
    TDMap* map = Game::GetMap();
    const int level = boughtLevel(map, mUpgradeId);
    for (int i = 0; i < kStarSlots; ++i)
        if (layer::ImageLayer* star = mStars[static_cast<std::size_t>(i)])
            star->SetVisible(level >= i);
    const TDUpgrade* upgrade = findUpgrade(map, mUpgradeId);
    if (upgrade == nullptr)
        return;
    const int next = nextStepIndex(level);
    LocalStrings* strings = LocalStrings::Instance();
    if (const TDUpgradeStep* step = upgrade->getStep(next))
    {
        const int price = step->costGems;
        const int gems = map->mProfile ? map->mProfile->getGems() : 0;
        if (gems < price)
        {
            mAffordable = 0;
            mPrice->SetColor(kWarningRed, kWarningGreenBlue, kWarningGreenBlue, 1.0f);
            mBuyActive->SetVisible(false);
        }
        else
        {
            mAffordable = 1;
            mPrice->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
        }
        mPrice->SetText(decimal(price));
        mDescription->SetText(strings->get(upgradeKey(mUpgradeId, L"_step" + decimal(next))));
        // Upgrades are off in hardcore: the plate tells what the step gives but offers no way to buy it.
        const bool forSale = map->mMode != kModeHardcore;
        mBuyInactive->SetVisible(forSale);
        mGemIcon->SetVisible(forSale);
        mPrice->SetVisible(forSale);
        if (!forSale)
            mBuyActive->SetVisible(false);
        return;
    }
    mMaxed = 1;
    mDescription->SetText(strings->get(upgradeKey(mUpgradeId, L"_complete")));
    mBuyActive->SetVisible(false);
    mBuyInactive->SetVisible(false);
    mGemIcon->SetVisible(false);
    mPrice->SetVisible(false);
}

bool HUDShopPlate::hitBuyButton(int x, int y) const
{
    if (y < kListTop || y > kListBottom)
        return false;
    const math::Point3& buyAt = mBuy->GetPosition();
    const math::Point3& activeAt = mBuyActive->GetPosition();
    const int left = static_cast<int>(buyAt.x + activeAt.x);
    const int top = static_cast<int>(buyAt.y + activeAt.y);
    const layer::Layer* container = mRoot->GetParent();
    const float rowY = (container != nullptr ? container->GetPosition().y : 0.0f) + mRoot->GetPosition().y;
    const float px = static_cast<float>(x);
    const float py = static_cast<float>(y);
    return x > left + mBuyWidth / 2 - kHitShift &&
           px < static_cast<float>(left) + 1.5f * static_cast<float>(mBuyWidth) - kHitShift &&
           py > static_cast<float>(top) + rowY && py < static_cast<float>(top + mBuyHeight) + rowY;
}

void HUDShopPlate::updateHover(int x, int y)
{
    if (mMaxed != 0)
        return;
    mBuyHovered = hitBuyButton(x, y) ? 1 : 0;
    // Nothing to press in hardcore: the button stays hidden.
    const TDMap* map = Game::GetMap();
    const bool forSale = map == nullptr || map->mMode != kModeHardcore;
    mBuyActive->SetVisible(mBuyHovered != 0 && forSale);
}

void HUDShopPlate::update(float dt)
{
    if (mBuyHovered != 0)
        (void)math::Approach(&mBuyZoom, dt * 0.5f, kMaxZoom);
    else
        (void)math::Approach(&mBuyZoom, dt, kMinZoom);
    mBuy->SetScale(math::Point3(mBuyZoom, mBuyZoom, 0.0f));
}

void HUDShopPlate::release(int x, int y)
{
    if (!hitBuyButton(x, y))
        return;
    (void)w7::SoundTags::Instance()->Play(L"simple");
    buy();
}

void HUDShopPlate::buy()
{
    if (mMaxed != 0)
        return;
    TDMap* map = Game::GetMap();
    if (map == nullptr)
        return;
    // In hardcore the profile reads every upgrade as not bought; selling there would overwrite the level
    // bought in the other modes and take the gems for nothing.
    if (map->mMode != kModeHardcore && map->mProfile && map->mEconomy)
    {
        const int level = boughtLevel(map, mUpgradeId);
        const TDUpgrade* upgrade = findUpgrade(map, mUpgradeId);
        // The step the plate offers: also the first one when the profile has no entry for the upgrade yet.
        const int next = nextStepIndex(level);
        const TDUpgradeStep* step = upgrade != nullptr ? upgrade->getStep(next) : nullptr;
        if (step != nullptr && map->mEconomy->mGems >= step->costGems)
        {
            map->mProfile->setUpgradeLevel(mUpgradeId, next);
            map->mEconomy->spendGems(step->costGems);
            refresh();
            map->mProfile->save();
        }
    }
    if (map->mHud)
        map->mHud->refreshTopWindow();
}
