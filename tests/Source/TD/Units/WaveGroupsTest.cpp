// Linked waves played to the end: which waves run together as a group, and the "wave_vanish_" event each
// group's end sends, numbered by the index of the wave that started the group (plus 1), so a group after
// linked waves skips their numbers.
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/Data/TDProfile.h"
#include "Source/TD/Tutorial/TDTutorial.h"
#include "Source/TD/Tutorial/TDTutorialStep.h"
#include "Source/TD/Units/TDUnit.h"
#include "Source/TD/Units/TDWaves.h"
#include "Source/TD/Units/UnitLevels.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace
{
using tdtest::GameHarness;

constexpr int kEvents = 6;
// Tutorial step ids of the test's script, one per event "wave_vanish_1" .. "wave_vanish_6".
constexpr int kFirstStep = 50;

// A script whose step k + 1 shows on "wave_vanish_k": the shown steps tell which events were sent.
std::string vanishScript()
{
    std::string script = "<tutorial>";
    for (int k = 1; k <= kEvents; ++k)
        script += "<step id=\"" + std::to_string(kFirstStep + k - 1) + "\" activate=\"wave_vanish_" +
                  std::to_string(k) + "\" complete=\"never\"><condition/><show folder=\"build\"/></step>";
    return script + "</tutorial>";
}

TEST(WaveGroups, EachGroupEndSendsTheNumberOfTheWaveThatStartedIt)
{
    const struct
    {
        const char* name;
        std::vector<int> linked; // each wave's "linked"
        // In order: the event's number, and the waves started when it was sent.
        std::vector<std::pair<int, std::vector<int>>> vanished;
    } cases[] = {
        {"three groups of one", {-1, -1, -1}, {{1, {0}}, {2, {0, 1}}, {3, {0, 1, 2}}}},
        {"the third wave runs with the first", {-1, -1, 0}, {{1, {0, 2}}, {2, {0, 1, 2}}}},
        {"the second group's number passes over the linked wave", {-1, 0, -1}, {{1, {0, 1}}, {3, {0, 1, 2}}}},
        {"two linked waves, then a group of two", {-1, 0, 0, -1, 3}, {{1, {0, 1, 2}}, {4, {0, 1, 2, 3, 4}}}},
    };
    int level = 0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        GameHarness harness;
        ASSERT_TRUE(harness.start());
        TDMap* map = harness.map();
        std::string waves = "<waves>";
        for (int linked : c.linked)
            waves += "<wave timeout=\"0\" spawn=\"1\" linked=\"" + std::to_string(linked) +
                     "\"><e id=\"1\" x=\"0\"/></wave>";
        tdtest::playLevel(harness, kModeNormal, level++, waves + "</waves>");
        TDTutorial::Instance()->loadScript(vanishScript(), L"test.xml");
        TDTutorial::Instance()->setEnabled(true);
        const auto sent = [map](int k)
        { return map->mProfile->getTutorialStepState(kFirstStep + k - 1) != 0; };

        std::vector<std::pair<int, std::vector<int>>> vanished;
        for (int frame = 0; frame < 120 * 60 && map->mState == kStatePlaying; ++frame)
        {
            // A scripted defence: every unit dies as it comes.
            for (TDUnit* unit : map->mWaves->getUnits())
                if (unit->isAlive())
                    unit->hit(unit->mHealth + 1.0f);
            harness.step();
            for (int k = 1; k <= kEvents; ++k)
            {
                const bool recorded =
                    std::find_if(vanished.begin(), vanished.end(),
                                 [k](const auto& v) { return v.first == k; }) != vanished.end();
                if (!sent(k) || recorded)
                    continue;
                std::vector<int> started;
                const auto& all = map->mWaves->getWaves();
                for (std::size_t i = 0; i < all.size(); ++i)
                    if (all[i]->mStarted)
                        started.push_back(static_cast<int>(i));
                vanished.emplace_back(k, started);
            }
        }
        EXPECT_EQ(map->mState, kStateWon);
        EXPECT_EQ(vanished, c.vanished);
        const int groups = static_cast<int>(c.vanished.size());
        EXPECT_EQ(map->mWaves->getWaveCount(), groups) << "the HUD counts groups";
        EXPECT_EQ(map->mWaves->mCompletedGroups, groups);
    }
}
} // namespace
