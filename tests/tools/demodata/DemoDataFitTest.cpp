// What a player reads must fit and be seen: every text the screens write is measured with the engine's own
// font parser in the font the screen uses and held against the place the layout gives it; on every level
// the spots stand where neither the HUD nor a wave countdown hides them, and no tree crown hangs over a road.
#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

#include "tools/demodata/DemoDataFixture.h"

#ifdef CORV_DEMODATA_IMAGES
#include "Core/Render/TextLayout.h"
#include "tools/demodata/TreeFont.h"

namespace
{

using namespace demodata_test;

struct Box
{
    float x = 0, y = 0, w = 0, h = 0;
    float right() const { return x + w; }
    float bottom() const { return y + h; }
    bool overlaps(const Box& o) const
    {
        return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
    }
};

std::ostream& operator<<(std::ostream& os, const Box& b)
{
    return os << "(" << b.x << "," << b.y << " " << b.w << "x" << b.h << ")";
}

// The layers of an image folder by name.
std::map<std::string, Box> Layers(const fs::path& dir)
{
    std::map<std::string, Box> layers;
    tinyxml2::XMLDocument xml;
    if (xml.LoadFile((dir / "layers.xml").c_str()) != tinyxml2::XML_SUCCESS)
        return layers;
    for (const auto* l = xml.FirstChildElement("Layers")->FirstChildElement("Layer"); l;
         l = l->NextSiblingElement("Layer"))
        layers[l->Attribute("name")] = {l->FloatAttribute("x"), l->FloatAttribute("y"),
                                        l->FloatAttribute("width"), l->FloatAttribute("height")};
    return layers;
}

std::wstring Widen(const std::string& utf8)
{
    std::wstring out;
    for (std::size_t i = 0; i < utf8.size();)
    {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        std::uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += static_cast<wchar_t>(code);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

// The strings sheet as the screens get it: the last line of a key wins, "\n" breaks a line.
std::map<std::string, std::wstring> Strings(const fs::path& root)
{
    std::map<std::string, std::wstring> sheet;
    std::ifstream in(root / "td/strings_en.csv");
    std::string line;
    while (std::getline(in, line))
    {
        const std::size_t semi = line.find(';');
        if (semi == std::string::npos)
            continue;
        std::string text = line.substr(semi + 1);
        for (std::size_t at; (at = text.find("\\n")) != std::string::npos;)
            text.replace(at, 2, "\n");
        sheet[line.substr(0, semi)] = Widen(text);
    }
    return sheet;
}

// A text laid out in a wrap width: its widest line as set (before any justification), its line count and
// its height.
struct Measured
{
    float widest = 0;
    std::size_t lines = 0;
    float height = 0;
};

Measured Measure(const TreeFont& font, const std::wstring& text, float wrap = 0)
{
    render::TextLayout layout;
    layout.mWidth = wrap;
    std::vector<render::TextLine> lines;
    font.LayoutLines(text, layout, lines);
    Measured m;
    for (const render::TextLine& l : lines)
        m.widest = std::max(m.widest, l.width);
    m.lines = lines.size();
    m.height = static_cast<float>(lines.size()) * font.GetLineHeight();
    return m;
}

class DemoFit : public DemoData
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(sFirstRc, 0) << "the generator failed";
        for (const char* name : {"main_32_2", "main_42_3", "main_80"})
        {
            auto font = std::make_unique<TreeFont>();
            ASSERT_TRUE(font->Open(Root(), name)) << name;
            mFonts[name] = std::move(font);
        }
        mStrings = Strings(Root());
    }

    const TreeFont& Font(const std::string& name) { return *mFonts.at(name); }
    std::wstring Text(const std::string& key)
    {
        EXPECT_TRUE(mStrings.count(key)) << key;
        return mStrings[key];
    }

    std::map<std::string, std::unique_ptr<TreeFont>> mFonts;
    std::map<std::string, std::wstring> mStrings;
};

// The name field, the in-game menu, the dialogs and the message box of "td/data/mm".
TEST_F(DemoFit, WindowTextsFitTheirPlaces)
{
    // Sixteen of the widest letter and the cursor bar, written 15 in from the field's left edge.
    const std::map<std::string, Box> mm = Layers(Root() / "td/data/mm");
    const Box input = mm.at("input");
    EXPECT_LE(15 + Measure(Font("main_42_3"), std::wstring(16, L'W') + L"|").widest, input.w - 8) << input;
    EXPECT_LE(Font("main_42_3").GetLineHeight(), input.h);

    // Captions in the title font, messages in the window font; both wrap to their place and are justified
    // to its width, so the place keeps clear of the panel's frame.
    const Box back = mm.at("back");
    const struct
    {
        const char* place;
        const char* font;
        std::vector<const char*> keys;
    } windowTexts[] = {
        {"text/caption",
         "main_80",
         {"profile_edit_caption", "profile_delete_caption", "tutorial_skip_caption", "buyHealthDialogTitle",
          "profiles_error", "HardcoreTitle"}},
        {"text/message",
         "main_42_3",
         {"profile_delete_message", "tutorial_skip_message", "progress_confirm_text",
          "IllegalResolutionMessage", "profile_corrupt", "profiles_maxcount", "HardcoreUnlockMessage",
          "HardcoreDescMessage", "purchase_failed", "purchase_timeout"}},
    };
    for (const auto& group : windowTexts)
    {
        const Box place = mm.at(group.place);
        EXPECT_GE(place.x - back.x, 40) << group.place;
        EXPECT_GE(back.right() - place.right(), 40) << group.place;
        for (const char* key : group.keys)
        {
            const Measured m = Measure(Font(group.font), Text(key), place.w);
            EXPECT_LE(m.widest, place.w) << key;
            EXPECT_LE(m.height, place.h) << key << ": " << m.lines << " lines";
        }
    }
    // The message box centres its text at y 400 and its buttons at y 520.
    const Box ok = mm.at("button/b1_ok/pos");
    for (const char* key : {"progress_confirm_text", "profile_corrupt", "IllegalResolutionMessage"})
        EXPECT_LE(400 + Measure(Font("main_42_3"), Text(key), mm.at("text/message").w).height / 2,
                  520 - ok.h / 2 - 4)
            << key;

    // Button labels: the dialogs' in the window font, the message box's and the in-game menu's in the title
    // font; each leaves a margin on both sides of its face.
    const std::map<std::string, Box> ingame = Layers(Root() / "td/data/ingame");
    const struct
    {
        const std::map<std::string, Box>* layout;
        const char* group;
        const char* font;
    } labels[] = {
        {&mm, "b1_ok", "main_42_3"},        {&mm, "b1_cancel", "main_42_3"},
        {&mm, "b1_ok", "main_80"},          {&mm, "b1_cancel", "main_80"},
        {&ingame, "b1_resume", "main_80"},  {&ingame, "b1_restart", "main_80"},
        {&ingame, "b1_levels", "main_80"},  {&ingame, "b1_mmenu", "main_80"},
        {&ingame, "b1_options", "main_80"},
    };
    for (const auto& label : labels)
    {
        const Box pos = label.layout->at(std::string("button/") + label.group + "/pos");
        const Measured m = Measure(Font(label.font), Text(label.group));
        EXPECT_LE(m.widest, pos.w - 2 * 20) << label.group << " in " << label.font;
        EXPECT_LE(m.height, pos.h) << label.group << " in " << label.font;
    }
}

// The episode cards, the "new" badges and the mode tabs of the level select.
TEST_F(DemoFit, SelectScreenTextsFitTheirCardsBadgesAndTabs)
{
    const std::map<std::string, Box> episodes = Layers(Root() / "td/episode_select");
    const Box card = episodes.at("plates/chapter_01");
    // The carousel writes a card's text at 0.8 of the title font, wrapped at 320 and centred on the card;
    // the side cards are drawn at 0.55 of that, 320 either side of the middle. The padlock takes the card's
    // top 104 rows.
    int mostStars = 0;
    {
        std::ifstream in(Root() / "td/setup_sheet.csv");
        std::string line;
        while (std::getline(in, line))
        {
            int episode = 0, normal = 0, hardcore = 0, stars = 0;
            if (std::sscanf(line.c_str(), "%d;%d;%d;%d", &episode, &normal, &hardcore, &stars) == 4)
                mostStars = std::max(mostStars, stars);
        }
    }
    ASSERT_GT(mostStars, 0);
    std::wstring locked = Text("unlockEpisodeText");
    locked.replace(locked.find(L"%d"), 2, std::to_wstring(mostStars));
    for (const std::wstring& text : {locked, Text("comingSoon")})
    {
        const Measured m = Measure(Font("main_80"), text, 320);
        EXPECT_LE(m.widest * 0.8f, card.w - 2 * 24);
        EXPECT_GE(384 - m.height * 0.8f / 2, card.y + 104);
        EXPECT_LE(384 + m.height * 0.8f / 2, card.bottom() - 14);
        // At rest: the middle card at full size, its neighbours at 0.55.
        for (float centre : {512.0f - 320.0f, 512.0f, 512.0f + 320.0f})
        {
            const float f = centre == 512.0f ? 1.0f : 0.55f;
            const Box words{centre - m.widest * 0.4f * f, 384 - m.height * 0.4f * f, m.widest * 0.8f * f,
                            m.height * 0.8f * f};
            for (const char* arrow : {"button/arrow_left", "button/arrow_right"})
                EXPECT_FALSE(episodes.at(arrow).overlaps(words)) << arrow << " over " << words;
        }
    }
    for (const char* arrow : {"button/arrow_left", "button/arrow_right"})
        EXPECT_FALSE(episodes.at(arrow).overlaps(card)) << arrow;

    // The badge text wraps at 80 on the level plates and the hardcore button: it must not break.
    const std::map<std::string, Box> levels = Layers(Root() / "td/level_select");
    const Measured badge = Measure(Font("main_42_3"), Text("episodeSelectNew"), 80);
    EXPECT_EQ(badge.lines, 1u);
    EXPECT_LE(badge.widest, std::min(80.0f, levels.at("plate/new").w - 8));

    // Tabs stand on their feet at x 300, 500 and 700; the chosen one grows by a tenth and takes the bold
    // font. It must not reach the gem counter, and its label keeps inside it.
    const Box tab = levels.at("tabs/up_button_ac");
    const Box gems = levels.at("gems_plate");
    EXPECT_LE(700 + tab.w * 1.1f / 2, gems.x - 4);
    EXPECT_LE(300 + 200 + tab.w * 1.1f / 2, 700 - tab.w * 1.1f / 2 + 200) << "neighbouring tabs";
    for (const char* key : {"level_tab_0", "level_tab_1", "level_tab_2"})
        EXPECT_LE(Measure(Font("main_42_3"), Text(key)).widest * 1.1f, tab.w * 1.1f - 16) << key;
}

// The upgrade shop writes a plate's name at (140, 14) and its description at (140, 70), 333 wide, on plates
// 99 apart: each fits one line, and both lie on the plate's picture.
TEST_F(DemoFit, ShopPlateTextsStayOnTheirPlate)
{
    const std::map<std::string, Box> shop = Layers(Root() / "td/shop");
    const Box plate = shop.at("item_plate/Layer_1");
    EXPECT_GE(plate.h, 70 + Font("main_32_2").GetLineHeight() + 2);
    EXPECT_LE(14 + Font("main_42_3").GetLineHeight(), 70);
    int described = 0;
    for (const auto& [key, text] : mStrings)
    {
        if (key.rfind("upgrade_", 0) != 0)
            continue;
        const bool name = key.size() > 5 && key.compare(key.size() - 5, 5, "_name") == 0;
        const Measured m = Measure(Font(name ? "main_42_3" : "main_32_2"), text, 333);
        EXPECT_EQ(m.lines, 1u) << key;
        EXPECT_LE(m.widest, 333) << key;
        described += !name;
    }
    EXPECT_GT(described, 10);
}

// A level's road as the game follows it: quadratic curves from each link's start through its anchor.
std::vector<std::pair<float, float>> RoadSamples(const tinyxml2::XMLElement* map)
{
    std::map<int, std::pair<float, float>> points;
    for (const auto* p = map->FirstChildElement("points")->FirstChildElement("p"); p;
         p = p->NextSiblingElement("p"))
        points[p->IntAttribute("id")] = {p->FloatAttribute("x"), p->FloatAttribute("y")};
    std::vector<std::pair<float, float>> samples;
    for (const auto* l = map->FirstChildElement("links")->FirstChildElement("l"); l;
         l = l->NextSiblingElement("l"))
    {
        const auto s = points[l->IntAttribute("sid")], e = points[l->IntAttribute("eid")];
        const float ax = l->FloatAttribute("anchor_x"), ay = l->FloatAttribute("anchor_y");
        for (int k = 0; k <= 40; ++k)
        {
            const float t = k / 40.0f, u = 1 - t;
            samples.push_back({u * u * s.first + 2 * t * u * ax + t * t * e.first,
                               u * u * s.second + 2 * t * u * ay + t * t * e.second});
        }
    }
    return samples;
}

// Every spot's pad and the tallest tower on it are seen whole: not under the HUD overlay, not under a wave
// marker or its countdown; and no tree crown of the level art reaches over a road or the units on it.
TEST_F(DemoFit, SpotsAndRoadsAreNotHidden)
{
    std::vector<Box> hud;
    for (const auto& [name, box] : Layers(Root() / "td/ui"))
        if (name.rfind("plate_", 0) == 0 || name == "spell_bar")
            hud.push_back(box);
    ASSERT_GE(hud.size(), 3u);
    // The tallest tower: the highest base point of the tower sheets.
    float towerAbove = 0;
    for (const char* sheet : {"dart", "cannon", "artillery", "support"})
        for (const auto& [name, box] : Layers(Root() / "td/towers" / sheet))
            if (name.find("/base_point/0") != std::string::npos)
                towerAbove = std::max(towerAbove, box.y);
    ASSERT_GT(towerAbove, 0);
    const Box marker = Layers(Root() / "td/data/ui_parts").at("ui/wave_hint");
    std::wstring countdown = Text("game_nextwave") + L"99";
    const float countdownWidth = std::max(Measure(Font("main_42_3"), countdown).widest,
                                          Measure(Font("main_42_3"), Text("game_incoming")).widest);
    const float countdownHeight = Font("main_42_3").GetLineHeight();

    int levels = 0;
    for (const char* folder : {"td/levels_normal", "td/levels_hardcore"})
        for (const auto& entry : fs::directory_iterator(Root() / folder))
        {
            SCOPED_TRACE(entry.path().filename().string());
            ++levels;
            tinyxml2::XMLDocument xml;
            ASSERT_EQ(xml.LoadFile(entry.path().c_str()), tinyxml2::XML_SUCCESS);
            const tinyxml2::XMLElement* map = xml.FirstChildElement("map");
            // Markers and their countdowns, placed as the game places them.
            std::vector<Box> hiding = hud;
            for (const auto* p = map->FirstChildElement("points")->FirstChildElement("p"); p;
                 p = p->NextSiblingElement("p"))
            {
                bool spawn = false;
                for (const auto* a = p->FirstChildElement("a"); a; a = a->NextSiblingElement("a"))
                    spawn = spawn || std::string(a->Attribute("name")) == "spawn";
                if (!spawn)
                    continue;
                float x = std::clamp(std::trunc(p->FloatAttribute("x")), 0.0f, 1024.0f);
                float y = std::clamp(std::trunc(p->FloatAttribute("y")), 0.0f, 768.0f);
                x = std::min(x, 1024 - marker.w);
                y = y < 100 ? 100 : std::min(y, 668 - marker.h);
                hiding.push_back({x, y, marker.w, marker.h});
                const float textX = x < 512 ? x + marker.w / 2 + 32 : x - marker.w / 2 - 32 - countdownWidth;
                hiding.push_back(
                    {textX, y + marker.h / 2 - countdownHeight / 2, countdownWidth, countdownHeight});
            }
            for (const auto* s = map->FirstChildElement("spots")->FirstChildElement("spot"); s;
                 s = s->NextSiblingElement("spot"))
            {
                const float x = s->FloatAttribute("x"), y = s->FloatAttribute("y");
                const Box seen{x - 48, y - towerAbove, 96, towerAbove + 29};
                for (const Box& h : hiding)
                    EXPECT_FALSE(seen.overlaps(h)) << "spot " << x << "," << y << " under " << h;
            }

            // Tree crowns ("^canopy") keep off the road's surface (30 either side of its middle, and its
            // edge) and off the units walking on it (up to 64 above the middle).
            std::string li = map->FirstChildElement("li")->GetText();
            const fs::path art = Root() / fs::path(li.substr(1)).parent_path();
            const auto road = RoadSamples(map);
            for (const auto& [name, crown] : Layers(art))
            {
                if (name.rfind("^canopy", 0) != 0)
                    continue;
                for (const auto& [rx, ry] : road)
                {
                    const Box walked{rx - 34, ry - 64, 68, 98};
                    ASSERT_FALSE(crown.overlaps(walked))
                        << name << " " << crown << " over the road at " << rx << "," << ry;
                }
            }
        }
    EXPECT_GE(levels, 13);
}

// The context menu centres each item's icon on its point of the ring, answers presses within 32 of that point,
// and writes the item's price centred 30 above it: the button keeps below the price's digits and within
// the reach.
TEST_F(DemoFit, RingIconsKeepClearOfTheirPricesAndWithinTheirReach)
{
    const fs::path folder = Root() / "td/data/ui_parts";
    png_image atlas;
    std::memset(&atlas, 0, sizeof atlas);
    atlas.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&atlas, (folder / "ui_atlas.png").c_str()));
    atlas.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> rgba(PNG_IMAGE_SIZE(atlas));
    ASSERT_TRUE(png_image_finish_read(&atlas, nullptr, rgba.data(), 0, nullptr));
    const int atlasW = static_cast<int>(atlas.width), atlasH = static_cast<int>(atlas.height);

    tinyxml2::XMLDocument xml;
    ASSERT_EQ(xml.LoadFile((folder / "layers.xml").c_str()), tinyxml2::XML_SUCCESS);
    int icons = 0;
    for (const auto* l = xml.FirstChildElement("Layers")->FirstChildElement("Layer"); l;
         l = l->NextSiblingElement("Layer"))
    {
        const std::string name = l->Attribute("name");
        if (name != "ui/sell" && name != "ui/buy" && name.rfind("ui/lvl", 0) != 0 && name.rfind("ui/tower_", 0) != 0)
            continue;
        SCOPED_TRACE(name);
        ++icons;
        const int w = l->IntAttribute("width"), h = l->IntAttribute("height");
        const int left = static_cast<int>(std::lround(l->FloatAttribute("tu1") * atlasW));
        // v runs up from the atlas's bottom row.
        const int top = static_cast<int>(std::lround((1.0f - l->FloatAttribute("tv2")) * atlasH));
        float inkTop = static_cast<float>(h), reach = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (rgba[(static_cast<std::size_t>(top + y) * atlasW + static_cast<std::size_t>(left + x)) * 4 + 3] > 128)
                {
                    // Relative to the icon's centre, the item's point.
                    const float dx = x + 0.5f - w / 2.0f, dy = y + 0.5f - h / 2.0f;
                    inkTop = std::min(inkTop, dy);
                    reach = std::max(reach, std::hypot(dx, dy));
                }
        // The price's digits end about 14 above the point.
        EXPECT_GE(inkTop, -16.0f);
        EXPECT_LE(reach, 32.0f);
    }
    EXPECT_EQ(icons, 16);
}

} // namespace
#endif
