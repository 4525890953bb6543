#include "Source/TD/HUD/Play/TDContextMenu.h"

#include "Core/Base/Containers.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Transform2D.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDRules.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/HUD/Play/AttributedString.h"
#include "Source/TD/HUD/Play/TDContextIcons.h"
#include "Source/TD/HUD/Play/TDContextMenuItem.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"

#include <algorithm>
#include <cmath>

namespace
{
// The ring's own angle factor, kept as the menu has always placed its items.
constexpr float kDegrees = 3.14f / 180.0f;
constexpr float kRangeDisc = 336.0f;

const render::Color kRangeColour(0.71f, 0.63f, 0.31f, 1.0f);
const render::Color kShortColour(0.94f, 0.44f, 0.44f, 1.0f);

// What the menu reads of a tower.
const TDUnitProto* currentProto(const TDTower& tower)
{
    return tower.getProto(-1);
}
float towerBoostRange(const TDTower& tower)
{
    return tower.mBoost ? tower.mBoost->r : 0.0f;
}

float spotRadiusMult(const TDFrameEntry* spot)
{
    if (!spot || !spot->mLink)
        return 1.0f;
    // A spot that names no factor keeps the tower's own range, as the tower itself does.
    const float m = spot->mLink->getFloat("radius_mult");
    return m == 0.0f ? 1.0f : m;
}

void drawCentred(render::Graphics* graphics, render::Image* image, float x, float y, float scale)
{
    if (!image)
        return;
    auto draw = graphics->DrawImage(image).Scale(scale);
    draw.Translate(x, y);
    draw->mAlignH = 2;
    draw->mAlignV = 2;
}

std::string utf8(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out.push_back(static_cast<char>(c)); // prices are digits and ASCII marks
    return out;
}
} // namespace

TDContextMenu::TDContextMenu(TDMap& map) : mMap(map)
{
    (void)w7::SoundTags::Instance()->Play(L"context_in");
    TDTutorial::Instance()->onEvent(L"tower_select");
}

TDContextMenu::~TDContextMenu()
{
    base::DeleteAll(mItems);
}

TDUnitProto* TDContextMenu::upgradedCopy(const TDUnitProto& proto) const
{
    auto* copy = new TDUnitProto;
    copy->copyFrom(proto);
    copy->addonList = proto.addonList;
    if (mMap.mUpgrades)
        mMap.mUpgrades->applyToProto(*copy);
    return copy;
}

TDContextMenuItem* TDContextMenu::addItem(int index, int key)
{
    auto* item = new TDContextMenuItem(index, key);
    mItems.push_back(item);
    return item;
}

void TDContextMenu::openBuildMenu(TDFrameEntry* spot)
{
    mKind = kMenuBuild;
    mSpot = spot;
    mStartAngle = 90.0f;
    mEndAngle = 270.0f;
    mRadius = kRadius;
    if (!mMap.mProtoTable)
        return;
    int index = 1;
    for (const TDUnitProto* proto : mMap.mProtoTable->getProtos())
    {
        if (proto->type != 1 || !mMap.mUnlocks || !mMap.mUnlocks->isUnlocked(proto->id))
            continue;
        TDContextMenuItem* item = addItem(index++, proto->id);
        item->mPreview = upgradedCopy(*proto);
        item->mValue = item->mPreview->cost;
    }
}

void TDContextMenu::openBuySpotMenu(TDFrameEntry* spot)
{
    mKind = kMenuBuySpot;
    mSpot = spot;
    // The arc starts where the item stands, so that the draw keeps it right of the spot.
    mStartAngle = 90.0f;
    mEndAngle = 270.0f;
    TDContextMenuItem* item = addItem(1, 1);
    item->mAngle = 90.0f;
    const TDBuildSpot* record = spot ? spot->mLink : nullptr;
    if (!record)
        return;
    std::wstring text;
    if (record->mCostGold != 0)
        text = L"$" + std::to_wstring(record->mCostGold);
    if (record->mCostReal != 0)
    {
        if (!text.empty())
            text += L"; ";
        text += L"#" + std::to_wstring(record->mCostReal);
    }
    item->mText = utf8(text);
}

void TDContextMenu::openTowerMenu(TDTower* tower)
{
    mKind = kMenuTower;
    mStartAngle = 0.0f;
    mEndAngle = 360.0f;
    mTower = tower;
    if (!tower)
        return;
    mSpot = tower->mSpotFrame;
    addItem(0, 0);
    const TDUnitProto* base =
        mMap.mProtoTable && tower->mProto ? mMap.mProtoTable->find(tower->mProto->id) : nullptr;
    // A tower whose prototype left the table can still be sold, and nothing more.
    if (!base)
        return;
    if (tower->mTierCount < base->tierUpdates)
    {
        mKind = kMenuTowerTier;
        TDContextMenuItem* item = addItem(1, 1);
        item->mPreview = new TDUnitProto;
        item->mPreview->copyFrom(*base);
        item->mPreview->addonList = base->addonList;
        item->mValue = base->tierCost;
        return;
    }
    const int branch = tower->mBranch;
    int index = 1;
    for (const TDUnitProto* child : base->branches)
    {
        if (child->require < branch || !mMap.mUnlocks || !mMap.mUnlocks->isUnlocked(child->id))
            continue;
        TDContextMenuItem* item = addItem(index++, child->levelid);
        item->mPreview = upgradedCopy(*child);
        item->mValue = sumTierCosts(branch, base->branches, *child);
    }
}

float TDContextMenu::getItemValue(int key) const
{
    for (const TDContextMenuItem* item : mItems)
        if (item->mKey == key)
            return item->mValue;
    return 0.0f;
}

bool TDContextMenu::isNearEdge() const
{
    return mCenterY < 150.0f || mCenterY > 650.0f || mCenterX < 150.0f || mCenterX > 874.0f;
}

float TDContextMenu::openFactor() const
{
    if (mState == kMenuOpening)
        return mTimer / kAnimationTime;
    if (mState == kMenuClosing)
        return 1.0f - mTimer / kAnimationTime;
    return 1.0f;
}

void TDContextMenu::ringPoint(float cx, float cy, float angle, float r, float& x, float& y)
{
    x = cx + std::sin(angle * kDegrees) * r;
    y = cy + std::cos(angle * kDegrees) * r;
}

int TDContextMenu::hitTest(int x, int y)
{
    if (mItems.empty() || mState != kMenuOpen)
        return -1;
    const float r = kRadius * (isNearEdge() ? kNearScale : 1.0f);
    for (TDContextMenuItem* item : mItems)
    {
        float ix = 0.0f;
        float iy = 0.0f;
        ringPoint(mCenterX, mCenterY, item->mAngle, r, ix, iy);
        if (pointDistance(ix, iy, static_cast<float>(x), static_cast<float>(y)) < kItemReach)
        {
            mHovered = item;
            return item->mKey;
        }
    }
    mHovered = nullptr;
    return -1;
}

void TDContextMenu::update(float dt)
{
    mTimer += dt;
    if (mState == kMenuOpening && mTimer > kAnimationTime)
    {
        mState = kMenuOpen;
        mTimer = 0.0f;
    }
    else if (mState == kMenuClosing && mTimer > kAnimationTime)
    {
        mAlive = 0;
        mState = kMenuOpen;
    }
}

void TDContextMenu::close()
{
    if (mState == kMenuClosing)
        return;
    (void)w7::SoundTags::Instance()->Play(L"context_out");
    mState = kMenuClosing;
    mTimer = 0.0f;
}

void TDContextMenu::arrangeItems()
{
    const bool near = isNearEdge();
    if (near)
    {
        if (!mReordered)
        {
            mReordered = true;
            if (mCenterY > 150.0f && mCenterX > 150.0f)
                std::reverse(mItems.begin(), mItems.end());
        }
        if (mCenterY < 150.0f)
        {
            mStartAngle = 270.0f;
            mEndAngle = 450.0f;
        }
        if (mCenterY > 650.0f)
        {
            mStartAngle = 90.0f;
            mEndAngle = 270.0f;
        }
        if (mCenterX < 150.0f)
        {
            mStartAngle = 0.0f;
            mEndAngle = 180.0f;
        }
        if (mCenterX > 874.0f)
        {
            mStartAngle = 180.0f;
            mEndAngle = 360.0f;
        }
    }
    const std::size_t n = mItems.size();
    const std::size_t m = near ? n - 1 : n;
    const float step = m == 0 ? 0.0f : (mEndAngle - mStartAngle) / static_cast<float>(m);
    for (std::size_t i = 0; i < n; ++i)
    {
        TDContextMenuItem& item = *mItems[i];
        item.mAngle = mStartAngle + static_cast<float>(i) * step;
        if (near || !item.mPreview)
            continue;
        switch (item.mPreview->id)
        {
        case 10000: item.mAngle = 270.0f; break;
        case 20000: item.mAngle = 180.0f; break;
        case 30000: item.mAngle = 0.0f; break;
        case 40000: item.mAngle = 90.0f; break;
        default: break;
        }
    }
}

void TDContextMenu::draw(render::Graphics* graphics)
{
    if (mAlive == 0 || !graphics)
        return;
    drawRange(graphics);
    if (mTower && (mKind == kMenuTower || mKind == kMenuTowerTier) && mState != kMenuClosing)
        mTower->drawOverlay(graphics);
    if (mItems.empty())
    {
        mAlive = 0;
        return;
    }
    const CountedHandle<render::Font> font = boardFont(TDBoardFont::Main32_2);
    if (font)
        graphics->mFont = font.Get();
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    arrangeItems();
    const float f = openFactor();
    for (TDContextMenuItem* item : mItems)
        drawItem(graphics, *item, f);
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void TDContextMenu::iconPoint(const TDContextMenuItem& item, float& x, float& y) const
{
    const float ringScale = isNearEdge() ? kNearScale : 1.0f;
    ringPoint(mCenterX, mCenterY, item.mAngle, kRadius * ringScale * openFactor(), x, y);
}

void TDContextMenu::pricePoint(const TDContextMenuItem& item, float& x, float& y) const
{
    // On the icon's ring, wider near the edges too: on the narrower one the price would cover its icon there.
    iconPoint(item, x, y);
    y -= 30.0f;
}

void TDContextMenu::drawItem(render::Graphics* graphics, TDContextMenuItem& item, float f)
{
    const TDContextIcons* icons = mMap.mContextIcons.get();
    float x = 0.0f;
    float y = 0.0f;
    iconPoint(item, x, y);
    graphics->SetColor(1.0f, 1.0f, 1.0f, f);
    render::Image* picture = nullptr;
    if (icons)
    {
        if (!item.mPreview)
            picture = mKind == kMenuBuySpot ? icons->buy : icons->sell;
        else if (item.mPreview->stars == 1)
            picture = icons->level2;
        else if (item.mPreview->stars == 2)
            picture = icons->level3;
        else
            picture = icons->towerIcon(item.mPreview->id);
    }
    drawCentred(graphics, picture, x, y, 1.0f);
    if (item.mPreview && icons)
    {
        const std::vector<std::string>& addons = item.mPreview->addonList;
        const float k = static_cast<float>(addons.size());
        for (std::size_t j = 0; j < addons.size(); ++j)
        {
            float ex = 0.0f;
            float ey = 0.0f;
            ringPoint(x, y, 270.0f + static_cast<float>(j + 1) * 180.0f / (k + 1.0f), 35.0f, ex, ey);
            drawCentred(graphics, icons->addonIcon(addons[j]), ex, ey, 1.0f);
        }
    }
    drawPrice(graphics, item);
}

float TDContextMenu::shownPrice(const TDContextMenuItem& item) const
{
    if (!item.mPreview)
        return 0.0f;
    return mKind == kMenuTowerTier ? item.mPreview->tierCost : item.mValue;
}

bool TDContextMenu::isShortOf(const TDContextMenuItem& item) const
{
    const TDEconomy* economy = mMap.mEconomy.get();
    const int money = economy ? economy->mMoney : 0;
    const int gems = economy ? economy->mGems : 0;
    if (item.mPreview)
        return money < truncToInt(shownPrice(item));
    const TDBuildSpot* spot = mSpot ? mSpot->mLink : nullptr;
    return !item.mText.empty() && spot && (money < spot->mCostGold || gems < spot->mCostReal);
}

void TDContextMenu::drawPrice(render::Graphics* graphics, TDContextMenuItem& item)
{
    if (item.mPreview)
        item.mLabel->mText = L"$" + std::to_wstring(truncToInt(shownPrice(item)));
    else if (!item.mText.empty())
        item.mLabel->mText = std::wstring(item.mText.begin(), item.mText.end());
    else
        return;
    const bool shortOf = isShortOf(item);
    item.mLabel->buildChunks();
    if (shortOf)
        graphics->SetColor(item.mPreview ? kShortColour : render::Color(1.0f, 0.0f, 0.0f, 1.0f));
    else
        graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    float x = 0.0f;
    float y = 0.0f;
    pricePoint(item, x, y);
    render::Font* saved = graphics->mFont;
    if (item.mLabel->mFont)
        graphics->mFont = item.mLabel->mFont.Get();
    render::Transform2D at;
    at.Translate(x, y);
    item.mLabel->layout(graphics, at);
    graphics->mFont = saved;
}

void TDContextMenu::drawRange(render::Graphics* graphics)
{
    if (mState == kMenuClosing || !mSpot)
        return;
    const TDContextIcons* icons = mMap.mContextIcons.get();
    render::Image* disc = icons ? icons->range : nullptr;
    const float cx = mSpot->mRect.x + mSpot->mRect.width * 0.5f;
    const float cy = mSpot->mRect.y + mSpot->mRect.height * 0.5f;
    const float m = spotRadiusMult(mSpot);
    const float q = mTimer - std::floor(mTimer);
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    if (mKind == kMenuTower || mKind == kMenuTowerTier)
    {
        if (!mTower)
            return;
        const TDUnitProto* p = mHovered ? mHovered->mPreview : currentProto(*mTower);
        if (mHovered && !p)
        {
            drawCentred(graphics, disc, cx, cy, 1.0f);
            return;
        }
        if (!p)
            return;
        float scale = p->r / kRangeDisc * m;
        if (!mHovered)
        {
            TDUnitProto* upgraded = upgradedCopy(*p);
            scale = upgraded->r / kRangeDisc * m;
            delete upgraded;
        }
        drawCentred(graphics, disc, cx, cy, scale);
        graphics->SetColor(kRangeColour);
        drawCircle(graphics, cx, cy, scale * kRangeDisc * 0.5f);
        const float pulse = (towerBoostRange(*mTower) + p->r) * 0.5f * m;
        graphics->SetColor(0.0f, 0.36f, 0.125f, 1.0f - q);
        drawCircle(graphics, cx, cy, pulse * 1.125f * q);
        graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
        return;
    }
    if (mKind != kMenuBuild || mHoveredKey <= 0 || !mMap.mProtoTable)
        return;
    const TDUnitProto* table = mMap.mProtoTable->find(mHoveredKey);
    if (!table)
        return;
    TDUnitProto* p = upgradedCopy(*table);
    drawCentred(graphics, disc, cx, cy, p->r / kRangeDisc * m);
    const float radius = p->r * 0.5f * m;
    delete p;
    graphics->SetColor(kRangeColour);
    drawCircle(graphics, cx, cy, radius);
    graphics->SetColor(0.0f, 0.36f, 0.125f, 1.0f - q);
    drawCircle(graphics, cx, cy, radius * 1.125f * q);
    graphics->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
}

void TDContextMenu::drawCircle(render::Graphics* graphics, float x, float y, float r)
{
    for (int k = 1; k <= 36; ++k)
    {
        math::Point2 a;
        math::Point2 b;
        ringPoint(x, y, static_cast<float>(k - 1) * 10.0f, r, a.x, a.y);
        ringPoint(x, y, static_cast<float>(k) * 10.0f, r, b.x, b.y);
        graphics->DrawLine(a, b);
    }
}
