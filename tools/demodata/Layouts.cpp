// Layered PSD documents used as layouts: named layers, groups, text boxes and pivots.
#include "tools/demodata/Art.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/ImageEncoders.h"
#include "tools/demodata/ImageFolder.h"
#include "tools/demodata/Palette.h"
#include "tools/demodata/PsdWriter.h"

namespace demodata
{
namespace
{

Canvas Solid(int w, int h, Rgba c)
{
    return Canvas(w, h, c);
}

// A pivot marker: a small cross, so the layer has pixels in exported form too.
Canvas Pivot(int size)
{
    Canvas c(size, size);
    c.FillRect(size / 2 - 2, 0, 4, size, RgbaOf(0xFFFFFF, 200));
    c.FillRect(0, size / 2 - 2, size, 4, RgbaOf(0xFFFFFF, 200));
    return c;
}

Canvas Panel(int w, int h)
{
    Canvas c(w, h);
    c.FillRoundRect(0, 0, static_cast<float>(w), static_cast<float>(h), 24, palette::kPanel);
    c.StrokeRoundRect(4, 4, w - 8.0f, h - 8.0f, 20, 4, palette::kPanelEdge);
    return c;
}

// A full-screen menu layout: panel, a caption box, two buttons and an icon pivot.
// The bottom layer stays a plain background, because readers may skip the first record.
PsdDocument MenuLayout()
{
    PsdDocument doc(1024, 768);
    Canvas bg(1024, 768);
    bg.GradientRect(0, 0, 1024, 768, palette::kDusk, palette::kNight);
    doc.AddLayer("background", 0, 0, bg);
    doc.AddLayer("panel", 212, 160, Panel(600, 440));

    doc.OpenGroup();
    doc.AddLayer("caption|box", 262, 190, Solid(500, 70, RgbaOf(0xFFFFFF, 64)));
    doc.CloseGroup("text");

    Typeface face;
    OpenFace(face, "DejaVuSans-Bold.ttf", 28);
    doc.OpenGroup();
    doc.AddLayer("cancel", 282, 480, ButtonArt(200, 70, palette::kLife, "Cancel", face));
    doc.AddLayer("ok", 542, 480, ButtonArt(200, 70, palette::kButton, "OK", face));
    doc.CloseGroup("button");

    doc.AddLayer("coin", 480, 300, IconMoney(64));
    doc.AddLayer("icon|center", 492, 380, Pivot(40));
    return doc;
}

// A small dialog: frame, title box, a close button and a half-transparent shade.
PsdDocument DialogLayout()
{
    PsdDocument doc(512, 384);
    doc.AddLayer("background", 0, 0, Solid(512, 384, RgbaOf(0x000000, 0)));
    doc.AddLayer("shade", 0, 0, Solid(512, 384, RgbaOf(0x000000)), 128);
    doc.AddLayer("frame", 16, 16, Panel(480, 352));
    doc.AddLayer("title|box", 56, 36, Solid(400, 56, RgbaOf(0xFFFFFF, 64)));
    Typeface face;
    OpenFace(face, "DejaVuSans-Bold.ttf", 24);
    doc.OpenGroup();
    doc.AddLayer("close", 176, 288, ButtonArt(160, 60, palette::kButton, "Close", face));
    doc.AddLayer("close_over", 176, 288, ButtonArt(160, 60, palette::kButtonHot, "Close", face));
    doc.CloseGroup("button");
    doc.AddLayer("star", 224, 130, IconStar(64));
    return doc;
}

// The same layout exported as an image folder: one PNG per layer, named by its group path.
void WriteExport(Output& out, const PsdDocument& doc, const std::string& dir)
{
    std::vector<FolderLayer> layers;
    for (const PsdDocument::NamedLayer& l : doc.NamedLayers())
    {
        out.Write(dir + "/" + l.name + ".png", EncodePng(*l.pixels));
        FolderLayer f{l.name, l.left, l.top, l.pixels->Width(), l.pixels->Height(), ""};
        f.opacity = l.opacity;
        layers.push_back(f);
    }
    out.WriteText(dir + "/layers.xml", LayersXml(layers));
}

void WriteLayout(Output& out, const PsdDocument& doc, const std::string& name)
{
    out.Write("td/data/layouts/" + name + ".psd", doc.Encode());
    WriteExport(out, doc, "td/data/layouts/" + name + "_export");
}

} // namespace

void WriteLayouts(Output& out)
{
    WriteLayout(out, MenuLayout(), "menu");
    WriteLayout(out, DialogLayout(), "dialog");
}

} // namespace demodata
