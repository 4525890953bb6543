// The in-level overlay "td/ui": counter plaques for lives, money, gems and waves along the top, the speed and
// menu buttons in the bottom right corner (each with its lit "_ac" twin at the same place), and the spell bar
// with five sockets in the bottom left corner. Also the tutorial's skip button "td/data/tutorial/skip".
#include "tools/demodata/Content.h"
#include "tools/demodata/UiKit.h"

namespace demodata
{
namespace
{

using namespace ui;

// A counter plaque: an icon at the left end and a dark well where the game writes the number.
Canvas Plaque(int w, Glyph icon, Rgba iconColor)
{
    Canvas c(w, 56);
    FillRoundGradient(c, 2, 3, w - 4.0f, 51, 24, palette::kPanel, kDeep);
    c.StrokeRoundRect(3, 4, w - 6.0f, 49, 22, 3, palette::kPanelEdge);
    c.Draw(Well(w - 62, 40), 54, 8);
    c.FillCircle(28, 28, 22, kDeep);
    c.StrokeCircle(28, 28, 22, 2, kGold);
    DrawGlyphShadowed(c, icon, 28, 28, 34, iconColor);
    return c;
}

Canvas SpellBar()
{
    Canvas c(448, 96);
    FillRoundGradient(c, 2, 6, 444, 88, 30, palette::kPanel, kDeep);
    c.StrokeRoundRect(4, 8, 440, 84, 28, 3, palette::kPanelEdge);
    for (int i = 0; i < 5; ++i)
    {
        float cx = 48 + 88.0f * i, cy = 50;
        c.FillCircle(cx, cy, 38, kInk);
        c.FillCircle(cx, cy, 35, RgbaOf(0x101826));
        c.StrokeCircle(cx, cy, 37, 3, kGold);
        c.StrokeCircle(cx, cy, 31, 1.5f, RgbaOf(0xFFFFFF, 40));
        // The socket is open: the HUD draws the spell buttons under its pictures, so the icon shows through.
        for (int y = static_cast<int>(cy) - 34; y <= static_cast<int>(cy) + 34; ++y)
            for (int x = static_cast<int>(cx) - 34; x <= static_cast<int>(cx) + 34; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= 30.0f * 30.0f)
                    c.At(x, y) = Rgba{0, 0, 0, 0};
    }
    return c;
}

void WriteHud(Output& out)
{
    Folder f(out, "td/ui");
    // Counters: the text places sit on the wells of their plaques.
    struct Counter
    {
        const char* plate;
        const char* text;
        int x, w;
        Glyph icon;
        Rgba color;
    };
    const Counter counters[] = {
        // Each well holds its longest text on one line in the counters' font (a wider text wraps): "100/100"
        // lives (the developer key's), five digits of money, four of gems, "Wave 10/10".
        {"plate_lives", "text/mana", 6, 236, Glyph::Heart, palette::kLife},
        {"plate_coins", "text/coins", 246, 196, Glyph::Coin, palette::kMoney},
        {"plate_gems", "text/crystals", 446, 166, Glyph::Gem, palette::kGem},
        {"plate_waves", "text/waves", 616, 304, Glyph::Flag, palette::kText},
    };
    for (const Counter& k : counters)
        f.Add(k.plate, k.x, 6, Plaque(k.w, k.icon, k.color));

    Canvas buttons(244, 68);
    FillRoundGradient(buttons, 2, 2, 240, 64, 30, palette::kPanel, kDeep);
    buttons.StrokeRoundRect(3, 3, 238, 62, 29, 3, palette::kPanelEdge);
    f.Add("plate_buttons", 776, 696, buttons);
    f.Add("spell_bar", 4, 668, SpellBar());

    struct Button
    {
        const char* name;
        Glyph glyph;
        int x;
    };
    const Button speed[] = {{"pause_btn", Glyph::Pause, 784},
                            {"play_btn", Glyph::Play, 842},
                            {"speed_btn", Glyph::Fast, 900},
                            {"options_btn", Glyph::Gear, 960}};
    for (const Button& b : speed)
    {
        f.Add(std::string("button/") + b.name, b.x, 703,
              IconButton(54, palette::kButton, b.glyph, Face::Normal));
        f.Add(std::string("button/") + b.name + "_ac", b.x, 703,
              IconButton(54, RgbaOf(0x1D6B61), b.glyph, Face::Active));
    }
    for (int i = 0; i < 5; ++i)
        f.Mark("spell/spell_" + std::to_string(i + 1), 14 + 88 * i, 680, 76, 76);
    for (const Counter& k : counters)
        f.Mark(k.text, k.x + 56, 16, k.w - 64, 40);
    f.Finish();
}

// The skip button of the tutorial: two faces of one size; its label comes from the strings.
void WriteTutorialSkip(Output& out)
{
    Folder f(out, "td/data/tutorial/skip");
    f.Add("button/b4_normal", 720, 70, ButtonFace(290, 60, kSlate, Face::Normal));
    f.Add("button/b4_over", 720, 70, ButtonFace(290, 60, kSlate, Face::Over));
    f.Finish();
}

} // namespace

void WriteHudLayout(Output& out)
{
    WriteHud(out);
    WriteTutorialSkip(out);
}

} // namespace demodata
