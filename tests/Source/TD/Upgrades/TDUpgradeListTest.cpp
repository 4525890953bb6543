#include "Source/TD/Data/TDUpgradeList.h"

#include "Source/TD/Data/TDAttributes.h"
#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Data/TDRules.h"
#include "Source/TD/Data/TDUnitProto.h"
#include "Source/TD/Data/TDUnlocks.h"
#include "Source/TD/TDTestUtil.h"

#include <gtest/gtest.h>

namespace
{
// Upgrade 1: lives, rewards and budget for the whole game. Upgrade 2 and 3: the dart tower 10000 (unlocked
// at level 0) in two upgrades. Upgrade 4: the cannon 30000, not unlocked at level 0.
const char* kUpgrades = R"(<?xml version="1.0"?>
<upgrades>
  <upgrade id="1" section="0" icon="icon_lives">
    <targets><target id="-1"/></targets>
    <steps>
      <step cost_g="0" cost_r="10"><attributes><a name="maxHP" value="5"/><a name="enemyCost" value="20"/></attributes></step>
      <step cost_g="0" cost_r="20"><attributes><a name="maxHP" value="3"/><a name="startBudget" value="15"/></attributes></step>
    </steps>
  </upgrade>
  <upgrade id="2" section="1" icon="dart_strength">
    <unlock episode="0" level="2"/>
    <targets><target id="10000"/><target id="10001"/></targets>
    <steps>
      <step cost_r="5"><attributes><a name="strength" value="10"/><a name="cooldown" value="25"/></attributes></step>
    </steps>
  </upgrade>
  <upgrade id="3" section="1" icon="dart_more">
    <targets><target id="10000"/></targets>
    <steps>
      <step cost_r="5"><attributes><a name="strength" value="10"/><a name="radius" value="50"/>
        <a name="cost" value="15"/><a name="goldIncome" value="50"/><a name="speed" value="25"/></attributes></step>
    </steps>
  </upgrade>
  <upgrade id="4" section="2" icon="cannon">
    <targets><target id="30000"/></targets>
    <steps><step cost_r="5"><attributes><a name="strength" value="100"/></attributes></step></steps>
  </upgrade>
</upgrades>
)";

class UpgradeListTest : public tdtest::GameDataTest
{
protected:
    void SetUp() override
    {
        GameDataTest::SetUp();
        Write("td/upgrades.xml", kUpgrades);
        Write("td/unlocks.csv", "0;0;10000\n0;1;30000\n");
        file::Profiles::Instance()->Load();
        mProfile = std::make_unique<TDProfile>(mCursor, mEpisodes);
        mUnlocks = std::make_unique<TDUnlocks>(mCursor);
        mList = std::make_unique<TDUpgradeList>(L"td/upgrades.xml");
        mList->setProfile(mProfile.get());
        mList->setUnlocks(mUnlocks.get());
        mProfile->setUpgradeList(mList.get());
    }

    // A fresh dart tower prototype.
    static void Dart(TDUnitProto& p)
    {
        p.id = 10000;
        p.strength = 10;
        p.r = 200;
        p.cost = 40;
        p.cooldown = 2.0f;
        p.goldIncome = 7;
        p.speed = 300;
    }

    tdtest::Cursor mCursor;
    TDEpisodeTable mEpisodes;
    std::unique_ptr<TDProfile> mProfile;
    std::unique_ptr<TDUnlocks> mUnlocks;
    std::unique_ptr<TDUpgradeList> mList;
};

TEST_F(UpgradeListTest, TheFileGivesUpgradesTargetsAndSteps)
{
    const std::vector<TDUpgrade*>& all = mList->getUpgrades();
    ASSERT_EQ(all.size(), 4u);
    const TDUpgrade* dart = findById(all, 2);
    ASSERT_NE(dart, nullptr);
    EXPECT_EQ(dart->section, 1);
    EXPECT_EQ(dart->icon, L"dart_strength");
    EXPECT_EQ(dart->unlockLevel, 2);
    EXPECT_EQ(dart->targetIds, (std::vector<int>{10000, 10001}));
    EXPECT_EQ(findById(all, 1)->unlockEpisode, 0) << "no unlock element: 0";
    EXPECT_EQ(findById(all, 1)->getStep(1)->costGems, 20);
    EXPECT_EQ(findById(all, 1)->getStep(2), nullptr) << "an index equal to the step count";
    EXPECT_EQ(findById(all, 1)->getStep(-1), nullptr);
    EXPECT_EQ(findById(all, 9), nullptr);

    std::vector<TDUpgrade*> section;
    mList->getBySection(1, section);
    ASSERT_EQ(section.size(), 2u);
    EXPECT_EQ(section[0]->id, 2);
    EXPECT_EQ(section[1]->id, 3);
    EXPECT_EQ(tdtest::LogCapture::Text(), L"");
}

TEST_F(UpgradeListTest, GlobalStepsReplaceEachOther)
{
    EXPECT_EQ(mList->applyGlobal().extraLives, 0) << "nothing bought";
    mProfile->setUpgradeLevel(1, 0);
    TDGlobalBonuses bonuses = mList->applyGlobal();
    EXPECT_EQ(bonuses.extraLives, 5);
    EXPECT_FLOAT_EQ(bonuses.killRewardBonus, 0.2f);
    EXPECT_EQ(bonuses.startBudgetBonus, 0.0f);
    EXPECT_EQ(levelStartLives(bonuses.extraLives, false), 30);

    mProfile->setUpgradeLevel(1, 1); // the second step's values are totals
    bonuses = mList->applyGlobal();
    EXPECT_EQ(bonuses.extraLives, 3);
    EXPECT_EQ(bonuses.killRewardBonus, 0.0f);
    EXPECT_FLOAT_EQ(bonuses.startBudgetBonus, 0.15f);

    mProfile->setUpgradeLevel(1, 5); // past the last step: nothing
    EXPECT_EQ(mList->applyGlobal().extraLives, 0);
}

TEST_F(UpgradeListTest, TowerStepsBuildOnEachOtherOnAWorkingCopy)
{
    TDUnitProto p;
    Dart(p);
    mList->applyToProto(p);
    EXPECT_EQ(p.strength, 10.0f) << "nothing bought";

    mProfile->setUpgradeLevel(2, 0);
    Dart(p);
    mList->applyToProto(p);
    EXPECT_EQ(p.strength, 11.0f);
    EXPECT_FLOAT_EQ(p.cooldown, 1.5f);

    mProfile->setUpgradeLevel(3, 0);
    Dart(p);
    mList->applyToProto(p);
    EXPECT_EQ(p.strength, 13.0f) << "10 + ceil(1), then 11 + ceil(1.1)";
    EXPECT_FLOAT_EQ(p.r, 300.0f);
    EXPECT_EQ(p.cost, 46.0f) << "40 + floor(6)";
    EXPECT_EQ(p.goldIncome, 10) << "7 + int(3.5)";
    EXPECT_EQ(p.speed, 375.0f);

    TDUnitProto other;
    Dart(other);
    other.id = 10001; // only upgrade 2 names it
    mList->applyToProto(other);
    EXPECT_EQ(other.strength, 11.0f);
}

TEST_F(UpgradeListTest, ACooldownBonusShortensTheTowerEveryFrameWithoutCompounding)
{
    mProfile->setUpgradeLevel(2, 0); // 25 % cooldown
    TDUnitProto current;
    Dart(current);
    TDUnitProto boost;
    for (int frame = 0; frame < 3; ++frame)
    {
        boost.clearBoosts();
        mList->applyToTower(current, boost);
        EXPECT_FLOAT_EQ(boost.cooldown, 0.5f);
        EXPECT_EQ(boost.strength, 1.0f);
        EXPECT_FLOAT_EQ(towerShotPeriod(current.cooldown, boost.cooldown, false), 1.5f)
            << "a bought bonus makes the tower faster, never slower";
    }
    mProfile->setUpgradeLevel(3, 0);
    boost.clearBoosts();
    mList->applyToTower(current, boost);
    EXPECT_EQ(boost.strength, 2.0f) << "from the prototype's own values: ceil(1) + ceil(1)";
    EXPECT_FLOAT_EQ(boost.r, 100.0f);
    EXPECT_FLOAT_EQ(boost.cost, 6.0f);
    EXPECT_EQ(boost.goldIncome, 3);
    boost.clearBoosts();
    EXPECT_EQ(boost.cost, 0.0f);
    EXPECT_EQ(boost.goldIncome, 0) << "nothing piles up from frame to frame";
}

TEST_F(UpgradeListTest, LockedTargetsAndHardcoreGetNothing)
{
    mProfile->setUpgradeLevel(4, 0);
    TDUnitProto cannon;
    Dart(cannon);
    cannon.id = 30000;
    mList->applyToProto(cannon);
    EXPECT_EQ(cannon.strength, 10.0f) << "bought, but the cannon is not unlocked at this level";
    EXPECT_FALSE(findById(mList->getUpgrades(), 4)->isAvailable(false, *mUnlocks));
    EXPECT_TRUE(findById(mList->getUpgrades(), 1)->isAvailable(false, *mUnlocks));
    mCursor.level = 1;
    mList->applyToProto(cannon);
    EXPECT_EQ(cannon.strength, 20.0f);
    EXPECT_TRUE(findById(mList->getUpgrades(), 4)->isAvailable(false, *mUnlocks));

    mProfile->setUpgradeLevel(1, 0);
    mProfile->setUpgradeLevel(3, 0);
    mCursor.mode = kModeHardcore;
    const TDGlobalBonuses bonuses = mList->applyGlobal();
    EXPECT_EQ(bonuses.extraLives, 0);
    EXPECT_EQ(bonuses.killRewardBonus, 0.0f);
    TDUnitProto p;
    Dart(p);
    mList->applyToProto(p);
    EXPECT_EQ(p.strength, 10.0f);
    EXPECT_EQ(p.cost, 40.0f);
}

TEST_F(UpgradeListTest, DamagedFilesGiveNoUpgradesAndALogLine)
{
    struct Case
    {
        const char* text; // null: no file
        std::size_t upgrades;
        const wchar_t* logged;
    } cases[] = {
        {nullptr, 0, L"missing"},
        {"<upgrades><upgrade id=\"1\">", 0, L"not readable as XML"},
        {"<other/>", 0, L"root element"},
        {"<upgrades><upgrade id=\"1\"/><x id=\"2\"><targets><target id=\"-1\"/><t id=\"5\"/></targets>"
         "<steps><step/></steps></x></upgrades>",
         2, L"has no \"targets\""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text ? c.text : "(no file)");
        tdtest::LogCapture::Reset();
        std::filesystem::remove(mRoot / "td/upgrades.xml");
        if (c.text)
            Write("td/upgrades.xml", c.text);
        TDUpgradeList list(L"td/upgrades.xml");
        EXPECT_EQ(list.getUpgrades().size(), c.upgrades);
        EXPECT_NE(tdtest::LogCapture::Text().find(c.logged), std::wstring::npos)
            << tdtest::LogCapture::Text();
    }
    // Every sibling after the first upgrade is an upgrade, and every sibling after the first target a target.
    TDUpgradeList list(L"td/upgrades.xml");
    const TDUpgrade* second = list.getUpgrades()[1];
    EXPECT_EQ(second->targetIds, (std::vector<int>{-1, 5}));
    ASSERT_EQ(second->steps.size(), 1u);
    EXPECT_EQ(second->steps[0]->bonuses, nullptr);
    EXPECT_NE(tdtest::LogCapture::Text().find(L"a step of upgrade 2 has no \"attributes\""),
              std::wstring::npos);
}
} // namespace
