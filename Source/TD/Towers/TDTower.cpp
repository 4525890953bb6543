// A tower's life apart from aiming and drawing: its prototypes, upgrades, tier updates, income and its own
// modifiers.
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Data/TDRules.h"

#include "Core/Base/Containers.h"
#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Source/TD/Data/LocalStrings.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Effects/HUDPopupTexts.h"
#include "Source/TD/Game.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDTowerModifiers.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDModifier.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace
{
// The upgrade figures rise larger than the other notices.
constexpr float kUpgradeNoticeScale = 2.5f;

// A localised line with one integer in it.
std::wstring formatLine(const wchar_t* key, int value)
{
    const std::wstring format = LocalStrings::Instance()->get(key);
    wchar_t buffer[512];
    const int n = std::swprintf(buffer, 512, format.c_str(), value);
    return n < 0 ? format : std::wstring(buffer, static_cast<std::size_t>(n));
}

void startBurst(TDMap& map, const char* name, float x, float y)
{
    render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->GetEmitter(name);
    if (!emitter)
        return;
    emitter->SetPosition(math::Point2(x, y), 0);
    emitter->SetState(1);
    map.mBuildEmitters.push_back(emitter);
}
} // namespace

TDTower::TDTower(TDUnitProto* proto, TDFrameEntry* spotFrame, float x, float y)
    : mSpotFrame(spotFrame), mX(x), mY(y), mBaseX(x), mBaseY(y)
{
    init(proto);
}

void TDTower::init(TDUnitProto* proto)
{
    mProto = proto;
    mBranch = 0;
    mBoost = std::make_unique<TDUnitProto>();
    mBoost->clearBoosts();
    base::DeleteAll(mModifiers);
    if (!mProto)
        return;
    refreshExtent();
    // The modifiers need the map only when they act; the list sort needs it now, so it waits for the builder.
    for (TDModifier* modifier : makeTowerModifiers(*this, *mProto))
        mModifiers.push_back(modifier);
}

TDTower::~TDTower()
{
    base::DeleteAll(mModifiers);
}

TDMap* TDTower::map() const
{
    return mMap ? mMap : Game::GetMap();
}

void TDTower::refreshExtent()
{
    const TDUnitProto* p = getProto(-1);
    computeSheetExtent(p ? p->sheet : nullptr, mSpriteWidth, mSpriteHeight);
}

TDUnitProto* TDTower::getProto(int levelId) const
{
    if (!mProto)
        return nullptr;
    const TDMap* m = map();
    TDUnitProto* table = (m && m->mProtoTable) ? m->mProtoTable->find(mProto->id) : nullptr;
    if (!table)
        table = mProto;
    if (levelId != -1)
    {
        for (TDUnitProto* branch : table->branches)
            if (branch->levelid == levelId)
                return branch;
        return nullptr;
    }
    if (mBranch == 0)
        return table;
    for (TDUnitProto* branch : table->branches)
        if (branch->levelid == mBranch)
            return branch;
    return table->branches.empty() ? table : table->branches.back();
}

TDUnitProto* TDTower::findBranch(int protoId) const
{
    const TDUnitProto* table = getProto(-1) ? mProto : nullptr;
    if (!table)
        return nullptr;
    if (const TDMap* m = map(); m && m->mProtoTable)
        if (TDUnitProto* row = m->mProtoTable->find(mProto->id))
            table = row;
    for (TDUnitProto* branch : table->branches)
        if (branch->id == protoId)
            return branch;
    return nullptr;
}

float TDTower::spotAttribute(const char* name) const
{
    if (!mSpotFrame || !mSpotFrame->mLink)
        return 0.0f;
    return mSpotFrame->mLink->getFloat(name);
}

float TDTower::getRange() const
{
    const TDUnitProto* p = getProto(-1);
    if (!p)
        return 0.0f;
    return (mBoost->r + p->r) * radiusMultiplier() * 0.5f;
}

float TDTower::radiusMultiplier() const
{
    const float m = spotAttribute("radius_mult");
    return m == 0.0f ? 1.0f : m;
}

void TDTower::resetBoost()
{
    mBoost->clearBoosts();
    mBoosted = false;
}

void TDTower::applyUpgrades()
{
    const TDUnitProto* p = getProto(-1);
    TDMap* m = map();
    if (!p || !m)
        return;
    if (m->mUpgrades)
        m->mUpgrades->applyToTower(*p, *mBoost);
    // A tier update is a lasting step of the current prototype: each adds tierK of its strength and range.
    if (mTierCount > 0 && p->tierK > 0.0f)
    {
        const float k = static_cast<float>(mTierCount) * p->tierK;
        if (p->strength > 0.0f)
            mBoost->strength += p->strength * k;
        mBoost->r += p->r * k;
    }
}

int TDTower::tierUpdatesLeft() const
{
    const TDUnitProto* p = getProto(-1);
    return p ? std::max(0, p->tierUpdates - mTierCount) : 0;
}

bool TDTower::tierUpdate()
{
    const TDUnitProto* p = getProto(-1);
    TDMap* m = map();
    if (!p || !m || tierUpdatesLeft() <= 0)
        return false;
    if (p->tierCost > static_cast<float>(m->mEconomy->mMoney))
        return false;
    m->mEconomy->spendMoney(truncToInt(p->tierCost));
    ++mTierCount;
    mAnimationTime = 0.0f;
    mState = kTowerIdle;
    return true;
}

bool TDTower::upgradeTo(int protoId, float price)
{
    const TDUnitProto* v = findBranch(protoId);
    return v && upgrade(v->levelid, price);
}

bool TDTower::upgrade(int levelId, float price)
{
    const TDUnitProto* v = getProto(levelId);
    TDMap* m = map();
    if (!v || !m)
        return false;
    if (price > static_cast<float>(m->mEconomy->mMoney))
        return false;
    m->mEconomy->spendMoney(static_cast<int>(std::floor(price)));
    const TDUnitProto* o = mBranch != 0 ? getProto(mBranch) : getProto(-1);
    if (!o)
        o = v;

    // Each line only where its figure means something: no division by a zero range, cooldown or income.
    std::wstring notice;
    if (v->r != o->r && o->r > 0.0f)
        notice += formatLine(L"towerUpgradeInfoRange", static_cast<int>((v->r / o->r - 1.0f) * 100.0f));
    if (v->strength != o->strength && o->strength > 0.0f)
        notice += formatLine(L"towerUpgradeInfoDamage",
                             static_cast<int>((v->strength / o->strength - 1.0f) * 100.0f));
    if (v->cooldown != o->cooldown && v->cooldown > 0.0f)
        notice +=
            formatLine(L"towerUpgradeInfoRof", static_cast<int>((o->cooldown / v->cooldown - 1.0f) * 100.0f));
    if (v->goldIncome != o->goldIncome && o->goldIncome > 0)
        notice += formatLine(
            L"towerUpgradeInfoIncome",
            static_cast<int>((static_cast<float>(v->goldIncome) / static_cast<float>(o->goldIncome) - 1.0f) *
                             100.0f));
    if (m->mPopups && !notice.empty())
    {
        HUDPopupNotice* popup = m->mPopups->add(mBaseX, mBaseY - 30.0f, HUDPopupTexts::kKindText);
        popup->mText = notice;
        popup->mScale = kUpgradeNoticeScale;
    }

    mBranch = levelId;
    mTierCount = 0;
    mAnimationTime = 0.0f;
    mState = kTowerIdle;
    mTarget.reset();
    makeModifiers();
    refreshExtent();
    startBurst(*m, "upgrade", mBaseX, mBaseY + 15.0f);
    w7::SoundTags::Instance()->Play(L"upgradeTower");
    TDTutorial::Instance()->onEvent(L"tower_upgraded");
    return true;
}

int TDTower::sellValue() const
{
    const TDUnitProto* p = getProto(-1);
    const TDMap* m = map();
    if (!p)
        return 0;
    float parentCost = 0.0f;
    if (p->parent != -1 && p->parent != 0 && m && m->mProtoTable)
        if (const TDUnitProto* parent = m->mProtoTable->find(p->parent))
            parentCost = parent->cost;
    return sellRefund(p->cost, parentCost, m ? m->mSellRatio : 0.5f);
}

void TDTower::payIncome()
{
    const TDUnitProto* p = getProto(-1);
    TDMap* m = map();
    if (!p || !m || p->goldIncome < 1)
        return;
    w7::SoundTags::Instance()->Play(L"tower" + std::to_wstring(p->id) + L"shot");
    std::unique_ptr<TDUnitProto> upgraded(createUpgradedProto(p->id));
    const int base = upgraded ? upgraded->goldIncome : p->goldIncome;
    const float amount = static_cast<float>(base) * spotAttribute("income_mult");
    if (m->mPopups)
    {
        HUDPopupNotice* popup = m->mPopups->add(mX, mY, HUDPopupTexts::kKindMoney);
        popup->mText = L"+" + std::to_wstring(static_cast<int>(amount));
    }
    m->mEconomy->addMoney(static_cast<int>(amount));
    mState = kTowerFiring;
}

void TDTower::makeModifiers()
{
    base::DeleteAll(mModifiers);
    if (const TDUnitProto* p = getProto(-1))
        mModifiers = makeTowerModifiers(*this, *p);
    if (TDMap* m = map())
        boostersFirst(m->mTowers);
}

void removeModifiersOwnedBy(std::vector<TDModifier*>& list, const TDTower* tower)
{
    for (std::size_t i = 0; i < list.size();)
    {
        if (list[i]->mOwner != tower)
        {
            ++i;
            continue;
        }
        delete list[i];
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

TDUnitProto* createUpgradedProto(int id)
{
    const TDMap* m = Game::GetMap();
    const TDUnitProto* row = (m && m->mProtoTable) ? m->mProtoTable->find(id) : nullptr;
    if (!row)
        return nullptr;
    auto* copy = new TDUnitProto;
    copy->copyFrom(*row);
    if (m->mUpgrades)
        m->mUpgrades->applyToProto(*copy);
    return copy;
}

void computeSheetExtent(const TDSpriteSheet* sheet, float& width, float& height)
{
    width = 0.0f;
    height = 0.0f;
    if (!sheet)
        return;
    for (const auto& [name, frames] : sheet->mGroups)
        for (const TDFrameEntry* frame : frames)
        {
            width = std::max(width, frame->mRect.x + frame->mRect.width);
            height = std::max(height, frame->mRect.y + frame->mRect.height);
        }
}

void boostersFirst(std::vector<TDTower*>& towers)
{
    std::stable_sort(towers.begin(), towers.end(),
                     [](const TDTower* a, const TDTower* b)
                     {
                         const TDUnitProto* pa = a->getProto(-1);
                         const TDUnitProto* pb = b->getProto(-1);
                         return (pa && pa->boostTower) && !(pb && pb->boostTower);
                     });
}
