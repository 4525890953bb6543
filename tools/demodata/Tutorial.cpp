// The tutorial of level 1-1. A new player is taken through building on the spot at (896, 563), starting the
// first wave, calling the next wave early, upgrading the tower until it earns a star (a branch upgrade: tier
// updates send no event), casting the meteor and going on alone. Every step is bound to episode 1, level 1
// (shop -1), and its ids are among those a level start re-arms, so a step left unfinished shows again. The
// first step waits for the unlock message of 1-1 to close, so it never lies over it.
//
// Each step's folder of "td/data/tutorial" holds a dark plate, an arrow where one helps, and a text place
// (a layer without a picture) on the plate.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "tools/demodata/Content.h"
#include "tools/demodata/Tutorial.h"
#include "tools/demodata/UiKit.h"

namespace demodata
{
namespace
{

using namespace ui;

struct Cmd
{
    const char* param;
    int value;
};

struct Arrow
{
    int tailX, tailY, tipX, tipY; // layout units; the tip touches what it shows
};

constexpr int kPlateW = 520;
constexpr int kPlateH = 190;

struct Step
{
    int id;
    const char* activate;
    const char* complete;
    const char* folder;
    const char* string;
    int plateX, plateY; // the plate is kPlateW x kPlateH
    bool arrow;
    Arrow to;
    std::vector<Cmd> cmds;
    std::vector<Cmd> onComplete;
};

// The spot at (896, 563) is the first of 1-1 ("#0"); the play button's centre is (869, 730), the first
// spell slot's (52, 718); the next-wave marker stands at the road's entrance on the left edge. The plates
// keep clear of what the hint asks for, of the level name banner in the middle at the start and of the skip
// button in the top right corner.
// Every step stands the level still ("pause") and lets through only what it asks for ("blockUI": 2 keeps
// the play button, the early call and the spells shut, 1 opens the play button, 3 the early call), so a hint
// is never overtaken by the waves; after the first Play the lock stays at 1 until the wave is cleared, so no
// early call or spell jumps ahead of its hint.
// clang-format off
const std::vector<Step> kSteps = {
    {0, "unlock_window_close", "tower_select", "build", "tutorial_build", 250, 450, true, {778, 540, 858, 556},
     {{"pause", 1}, {"blockUI", 2}, {"spot", 0}}, {}},
    {1, "tower_select", "tower_built", "choose", "tutorial_choose", 480, 135, false, {}, {}, {{"spot", -1}}},
    {2, "tower_built", "game_play", "play", "tutorial_play", 330, 470, true, {822, 644, 866, 704},
     {{"pause", 1}, {"blockUI", 1}}, {}},
    {3, "wave_vanish_1", "wave_forced", "call", "tutorial_call", 130, 330, true, {150, 350, 58, 302},
     {{"pause", 1}, {"blockUI", 3}}, {{"blockUI", 0}}},
    {4, "wave_forced", "tower_upgraded", "upgrade", "tutorial_upgrade", 190, 80, false, {},
     {{"addMoney", 150}, {"pause", 1}, {"blockUI", 2}}, {}},
    {5, "tower_upgraded", "spell_casted", "spell", "tutorial_spell", 120, 430, true, {110, 622, 62, 684},
     {{"resetSpell", 0}, {"pause", 1}, {"blockUI", 0}}, {}},
    {6, "spell_casted", "game_play", "done", "tutorial_done", 250, 280, true, {780, 474, 864, 704},
     {{"pause", 1}, {"blockUI", 1}}, {{"blockUI", 0}}},
};
// clang-format on

// The texts wrap on their plates.
const std::vector<StringEntry> kStrings = {
    {"tutorial_build", "Enemies will soon walk this road. Press the build spot the arrow shows."},
    {"tutorial_choose", "Choose the dart tower in the menu. Towers cost money: yours is at the top."},
    {"tutorial_play", "Your tower fires on its own at enemies in its range. Press Play to let them come."},
    {"tutorial_call",
     "Wave cleared! Press the skull marker at the road's entrance to call the next wave early "
     "and earn money."},
    {"tutorial_upgrade", "Here is some money. Press your tower and buy upgrades until it earns a star."},
    {"tutorial_spell",
     "Spells help in a tight spot. Press the meteor, then press the road where the enemies come."},
    {"tutorial_done", "Well done! Build more towers as money comes in. Press Play to go on."},
};

// An arrow from tail to tip, on a canvas placed by the returned corner.
Canvas ArrowPicture(const Arrow& a, int& left, int& top)
{
    constexpr int kMargin = 26;
    left = std::min(a.tailX, a.tipX) - kMargin;
    top = std::min(a.tailY, a.tipY) - kMargin;
    const int w = std::abs(a.tipX - a.tailX) + 2 * kMargin;
    const int h = std::abs(a.tipY - a.tailY) + 2 * kMargin;
    Canvas c(w, h);
    const float tx = static_cast<float>(a.tailX - left), ty = static_cast<float>(a.tailY - top);
    const float px = static_cast<float>(a.tipX - left), py = static_cast<float>(a.tipY - top);
    const float dx = px - tx, dy = py - ty;
    const float length = std::max(1.0f, std::sqrt(dx * dx + dy * dy));
    const float ux = dx / length, uy = dy / length;
    const float baseX = px - ux * 22.0f, baseY = py - uy * 22.0f;
    c.StrokeLine(tx, ty, baseX, baseY, 9.0f, kInk);
    c.StrokeLine(tx, ty, baseX, baseY, 5.0f, kGold);
    c.FillPolygon({{px, py}, {baseX - uy * 16.0f, baseY + ux * 16.0f}, {baseX + uy * 16.0f, baseY - ux * 16.0f}},
                  kGold);
    return c;
}

std::string Attr(const char* name, int value)
{
    return std::string(" ") + name + "=\"" + std::to_string(value) + "\"";
}

std::string Cmds(const char* element, const std::vector<Cmd>& cmds)
{
    if (cmds.empty())
        return "";
    std::string xml = std::string("    <") + element + ">\n";
    for (const Cmd& c : cmds)
        xml += std::string("      <cmd param=\"") + c.param + "\"" + Attr("value", c.value) + "/>\n";
    return xml + "    </" + element + ">\n";
}

} // namespace

const std::vector<StringEntry>& TutorialStrings()
{
    return kStrings;
}

void WriteTutorial(Output& out)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<tutorial>\n";
    Folder pictures(out, "td/data/tutorial");
    for (const Step& s : kSteps)
    {
        xml += std::string("  <step") + Attr("id", s.id) + " activate=\"" + s.activate + "\" complete=\"" +
               s.complete + "\">\n";
        xml += "    <condition shop=\"-1\" episode=\"0\" level=\"0\"/>\n";
        const std::string place = std::string(s.folder) + "/text";
        xml += std::string("    <show folder=\"") + s.folder + "\">\n      <text place=\"" + place +
               "\" string=\"" + s.string + "\"/>\n    </show>\n";
        xml += Cmds("cmds", s.cmds) + Cmds("onComplete", s.onComplete);
        xml += "  </step>\n";

        Canvas plate(kPlateW, kPlateH);
        FillRoundGradient(plate, 2, 2, kPlateW - 4.0f, kPlateH - 4.0f, 18, WithAlpha(palette::kPanel, 235),
                          WithAlpha(kDeep, 235));
        plate.StrokeRoundRect(3, 3, kPlateW - 6.0f, kPlateH - 6.0f, 17, 3, kGold);
        pictures.Add(std::string(s.folder) + "/plate", s.plateX, s.plateY, plate);
        if (s.arrow)
        {
            int left = 0, top = 0;
            Canvas arrow = ArrowPicture(s.to, left, top);
            pictures.Add(std::string(s.folder) + "/arrow", left, top, arrow);
        }
        pictures.Place(place, s.plateX + 16, s.plateY + 12, kPlateW - 32, kPlateH - 24);
    }
    xml += "</tutorial>\n";
    pictures.Finish();
    out.WriteText("td/tutorial.xml", xml);
}

} // namespace demodata
