#include "Source/TD/Data/TDProfile.h"

#include "Source/TD/Data/TDEpisodeTable.h"
#include "Source/TD/Data/TDUpgradeList.h"
#include "Source/TD/TDTestUtil.h"

#include "Core/File/AtomicFile.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cerrno>
#include <chrono>

namespace
{
namespace fs = std::filesystem;

struct Hooks : TDProfileHooks
{
    void onProfileSelected(TDProfile& profile) override { selected.push_back(profile.getGems()); }
    bool isFullscreen() const override { return fullscreen; }
    void switchScreenMode() override
    {
        fullscreen = !fullscreen;
        ++switches;
    }
    bool onSaveFailed(const std::wstring& why) override
    {
        failures.push_back(why);
        return canTell;
    }
    std::vector<int> selected; // the gem count seen at each selection
    bool fullscreen = false;
    int switches = 0;
    std::vector<std::wstring> failures; // the reasons the player was shown
    bool canTell = true;
};

// Every step of an atomic write fails as on a full disk.
bool diskFull(const char*)
{
    errno = ENOSPC;
    return true;
}

class ProfileTest : public tdtest::GameDataTest
{
protected:
    void SetUp() override
    {
        GameDataTest::SetUp();
        Write("td/setup_sheet.csv", "0;5;3;0;0\n1;4;2;6;0\n");
        mEpisodes.load();
    }

    // The store read again from "profiles.xml", as a new run would.
    void Reload() { file::Profiles::Instance()->Load(); }

    // A profile file as a player might leave it.
    void WriteProfiles(const std::string& profileContent, const std::string& name = "Ann")
    {
        filetest::WriteBytes(mUser / "profiles.xml", "<Profiles currentProfile=\"" + name +
                                                         "\"><Profile name=\"" + name + "\">" +
                                                         profileContent + "</Profile></Profiles>");
        Reload();
    }

    std::unique_ptr<TDProfile> Make()
    {
        auto profile = std::make_unique<TDProfile>(mCursor, mEpisodes);
        profile->setHooks(&mHooks);
        return profile;
    }

    TDLevelResult Result(int kills, int health, int stars, int gems = 0)
    {
        TDLevelResult r;
        r.kills = kills;
        r.healthBonus = health;
        r.stars = stars;
        r.gems = gems;
        return r;
    }

    tdtest::Cursor mCursor;
    TDEpisodeTable mEpisodes;
    Hooks mHooks;
};

TEST_F(ProfileTest, AFreshProfileGetsItsDefaultsOnFirstRead)
{
    Reload();
    auto profile = Make();
    EXPECT_EQ(profile->getGems(), 0);
    EXPECT_EQ(profile->getMode(), kModeEasy);
    EXPECT_FLOAT_EQ(profile->getMusicVolume(), 1.0f);
    EXPECT_FLOAT_EQ(profile->getSoundVolume(), 1.0f);
    EXPECT_FALSE(profile->getFullscreen());
    EXPECT_TRUE(profile->isTutorialAvailable());
    // In the order a level start asks: the steps' states, then the param.
    EXPECT_EQ(profile->getTutorialStepState(3), 0);
    EXPECT_EQ(profile->getTutorialParam(L"dropChanceOverride"), 0);
    EXPECT_TRUE(profile->isTutorialAvailable());

    const tinyxml2::XMLElement* e = profile->getElement();
    EXPECT_EQ(e->IntAttribute("version"), 4);
    for (const char* name : {"levels", "towers", "gems", "mode", "music", "sound", "fs", "tutorial"})
        EXPECT_NE(e->FirstChildElement(name), nullptr) << name;
    EXPECT_STREQ(e->FirstChildElement()->Name(), "tutorial") << "new elements go first";
    EXPECT_EQ(profile->getCurrentName(), L"") << "only the default profile exists";
}

// A step's state makes a missing "tutorial" element with the tutorial on; a param makes it bare, which reads
// as the tutorial off. Either way the value asked for is stored with 0.
TEST_F(ProfileTest, TheFirstTutorialReadMakesTheElementAsItsKindDoes)
{
    struct Case
    {
        bool step; // else a param
        const char* child;
        bool available;
    };
    for (const Case& c : {Case{true, "step", true}, Case{false, "param", false}})
    {
        SCOPED_TRACE(c.child);
        WriteProfiles("<levels/>");
        auto profile = Make();
        EXPECT_EQ(c.step ? profile->getTutorialStepState(3) : profile->getTutorialParam(L"dropChanceOverride"), 0);
        EXPECT_EQ(profile->isTutorialAvailable(), c.available);

        Reload(); // saved as made
        profile = Make();
        const tinyxml2::XMLElement* tutorial = profile->getElement()->FirstChildElement("tutorial");
        ASSERT_NE(tutorial, nullptr);
        if (c.step)
            EXPECT_TRUE(tutorial->BoolAttribute("avail"));
        else
            EXPECT_EQ(tutorial->FirstAttribute(), nullptr) << "no attributes";
        const tinyxml2::XMLElement* stored = tutorial->FirstChildElement(c.child);
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(stored->IntAttribute(c.step ? "state" : "v", -1), 0);
        // The other kind finds the element and leaves its attributes alone.
        if (c.step)
            EXPECT_EQ(profile->getTutorialParam(L"dropChanceOverride"), 0);
        else
            EXPECT_EQ(profile->getTutorialStepState(3), 0);
        EXPECT_EQ(profile->isTutorialAvailable(), c.available);
    }
}

TEST_F(ProfileTest, EverySetterWritesThroughAndReadsBackAfterARestart)
{
    Reload();
    auto profile = Make();
    profile->setGems(250);
    profile->setMode(kModeHard);
    profile->setMusicVolume(0.25f);
    profile->setSoundVolume(0.5f);
    profile->setFullscreen(true);
    profile->setEpisodeVisited(1, kModeNormal, 4);
    profile->setEpisodeVisited(1, kModeHardcore, 2);
    profile->setEventFlag(3);
    profile->setTutorialAvailable(false);
    profile->setTutorialStepState(5, 2);
    profile->setTutorialParam(L"dropChanceOverride", 40);
    profile->setUpgradeLevel(7, 1);
    profile->addOwnedSpot(L"spot_ä", 1, 2);
    profile->saveLevelResult(1, 3, kModeNormal, Result(500, 2000, 2, 3));

    Reload(); // nothing more was saved: every change above is already in the file
    profile = Make();
    EXPECT_EQ(profile->getGems(), 253);
    EXPECT_EQ(profile->getMode(), kModeHard);
    EXPECT_FLOAT_EQ(profile->getMusicVolume(), 0.25f);
    EXPECT_FLOAT_EQ(profile->getSoundVolume(), 0.5f);
    EXPECT_TRUE(profile->getFullscreen());
    EXPECT_EQ(profile->getEpisodeVisited(1, kModeHard), 4) << "every mode but hardcore shares the n value";
    EXPECT_EQ(profile->getEpisodeVisited(1, kModeHardcore), 2);
    EXPECT_EQ(profile->getEpisodeVisited(0, kModeNormal), 0);
    EXPECT_TRUE(profile->getEventFlag(3));
    EXPECT_FALSE(profile->getEventFlag(4));
    EXPECT_FALSE(profile->isTutorialAvailable());
    EXPECT_EQ(profile->getTutorialStepState(5), 2);
    EXPECT_EQ(profile->getTutorialParam(L"dropChanceOverride"), 40);
    EXPECT_EQ(profile->getUpgradeLevel(7), 1);
    EXPECT_TRUE(profile->isSpotOwned(L"spot_ä", 1, 2));
    const TDLevelResult stored = profile->getLevelResult(1, 3, kModeNormal);
    EXPECT_EQ(stored.kills, 500);
    EXPECT_EQ(stored.high, 2500);
    EXPECT_EQ(stored.stars, 2);
    EXPECT_EQ(profile->getLastEpisode(), 1);
}

TEST_F(ProfileTest, ALevelResultKeepsTheBestHighAndStars)
{
    WriteProfiles(
        "<levels><level n=\"2\" episode=\"0\" mode=\"1\" high=\"3000\" stars=\"3\" kills=\"9\"/></levels>"
        "<gems amount=\"10\"/>");
    auto profile = Make();
    profile->saveLevelResult(0, 2, kModeNormal, Result(500, 2000, 2, 3));
    TDLevelResult r = profile->getLevelResult(0, 2, kModeNormal);
    EXPECT_EQ(r.high, 3000);
    EXPECT_EQ(r.stars, 3);
    EXPECT_EQ(r.kills, 500);
    EXPECT_EQ(r.healthBonus, 2000);
    EXPECT_EQ(r.gems, 3);
    EXPECT_EQ(profile->getGems(), 13);
    EXPECT_EQ(profile->getLastEpisode(), 0);

    profile->saveLevelResult(0, 2, kModeNormal, Result(3000, 1, 0));
    EXPECT_EQ(profile->getLevelResult(0, 2, kModeNormal).high, 3001);
    EXPECT_EQ(profile->getLevelResult(0, 2, kModeHard).stars, 0) << "each mode has its own result";
}

TEST_F(ProfileTest, ProgressOpensLevelsInOrder)
{
    Reload();
    auto profile = Make();
    EXPECT_EQ(profile->getProgress(0, kModeNormal), 0);
    profile->saveLevelResult(0, 0, kModeNormal, Result(1, 1, 1));
    profile->saveLevelResult(0, 1, kModeNormal, Result(1, 1, 3));
    EXPECT_EQ(profile->getProgress(0, kModeNormal), 2);
    EXPECT_TRUE(profile->isLevelUnlocked(0, 2, kModeNormal));
    EXPECT_FALSE(profile->isLevelUnlocked(0, 3, kModeNormal));
    EXPECT_EQ(profile->getProgress(0, kModeEasy), 0);
    for (int level = 2; level < 5; ++level)
        profile->saveLevelResult(0, level, kModeNormal, Result(1, 1, 1));
    EXPECT_EQ(profile->getProgress(0, kModeNormal), 4);
    for (int level = 0; level < 5; ++level)
        EXPECT_TRUE(profile->isLevelUnlocked(0, level, kModeNormal)) << level;
    EXPECT_FALSE(profile->isLevelUnlocked(0, 5, kModeNormal));

    // Hardcore counts its own levels; an episode outside the table has none.
    profile->saveLevelResult(0, 0, kModeHardcore, Result(1, 1, 1));
    EXPECT_EQ(profile->getProgress(0, kModeHardcore), 1);
    EXPECT_FALSE(profile->isLevelUnlocked(7, 0, kModeNormal));
    EXPECT_EQ(profile->getStars(0), 8);
    EXPECT_EQ(profile->getStars(-1), 8);
    EXPECT_EQ(profile->getStars(1), 0);

    int episode = -1, level = -1;
    profile->findLatestLevel(episode, level);
    EXPECT_EQ(episode, 1) << "8 stars open episode 1";
    EXPECT_EQ(level, 0);
}

TEST_F(ProfileTest, HandEditedValuesReadAsTheNearestSoundOnes)
{
    WriteProfiles("<levels><level n=\"0\" episode=\"0\" mode=\"1\" stars=\"7\"/>"
                  "<level n=\"1\" episode=\"0\" mode=\"1\" stars=\"-5\"/>"
                  "<level n=\"2\" episode=\"0\" mode=\"1\" stars=\"many\"/></levels>"
                  "<gems amount=\"-50\"/><mode v=\"9\"/><music v=\"4\"/><sound v=\"nan\"/>");
    auto profile = Make();
    EXPECT_EQ(profile->getLevelResult(0, 0, kModeNormal).stars, 3);
    EXPECT_EQ(profile->getLevelResult(0, 1, kModeNormal).stars, 0);
    EXPECT_EQ(profile->getStars(0), 3);
    EXPECT_EQ(profile->getProgress(0, kModeNormal), 1);
    EXPECT_EQ(profile->getGems(), 0);
    profile->addGems(5);
    EXPECT_EQ(profile->getGems(), 5) << "a negative stored count is taken as none";
    EXPECT_EQ(profile->getMode(), kModeEasy);
    EXPECT_FLOAT_EQ(profile->getMusicVolume(), 1.0f);
    EXPECT_FLOAT_EQ(profile->getSoundVolume(), 0.0f);

    // A better result replaces the impossible stored stars with real ones.
    profile->saveLevelResult(0, 1, kModeNormal, Result(1, 1, 2));
    EXPECT_EQ(profile->getLevelResult(0, 1, kModeNormal).stars, 2);
}

TEST_F(ProfileTest, SpotsBoughtInHardcoreStayInHardcore)
{
    Reload();
    auto profile = Make();
    mCursor.mode = kModeHardcore;
    profile->addOwnedSpot(L"a", 0, 1);
    mCursor.mode = kModeEasy;
    profile->addOwnedSpot(L"b", 0, 1);
    struct Case
    {
        int mode;
        bool a, b;
    } cases[] = {{kModeEasy, false, true},
                 {kModeNormal, false, true},
                 {kModeHard, false, true},
                 {kModeHardcore, true, false}};
    for (const Case& c : cases)
    {
        mCursor.mode = c.mode;
        EXPECT_EQ(profile->isSpotOwned(L"a", 0, 1), c.a) << c.mode;
        EXPECT_EQ(profile->isSpotOwned(L"b", 0, 1), c.b) << c.mode;
        EXPECT_FALSE(profile->isSpotOwned(L"b", 0, 2));
        EXPECT_FALSE(profile->isSpotOwned(L"B", 0, 1));
    }
}

TEST_F(ProfileTest, UpgradeLevelsAreListedOnFirstUseAndOffInHardcore)
{
    Reload();
    TDUpgradeList upgrades;
    upgrades.parse("<upgrades><upgrade id=\"3\"><targets><target id=\"-1\"/></targets></upgrade>"
                   "<upgrade id=\"8\"><targets><target id=\"-1\"/></targets></upgrade></upgrades>",
                   L"upgrades.xml");
    auto profile = Make();
    profile->setUpgradeList(&upgrades);

    mCursor.mode = kModeHardcore;
    EXPECT_EQ(profile->getUpgradeLevel(3), -1);
    EXPECT_FALSE(std::filesystem::exists(mUser / "profiles.xml")) << "hardcore does not touch the file";

    mCursor.mode = kModeNormal;
    EXPECT_EQ(profile->getUpgradeLevel(3), -1);
    const tinyxml2::XMLElement* list = profile->getElement()->FirstChildElement("upgrades");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->FirstChildElement()->IntAttribute("id"), 8) << "inserted first one after the other";
    EXPECT_EQ(list->LastChildElement()->IntAttribute("id"), 3);
    EXPECT_NE(ReadProfiles().find("<upgrades>"), std::string::npos) << "saved when listed";
    EXPECT_EQ(profile->getUpgradeLevel(99), -2);

    profile->setUpgradeLevel(8, 2);
    profile->setUpgradeLevel(99, 0);
    EXPECT_EQ(profile->getUpgradeLevel(8), 2);
    Reload();
    profile = Make();
    EXPECT_EQ(profile->getUpgradeLevel(8), 2);
    EXPECT_EQ(profile->getUpgradeLevel(99), 0);
    mCursor.mode = kModeHardcore;
    EXPECT_EQ(profile->getUpgradeLevel(8), -1);
}

// Creating a player keeps the screen as it is, in either mode, even when the store already held a profile of
// that name wishing for the other mode; the new profile keeps the mode it was created in.
TEST_F(ProfileTest, CreatingAProfileNeverSwitchesTheScreenMode)
{
    for (const bool fullscreen : {false, true})
    {
        SCOPED_TRACE(fullscreen ? "full screen" : "windowed");
        WriteProfiles(fullscreen ? "<fs v=\"0\"/>" : "<fs v=\"1\"/>", "Cleo");
        auto profile = Make();
        mHooks = Hooks{};
        mHooks.fullscreen = fullscreen;
        profile->createProfile(L"Dan");
        profile->createProfile(L"Cleo");
        EXPECT_EQ(mHooks.switches, 0);
        EXPECT_EQ(profile->getFullscreen(), fullscreen);
        profile->selectProfile(L"Dan");
        EXPECT_EQ(mHooks.switches, 0);
        Reload();
        EXPECT_EQ(Make()->getFullscreen(), fullscreen) << "kept in the file";
    }
}

TEST_F(ProfileTest, ProfilesAreCreatedSelectedRenamedAndDeleted)
{
    Reload();
    auto profile = Make();
    mHooks.fullscreen = true; // the window is full screen; new profiles take that as their wish
    profile->createProfile(L"Ann");
    EXPECT_EQ(profile->getCurrentName(), L"Ann");
    profile->setGems(30);
    profile->createProfile(L"Ben");
    EXPECT_EQ(profile->getUserProfileNames(), (std::vector<std::wstring>{L"Ann", L"Ben"}));
    EXPECT_EQ(profile->getProfileCount(), 3);
    EXPECT_EQ(mHooks.switches, 0);

    profile->setFullscreen(false);
    profile->selectProfile(L"Ann");
    EXPECT_EQ(mHooks.selected.back(), 30) << "the hooks see the selected profile";
    EXPECT_EQ(mHooks.switches, 0) << "Ann wants full screen, as the window is";
    profile->selectProfile(L"Ben");
    EXPECT_EQ(mHooks.switches, 1) << "Ben wants a window";

    profile->renameProfile(L"Bea");
    EXPECT_EQ(profile->getCurrentName(), L"Bea");
    EXPECT_EQ(profile->getUserProfileNames(), (std::vector<std::wstring>{L"Ann", L"Bea"}));

    // Deleting with two user profiles left selects the first of them (the second name of the file).
    profile->deleteCurrentProfile();
    EXPECT_EQ(profile->getCurrentName(), L"Ann");
    EXPECT_EQ(profile->getGems(), 30);
    // Deleting when only the default would remain clears the current name.
    profile->deleteCurrentProfile();
    EXPECT_EQ(profile->getCurrentName(), L"");
    EXPECT_EQ(profile->getUserProfileNames(), std::vector<std::wstring>{});
    Reload();
    EXPECT_EQ(file::Profiles::Instance()->GetNames(),
              std::vector<std::wstring>{file::Profiles::kDefaultName});
}
TEST_F(ProfileTest, AFailedSaveIsToldOnceWithItsReasonAndPlayGoesOn)
{
    auto profile = Make();
    profile->setGems(5);
    file::SetAtomicFaultHook(diskFull);
    // The screen cannot show it yet: asked again at the next failure.
    mHooks.canTell = false;
    profile->setGems(6);
    ASSERT_EQ(mHooks.failures.size(), 1u);
    mHooks.canTell = true;
    profile->setGems(7);
    profile->setGems(8);
    profile->setMode(kModeHard);
    file::SetAtomicFaultHook(nullptr);
    ASSERT_EQ(mHooks.failures.size(), 2u) << "told once it could be shown";
    EXPECT_NE(mHooks.failures[1].find(L"No space left on device"), std::wstring::npos);
    EXPECT_EQ(profile->getGems(), 8) << "play goes on with what is in memory";
    EXPECT_NE(ReadProfiles().find("amount=\"5\""), std::string::npos) << "the last good file stays";
    profile->setGems(9);
    EXPECT_NE(ReadProfiles().find("amount=\"9\""), std::string::npos);
    EXPECT_EQ(mHooks.failures.size(), 2u);
}

TEST_F(ProfileTest, TempFilesOfKilledSavesAreRemovedAtStartAndNothingElse)
{
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    struct Case
    {
        const char* name;
        bool aged;
        bool removed;
    };
    const Case cases[] = {
        {"profiles.xml.tmp-a1b2c3d4", true, true},   {"profiles.xml.tmp-00000000", true, true},
        {"profiles.xml.tmp-a1b2c3d4", false, false}, // a save of a running game
        {"profiles.xml.tmp-a1b2c3d", true, false},   // seven characters
        {"profiles.xml.tmp-a1b2c3d4e", true, false}, // nine
        {"profiles.xml.tmp-A1B2C3D4", true, false},  // not our alphabet
        {"profiles.xml.bad", true, false},           {"notes.tmp-a1b2c3d4", true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.name << (c.aged ? " aged" : " fresh"));
        const fs::path path = mUser / c.name;
        filetest::WriteBytes(path, "<Profiles/>");
        if (c.aged)
            fs::last_write_time(path, old);
        tdtest::LogCapture::Reset();
        Reload();
        EXPECT_EQ(fs::exists(path), !c.removed);
        EXPECT_EQ(tdtest::LogCapture::CountLines(L"left behind by a save"), c.removed ? 1 : 0);
        std::error_code ignored;
        fs::remove(path, ignored);
    }
}
} // namespace
