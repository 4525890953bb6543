// A new player's first session with the real executable on the demo data, played with the mouse and keys on a
// private virtual display: splash, a typed name, episode, level select, unlock message, level 1-1 led by the
// tutorial to victory at double speed, the result window, the upgrade shop, the gem shop, the main menu and
// Quit. Also 1-1 lost with the tutorial skipped, and the options' window / full-screen switch both ways.
// What the player sees is checked against the layout pictures of the data at their places; the log must stay
// free of warnings and profiles.xml must keep what the session earned.
#include "Source/TD/Harness/PlayerDriver.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Harness/TDPicture.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace
{
using namespace std::chrono_literals;
using tdtest::PlayerDriver;
using tdtest::Shot;
using tdtest::fs::path;

// Layout folders of the demo data.
const std::string kMenu = "td/main_menu";
const std::string kModal = "td/data/mm";
const std::string kEpisodes = "td/episode_select";
const std::string kLevels = "td/level_select";
const std::string kMessage = "td/data/message";
const std::string kHud = "td/ui";
const std::string kTutorial = "td/data/tutorial";
const std::string kResult = "td/ui_levelresult";
const std::string kShop = "td/shop";
const std::string kGemShop = "td/gem_shop";
const std::string kSkip = "td/data/tutorial/skip";
const std::string kIngame = "td/data/ingame";
const std::string kOptions = "td/options";

// The level select lays its plates on a grid: 7 columns from (80, 220), 125 apart, 112 wide.
constexpr float kFirstPlateX = 80.0f + 56.0f;
constexpr float kFirstPlateY = 220.0f + 56.0f;
constexpr float kPlateStep = 125.0f;

// The build spot of 1-1 that the tutorial points at.
constexpr float kSpotX = 896.0f;
constexpr float kSpotY = 563.0f;

using tdtest::blue;
using tdtest::green;
using tdtest::red;

// What profiles.xml holds: the names of its profiles, the current one, and per profile its gems and the
// levels with a stored result.
struct StoredProfile
{
    std::string name;
    int gems = -1;
    int levelResults = 0; // levels with a stored score
    int stars = 0;        // of level 1-1 in easy mode
};

struct StoredProfiles
{
    std::string current;
    std::vector<StoredProfile> profiles;

    explicit StoredProfiles(const std::string& xml)
    {
        tinyxml2::XMLDocument doc;
        if (doc.Parse(xml.c_str()) != tinyxml2::XML_SUCCESS || doc.RootElement() == nullptr)
            return;
        const char* chosen = doc.RootElement()->Attribute("currentProfile");
        current = chosen != nullptr ? chosen : "";
        for (const tinyxml2::XMLElement* p = doc.RootElement()->FirstChildElement("Profile"); p != nullptr;
             p = p->NextSiblingElement("Profile"))
        {
            StoredProfile profile;
            profile.name = p->Attribute("name") != nullptr ? p->Attribute("name") : "";
            if (const tinyxml2::XMLElement* gems = p->FirstChildElement("gems"))
                profile.gems = gems->IntAttribute("amount", -1);
            if (const tinyxml2::XMLElement* levels = p->FirstChildElement("levels"))
                for (const tinyxml2::XMLElement* l = levels->FirstChildElement(); l != nullptr;
                     l = l->NextSiblingElement())
                {
                    // A level's entry may stand for no more than its being open; a result has a score.
                    if (l->Attribute("kills") != nullptr || l->Attribute("high") != nullptr ||
                        l->Attribute("stars") != nullptr)
                        ++profile.levelResults;
                    if (l->IntAttribute("episode", -1) == 0 && l->IntAttribute("n", -1) == 0 &&
                        l->IntAttribute("mode", -1) == 0)
                        profile.stars = l->IntAttribute("stars");
                }
            profiles.push_back(profile);
        }
    }

    const StoredProfile* find(const std::string& name) const
    {
        for (const StoredProfile& p : profiles)
            if (p.name == name)
                return &p;
        return nullptr;
    }
};

class PlayerSession : public ::testing::Test
{
protected:
    path folder;
    std::unique_ptr<PlayerDriver> player;

    void SetUp() override
    {
        if (::access("/usr/bin/Xvfb", X_OK) != 0)
            GTEST_SKIP() << "needs Xvfb";
        ASSERT_FALSE(tdtest::demoDataRoot().empty());
        folder = tdtest::fs::temp_directory_path() /
                 ("corv-session-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        tdtest::fs::remove_all(folder);
        tdtest::fs::create_directories(folder);
    }

    void TearDown() override
    {
        player.reset();
        if (!folder.empty() && !HasFailure())
            tdtest::fs::remove_all(folder);
    }

    void Start(int width = 1366, int height = 768)
    {
        PlayerDriver::Options options;
        options.dataRoot = tdtest::demoDataRoot();
        options.folder = folder;
        options.shotFolder = CORV_SHOT_DIR;
        options.screenWidth = width;
        options.screenHeight = height;
        player = std::make_unique<PlayerDriver>(options);
        const std::string why = player->start();
        ASSERT_EQ(why, "");
    }

    // The log so far has no warning line.
    void ExpectCleanLog(const char* step)
    {
        const std::vector<std::string> warnings = tdtest::logWarnings(player->log());
        EXPECT_TRUE(warnings.empty()) << step << ": " << warnings.front();
    }

    void Keep(const Shot& shot, const std::string& name)
    {
        shot.save(path(CORV_SHOT_DIR) / ("session_" + name + ".png"));
    }
};

// A build spot of 1-1 and where the ring's dart item stands for it: straight above a spot by the map's edge
// (the ring turns inwards and grows by 1.3), to the left of any other.
struct Spot
{
    float x, y, itemX, itemY;
};

Spot SpotAt(float x, float y)
{
    const bool nearEdge = y < 150.0f || y > 650.0f || x < 150.0f || x > 874.0f;
    if (!nearEdge)
        return {x, y, x - 80.0f, y};
    if (x > 874.0f)
        return {x, y, x, y - 104.0f};
    if (x < 150.0f)
        return {x, y, x, y + 104.0f};
    return {x, y, x, y < 150.0f ? y + 104.0f : y - 104.0f};
}

// The free spots of level 1-1 from its file, the tutorial's first; none of them lies by the left edge, where
// the ring's item would fall off the map.
std::vector<Spot> FreeSpots()
{
    std::vector<Spot> spots;
    tinyxml2::XMLDocument doc;
    const path file = tdtest::demoDataRoot() / "td" / "levels_normal" / "level_01_01.xml";
    if (doc.LoadFile(file.c_str()) != tinyxml2::XML_SUCCESS || doc.RootElement() == nullptr)
        return spots;
    const tinyxml2::XMLElement* list = doc.RootElement()->FirstChildElement("spots");
    for (const tinyxml2::XMLElement* e = list ? list->FirstChildElement("spot") : nullptr; e != nullptr;
         e = e->NextSiblingElement("spot"))
    {
        bool free = true;
        for (const tinyxml2::XMLElement* a = e->FirstChildElement("a"); a != nullptr;
             a = a->NextSiblingElement("a"))
            if (std::string(a->Attribute("name") ? a->Attribute("name") : "") == "cost_gold")
                free = a->IntAttribute("value") == 0;
        const float x = e->FloatAttribute("x");
        const float y = e->FloatAttribute("y");
        if (free && x >= 150.0f)
            spots.push_back(SpotAt(x, y));
    }
    return spots;
}

// The middle of the marker that calls the next wave early: a 52-unit square at the road's entrance, kept on
// the screen and clear of the HUD's bars.
math::Point2 WaveMarker()
{
    tinyxml2::XMLDocument doc;
    const path file = tdtest::demoDataRoot() / "td" / "levels_normal" / "level_01_01.xml";
    if (doc.LoadFile(file.c_str()) != tinyxml2::XML_SUCCESS || doc.RootElement() == nullptr)
        return math::Point2(26.0f, 286.0f);
    const tinyxml2::XMLElement* list = doc.RootElement()->FirstChildElement("points");
    for (const tinyxml2::XMLElement* p = list ? list->FirstChildElement("p") : nullptr; p != nullptr;
         p = p->NextSiblingElement("p"))
        for (const tinyxml2::XMLElement* a = p->FirstChildElement("a"); a != nullptr;
             a = a->NextSiblingElement("a"))
            if (std::string(a->Attribute("name") ? a->Attribute("name") : "") == "spawn")
            {
                const float x = std::clamp(p->FloatAttribute("x"), 0.0f, 1024.0f - 52.0f);
                const float y = std::clamp(p->FloatAttribute("y"), 100.0f, 668.0f - 52.0f);
                return math::Point2(x + 26.0f, y + 26.0f);
            }
    return math::Point2(26.0f, 286.0f);
}

// The tutorial's hints in the order of the script, each known by its plate; the first spell socket holds the
// meteor, cast on the road's middle.
const char* const kHints[] = {"build", "choose", "play", "call", "upgrade", "spell", "done"};
constexpr float kRoadX = 520.0f;
constexpr float kRoadY = 410.0f;

class FirstSession : public PlayerSession
{
protected:
    // Main menu -> Play -> a typed name -> episode 1 -> level 1-1; stops on the level's map.
    void ReachFirstLevel(const std::string& name)
    {
        ASSERT_NO_FATAL_FAILURE(Start());
        // The splash pictures come first: a lit picture on black, before the menu; a click skips each.
        ASSERT_TRUE(player->waitForShot("session_splash",
                                        [&](const Shot& shot)
                                        {
                                            const uint32_t middle = shot.at(512, 384);
                                            return red(middle) + green(middle) + blue(middle) > 60 &&
                                                   red(shot.pixel(2, 2)) + green(shot.pixel(2, 2)) < 10 &&
                                                   !player->shows(shot, kMenu, "button/b2_normal");
                                        }));
        Keep(player->grab(), "splash");
        player->click(100, 100);
        ASSERT_TRUE(player->waitForLayer(kMenu, "button/b2_normal")) << player->output();
        Keep(player->grab(), "menu");
        ExpectCleanLog("main menu");

        // Play: a new player's name. The field may hold a suggestion: erase it first, as a player does.
        player->click(player->layer(kMenu, "button/b2_play/pos"));
        ASSERT_TRUE(player->waitForLayer(kModal, "input"));
        for (int i = 0; i < 16; ++i)
            player->key("BackSpace");
        player->type(name);
        Keep(player->grab(), "name");
        // Nothing is stored under the name before OK.
        EXPECT_EQ(StoredProfiles(player->profiles()).find(name), nullptr);
        player->click(player->layer(kModal, "button/b1_ok/pos"));

        // The episode carousel: the first episode is open.
        ASSERT_TRUE(player->waitForLayer(kEpisodes, "button/play"));
        Keep(player->grab(), "episodes");
        ASSERT_TRUE(
            xtest::WaitUntil([&] { return StoredProfiles(player->profiles()).find(name) != nullptr; }, 30s))
            << player->profiles();
        // OK made one profile under the name typed, and chose it; no other profile holds the keys typed (the
        // store's own unlisted default stays as it is).
        const StoredProfiles stored(player->profiles());
        int withName = 0;
        for (const StoredProfile& p : stored.profiles)
            withName += p.name.find(name) != std::string::npos ? 1 : 0;
        EXPECT_EQ(withName, 1) << player->profiles();
        EXPECT_EQ(stored.current, name);
        // The new profile kept the screen as it was: no mode switch, no lost device.
        EXPECT_EQ(player->log().find("LostDevice()"), std::string::npos);
        EXPECT_EQ(player->log().find("PrepareSwitchScreenMode()"), std::string::npos);
        player->click(player->layer(kEpisodes, "button/play"));

        // The level select: its plates on their grid, the second still locked (the first, open, pulses).
        tdtest::LayoutLayer secondPlate = player->layer(kLevels, "plate/locked");
        secondPlate.rect.x = kFirstPlateX + kPlateStep - secondPlate.rect.width * 0.5f;
        secondPlate.rect.y = kFirstPlateY - secondPlate.rect.height * 0.5f;
        ASSERT_TRUE(player->waitForShot("session_levels", [&](const Shot& shot)
                                        { return tdtest::layerMatch(shot, secondPlate) > 0.6; }));
        Keep(player->grab(), "levels");
        player->click(kFirstPlateX, kFirstPlateY);
        // The level's news may come before its map.
        ASSERT_TRUE(player->waitForShot(
            "session_level", [&](const Shot& shot)
            { return player->shows(shot, kHud, "spell_bar") || player->shows(shot, kMessage, "ribbon"); }));
    }

    // The level's result window, won or lost: its three buttons at their places.
    bool ResultShown(const Shot& shot)
    {
        return player->shows(shot, kResult, "button/menu") &&
               player->shows(shot, kResult, "button/restart") && player->shows(shot, kResult, "button/done");
    }

    // A modal dialog of the "mm" layout: its panel and its first button's face.
    bool DialogShown(const Shot& shot)
    {
        return player->shows(shot, kModal, "back", 0.75) && player->shows(shot, kModal, "button/b1_normal");
    }

    // The hint whose plate shows, or "" when none does.
    std::string HintShown(const Shot& shot)
    {
        // The hint's text covers part of its plate.
        std::string best;
        double bestMatch = 0.6;
        for (const char* hint : kHints)
        {
            const double match =
                tdtest::layerMatch(shot, player->layer(kTutorial, std::string(hint) + "/plate"));
            if (match > bestMatch)
            {
                bestMatch = match;
                best = hint;
            }
        }
        return best;
    }

    void Build(const Spot& spot)
    {
        player->click(spot.x, spot.y);
        // The ring opens in a fraction of a second; its item takes a press only once it is open.
        std::this_thread::sleep_for(400ms);
        player->click(spot.itemX, spot.itemY);
    }

    // Does what a hint asks.
    void Follow(const std::string& hint)
    {
        if (hint == "build")
            player->click(kSpotX, kSpotY);
        else if (hint == "choose")
            player->click(SpotAt(kSpotX, kSpotY).itemX, SpotAt(kSpotX, kSpotY).itemY);
        else if (hint == "play" || hint == "done")
        {
            player->click(player->layer(kHud, "button/play_btn"));
            // From here the level may run at double speed.
            player->click(player->layer(kHud, "button/speed_btn"));
        }
        else if (hint == "call")
            player->click(WaveMarker().x, WaveMarker().y);
        else if (hint == "upgrade")
        {
            // The tower's ring shows its next buy in the same place: first the tier, then the branch that
            // earns the star.
            player->click(kSpotX, kSpotY - 20.0f);
            std::this_thread::sleep_for(400ms);
            player->click(SpotAt(kSpotX, kSpotY).itemX, SpotAt(kSpotX, kSpotY).itemY);
        }
        else if (hint == "spell")
        {
            player->click(player->layer(kHud, "spell/spell_1"));
            player->click(kRoadX, kRoadY);
        }
    }

    // Plays the level until its result window shows: every hint is followed when it comes up, and between
    // hints the player builds dart towers where money allows. The hints in the order they came.
    std::vector<std::string> PlayFirstLevel(bool& won)
    {
        std::vector<std::string> seen;
        const tdtest::LayoutLayer winBack = player->layer(kResult, "back_win");
        const tdtest::LayoutLayer loseBack = player->layer(kResult, "back_lose");
        const tdtest::LayoutLayer message = player->layer(kMessage, "ribbon");
        auto lastAction = std::chrono::steady_clock::now() - 1h;
        const std::vector<Spot> spots = FreeSpots();
        EXPECT_FALSE(spots.empty());
        size_t nextSpot = 0;
        const bool ended = xtest::WaitUntil(
            [&]
            {
                const Shot shot = player->grab();
                if (ResultShown(shot))
                {
                    won = tdtest::layerMatch(shot, winBack) > tdtest::layerMatch(shot, loseBack);
                    Keep(shot, won ? "victory" : "defeat");
                    return true;
                }
                if (tdtest::layerMatch(shot, message) > 0.6)
                {
                    if (seen.empty())
                        seen.push_back("unlock");
                    Keep(shot, "unlock");
                    player->click(player->layer(kMessage, "button/ok"));
                    return false;
                }
                const auto now = std::chrono::steady_clock::now();
                const std::string hint = HintShown(shot);
                if (!hint.empty())
                {
                    // A hint asks once; it is asked again only when it stayed up a while (a missed press).
                    if (seen.empty() || seen.back() != hint)
                    {
                        seen.push_back(hint);
                        Keep(shot, "hint_" + hint);
                    }
                    else if (now - lastAction < 3s)
                        return false;
                    lastAction = now;
                    Follow(hint);
                    return false;
                }
                if (now - lastAction > 3s)
                {
                    lastAction = now;
                    if (!spots.empty())
                        Build(spots[nextSpot++ % spots.size()]);
                    // The level runs at double speed once the player's hands are free.
                    player->click(player->layer(kHud, "button/speed_btn"));
                }
                return false;
            },
            600s);
        EXPECT_TRUE(ended) << "the level did not end";
        return seen;
    }
};

TEST_F(FirstSession, NewPlayerIsLedThroughLevelOneToVictoryAndTheShops)
{
    const std::string name = "Ada7";
    ASSERT_NO_FATAL_FAILURE(ReachFirstLevel(name));
    bool won = false;
    const std::vector<std::string> hints = PlayFirstLevel(won);
    std::string order;
    for (const std::string& h : hints)
        order += h + " ";
    // The unlock message, then every hint in the script's order, each once.
    EXPECT_EQ(order, "unlock build choose play call upgrade spell done ");
    ASSERT_TRUE(won);
    // The result window stands alone: the tutorial's skip button is gone with its hints.
    // It counts up to at least one star.
    EXPECT_TRUE(player->waitForLayer(kResult, "star0"));
    const Shot victory = player->grab();
    EXPECT_FALSE(player->shows(victory, kSkip, "button/b4_normal"));
    ExpectCleanLog("victory");

    // The victory is stored with its stars, and the stars' gems are the player's.
    int gems = 0;
    ASSERT_TRUE(xtest::WaitUntil(
        [&]
        {
            const StoredProfiles stored(player->profiles());
            const StoredProfile* p = stored.find(name);
            gems = p != nullptr ? p->gems : 0;
            return p != nullptr && p->stars > 0 && p->gems > 0;
        },
        60s))
        << player->profiles();

    // On to the upgrade shop; a buy costs gems.
    player->click(player->layer(kResult, "button/done"));
    ASSERT_TRUE(player->waitForLayer(kShop, "back_header"));
    Keep(player->grab(), "shop");
    player->click(player->layer(kShop, "item_plate/buy_in"));
    ASSERT_TRUE(xtest::WaitUntil(
        [&]
        {
            const StoredProfiles stored(player->profiles());
            const StoredProfile* p = stored.find(name);
            return p != nullptr && p->gems < gems;
        },
        60s))
        << player->profiles();
    gems = StoredProfiles(player->profiles()).find(name)->gems;
    Keep(player->grab(), "shop_bought");

    // The gem shop: a pack's priced button buys it.
    player->click(player->layer(kShop, "button/gem_shop1"));
    ASSERT_TRUE(player->waitForLayer(kGemShop, "counter"));
    Keep(player->grab(), "gem_shop");
    player->click(player->layer(kGemShop, "button/b_01_in"));
    ASSERT_TRUE(xtest::WaitUntil(
        [&]
        {
            const StoredProfiles stored(player->profiles());
            const StoredProfile* p = stored.find(name);
            return p != nullptr && p->gems > gems;
        },
        60s))
        << player->profiles();
    Keep(player->grab(), "gem_shop_bought");

    // Back to the upgrade shop, on to level 1-2 (its unlock message first), and from its in-game menu to the
    // main menu, which asks first.
    player->click(player->layer(kGemShop, "button/back_in"));
    ASSERT_TRUE(player->waitForLayer(kShop, "back_header"));
    player->click(player->layer(kShop, "button/return_ac"));
    ASSERT_TRUE(player->waitForLayer(kMessage, "ribbon"));
    Keep(player->grab(), "unlock_1_2");
    player->click(player->layer(kMessage, "button/ok"));
    ASSERT_TRUE(player->waitForShot(
        "session_level_1_2", [&](const Shot& shot)
        { return player->shows(shot, kHud, "spell_bar") && !player->shows(shot, kMessage, "ribbon"); }));
    player->click(player->layer(kHud, "button/options_btn"));
    ASSERT_TRUE(player->waitForLayer(kIngame, "button/b1_normal", 0.5));
    Keep(player->grab(), "ingame_menu");
    player->click(player->layer(kIngame, "button/b1_mmenu/pos"));
    ASSERT_TRUE(player->waitForShot("session_dialog", [&](const Shot& shot) { return DialogShown(shot); }));
    player->click(player->layer(kModal, "button/b1_ok/pos"));
    ASSERT_TRUE(player->waitForLayer(kMenu, "button/b2_normal"));
    player->click(player->layer(kMenu, "button/b1_cloze/pos"));
    EXPECT_EQ(player->waitExit(), 0) << player->output();

    const StoredProfiles stored(player->profiles());
    EXPECT_EQ(stored.current, name);
    ASSERT_NE(stored.find(name), nullptr);
    EXPECT_GT(stored.find(name)->stars, 0);
    ExpectCleanLog("quit");
}

TEST_F(FirstSession, LevelOneWithTheTutorialSkippedIsLostAndLeavesNoResult)
{
    const std::string name = "Bo3";
    ASSERT_NO_FATAL_FAILURE(ReachFirstLevel(name));
    const tdtest::LayoutLayer message = player->layer(kMessage, "ribbon");
    const tdtest::LayoutLayer skip = player->layer(kSkip, "button/b4_normal");
    // The unlock message first, then the tutorial's skip button, which asks before it turns the tutorial off.
    ASSERT_TRUE(player->waitForShot("session_skip",
                                    [&](const Shot& shot)
                                    {
                                        if (tdtest::layerMatch(shot, message) > 0.6)
                                            player->click(player->layer(kMessage, "button/ok"));
                                        return tdtest::layerMatch(shot, skip) > 0.6;
                                    }));
    player->click(skip);
    ASSERT_TRUE(player->waitForShot("session_dialog", [&](const Shot& shot) { return DialogShown(shot); }));
    Keep(player->grab(), "skip_confirm");
    player->click(player->layer(kModal, "button/b1_ok/pos"));
    ASSERT_TRUE(player->waitForShot(
        "session_skipped", [&](const Shot& shot)
        { return !DialogShown(shot) && !player->shows(shot, kSkip, "button/b4_normal"); }));

    // No tower: the waves, called early at double speed, walk through until the lives are gone.
    const tdtest::LayoutLayer lose = player->layer(kResult, "back_lose");
    const tdtest::LayoutLayer win = player->layer(kResult, "back_win");
    player->click(player->layer(kHud, "button/play_btn"));
    player->click(player->layer(kHud, "button/speed_btn"));
    ASSERT_TRUE(player->waitForShot(
        "session_defeat",
        [&](const Shot& shot)
        {
            if (ResultShown(shot))
                return true;
            player->click(WaveMarker().x, WaveMarker().y);
            return false;
        },
        600s));
    const Shot defeat = player->grab();
    Keep(defeat, "defeat");
    EXPECT_GT(tdtest::layerMatch(defeat, lose), tdtest::layerMatch(defeat, win));
    EXPECT_FALSE(player->shows(defeat, kResult, "star0"));
    // The skipped tutorial left nothing over the result.
    EXPECT_FALSE(player->shows(defeat, kSkip, "button/b4_normal"));

    // A lost level stores no result and earns no gems.
    player->click(player->layer(kResult, "button/menu"));
    ASSERT_TRUE(player->waitForShot("session_after_defeat", [&](const Shot& shot)
                                    { return !player->shows(shot, kResult, "back_lose"); }));
    const StoredProfiles stored(player->profiles());
    ASSERT_NE(stored.find(name), nullptr) << player->profiles();
    EXPECT_EQ(stored.find(name)->levelResults, 0) << player->profiles();
    EXPECT_EQ(stored.find(name)->gems, 0) << player->profiles();
    ExpectCleanLog("defeat");
}

// Options: full screen to a window and back with the switches, and with Alt+Enter; each switch shows the new
// mode lit, takes clicks where it is drawn, and the picture goes on.
TEST_F(FirstSession, OptionsSwitchBetweenWindowAndFullScreenBothWays)
{
    // A display larger than the window, so that the two modes differ in size.
    ASSERT_NO_FATAL_FAILURE(Start(1920, 1080));
    ASSERT_TRUE(player->waitForLayer(kMenu, "button/b2_normal")) << player->output();
    EXPECT_EQ(player->windowWidth(), 1920);
    EXPECT_EQ(player->windowHeight(), 1080);

    const std::string window = "main_options/window/window_in";
    const std::string windowOff = "main_options/window/window_nonselected";
    const std::string full = "main_options/fullscreen/main_menu_in";
    const std::string fullOff = "main_options/fullscreen/fullscreen_nonselected";
    auto lit = [&](const Shot& shot, const std::string& on, const std::string& off)
    {
        return tdtest::layerMatch(shot, player->layer(kOptions, on)) >
               tdtest::layerMatch(shot, player->layer(kOptions, off));
    };

    player->click(player->layer(kMenu, "button/b1_options/pos"));
    ASSERT_TRUE(player->waitForLayer(kOptions, "title"));
    EXPECT_TRUE(lit(player->grab(), full, fullOff));
    EXPECT_TRUE(lit(player->grab(), windowOff, window));
    Keep(player->grab(), "options_full");

    // To a window: the logical screen's size, centred on the display.
    player->click(player->layer(kOptions, windowOff));
    ASSERT_TRUE(
        xtest::WaitUntil([&] { return player->findWindow() && player->windowWidth() == 1366; }, 60s));
    EXPECT_EQ(player->windowHeight(), 768);
    ASSERT_TRUE(player->waitForShot(
        "session_options_window", [&](const Shot& shot)
        { return player->shows(shot, kOptions, "title") && lit(shot, window, windowOff); }));
    Keep(player->grab(), "options_window");
    EXPECT_TRUE(lit(player->grab(), fullOff, full));

    // Back to full screen with the other switch.
    player->click(player->layer(kOptions, fullOff));
    ASSERT_TRUE(
        xtest::WaitUntil([&] { return player->findWindow() && player->windowWidth() == 1920; }, 60s));
    ASSERT_TRUE(
        player->waitForShot("session_options_full", [&](const Shot& shot)
                            { return player->shows(shot, kOptions, "title") && lit(shot, full, fullOff); }));
    EXPECT_TRUE(lit(player->grab(), windowOff, window));

    // The dialog closes onto a live menu; Alt+Enter switches both ways as well.
    player->click(player->layer(kOptions, "buttons/close/ok_in"));
    ASSERT_TRUE(player->waitForLayer(kMenu, "button/b2_normal"));
    player->key("Return", true);
    ASSERT_TRUE(
        xtest::WaitUntil([&] { return player->findWindow() && player->windowWidth() == 1366; }, 60s));
    ASSERT_TRUE(player->waitForLayer(kMenu, "button/b2_normal"));
    player->key("Return", true);
    ASSERT_TRUE(
        xtest::WaitUntil([&] { return player->findWindow() && player->windowWidth() == 1920; }, 60s));
    ASSERT_TRUE(player->waitForLayer(kMenu, "button/b2_normal"));

    player->click(player->layer(kMenu, "button/b1_cloze/pos"));
    EXPECT_EQ(player->waitExit(), 0) << player->output();
    ExpectCleanLog("screen modes");
}

} // namespace
