#include "Source/TD/Towers/TDSpell.h"

#include "Core/Particles/ParticleEmitter.h"
#include "Source/TD/Data/TDProtoTable.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUtil.h"
#include "Source/TD/Game.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Sprites/TDAnimatedSprite.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDSpriteSheet.h"
#include "Source/TD/Towers/TDTower.h"
#include "Source/TD/Towers/TDTowerModifiers.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDUnitAccess.h"
#include "Source/TD/Units/TDWaves.h"

#include <algorithm>
#include <memory>

namespace
{
// Live units whose target point lies within size x 0.5 of the point (inclusive), in list order.
std::vector<TDUnit*> unitsInCircle(const TDMap& map, float x, float y, float size)
{
    std::vector<TDUnit*> units;
    for (TDUnit* unit : map.mWaves->getUnits())
    {
        if (unit->mState == kUnitDying || unit->mState == kUnitGone)
            continue;
        const math::Point2 t = unit->getTargetPoint();
        if (pointDistance(t.x, t.y, x, y) <= size * 0.5f)
            units.push_back(unit);
    }
    return units;
}
} // namespace

TDSpell::TDSpell(int protoId) : TDBullet(nullptr, nullptr), mProtoId(protoId)
{
    mSpell = true;
}

void TDSpell::cast()
{
    TDMap* m = map();
    std::unique_ptr<TDUnitProto> p(createUpgradedProto(mProtoId));
    if (!m || !p)
        return;
    const float x = mX;
    const float y = mY;
    if (p->firesplash)
        m->mModifiers.push_back(new FireSplashModifier(std::string(), p->strength, p->speed, nullptr, x, y, p->r));
    if (p->splash)
        for (TDUnit* unit : unitsInCircle(*m, x, y, p->r))
        {
            tdunit::hit(*unit, p->strength);
            mHitList.push_back(unit);
        }
    if (p->hold)
        m->mModifiers.push_back(new MapImpassableArea(p->speed, x, y, p->r));
    if (p->dot)
        m->mModifiers.push_back(new DotModifierArea(x, y, p->r, p->strength, p->speed));
    if (p->boostTower)
        m->mModifiers.push_back(new TowersBoost(p->speed, p->strength / 100.0f));
    if (!p->onAmmo.empty())
    {
        auto* effect = new TDEmitter(p->onAmmo);
        if (effect->mEmitter)
        {
            effect->mEmitter->SetPosition(math::Point2(x, y), 0);
            effect->mEmitter->SetState(1);
        }
        const TDUnitProto* table = m->mProtoTable ? m->mProtoTable->find(mProtoId) : nullptr;
        // The effect lasts as long as the upgraded spell; without a usable speed it plays as it is.
        if (table && table->speed > 0.0f && p->speed > 0.0f)
            effect->mTimeScale = table->speed / p->speed;
        m->mEmitters.push_back(effect);
    }
    // The sprites come from the sheet the table registered for the row (its "td/" path).
    if (p->sheet && p->sheet->mFromDocument)
    {
        const std::wstring sheet = p->sheet->mPsdPath;
        auto place = [&](float px, float py, float delay)
        {
            auto* sprite = new TDAnimatedSprite(sheet);
            sprite->mX = px;
            sprite->mY = py;
            sprite->mDelay = delay;
            m->mSprites.push_back(sprite);
        };
        place(x, y, 0.0f);
        const math::Point2 second = randomPointInRing(x, y, 50.0f, 25.0f);
        place(second.x, second.y, 0.5f);
        const math::Point2 third = randomPointInRing(x, y, 50.0f, 25.0f);
        place(third.x, third.y, 0.75f);
    }
    TDTutorial::Instance()->onEvent(L"spell_casted");
}

void TDSpell::update(float dt)
{
    TDMap* m = map();
    const TDUnitProto* q = (m && m->mProtoTable) ? m->mProtoTable->find(mProtoId) : nullptr;
    mAnimationTime += dt;
    mAlive = q && mAnimationTime < q->speed ? 1 : 0;
    if (!mAlive)
        return;
    for (TDUnit* unit : unitsInCircle(*m, mX, mY, q->r))
    {
        if (std::find(mHitList.begin(), mHitList.end(), unit) != mHitList.end())
            continue;
        tdunit::loseHealth(*unit, q->strength);
        if (q->stun)
            tdunit::addModifier(*unit, tdunit::makeStun(q->speed), false);
        mHitList.push_back(unit);
    }
}
