// The player's commands on the map: building, selling, the hit tests that find spots and towers, buying a
// spot and placing a spell. The context menu and the spell buttons call these.
#include "Source/TD/Map/TDMap.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Core/Particles/ParticleSystem.h"
#include "Source/TD/Data/SoundTags.h"
#include "Source/TD/Data/TDEconomy.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Effects/TDBeamParticle.h"
#include "Source/TD/Map/TDLevelArt.h"
#include "Source/TD/Sprites/TDAnimatedSprite.h"
#include "Source/TD/Sprites/TDFrameEntry.h"
#include "Source/TD/Sprites/TDSprite.h"
#include "Source/TD/Towers/TDBuildSpot.h"
#include "Source/TD/Towers/TDBullets.h"
#include "Source/TD/Towers/TDSpell.h"
#include "Source/TD/Towers/TDSpellList.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDModifier.h"
#include "Source/TD/Units/TDUnitAccess.h"

#include <algorithm>
#include <memory>

namespace
{
void startBuildBurst(std::vector<render::ParticleEmitter*>& bursts, float x, float y)
{
    render::ParticleEmitter* emitter = render::ParticleSystem::Instance()->GetEmitter("build");
    if (!emitter)
        return;
    emitter->SetPosition(math::Point2(x, y), 0);
    emitter->SetState(1);
    bursts.push_back(emitter);
}

math::Point2 frameCentre(const TDFrameEntry& frame)
{
    return math::Point2(frame.mRect.x + frame.mRect.width * 0.5f, frame.mRect.y + frame.mRect.height * 0.5f);
}
} // namespace

float TDMap::getTowerPrice(int protoId) const
{
    const TDUnitProto* row = mProtoTable ? mProtoTable->find(protoId) : nullptr;
    if (!row)
        return 0.0f;
    TDUnitProto copy;
    copy.copyFrom(*row);
    mUpgrades->applyToProto(copy);
    return copy.cost;
}

TDTower* TDMap::buildTower(TDUnitProto* proto, TDFrameEntry* spotFrame)
{
    if (!proto || !spotFrame)
        return nullptr;
    TDUnitProto copy;
    copy.copyFrom(*proto);
    mUpgrades->applyToProto(copy);
    const float price = copy.cost;
    if (price > static_cast<float>(mEconomy->mMoney))
        return nullptr;
    mEconomy->spendMoney(static_cast<int>(price));
    spotFrame->mVisible = false;
    const math::Point2 centre = frameCentre(*spotFrame);
    auto* tower = new TDTower(proto, spotFrame, centre.x, centre.y);
    tower->mMap = this;
    mTowers.push_back(tower);
    boostersFirst(mTowers);
    w7::SoundTags::Instance()->Play(L"buildTower");
    startBuildBurst(mBuildEmitters, tower->mBaseX, tower->mBaseY);
    return tower;
}

void TDMap::sellTower(TDTower* tower)
{
    if (!tower)
        return;
    mEconomy->addMoney(tower->sellValue());
    auto it = std::find(mTowers.begin(), mTowers.end(), tower);
    if (it == mTowers.end())
        return;
    if (tower->mSpotFrame)
        tower->mSpotFrame->mVisible = true;
    mBullets->removeTower(tower);
    if (TDBeamParticle* beam = tower->mBeam.get(); beam && beam->isPlaying())
    {
        if (TDUnit* held = tower->mTarget.get())
            tdunit::release(*held, tower);
        beam->stop();
    }
    removeModifiersOwnedBy(mModifiers, tower);
    startBuildBurst(mBuildEmitters, tower->mBaseX, tower->mBaseY);
    w7::SoundTags::Instance()->Play(L"sellTower");
    if (TDAnimatedSprite* sprite = tower->mDisabledSprite.get())
        eraseAndDelete(mSprites, static_cast<TDSprite*>(sprite));
    if (TDAnimatedSprite* sprite = tower->mDebuffSprite.get())
        eraseAndDelete(mSprites, static_cast<TDSprite*>(sprite));
    mTowers.erase(std::find(mTowers.begin(), mTowers.end(), tower));
    delete tower;
}

TDFrameEntry* TDMap::findSpotAt(int x, int y) const
{
    if (!mLevelArt)
        return nullptr;
    for (TDFrameEntry* frame : mLevelArt->mSpotFrames)
    {
        if (!frame->mVisible)
            continue;
        const math::Point2 c = frameCentre(*frame);
        if (pointDistance(c.x, c.y, static_cast<float>(x), static_cast<float>(y)) <= 40.0f)
            return frame;
    }
    return nullptr;
}

TDTower* TDMap::findTowerAt(int x, int y) const
{
    for (TDTower* tower : mTowers)
        if (pointDistance(tower->mX, tower->mY, static_cast<float>(x), static_cast<float>(y)) < 50.0f)
            return tower;
    return nullptr;
}

bool TDMap::buySpot(TDFrameEntry* spotFrame)
{
    TDBuildSpot* spot = spotFrame ? spotFrame->mLink : nullptr;
    if (!spot || spot->mOwned)
        return false;
    if (mEconomy->mMoney < spot->mCostGold || mEconomy->mGems < spot->mCostReal)
        return false;
    TDTutorial::Instance()->onEvent(L"buildspot_bought");
    mEconomy->spendMoney(spot->mCostGold);
    mEconomy->spendGems(spot->mCostReal);
    if (mLevelArt)
        if (render::Image* image = mLevelArt->getSpotImage(TDLevelArt::kSpotOwned))
            spotFrame->mTexture = image;
    spot->mOwned = true;
    mProfile->addOwnedSpot(spotFrame->mName, mEpisode, mLevel);
    w7::SoundTags::Instance()->Play(L"buySpot");
    return true;
}

TDSpell* TDMap::castSpell(int spellId, float x, float y)
{
    const TDSpellProto* row = mSpellList ? mSpellList->findById(spellId) : nullptr;
    if (!row)
        return nullptr;
    auto* spell = new TDSpell(row->mProtoId);
    spell->mMap = this;
    spell->mX = x;
    spell->mY = y;
    w7::SoundTags::Instance()->Play(L"spell" + std::to_wstring(spellId));
    mBullets->add(spell);
    spell->cast();
    return spell;
}

float TDMap::getSpellCooldown(int spellId) const
{
    const TDSpellProto* row = mSpellList ? mSpellList->findById(spellId) : nullptr;
    if (!row)
        return 0.0f;
    std::unique_ptr<TDUnitProto> p(createUpgradedProto(row->mProtoId));
    return p ? p->cooldown : 0.0f;
}

void TDMap::buildPrebuiltTowers()
{
    for (const auto& [frame, towerId] : mPrebuiltTowers)
    {
        TDUnitProto* proto = mProtoTable ? mProtoTable->find(towerId) : nullptr;
        if (!proto || !frame || !frame->mVisible)
            continue;
        mEconomy->mMoney += static_cast<int>(getTowerPrice(towerId));
        // It already stands when the level opens: ready, and shown whole rather than fading in as a new one.
        if (TDTower* tower = buildTower(proto, frame))
        {
            tower->mTimer = 0.0f;
            tower->mAlpha = 1.0f;
            tower->mFadeSpeed = 0.0f;
        }
    }
    mEconomy->mShownMoney = mEconomy->mMoney;
}
