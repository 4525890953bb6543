// The menu screens and windows: main menu "td/main_menu", in-game menu "td/data/ingame", the modal message,
// dialog and name input "td/data/mm", the profiles screen "td/data/profiles", the unlock message
// "td/data/message" and the level result window "td/ui_levelresult". Captions are written by the game over
// empty button faces; a child button group "button/<art>_<name>" holds its "pos" and "label" places and
// shares the faces "button/<art>_normal" and "button/<art>_over".
#include <string>

#include "tools/demodata/Art.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/UiKit.h"
#include "tools/demodata/UnlockIcons.h"

namespace demodata
{
namespace
{

using namespace ui;

// Full-screen pictures are as wide as the widest logical screen, centred on the 1024-wide layout.
constexpr int kWideX = -171, kWideW = 1366;

// The two faces of an art token, placed at the first button that uses them.
void Faces(Folder& f, const std::string& art, int x, int y, int w, int h, Rgba fill)
{
    f.Add("button/" + art + "_normal", x, y, ButtonFace(w, h, fill, Face::Normal));
    f.Add("button/" + art + "_over", x, y, ButtonFace(w, h, fill, Face::Over));
}

// A child button group: its rectangle and, unless it shows no caption, the place of the caption on the face.
void Group(Folder& f, const std::string& group, int x, int y, int w, int h, bool label = true)
{
    f.Mark("button/" + group + "/pos", x, y, w, h);
    if (label)
        f.Mark("button/" + group + "/label", x, y, w, h - 6);
}

void MainMenu(Output& out)
{
    Folder f(out, "td/main_menu");
    f.Add("background", kWideX, 0,
          Backdrop(kWideW, 768, 7, RgbaOf(0x0B1433), RgbaOf(0x3B4F7A), RgbaOf(0x13233A)));
    // The game's logo, with the glints of the menu on its crown and its lower edge.
    Canvas title(520, 150);
    title.Draw(Ribbon(520, 118), 0, 22);
    DrawTower(title, 260, 34, 44, 34, kGold);
    Caption(title, "CORVANTIS", "DejaVuSerif-Bold.ttf", 56, 260, 82, palette::kText, 4);
    f.Add("title", 252, 6, title);
    // The band along the bottom edge opens the profiles; the greeting is written on it.
    Canvas band(640, 52);
    FillRoundGradient(band, 0, 0, 640, 52, 24, RgbaOf(0x1B2A41, 220), RgbaOf(0x0B1020, 230));
    band.StrokeRoundRect(2, 2, 636, 48, 22, 2, kGold);
    band.FillCircle(30, 26, 19, palette::kButton);
    DrawGlyph(band, Glyph::Person, 30, 26, 26, palette::kText);
    f.Add("profile_band", 192, 712, band);
    // Language flags: the menu shows the one of the game's language.
    Canvas en(60, 40), ru(60, 40);
    en.FillRoundRect(0, 0, 60, 40, 6, RgbaOf(0x1F3A93));
    Line(en, 3, 3, 57, 37, 7, palette::kText);
    Line(en, 57, 3, 3, 37, 7, palette::kText);
    Line(en, 3, 3, 57, 37, 3, kRed);
    Line(en, 57, 3, 3, 37, 3, kRed);
    en.FillRect(24, 0, 12, 40, palette::kText);
    en.FillRect(0, 14, 60, 12, palette::kText);
    en.FillRect(27, 0, 6, 40, kRed);
    en.FillRect(0, 17, 60, 6, kRed);
    en.StrokeRoundRect(1, 1, 58, 38, 5, 2, kInk);
    ru.FillRoundRect(0, 0, 60, 40, 6, palette::kText);
    ru.FillRect(1, 13, 58, 14, RgbaOf(0x0039A6));
    ru.FillRect(1, 27, 58, 12, RgbaOf(0xD52B1E));
    ru.StrokeRoundRect(1, 1, 58, 38, 5, 2, kInk);
    f.Add("en", 948, 14, en);
    f.Add("ru", 948, 14, ru);

    Faces(f, "b2", 332, 244, 360, 112, kGreen);
    Faces(f, "b1", 362, 378, 300, 76, palette::kButton);
    Group(f, "b2_play", 332, 244, 360, 112);
    Group(f, "b1_shop", 362, 378, 300, 76);
    Group(f, "b1_options", 362, 466, 300, 76);
    Group(f, "b1_cloze", 362, 554, 300, 76);
    f.Mark("text/greet", 240, 716, 560, 44);
    f.Finish();
}

void IngameMenu(Output& out)
{
    Folder f(out, "td/data/ingame");
    f.Add("shade", kWideX, 0, Shade(kWideW, 768, 150));
    // The labels are written in the 80-pixel title font: the buttons leave room around the widest of them.
    f.Add("panel", 262, 70, Panel(500, 690));
    // The medallion on the panel's head is drawn by the menu above its buttons.
    Canvas medal(112, 112);
    medal.FillCircle(56, 58, 52, palette::kShadow);
    medal.FillCircle(56, 55, 50, kGoldDark);
    FillRoundGradient(medal, 10, 9, 92, 92, 46, kGold, kGoldDark);
    medal.StrokeCircle(56, 55, 40, 3, RgbaOf(0xFFF1C1));
    DrawGlyphShadowed(medal, Glyph::Pause, 56, 55, 56, palette::kText);
    f.Add("main_menu_ico", 456, 14, medal);
    Faces(f, "b1", 302, 226, 420, 96, palette::kButton);
    f.Add("button/b3_normal", 700, 84, IconButton(52, kRed, Glyph::Close, Face::Normal));
    f.Add("button/b3_over", 700, 84, IconButton(52, kRed, Glyph::Close, Face::Over));
    const char* names[] = {"b1_resume", "b1_restart", "b1_levels", "b1_mmenu", "b1_options"};
    for (int i = 0; i < 5; ++i)
        Group(f, names[i], 302, 226 + 104 * i, 420, 96);
    Group(f, "b3_close", 700, 84, 52, 52, false);
    f.Mark("text/caption", 302, 132, 420, 84);
    f.Finish();
}

// One layout for the message, the two-button dialog and the name input: the OK group lies 120 left of the
// middle so that a message, which moves it 120 to the right, shows it centred.
void ModalWindows(Output& out)
{
    Folder f(out, "td/data/mm");
    f.Add("back", 132, 206, Panel(760, 384));
    // The field holds sixteen of the widest letter and the cursor bar in the board's 42-pixel font.
    Canvas input(700, 64);
    input.Draw(Well(700, 64), 0, 0);
    input.StrokeRoundRect(3, 3, 694, 58, 20, 2, kGold);
    f.Add("input", 162, 364, input);
    // The message box centres its buttons 240 apart and writes their captions in the 80-pixel title font.
    Faces(f, "b1", 275, 478, 234, 84, palette::kButton);
    Group(f, "b1_cancel", 515, 478, 234, 84);
    // The message box draws the OK label's picture behind each of its buttons: a soft shadow under the face.
    f.Mark("button/b1_ok/pos", 275, 478, 234, 84);
    Canvas shadow(234, 78);
    shadow.FillRoundRect(4, 10, 226, 68, 26, RgbaOf(0x000000, 70));
    f.Add("button/b1_ok/label", 275, 478, shadow);
    // Texts keep clear of the panel's frame: the game justifies every line to the full width of its place.
    f.Mark("text/caption", 202, 222, 620, 84);
    f.Mark("text/message", 212, 312, 600, 156);
    f.Finish();
}

void Profiles(Output& out)
{
    Folder f(out, "td/data/profiles");
    f.Add("background", kWideX, 0,
          Backdrop(kWideW, 768, 11, RgbaOf(0x101a3a), RgbaOf(0x465a86), RgbaOf(0x1a2b40)));
    f.Add("panel", 212, 24, Panel(600, 712));
    Canvas rows(440, 5 * 62);
    for (int k = 0; k < 5; ++k)
    {
        rows.Draw(Well(440, 54), 0, 62 * k);
        rows.FillCircle(30, 62 * k + 27.0f, 16, RgbaOf(0x2B4162));
        DrawGlyph(rows, Glyph::Person, 30, 62 * k + 27.0f, 20, RgbaOf(0x98C1D9, 200));
    }
    f.Add("rows", 292, 158, rows);
    Faces(f, "b1", 232, 560, 176, 68, palette::kButton);
    Faces(f, "b6", 424, 560, 176, 68, kRed);
    // The marker of the current player covers its row and shows the name larger.
    Canvas mark(440, 54);
    FillRoundGradient(mark, 0, 0, 440, 54, 18, RgbaOf(0x2A9D8F), RgbaOf(0x1D6B61));
    mark.StrokeRoundRect(2, 2, 436, 50, 16, 3, kGold);
    mark.FillCircle(30, 27, 16, kGold);
    DrawGlyph(mark, Glyph::Check, 30, 27, 20, kInk);
    f.Add("button/b5_normal", 292, 158, mark);
    f.Add("button/b5_over", 292, 158, mark);
    Group(f, "b1_create", 232, 560, 176, 68);
    Group(f, "b1_rename", 424, 560, 176, 68);
    Group(f, "b6_delete", 616, 560, 176, 68);
    Group(f, "b1_back", 232, 646, 176, 68);
    Group(f, "b1_confirm", 616, 646, 176, 68);
    for (int k = 1; k <= 5; ++k)
        Group(f, "b5_p" + std::to_string(k), 292, 158 + 62 * (k - 1), 440, 54);
    // Row k of the list is the (k + 2)-th text place in name order: "caption" and "list" come first.
    f.Mark("text/caption", 242, 44, 540, 90);
    f.Mark("text/list", 292, 158, 440, 302);
    for (int k = 1; k <= 5; ++k)
        f.Mark("text/profile" + std::to_string(k), 340, 158 + 62 * (k - 1), 380, 54);
    f.Mark("text/select", 252, 478, 520, 70);
    f.Finish();
}

// The unlock message: one icon per id at the same place, the caption on the ribbon, the text under the
// icon and the OK button with its caption place on top of it.
void UnlockMessage(Output& out)
{
    Folder f(out, "td/data/message");
    f.Add("back", 252, 140, Panel(520, 500));
    f.Add("ribbon", 282, 154, Ribbon(460, 96));
    Canvas halo(200, 200);
    for (int r = 96; r > 0; r -= 2)
        halo.FillCircle(100, 100, static_cast<float>(r), RgbaOf(0xFFE8A3, static_cast<std::uint8_t>(6)));
    f.Add("halo", 412, 224, halo);
    // Every announced id has its picture, so each level's news opens the message.
    for (int id : MessageIconIds())
        f.Add("icons/id" + std::to_string(id), 432, 244, UnlockIcon(id, 160));
    f.Add("button/ok", 412, 556, ButtonFace(200, 72, kGreen, Face::Normal));
    f.Mark("text/caption", 292, 156, 440, 62);
    f.Mark("text/message", 277, 410, 470, 140);
    f.Mark("text/button", 412, 556, 200, 66);
    f.Finish();
}

Canvas ResultBack(bool win)
{
    Rgba top = win ? RgbaOf(0x2F6F73) : RgbaOf(0x6B2A2A);
    Rgba bottom = win ? RgbaOf(0x14283A) : RgbaOf(0x2A1418);
    Canvas c = Panel(580, 640, top, bottom);
    c.Draw(Ribbon(520, 104, win ? kGold : RgbaOf(0xB0B7C3)), 30, 8);
    // Empty star sockets; the earned stars are drawn over them.
    for (int i = 0; i < 3; ++i)
        c.FillStar(190 + 100.0f * i, 206, 40, 17, 5, RgbaOf(0x0B1020, 150));
    // Score rows on a darker inset.
    c.Draw(Faded(Well(460, 174), 0.8f), 60, 308);
    Line(c, 80, 436, 500, 436, 2, WithAlpha(kGold, 160));
    return c;
}

Canvas DifficultyPlaque(bool win)
{
    Canvas c(240, 46);
    FillRoundGradient(c, 0, 0, 240, 46, 20, win ? RgbaOf(0x3D5A80) : RgbaOf(0x5A3D3D), kInk);
    c.StrokeRoundRect(2, 2, 236, 42, 18, 2, win ? kGold : RgbaOf(0xB0B7C3));
    return c;
}

Canvas Label(bool win)
{
    Canvas c(160, 60);
    if (win)
    {
        c.FillStar(80, 32, 28, 12, 5, kGold);
        Arc(c, 80, 30, 26, 5, 20, 160, RgbaOf(0x6A994E));
    }
    else
    {
        Line(c, 40, 12, 120, 50, 8, RgbaOf(0xB0B7C3));
        Line(c, 40, 50, 120, 12, 8, RgbaOf(0xB0B7C3));
    }
    return c;
}

void LevelResult(Output& out)
{
    Folder f(out, "td/ui_levelresult");
    f.Add("back_lose", 222, 74, ResultBack(false));
    f.Add("back_win", 222, 74, ResultBack(true));
    f.Add("victory_label", 432, 56, Label(true));
    f.Add("defeat_label", 432, 56, Label(false));
    f.Add("diffictly_lose", 392, 330, DifficultyPlaque(false));
    f.Add("diffictly", 392, 330, DifficultyPlaque(true));
    for (int i = 0; i < 3; ++i)
    {
        Canvas star(96, 96);
        star.FillStar(48, 51, 45, 19, 5, kGoldDark);
        star.FillStar(48, 49, 41, 17, 5, palette::kStar);
        star.FillStar(44, 43, 16, 7, 5, RgbaOf(0xFFF1C1, 160));
        f.Add("star" + std::to_string(i), 364 + 100 * i, 232, star);
    }
    f.Add("button/close", 740, 80, IconButton(56, kRed, Glyph::Close, Face::Normal));
    f.Add("button/menu", 362, 632, IconButton(68, palette::kButton, Glyph::Grid, Face::Normal));
    f.Add("button/restart", 478, 632, IconButton(68, palette::kButton, Glyph::Restart, Face::Normal));
    f.Add("button/done", 594, 626, IconButton(80, kGreen, Glyph::Right, Face::Normal));
    f.Mark("text/levelResult", 282, 82, 460, 70);
    f.Mark("text/levelName", 252, 186, 520, 44);
    f.Mark("text/gameName", 392, 330, 240, 46);
    const char* rows[] = {"killScore", "goldBonus", "lifeBonus", "totalScore"};
    for (int i = 0; i < 4; ++i)
        f.Mark(std::string("text/") + rows[i], 282, 384 + 42 * i, 460, 42);
    f.Mark("text/gems", 262, 566, 250, 44);
    f.Mark("text/bestScore", 512, 566, 250, 44);
    f.Finish();
}

} // namespace

void WriteMenuLayouts(Output& out)
{
    MainMenu(out);
    IngameMenu(out);
    ModalWindows(out);
    Profiles(out);
    UnlockMessage(out);
    LevelResult(out);
}

} // namespace demodata
