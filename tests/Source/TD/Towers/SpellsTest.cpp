// Spells on level 1-1: the spells sheet, casting each spell at a point with the effects its flags ask for,
// the recharge times, the lasting hit once per unit, and the boost spell on the towers.
#include "Core/Base/Containers.h"
#include "Source/TD/Sprites/TDAnimatedSprite.h"
#include "Source/TD/Sprites/TDEmitter.h"
#include "Source/TD/Sprites/TDSprite.h"
#include "Source/TD/Towers/TDBullets.h"
#include "Source/TD/Towers/TDSpell.h"
#include "Source/TD/Towers/TDSpellList.h"
#include "Source/TD/Towers/TDTowerModifiers.h"
#include "Source/TD/Units/TDModifier.h"
#include "TowerFixture.h"

namespace
{
using tdtest::TowerFixture;
using Spells = TowerFixture;

template <class T>
int countOf(const std::vector<TDModifier*>& list)
{
    int n = 0;
    for (const TDModifier* m : list)
        n += dynamic_cast<const T*>(m) != nullptr ? 1 : 0;
    return n;
}

TEST(SpellSheet, RowsSkipOnlyAHashFirstFieldAndNeedBothIds)
{
    TDSpellList list;
    list.parse("#;prototype;icon;shade;spell\n"
               " # ; 1 ; a ; b ; 9\n"            // the trimmed first field is "#": skipped
               "meteor; 3000 ;td/a.png;td/b.png;0\r\n"
               "\n"
               ";3001;;;1\n"                      // an empty first field still gives a row
               "x;3002;p;q\n"                     // no spell id: not a row
               "#x;3003;p;q;3\n",
               false);
    ASSERT_EQ(list.getSpells().size(), 3u);
    EXPECT_EQ(list.getSpells()[0]->mProtoId, 3000);
    EXPECT_EQ(list.getSpells()[0]->mIconPath, "td/a.png");
    EXPECT_EQ(list.getSpells()[0]->mSpellId, 0);
    EXPECT_EQ(list.getSpells()[1]->mIconPath, "");
    EXPECT_EQ(list.getSpells()[2]->mSpellId, 3);
    EXPECT_EQ(list.findById(1)->mProtoId, 3001);
    EXPECT_EQ(list.findById(7), nullptr);
}

TEST_F(Spells, EachSpellStartsTheEffectsOfItsFlags)
{
    ASSERT_EQ(mMap->mSpellList->getSpells().size(), 5u);
    for (const TDSpellProto* row : mMap->mSpellList->getSpells())
        EXPECT_NE(row->mIcon, nullptr) << row->mIconPath;
    build(10000);
    struct Case
    {
        int spellId;
        int fire, impassable, dotArea, boost;
    };
    const Case cases[] = {{0, 1, 0, 0, 0}, {1, 0, 0, 0, 0}, {2, 0, 0, 1, 0}, {3, 0, 1, 0, 0}, {4, 0, 0, 0, 1}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.spellId);
        base::DeleteAll(mMap->mModifiers);
        mHarness.sounds().clear();
        const std::size_t sprites = mMap->mSprites.size();
        const std::size_t effects = mMap->mEmitters.size();
        TDSpell* spell = mMap->castSpell(c.spellId, 400.0f, 300.0f);
        ASSERT_NE(spell, nullptr);
        EXPECT_FLOAT_EQ(spell->mX, 400.0f);
        EXPECT_TRUE(played(L"spell" + std::to_wstring(c.spellId)));
        EXPECT_EQ(countOf<FireSplashModifier>(mMap->mModifiers), c.fire);
        EXPECT_EQ(countOf<MapImpassableArea>(mMap->mModifiers), c.impassable);
        EXPECT_EQ(countOf<DotModifierArea>(mMap->mModifiers), c.dotArea);
        EXPECT_EQ(countOf<TowersBoost>(mMap->mModifiers), c.boost);
        EXPECT_EQ(mMap->mEmitters.size() - effects, 1u) << "its onAmmo effect";
        // Three sprites of the spell's registered sheet, each with pictures to show.
        ASSERT_EQ(mMap->mSprites.size() - sprites, 3u);
        for (std::size_t i = sprites; i < mMap->mSprites.size(); ++i)
        {
            const auto* sprite = dynamic_cast<const TDAnimatedSprite*>(mMap->mSprites[i]);
            ASSERT_NE(sprite, nullptr);
            EXPECT_GT(sprite->mAnimation.getFrameCount(), 0u);
        }
        EXPECT_FLOAT_EQ(mMap->getSpellCooldown(c.spellId), proto(spell->mProtoId)->cooldown);
    }
    EXPECT_EQ(mMap->castSpell(42, 0.0f, 0.0f), nullptr);
    EXPECT_FLOAT_EQ(mMap->getSpellCooldown(42), 0.0f);
}

TEST_F(Spells, ASpellLivesItsDurationAndTakesEachUnitIntoItsHitListOnce)
{
    TDSpell* spell = mMap->castSpell(1, 400.0f, 300.0f); // frost: stuns
    const TDUnitProto& q = *proto(spell->mProtoId);
    TDUnit* late = addUnit(1, 400.0f + q.r * 0.5f, 300.0f); // on the edge, counted
    addUnit(1, 400.0f + q.r * 0.5f + 5.0f, 300.0f);        // outside
    const auto before = late->mModifiers.size();
    for (int i = 0; i < 10; ++i)
        mMap->mBullets->update(1.0f / 60.0f);
    EXPECT_EQ(spell->mHitList.size(), 1u);
    EXPECT_EQ(late->mModifiers.size(), before + 1) << "one stun, not one per frame";
    int frames = 10;
    while (!mMap->mBullets->getBullets().empty() && frames < 1000)
    {
        mMap->mBullets->update(1.0f / 60.0f);
        ++frames;
    }
    EXPECT_NEAR(frames, static_cast<int>(q.speed * 60.0f), 2);

    // A spell without duration dies in its first update; its cast effects still started.
    proto(3003)->speed = 0.0f;
    base::DeleteAll(mMap->mModifiers);
    mMap->castSpell(3, 100.0f, 100.0f);
    EXPECT_EQ(countOf<MapImpassableArea>(mMap->mModifiers), 1);
    mMap->mBullets->update(1.0f / 60.0f);
    EXPECT_TRUE(mMap->mBullets->getBullets().empty());
}

TEST_F(Spells, TheBoostSpellRaisesEveryTowerWhileItLastsAndSparesThemTheUnitsMarks)
{
    TDTower* dart = build(10000);
    TDTower* cannon = build(20000, 1);
    mMap->castSpell(4, 500.0f, 300.0f);
    mHarness.step();
    const TDUnitProto& spell = *proto(3004);
    for (TDTower* tower : {dart, cannon})
    {
        EXPECT_TRUE(tower->mSpellBoosted);
        EXPECT_TRUE(tower->mExempt);
        EXPECT_FLOAT_EQ(tower->mBoost->r, tower->getProto()->r * spell.strength / 100.0f);
    }
    int hammers = 0;
    for (const TDEmitter* e : mMap->mLateEmitters)
        hammers += e->mTimeScale == 1.0f ? 1 : 0;
    EXPECT_GE(hammers, 2);
    mHarness.step(static_cast<int>(spell.speed * 60.0f) + 5);
    EXPECT_FALSE(dart->mSpellBoosted);
    EXPECT_FALSE(cannon->mExempt);
    EXPECT_FLOAT_EQ(dart->mBoost->r, 0.0f);
}

TEST_F(Spells, AHammerWithoutAUsableBoostSpeedPlaysAtItsOwnPace)
{
    build(10000);
    for (float speed : {0.0f, -3.0f})
    {
        proto(3004)->speed = speed;
        auto* boost = new TowersBoost(5.0f, 0.5f);
        mMap->mModifiers.push_back(boost);
        boost->update(nullptr, 1.0f / 60.0f);
        ASSERT_FALSE(mMap->mLateEmitters.empty());
        EXPECT_EQ(mMap->mLateEmitters.back()->mTimeScale, 1.0f) << speed;
        base::DeleteAll(mMap->mModifiers);
    }
}

} // namespace
