// The options dialog "td/options": its panel, the places of its captions, the close and OK buttons, the
// developer button, two volume sliders with steppers and the pair of display switches. The dialog keeps the
// document's positions, so the layers stand where they show on the 1024 x 768 screen.
#include "tools/demodata/Content.h"
#include "tools/demodata/UiKit.h"

namespace demodata
{
namespace
{

using namespace ui;

constexpr int kPanelX = 212, kPanelY = 44;
constexpr int kSoundY = 236, kMusicY = 304; // slider row centres
constexpr int kBarX = 374, kBarW = 284;

Canvas DialogPanel()
{
    Canvas c = Panel(600, 680);
    c.Draw(Ribbon(520, 100), 40, 10);
    for (auto [glyph, y] : {std::pair{Glyph::Speaker, kSoundY}, std::pair{Glyph::Note, kMusicY}})
    {
        c.FillCircle(62, static_cast<float>(y - kPanelY), 22, kDeep);
        c.StrokeCircle(62, static_cast<float>(y - kPanelY), 22, 2, kGold);
        DrawGlyphShadowed(c, glyph, 62, static_cast<float>(y - kPanelY), 30, palette::kText);
    }
    // Thin rules under the section captions.
    for (int y : {160 + 44, 352 + 44, 480 + 44})
        Line(c, 90, static_cast<float>(y - kPanelY), 510, static_cast<float>(y - kPanelY), 2,
             WithAlpha(kGold, 120));
    return c;
}

Canvas Trough()
{
    Canvas c(kBarW + 16, 36);
    c.Draw(Well(kBarW + 16, 36), 0, 0);
    return c;
}

Canvas Bar(Rgba fill)
{
    Canvas c(kBarW, 24);
    FillRoundGradient(c, 0, 0, kBarW, 24, 11, Lighter(fill, 0.35f), Darker(fill, 0.2f));
    FillRoundGradient(c, 4, 2, kBarW - 8.0f, 8, 4, Rgba{255, 255, 255, 90}, Rgba{255, 255, 255, 10});
    return c;
}

Canvas Thumb()
{
    Canvas c(36, 52);
    c.FillRoundRect(3, 5, 30, 46, 12, palette::kShadow);
    c.FillRoundRect(2, 1, 30, 46, 12, kGoldDark);
    FillRoundGradient(c, 4, 3, 26, 42, 10, RgbaOf(0xFFF1C1), kGold);
    for (int k = 0; k < 3; ++k)
        Line(c, 12, 17.0f + 7 * k, 22, 17.0f + 7 * k, 2, WithAlpha(kGoldDark, 200));
    return c;
}

Canvas Switch(Face face, bool selected)
{
    Canvas c(240, 64);
    Rgba fill = selected ? kGreen : kSlate;
    c.Draw(ButtonFace(240, 64, fill, face), 0, 0);
    return c;
}

Canvas SwitchShadow()
{
    Canvas c(240, 64);
    c.FillRoundRect(4, 8, 232, 56, 22, RgbaOf(0x000000, 90));
    return c;
}

} // namespace

void WriteOptionsLayout(Output& out)
{
    Folder f(out, "td/options");
    f.Add("title", kPanelX, kPanelY, DialogPanel());
    f.Mark("main_options/options_title", 252, 58, 520, 70);
    f.Mark("main_options/sounds_and_music", 252, 160, 520, 44);
    f.Mark("main_options/game_type", 252, 352, 520, 44);
    f.Mark("main_options/window_type", 252, 480, 520, 44);

    // Every push button of the dialog draws this one shadow as its back image, at its place under the close
    // button: faint, so the eight of them together make one soft shadow there.
    Canvas shadow(60, 60);
    shadow.FillCircle(30, 33, 26, RgbaOf(0x000000, 16));
    f.Add("buttons/menu/menu_sh", 744, 54, shadow);
    f.Add("buttons/menu/menu_in", 746, 52, IconButton(52, kRed, Glyph::Close, Face::Normal));
    f.Add("buttons/menu/menu_ac", 746, 52, IconButton(52, kRed, Glyph::Close, Face::Over));
    f.Add("buttons/close/ok_in", 402, 622, ButtonFace(220, 78, kGreen, Face::Normal));
    f.Add("buttons/close/ok_ac", 402, 622, ButtonFace(220, 78, kGreen, Face::Over));
    f.Mark("buttons/close/close_caption", 402, 622, 220, 72);
    f.Add("buttons/cheat/cheat_in", 480, 402, IconButton(64, kSlate, Glyph::Bug, Face::Normal));
    f.Add("buttons/cheat/cheat_ac", 480, 402, IconButton(64, kSlate, Glyph::Bug, Face::Over));

    struct Slider
    {
        const char* name;
        int y;
        Rgba fill;
    };
    for (const Slider& s :
         {Slider{"sound", kSoundY, palette::kButton}, Slider{"music", kMusicY, palette::kGem}})
    {
        const std::string base = std::string("main_options/") + s.name + "/" + s.name;
        f.Add(base + "_back", kBarX - 8, s.y - 18, Trough());
        f.Add(base + "_bar", kBarX, s.y - 12, Bar(s.fill));
        f.Add(base + "_begunok", kBarX, s.y - 26, Thumb());
        const std::string step = std::string("buttons/") + s.name;
        f.Add(step + "_dec/b_in", 308, s.y - 24,
              IconButton(48, palette::kButton, Glyph::Minus, Face::Normal));
        f.Add(step + "_dec/b_ac", 308, s.y - 24, IconButton(48, palette::kButton, Glyph::Minus, Face::Over));
        f.Add(step + "_inc/b_in", 674, s.y - 24, IconButton(48, palette::kButton, Glyph::Plus, Face::Normal));
        f.Add(step + "_inc/b_ac", 674, s.y - 24, IconButton(48, palette::kButton, Glyph::Plus, Face::Over));
    }

    struct Toggle
    {
        const char* folder;
        const char* selected;
        const char* back;
        int x;
    };
    for (const Toggle& t : {Toggle{"window", "window_in", "window_sh", 262},
                            Toggle{"fullscreen", "main_menu_in", "main_menu_sh", 522}})
    {
        const std::string base = std::string("main_options/") + t.folder + "/";
        f.Add(base + t.back, t.x, 540, SwitchShadow());
        f.Add(base + t.folder + "_nonselected", t.x, 534, Switch(Face::Normal, false));
        f.Add(base + t.folder + "_ac", t.x, 534, Switch(Face::Over, false));
        f.Add(base + t.selected, t.x, 534, Switch(Face::Normal, true));
    }
    f.Finish();
}

} // namespace demodata
