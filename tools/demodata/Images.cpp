// Side images, the loading image, and the demo image folder that holds one picture of
// every format the engine reads (PNG, JPEG, TGA, GIF, BMP, DDS in four kinds) plus an atlas.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/demodata/Art.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/DdsWriter.h"
#include "tools/demodata/ImageFolder.h"
#include "tools/demodata/ImageEncoders.h"
#include "tools/demodata/Palette.h"

namespace demodata
{
namespace
{

// One border column beside the 1024-wide playfield; the right one is its mirror.
Canvas SideImage(bool right)
{
    const int w = 172, h = 768;
    Canvas c(w, h);
    c.GradientRect(0, 0, w, h, palette::kDusk, palette::kNight);
    int inner = right ? 0 : w - 10;
    c.FillRect(inner, 0, 10, h, palette::kPanelEdge);
    for (int k = 0; k < 4; ++k)
    {
        float cy = 80.0f + k * 130.0f;
        c.FillStar(w * 0.5f, cy, 26, 11, 5, k % 2 ? palette::kStar : palette::kGem);
    }
    DrawTower(c, w * 0.5f, h - 24.0f, 60, 140, palette::kTower);
    return c;
}

Canvas LoadingImage()
{
    Canvas c(1024, 768);
    c.GradientRect(0, 0, 1024, 768, palette::kNight, palette::kDusk);
    DrawTower(c, 512, 420, 110, 260, palette::kTower);
    Typeface face;
    OpenFace(face, "DejaVuSans-Bold.ttf", 64);
    face.DrawText(c, "Loading\xE2\x80\xA6", 512, 540, palette::kText, 1, 3, RgbaOf(0x0B1020));
    c.StrokeRoundRect(312, 590, 400, 28, 14, 3, palette::kPanelEdge);
    for (int k = 0; k < 7; ++k)
        c.FillCircle(340 + k * 57.0f, 604, 8, palette::kMoney);
    return c;
}

// A labelled tile; alpha formats get transparent rounded corners.
Canvas Swatch(const char* label, Rgba fill, bool alpha)
{
    const int size = 128;
    Canvas c(size, size, alpha ? Rgba{0, 0, 0, 0} : palette::kNight);
    c.FillRoundRect(4, 4, size - 8.0f, size - 8.0f, 18, fill);
    c.StrokeRoundRect(8, 8, size - 16.0f, size - 16.0f, 14, 3, palette::kText);
    Typeface face;
    OpenFace(face, "DejaVuSans-Bold.ttf", 26);
    face.DrawText(c, label, size / 2, size / 2 + 10, palette::kText, 1, 2, RgbaOf(0x0B1020));
    return c;
}

void WriteSides(Output& out)
{
    out.Write("td/data/sides/l.png", EncodePng(SideImage(false)));
    out.Write("td/data/sides/r.png", EncodePng(SideImage(true)));
    out.WriteText("td/data/sides/layers.xml",
                  LayersXml({{"l", 0, 0, 172, 768, ""}, {"r", 0, 0, 172, 768, ""}}));
}

void WriteDemoFolder(Output& out)
{
    const std::string dir = "td/data/demo/";
    std::vector<FolderLayer> layers;
    auto place = [&layers](const std::string& name, int index) {
        layers.push_back({name, 40 + (index % 5) * 150, 40 + (index / 5) * 150, 128, 128, ""});
    };
    // Each format gets its own colour so a wrong decoder shows at a glance.
    out.Write(dir + "formats/png.png", EncodePng(Swatch("PNG", RgbaOf(0x2A9D8F), true)));
    place("formats/png", 0);
    out.Write(dir + "formats/jpg.jpg", EncodeJpeg(Swatch("JPG", RgbaOf(0xE76F51), false)));
    place("formats/jpg", 1);
    out.Write(dir + "formats/tga.tga", EncodeTga(Swatch("TGA", RgbaOf(0x8338EC), true)));
    place("formats/tga", 2);
    out.Write(dir + "formats/gif.gif", EncodeGif(Swatch("GIF", RgbaOf(0xFB8500), false)));
    place("formats/gif", 3);
    // The image folder's extension list has no ".bmp": the name carries its extension.
    out.Write(dir + "formats/bmp.bmp", EncodeBmp(Swatch("BMP", RgbaOf(0x3A86FF), false)));
    place("formats/bmp.bmp", 4);
    out.Write(dir + "formats/dds_bgra.dds",
              EncodeDds(Swatch("DDS", RgbaOf(0x06D6A0), true), DdsFormat::Bgra));
    place("formats/dds_bgra", 5);
    out.Write(dir + "formats/dds_dxt1.dds",
              EncodeDds(Swatch("DXT1", RgbaOf(0xEF476F), true), DdsFormat::Dxt1));
    place("formats/dds_dxt1", 6);
    out.Write(dir + "formats/dds_dxt3.dds",
              EncodeDds(Swatch("DXT3", RgbaOf(0x118AB2), true), DdsFormat::Dxt3));
    place("formats/dds_dxt3", 7);
    out.Write(dir + "formats/dds_dxt5.dds",
              EncodeDds(Swatch("DXT5", RgbaOf(0x7B2CBF), true), DdsFormat::Dxt5, true));
    place("formats/dds_dxt5", 8);

    // Icon atlas: four 64 x 64 icons in a 128 x 128 page; v counts from the atlas bottom.
    Canvas atlas(128, 128);
    const Canvas icons[4] = {IconMoney(64), IconGem(64), IconLife(64), IconStar(64)};
    const char* names[4] = {"icons/money", "icons/gem", "icons/life", "icons/star"};
    for (int i = 0; i < 4; ++i)
    {
        int ax = (i % 2) * 64, ay = (i / 2) * 64;
        atlas.Draw(icons[i], ax, ay);
        FolderLayer l{names[i], 40 + i * 80, 360, 64, 64, "icons.png"};
        l.tu1 = ax / 128.0;
        l.tu2 = (ax + 64) / 128.0;
        l.tv1 = 1.0 - (ay + 64) / 128.0;
        l.tv2 = 1.0 - ay / 128.0;
        layers.push_back(l);
    }
    out.Write(dir + "icons.png", EncodePng(atlas));
    out.WriteText(dir + "layers.xml", LayersXml(layers));
}

} // namespace

void WriteImages(Output& out)
{
    WriteSides(out);
    out.Write("td/data/loading.jpg", EncodeJpeg(LoadingImage()));
    WriteDemoFolder(out);
}

} // namespace demodata
