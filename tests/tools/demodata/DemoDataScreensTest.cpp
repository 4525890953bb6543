// The screens' layouts read with the engine's image-folder reader: every layout holds the images, buttons,
// button groups and text places its screen looks up, and every text the screens ask for is in the sheet.
#include <tinyxml2.h>

#include <cctype>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "tools/demodata/DemoDataFixture.h"
#include "tools/demodata/ScreenStrings.h"

#ifdef CORV_DEMODATA_IMAGES
#include "Core/Base/TextFormat.h"
#include "Core/File/ImageFolder.h"
#endif

namespace
{

using namespace demodata_test;

// The sheet as the game reads it: key;text per line, the last line of a key wins.
std::map<std::string, std::string> ReadSheet(const fs::path& path)
{
    std::map<std::string, std::string> sheet;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
    {
        std::size_t semi = line.find(';');
        if (semi != std::string::npos)
            sheet[line.substr(0, semi)] = line.substr(semi + 1);
    }
    return sheet;
}

TEST_F(DemoData, EveryScreenStringIsInTheSheetOnce)
{
    Bytes b = ReadAll(Root() / "td/strings_en.csv");
    std::istringstream in(std::string(b.begin(), b.end()));
    std::map<std::string, int> lines;
    for (std::string line; std::getline(in, line);)
        ++lines[line.substr(0, line.find(';'))];
    for (const demodata::StringEntry& e : demodata::ScreenStrings())
        EXPECT_EQ(lines[e.key], 1) << e.key;
    // Keys the screens build or take from other tables than the screens' own.
    for (const char* key : {"game_caption", "options_OptionsTitle", "options_OptionsSounds",
                            "options_OptionsGameType", "options_OptionsWindowType", "options_OptionsOk"})
        EXPECT_EQ(lines[key], 1) << key;
}

#ifdef CORV_DEMODATA_IMAGES

struct LayoutNames
{
    const char* layout;
    std::vector<std::string> roots;   // images at the top level
    std::vector<std::string> buttons; // frame buttons by base name (any depth below "button")
    std::vector<std::string> groups;  // child button groups directly below "button"
    std::vector<std::string> texts;   // text places directly below "text"
    std::vector<std::string> images;  // other images read by their full name
};

std::vector<std::string> Numbered(const std::string& prefix, int from, int to, const char* format = "%d")
{
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i)
    {
        char buf[32];
        std::snprintf(buf, sizeof buf, format, i);
        out.push_back(prefix + buf);
    }
    return out;
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<LayoutNames>& Layouts()
{
    static const std::vector<LayoutNames> layouts = {
        {"td/ui",
         {},
         {"options_btn", "pause_btn", "play_btn", "speed_btn", "options_btn_ac", "pause_btn_ac",
          "play_btn_ac", "speed_btn_ac"},
         {},
         {"crystals", "mana", "coins", "waves"},
         {}},
        {"td/data/tutorial/skip",
         {},
         {"b4_normal", "b4_over"},
         {},
         {},
         {"button/b4_normal", "button/b4_over"}},
        {"td/main_menu",
         {"en", "ru"},
         {},
         {"b2_play", "b1_shop", "b1_options", "b1_cloze"},
         {"greet"},
         {"button/b2_normal", "button/b2_over", "button/b1_normal", "button/b1_over"}},
        {"td/data/ingame",
         {"main_menu_ico"},
         {},
         {"b1_resume", "b1_restart", "b1_levels", "b1_mmenu", "b1_options", "b3_close"},
         {"caption"},
         {}},
        {"td/data/mm",
         {"back", "input"},
         {},
         {"b1_cancel", "b1_ok"},
         {"caption", "message"},
         {"button/b1_normal", "button/b1_over", "button/b1_ok/label", "button/b1_cancel/label"}},
        {"td/data/profiles",
         {},
         {},
         Join({"b1_create", "b1_rename", "b6_delete", "b1_back", "b1_confirm"}, Numbered("b5_p", 1, 5)),
         Join({"caption", "select"}, Numbered("profile", 1, 5)),
         {}},
        {"td/data/message",
         {},
         {"ok"},
         {},
         {"caption", "message", "button"},
         {"icons/id36", "icons/id37", "icons/id38"}},
        {"td/ui_levelresult",
         {"back_win", "back_lose", "diffictly", "diffictly_lose", "victory_label", "defeat_label", "star0",
          "star1", "star2"},
         {"done", "close", "restart", "menu"},
         {},
         {"levelResult", "levelName", "gameName", "killScore", "goldBonus", "lifeBonus", "totalScore", "gems",
          "bestScore"},
         {}},
        {"td/episode_select",
         {},
         {"back", "shop", "play", "arrow_left", "arrow_right"},
         {},
         {"levelName", "caption", "stars"},
         Join({"plates/lock", "plates/new"}, Numbered("plates/chapter_0", 1, 6))},
        {"td/level_select",
         {"skulls"},
         {"back", "upgrade", "locked_d", "unlocked_d"},
         {},
         {"gems", "episode"},
         {"plate/new", "plate/super", "plate/complete", "plate/incomplete", "plate/locked",
          "stars_plate/plate", "stars_plate/star", "tabs/up_button_ac", "tabs/up_button_in"}},
        {"td/shop",
         {"back_header", "back_footer"},
         {"back_ac", "return_ac", "down_in", "up_in", "gem_shop0", "gem_shop1"},
         {},
         {"caption", "gems"},
         Join({"text/gems", "text/caption", "tabs/up_button_ac", "tabs/up_button_in", "scroll/bar",
               "scroll/slider_in", "item_plate/Layer_1", "item_plate/stars/clear_star", "item_plate/buy_ac",
               "item_plate/buy_in", "item_plate/grem"},
              Numbered("item_plate/stars/star_0", 1, 10))},
        {"td/gem_shop",
         {},
         Join(Numbered("b_", 1, 5, "%02d_in"), {"back_in"}),
         {},
         Join({"caption", "caption_gems"}, Numbered("b_", 1, 5, "%02d_text")),
         Join(Numbered("pricing/en/", 1, 5), {"1/most_popular"})},
        {"td/options",
         {"title"},
         {},
         {},
         {},
         {"main_options/options_title",
          "main_options/sounds_and_music",
          "main_options/game_type",
          "main_options/window_type",
          "buttons/menu/menu_in",
          "buttons/menu/menu_ac",
          "buttons/menu/menu_sh",
          "buttons/close/ok_in",
          "buttons/close/ok_ac",
          "buttons/cheat/cheat_in",
          "buttons/cheat/cheat_ac",
          "buttons/close/close_caption",
          "main_options/sound/sound_bar",
          "main_options/sound/sound_begunok",
          "main_options/sound/sound_back",
          "main_options/music/music_bar",
          "main_options/music/music_begunok",
          "main_options/music/music_back",
          "buttons/music_dec/b_in",
          "buttons/music_dec/b_ac",
          "buttons/music_inc/b_in",
          "buttons/music_inc/b_ac",
          "buttons/sound_dec/b_in",
          "buttons/sound_dec/b_ac",
          "buttons/sound_inc/b_in",
          "buttons/sound_inc/b_ac",
          "main_options/window/window_nonselected",
          "main_options/window/window_ac",
          "main_options/window/window_in",
          "main_options/window/window_sh",
          "main_options/fullscreen/fullscreen_nonselected",
          "main_options/fullscreen/fullscreen_ac",
          "main_options/fullscreen/main_menu_in",
          "main_options/fullscreen/main_menu_sh"}},
    };
    return layouts;
}

std::wstring Wide(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::string Narrow(const std::wstring& s)
{
    return std::string(s.begin(), s.end());
}

// The text after the last '/' (layer names carry no extension).
std::string BaseName(const std::string& s)
{
    return s.substr(s.rfind('/') + 1);
}

std::unique_ptr<file::PsdFolder> OpenFolder(const fs::path& root, const std::string& layout)
{
    auto folder = std::make_unique<file::PsdFolder>(Wide(layout), nullptr);
    Bytes b = ReadAll(root / layout / "layers.xml");
    folder->Parse(reinterpret_cast<const char*>(b.data()), b.size());
    return folder;
}

std::set<std::string> List(file::PsdFolder& folder, const wchar_t* prefix, bool allLevels, bool base)
{
    std::vector<std::wstring> names;
    folder.ListImages(prefix, allLevels, &names, false);
    std::set<std::string> out;
    for (const std::wstring& n : names)
        out.insert(base ? BaseName(Narrow(n)) : Narrow(n));
    return out;
}

TEST_F(DemoData, ScreenLayoutsHoldTheNamesTheirScreensLookUp)
{
    for (const LayoutNames& l : Layouts())
    {
        SCOPED_TRACE(l.layout);
        std::unique_ptr<file::PsdFolder> folder = OpenFolder(Root(), l.layout);
        ASSERT_GT(folder->GetImageCount(), 0u);
        std::set<std::string> roots = List(*folder, L"", false, false);
        std::set<std::string> buttons = List(*folder, L"button", true, true);
        std::set<std::string> texts = List(*folder, L"text", false, true);
        std::vector<std::wstring> groupList;
        folder->ListGroups(L"button", &groupList, false);
        std::set<std::string> groups;
        for (const std::wstring& g : groupList)
            groups.insert(Narrow(g));
        for (const std::string& n : l.roots)
            EXPECT_TRUE(roots.count(n)) << "root image " << n;
        for (const std::string& n : l.buttons)
            EXPECT_TRUE(buttons.count(n)) << "button " << n;
        for (const std::string& n : l.texts)
            EXPECT_TRUE(texts.count(n)) << "text place " << n;
        for (const std::string& n : l.images)
            EXPECT_NE(folder->FindImageInfo(Wide(n)), nullptr) << n;
        // A child button needs its place and the two faces of its art; its caption key is in the sheet.
        for (const std::string& g : l.groups)
        {
            EXPECT_TRUE(groups.count(g)) << "button group " << g;
            const std::string art = g.substr(0, g.find('_'));
            for (const std::string& n :
                 {"button/" + g + "/pos", "button/" + art + "_normal", "button/" + art + "_over"})
                EXPECT_NE(folder->FindImageInfo(Wide(n)), nullptr) << n;
        }
    }
}

TEST_F(DemoData, ScreenLayoutsFollowTheirScreensRules)
{
    // Five spell slots in the overlay, in layout order.
    std::unique_ptr<file::PsdFolder> hud = OpenFolder(Root(), "td/ui");
    std::vector<std::wstring> slots;
    hud->ListImages(L"spell/", false, &slots, false);
    EXPECT_EQ(slots.size(), 5u);

    // Profile rows select by their place in name order: exactly two text places sort before "profile1".
    std::unique_ptr<file::PsdFolder> profiles = OpenFolder(Root(), "td/data/profiles");
    std::set<std::string> texts = List(*profiles, L"text", false, true);
    EXPECT_EQ(std::distance(texts.begin(), texts.find("profile1")), 2);

    // The modal windows address their buttons by position: cancel first, then OK.
    std::unique_ptr<file::PsdFolder> mm = OpenFolder(Root(), "td/data/mm");
    std::vector<std::wstring> groups;
    mm->ListGroups(L"button", &groups, false);
    EXPECT_EQ(groups, (std::vector<std::wstring>{L"b1_cancel", L"b1_ok"}));

    // A layout's pictures are drawn in index order: the full-screen background of a menu comes first.
    for (const char* layout :
         {"td/main_menu", "td/episode_select", "td/level_select", "td/shop", "td/gem_shop"})
    {
        std::unique_ptr<file::PsdFolder> folder = OpenFolder(Root(), layout);
        const base::ImageInfo* back = folder->FindImageInfo(L"background");
        ASSERT_NE(back, nullptr) << layout;
        EXPECT_EQ(back->mIndex, 0) << layout;
    }
}

TEST_F(DemoData, ScreenLabelsAndFormatsAreInTheSheet)
{
    std::map<std::string, std::string> sheet = ReadSheet(Root() / "td/strings_en.csv");
    for (const char* layout : {"td/main_menu", "td/data/ingame", "td/data/mm", "td/data/profiles"})
    {
        std::unique_ptr<file::PsdFolder> folder = OpenFolder(Root(), layout);
        std::vector<std::wstring> groups;
        folder->ListGroups(L"button", &groups, false);
        for (const std::wstring& g : groups)
            EXPECT_TRUE(sheet.count(Narrow(g))) << layout << ": " << Narrow(g);
    }
    // Formats go through the engine's formatter with the argument each screen passes.
    struct Case
    {
        const char* key;
        int number;
        const wchar_t* text;
        const wchar_t* expected;
    };
    for (const Case& c :
         {Case{"unlockEpisodeText", 18, nullptr, L"18"}, Case{"gemShopTitle2", 135, nullptr, L"135"},
          Case{"gemShopBuyFor", 0, L"$0.99", L"$0.99"}})
    {
        ASSERT_TRUE(sheet.count(c.key)) << c.key;
        std::wstring format = Wide(sheet[c.key]);
        base::TextFormat f(format);
        if (c.text)
            f % c.text;
        else
            f % c.number;
        const std::wstring& result = f.GetResult();
        EXPECT_NE(result.find(c.expected), std::wstring::npos) << c.key;
        EXPECT_EQ(result.find(L'%'), std::wstring::npos) << c.key;
    }
}

// The icons follow the world's data when it is in the tree: the unlock message has pictures for what the
// second level of the first episode brings, none for what the first level brings (the message leaves out ids
// without a picture, so that level opens with the banner); every upgrade's icon is in the shop.
TEST_F(DemoData, ScreenIconsCoverTheWorldsUnlocksAndUpgrades)
{
    std::unique_ptr<file::PsdFolder> message = OpenFolder(Root(), "td/data/message");
    std::ifstream unlocks(Root() / "td/unlocks.csv");
    int announced = 0;
    for (std::string line; std::getline(unlocks, line);)
    {
        std::vector<std::string> fields;
        std::stringstream ss(line);
        for (std::string field; std::getline(ss, field, ';');)
            fields.push_back(field);
        if (fields.size() < 3)
            continue;
        const bool shown = fields[0] == "0" && fields[1] == "1";
        std::stringstream ids(fields[2]);
        for (std::string id; std::getline(ids, id, ',');)
        {
            if (!id.empty() && std::isdigit(static_cast<unsigned char>(id[0])))
            {
                const bool drawn =
                    message->FindImageInfo(L"icons/id" + Wide(std::to_string(std::stoi(id)))) != nullptr;
                if (shown)
                {
                    EXPECT_TRUE(drawn) << id;
                    ++announced;
                }
                // Every level's news has its picture, the first level's too: its close starts the tutorial.
                EXPECT_TRUE(drawn) << id;
            }
        }
    }
    EXPECT_GT(announced, 0) << "one level of the first episode opens with the unlock message";
    std::unique_ptr<file::PsdFolder> shop = OpenFolder(Root(), "td/shop");
    tinyxml2::XMLDocument upgrades;
    if (upgrades.LoadFile((Root() / "td/upgrades.xml").c_str()) != tinyxml2::XML_SUCCESS)
        return;
    std::vector<const tinyxml2::XMLElement*> todo{upgrades.RootElement()};
    while (!todo.empty())
    {
        const tinyxml2::XMLElement* e = todo.back();
        todo.pop_back();
        if (!e)
            continue;
        if (const char* icon = e->Attribute("icon"))
        {
            EXPECT_NE(shop->FindImageInfo(L"icons/" + Wide(icon)), nullptr) << icon;
        }
        for (const tinyxml2::XMLElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement())
            todo.push_back(c);
    }
}

#endif

} // namespace
