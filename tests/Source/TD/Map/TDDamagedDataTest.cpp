// Damaged copies of the demo data: each damage gives exactly one log line naming the file and what is wrong,
// and the first level still plays to its end (won or lost), however long the damaged data would have it.
#include "Core/Base/TextEncoding.h"
#include "Source/TD/Harness/TDGameHarness.h"
#include "Source/TD/Map/TDMap.h"
#include "Source/TD/TDTestUtil.h"
#include "Source/TD/Tutorial/TDTutorial.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <vector>

namespace
{
namespace fs = std::filesystem;
using tdtest::GameHarness;
using tdtest::LogCapture;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The text with its first `from` replaced; a test failure when the demo data no longer holds it.
std::string replaced(const std::string& text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    if (at == std::string::npos)
    {
        ADD_FAILURE() << "the demo data lacks " << from;
        return text;
    }
    return text.substr(0, at) + to + text.substr(at + from.size());
}

// The file's header line alone.
std::string headerOnly(const std::string& text)
{
    return text.substr(0, text.find('\n') + 1);
}

struct Damage
{
    const char* name;
    const char* file;
    // The damaged text from the sound one; none removes the file.
    std::function<std::optional<std::string>(const std::string&)> edit;
    const wchar_t* logged;
    // Read only when the game starts (else at every level start).
    bool atStart = false;
};

auto edit(const std::string& from, const std::string& to)
{
    return [from, to](const std::string& text)
    { return std::optional<std::string>(replaced(text, from, to)); };
}

auto becomes(const std::string& whole)
{
    return [whole](const std::string&) { return std::optional<std::string>(whole); };
}

// Plays the level at a high speed until it is won or lost; false when it is still running after an hour.
bool playsToItsEnd(GameHarness& harness)
{
    TDMap& map = *harness.map();
    TDTutorial::Instance()->skip();
    for (int frame = 0; frame < 60 * 60 * 60 / 8 && map.mState == kStatePlaying; ++frame)
    {
        map.mSpeed = 8.0f;
        harness.step();
    }
    return map.mState == kStateWon || map.mState == kStateLost;
}

const char* const kLevel = "td/levels_normal/level_01_01.xml";
const char* const kUnits = "td/units_sheet.csv";
const char* const kTowers = "td/towers_sheet.csv";
const char* const kUnlocks = "td/unlocks.csv";

// The goblin (unit 1, speed 42) walks in every wave of level 1-1.
const std::string kGoblin = "1;Goblin;-1;0;0;0;goblin;;1;0;32;42;";
const std::string kDart = "10000;Dart tower;-1;1;0;0;dart_1;;7;";

const std::vector<Damage>& damages()
{
    static const std::vector<Damage> table = {
        {"an entry time of 1e30", kLevel, edit("x=\"99\"", "x=\"1e30\""), L"x \"1e30\" is no time"},
        {"an entry time that is nan", kLevel, edit("x=\"99\"", "x=\"nan\""), L"x \"nan\" is no time"},
        {"an entry time that is text", kLevel, edit("x=\"99\"", "x=\"x\""), L"x \"x\" is no time"},
        {"a wave timeout of a year", kLevel, edit("timeout=\"12\"", "timeout=\"31536000\""),
         L"wave timeout 31536000 is not within an hour"},
        {"a negative wave scale", kLevel,
         edit("wipeAward=\"10\" scale=\"1\"", "wipeAward=\"10\" scale=\"-3\""),
         L"wave scale -3 is out of range"},
        {"a tier that is text", kLevel, edit("upgrade=\"1\" x=\"99\"", "upgrade=\"abc\" x=\"99\""),
         L"has the tier \"abc\""},
        {"a negative tier", kLevel, edit("upgrade=\"1\" x=\"99\"", "upgrade=\"-5\" x=\"99\""),
         L"has the tier \"-5\""},
        {"a tier of 1000", kLevel, edit("upgrade=\"1\" x=\"99\"", "upgrade=\"1000\" x=\"99\""),
         L"has the tier 1000"},
        {"an unknown spawn id", kLevel, edit("timeout=\"12\" spawn=\"1\"", "timeout=\"12\" spawn=\"7\""),
         L"names the spawn point 7"},
        {"a link to a wave that does not exist", kLevel,
         edit("wipeAward=\"12\" scale=\"1\" linked=\"-1\"", "wipeAward=\"12\" scale=\"1\" linked=\"9\""),
         L"is linked to wave index 9"},
        {"a unit speed that is nan", kUnits, edit(kGoblin, "1;Goblin;-1;0;0;0;goblin;;1;0;32;nan;"),
         L"\"nan\" in the number column speed"},
        {"a unit speed of 0", kUnits, edit(kGoblin, "1;Goblin;-1;0;0;0;goblin;;1;0;32;0;"),
         L"unit 1 has no positive speed"},
        {"an empty units sheet", kUnits, becomes(""), L"empty; it gives no rows"},
        {"an empty towers sheet", kTowers, becomes(""), L"empty; it gives no rows"},
        {"a towers sheet with only its header", kTowers, headerOnly, L"holds a header but no rows"},
        {"a short towers row", kTowers,
         edit(kDart, "10000;Dart tower;-1;1;0;0;dart_1\n"
                     "10999;Dart tower;-1;1;0;0;dart_1;;7;"),
         L"has fewer fields than the header"},
        {"towers that are each other's parent", kTowers,
         edit(kDart, "10000;Dart tower;10001;1;0;0;dart_1;;7;"),
         L"names the parent 10001, which is no earlier top-level row"},
        {"text in a tower's number column", kTowers, edit(kDart, "10000;Dart tower;-1;1;0;0;dart_1;;abc;"),
         L"\"abc\" in the number column strength"},
        {"an unlock id that is text", kUnlocks, edit("0;0;10000,10001,3000", "0;0;10000,abc,10001,3000"),
         L"has the id \"abc\"", true},
        {"a negative unlock id", kUnlocks, edit("0;0;10000,10001,3000", "0;0;10000,-5,10001,3000"),
         L"has the id \"-5\"", true},
        {"an unlock id past the int range", kUnlocks,
         edit("0;0;10000,10001,3000", "0;0;10000,99999999999,10001,3000"), L"has the id \"99999999999\"",
         true},
        {"a first level that unlocks no tower", kUnlocks, edit("0;0;10000,10001,3000", "0;0;3000"),
         L"episode 0 level 0 unlocks no tower"},
        {"no tutorial script", "td/tutorial.xml",
         [](const std::string&) { return std::optional<std::string>(); }, L"': missing", true},
        {"an empty tutorial script", "td/tutorial.xml", becomes(""), L"empty; the tutorial has no steps",
         true},
        {"an empty upgrades file", "td/upgrades.xml", becomes(""), L"empty; no upgrades are offered", true},
        {"an empty sounds sheet", "td/sounds_sheet.csv", becomes(""), L"holds no sounds", true},
        {"a sounds sheet of comments only", "td/sounds_sheet.csv", headerOnly, L"holds no sounds", true},
        {"a level without a spawn point", kLevel, edit("<a name=\"spawn\" value=\"1\"/>", ""),
         L"no route point is a spawn point"},
        {"a link without length", kLevel,
         [](const std::string& text)
         {
             // Point 3 and the link's anchor moved onto point 2.
             const std::string moved =
                 replaced(text, "<p id=\"3\" x=\"520\" y=\"410\">", "<p id=\"3\" x=\"250\" y=\"230\">");
             return std::optional<std::string>(replaced(moved, "anchor_x=\"357.3\" anchor_y=\"361.6\"",
                                                        "anchor_x=\"250\" anchor_y=\"230\""));
         },
         L"route link 2-3 has no length"},
        {"a budget past the int range", kLevel, edit("<budget>200</budget>", "<budget>99999999999</budget>"),
         L"is past the largest amount"},
        {"a spot far off the map", kLevel,
         edit("<spot x=\"896\" y=\"563\">", "<spot x=\"-99999\" y=\"563\">"), L"lies far off the map"},
    };
    return table;
}

// One case a damage, so that the long plays run side by side.
class TDDamagedData : public ::testing::TestWithParam<std::size_t>
{
};

TEST_P(TDDamagedData, EachDamageIsOneLogLineAndTheLevelStillEnds)
{
    const fs::path& root = tdtest::demoDataRoot();
    ASSERT_FALSE(root.empty());
    {
        const Damage& damage = damages()[GetParam()];
        SCOPED_TRACE(damage.name);
        const fs::path path = root / damage.file;
        const std::string sound = readFile(path);
        const std::optional<std::string> damaged = damage.edit(sound);
        std::error_code ignored;
        if (damaged)
            writeFile(path, *damaged);
        else
            fs::remove(path, ignored);
        {
            GameHarness harness;
            LogCapture::Reset();
            ASSERT_TRUE(harness.start());
            if (!damage.atStart)
            {
                LogCapture::Reset();
                harness.loadLevel(kModeNormal, 0, 0);
            }
            const std::wstring log = LogCapture::Text();
            EXPECT_EQ(LogCapture::CountLines(L"Data file '"), 1) << log;
            EXPECT_EQ(LogCapture::CountLines(damage.logged), 1) << log;
            const std::wstring file = base::ToWide(damage.file, base::kEncodingUtf8);
            EXPECT_NE(log.find(L"Data file '" + file + L"'"), std::wstring::npos) << log;
            EXPECT_TRUE(playsToItsEnd(harness)) << "state " << harness.map()->mState;
        }
        writeFile(path, sound);
    }
}

std::string caseName(const ::testing::TestParamInfo<std::size_t>& info)
{
    std::string name;
    bool upper = true;
    for (const char c : std::string(damages()[info.param].name))
    {
        if (!std::isalnum(static_cast<unsigned char>(c)))
        {
            upper = true;
            continue;
        }
        name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = false;
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Each, TDDamagedData, ::testing::Range<std::size_t>(0, damages().size()), caseName);
} // namespace
