// The widget showcase: an image folder "td/data/showcase/" laid out in the 1024 x 768 screen space, with a
// panel, two buttons (normal, hover and pressed pictures under "button/") and a slider (track and knob under
// "slider/"). Buttons have transparent rounded corners, so their hit masks follow the picture.
#include <string>
#include <vector>

#include "tools/demodata/Art.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/ImageEncoders.h"
#include "tools/demodata/ImageFolder.h"
#include "tools/demodata/Palette.h"
#include "tools/demodata/TextRenderer.h"

namespace demodata
{
namespace
{

constexpr int kPanelX = 312, kPanelY = 164, kPanelW = 400, kPanelH = 440;
constexpr int kButtonW = 220, kButtonH = 64;

Canvas Panel()
{
    Canvas c(kPanelW, kPanelH);
    c.FillRoundRect(0, 0, kPanelW, kPanelH, 24, palette::kPanel);
    c.StrokeRoundRect(3, 3, kPanelW - 6.0f, kPanelH - 6.0f, 22, 4, palette::kPanelEdge);
    Typeface face;
    OpenFace(face, "DejaVuSans-Bold.ttf", 34);
    face.DrawText(c, "Widgets", kPanelW / 2, 58, palette::kText, 1, 2, RgbaOf(0x0B1020));
    return c;
}

Canvas Track()
{
    Canvas c(300, 16);
    c.FillRoundRect(0, 0, 300, 16, 8, palette::kNight);
    c.StrokeRoundRect(1, 1, 298, 14, 7, 2, palette::kPanelEdge);
    return c;
}

Canvas Knob(Rgba fill)
{
    Canvas c(28, 44);
    c.FillRoundRect(0, 0, 28, 44, 10, fill);
    c.StrokeRoundRect(2, 2, 24, 40, 8, 2, palette::kText);
    return c;
}

} // namespace

void WriteWidgetShowcase(Output& out)
{
    const std::string dir = "td/data/showcase/";
    std::vector<FolderLayer> layers;
    out.Write(dir + "panel.png", EncodePng(Panel()));
    layers.push_back({"panel", kPanelX, kPanelY, kPanelW, kPanelH, ""});

    Typeface face;
    OpenFace(face, "DejaVuSans-Bold.ttf", 28);
    const int bx = kPanelX + (kPanelW - kButtonW) / 2;
    struct Button
    {
        const char* name;
        const char* label;
        int y;
    };
    const Button buttons[] = {{"play", "Play", kPanelY + 110}, {"quit", "Quit", kPanelY + 200}};
    for (const Button& b : buttons)
    {
        const std::string base = std::string("button/") + b.name;
        const struct
        {
            const char* suffix;
            Rgba fill;
        } states[] = {{"", palette::kButton}, {"_hover", palette::kButtonHot}, {"_pressed", palette::kTower}};
        for (const auto& s : states)
        {
            out.Write(dir + base + s.suffix + ".png",
                      EncodePng(ButtonArt(kButtonW, kButtonH, s.fill, b.label, face)));
            layers.push_back({base + s.suffix, bx, b.y, kButtonW, kButtonH, ""});
        }
    }

    out.Write(dir + "slider/track.png", EncodePng(Track()));
    layers.push_back({"slider/track", kPanelX + 50, kPanelY + 340, 300, 16, ""});
    out.Write(dir + "slider/knob.png", EncodePng(Knob(palette::kMoney)));
    layers.push_back({"slider/knob", kPanelX + 50 - 14, kPanelY + 326, 28, 44, ""});
    out.WriteText(dir + "layers.xml", LayersXml(layers));
}

} // namespace demodata
