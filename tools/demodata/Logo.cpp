// Splash pictures and their list, read as loose files from logo/.
#include "tools/demodata/Art.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/ImageEncoders.h"
#include "tools/demodata/Palette.h"

namespace demodata
{
namespace
{

Canvas MakerLogo()
{
    Canvas c(640, 360, palette::kNight);
    c.StrokeCircle(320, 140, 78, 12, palette::kPanelEdge);
    c.FillPolygon({{270, 170}, {320, 90}, {370, 170}}, palette::kMoney);
    Typeface face;
    OpenFace(face, "DejaVuSans-Bold.ttf", 56);
    face.DrawText(c, "ORVALIS", 320, 290, palette::kText, 1);
    Typeface small;
    OpenFace(small, "DejaVuSans.ttf", 22);
    small.DrawText(c, "presents", 320, 330, palette::kPanelEdge, 1);
    return c;
}

Canvas TitleLogo()
{
    Canvas c(800, 450);
    c.GradientRect(0, 0, 800, 450, palette::kDusk, palette::kNight);
    c.FillRect(0, 360, 800, 90, palette::kGrass);
    c.FillPolygon(
        {{0, 410}, {300, 380}, {520, 400}, {800, 370}, {800, 395}, {520, 425}, {300, 405}, {0, 435}},
        palette::kRoad);
    DrawTower(c, 150, 372, 70, 170, palette::kTower);
    DrawTower(c, 650, 372, 70, 170, palette::kTower);
    Typeface face;
    OpenFace(face, "DejaVuSerif-Bold.ttf", 84);
    face.DrawText(c, "CORVANTIS", 400, 200, palette::kText, 1, 4, RgbaOf(0x0B1020));
    Typeface small;
    OpenFace(small, "DejaVuSans-Bold.ttf", 28);
    small.DrawText(c, "a tower defence game", 400, 260, palette::kMoney, 1, 2, RgbaOf(0x0B1020));
    return c;
}

} // namespace

void WriteLogo(Output& out)
{
    out.WriteText("logo/logo.ini", "splash;orvalis.png,corvantis.jpg\n");
    out.Write("logo/orvalis.png", EncodePng(MakerLogo()));
    out.Write("logo/corvantis.jpg", EncodeJpeg(TitleLogo()));
}

} // namespace demodata
