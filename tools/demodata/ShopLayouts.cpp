// The two shops: the upgrade shop "td/shop" (header and footer that the plate list scrolls under, mode tabs,
// a plate with its stars, buy button and gem price, one icon per upgrade, the scroll bar and the buttons of
// both ways out) and the gem shop "td/gem_shop" (five pack cards with their price buttons, their price
// pictures and the badge of the second pack).
#include <cstdio>
#include <string>

#include "tools/demodata/Art.h"
#include "tools/demodata/Content.h"
#include "tools/demodata/UiKit.h"
#include "tools/demodata/UpgradeIcons.h"

namespace demodata
{
namespace
{

using namespace ui;

constexpr int kWideX = -171, kWideW = 1366;
// The plate's origin: the buy button's hit window lies 30 left of its picture's middle, so a plate 30 from
// the left edge shows the button where it is hit.
constexpr int kPlateX = 30, kPlateY = 206, kPlateW = 830;
// The game writes a plate's name at 14 and its description at 70 below the plate's origin, in fonts 42 and
// 32 high, and stacks the plates 99 apart: the body starts 8 below the origin and reaches 104, so both texts
// lie inside it with room to spare, and the next body begins 3 below it.
constexpr int kPlateTop = 8, kPlateBody = 96;
constexpr int kMaxSteps = 10;

Canvas Header()
{
    Canvas c(1024, 204);
    c.GradientRect(0, 0, 1024, 204, RgbaOf(0x1B2A41), RgbaOf(0x24344F));
    c.FillRect(0, 196, 1024, 8, kGoldDark);
    c.FillRect(0, 196, 1024, 3, kGold);
    c.Draw(Ribbon(480, 108), 272, 14);
    // The gem counter's plate at the right end.
    FillRoundGradient(c, 764, 30, 240, 84, 36, palette::kPanel, kDeep);
    c.StrokeRoundRect(766, 32, 236, 80, 34, 3, kGold);
    DrawGlyphShadowed(c, Glyph::Gem, 806, 72, 56, palette::kGem);
    return c;
}

Canvas Footer()
{
    Canvas c(1024, 148);
    c.GradientRect(0, 0, 1024, 148, RgbaOf(0x24344F), RgbaOf(0x111B2C));
    c.FillRect(0, 0, 1024, 8, kGoldDark);
    c.FillRect(0, 5, 1024, 3, kGold);
    return c;
}

Canvas Plate()
{
    Canvas c(kPlateW, kPlateTop + kPlateBody + 2);
    FillRoundGradient(c, 1, kPlateTop, kPlateW - 2.0f, kPlateBody, 18, RgbaOf(0x3D5A80), RgbaOf(0x22324D));
    c.StrokeRoundRect(2, kPlateTop + 1.0f, kPlateW - 4.0f, kPlateBody - 2.0f, 17, 2, palette::kPanelEdge);
    c.FillCircle(53, 58, 37, kInk);
    c.StrokeCircle(53, 58, 37, 2, kGold);
    return c;
}

// Inactive and active tab faces; the bar stands the tabs on the bottom edge of the active one.
void Tabs(Folder& f)
{
    f.Add("tabs/up_button_in", 202, 136, ButtonFace(196, 64, kSlate, Face::Normal));
    f.Add("tabs/up_button_ac", 202, 136, ButtonFace(196, 64, palette::kButton, Face::Over));
}

Canvas BuyButton(Face face)
{
    return ButtonFace(120, 62, kGreen, face);
}

void UpgradeShop(Output& out)
{
    Folder f(out, "td/shop");
    f.Add("background", kWideX, 0,
          Backdrop(kWideW, 768, 9, RgbaOf(0x0E1A33), RgbaOf(0x3C4F6E), RgbaOf(0x16243A)));
    Canvas list(880, 430);
    FillRoundGradient(list, 0, 0, 880, 430, 20, RgbaOf(0x0B1020, 200), RgbaOf(0x0B1020, 160));
    f.Add("list_back", 20, 196, list);
    f.Add("back_header", 0, 0, Header());
    f.Add("back_footer", 0, 620, Footer());

    f.Add("item_plate/Layer_1", kPlateX, kPlateY, Plate());
    Canvas starWell = Well(214, 30);
    f.Add("item_plate/stars/clear_star", kPlateX + 478, kPlateY + 30, starWell);
    for (int i = 1; i <= kMaxSteps; ++i)
    {
        Canvas star(20, 20);
        star.FillStar(10, 10.5f, 9.5f, 4.2f, 5, palette::kStar);
        f.Add("item_plate/stars/star_0" + std::to_string(i), kPlateX + 484 + 20 * (i - 1), kPlateY + 35,
              star);
    }
    f.Add("item_plate/buy_in", kPlateX + 690, kPlateY + 17, BuyButton(Face::Normal));
    f.Add("item_plate/buy_ac", kPlateX + 690, kPlateY + 17, BuyButton(Face::Over));
    f.Add("item_plate/grem", kPlateX + 700, kPlateY + 30, GlyphIcon(32, Glyph::Gem, palette::kGem));
    for (const std::string& icon : UpgradeIconNames())
        f.Add("icons/" + icon, kPlateX + 18, kPlateY + 23, UpgradeIcon(icon, 70));

    Tabs(f);
    Canvas bar(30, 330);
    FillRoundGradient(bar, 0, 0, 30, 330, 14, RgbaOf(0x070B14), RgbaOf(0x1B2A41));
    bar.StrokeRoundRect(1, 1, 28, 328, 13, 2, WithAlpha(palette::kPanelEdge, 160));
    f.Add("scroll/bar", 872, 212, bar);
    Canvas slider(42, 60);
    FillRoundGradient(slider, 1, 1, 40, 58, 14, RgbaOf(0xFFF1C1), kGoldDark);
    slider.StrokeRoundRect(2, 2, 38, 56, 13, 2, kInk);
    for (int k = 0; k < 3; ++k)
        Line(slider, 13, 22.0f + 8 * k, 29, 22.0f + 8 * k, 2, WithAlpha(kGoldDark, 220));
    f.Add("scroll/slider_in", 866, 221, slider);

    f.Add("button/up_in", 865, 156, IconButton(44, palette::kButton, Glyph::Up, Face::Normal));
    f.Add("button/down_in", 865, 548, IconButton(44, palette::kButton, Glyph::Down, Face::Normal));
    f.Add("button/back_ac", 24, 654, IconButton(84, palette::kButton, Glyph::Back, Face::Normal));
    f.Add("button/return_ac", 916, 654, IconButton(84, kGreen, Glyph::Play, Face::Normal));
    // The way to the gem shop: from the menus (0) or from the game (1); the shop shows the one that fits.
    f.Add("button/gem_shop0", 470, 656, IconButton(84, palette::kGem, Glyph::GemPlus, Face::Normal));
    f.Add("button/gem_shop1", 470, 656, IconButton(84, palette::kGem, Glyph::GemPlus, Face::Normal));
    f.Mark("text/caption", 297, 20, 430, 72);
    f.Mark("text/gems", 830, 32, 170, 80);
    f.Finish();
}

// Pack sizes of the five gem products, shown on their price pictures.
constexpr int kPackGems[5] = {100, 335, 575, 1200, 3125};
constexpr int kPack = 260;
const int kPackX[5] = {87, 382, 677, 234, 530};
const int kPackY[5] = {176, 176, 176, 452, 452};
// The price button on its card, and the margin by which the shop shrinks a pack's button rectangle for hits.
constexpr int kPriceX = 20, kPriceY = 186, kPriceW = kPack - 44, kPriceH = 50;
constexpr int kHitInset = 50;

// The card a pack lies on; only its price button below answers clicks.
Canvas PackCard()
{
    Canvas c(kPack, kPack);
    c.FillRoundRect(4, 8, kPack - 8.0f, kPack - 8.0f, 30, palette::kShadow);
    c.FillRoundRect(0, 0, kPack - 4.0f, kPack - 6.0f, 30, kGoldDark);
    FillRoundGradient(c, 4, 4, kPack - 12.0f, kPack - 14.0f, 26, RgbaOf(0x5A3D8C), RgbaOf(0x22163A));
    return c;
}

// The pack's button layer: the green price button inside a clear margin of the hit inset, because the shop
// answers only inside the layer's rectangle shrunk by that inset. What answers is then what looks clickable.
Canvas PackPriceButton()
{
    Canvas c(kPriceW + 2 * kHitInset, kPriceH + 2 * kHitInset);
    FillRoundGradient(c, kHitInset, kHitInset, kPriceW, kPriceH, 22, kGreen, Darker(kGreen, 0.4f));
    c.StrokeRoundRect(kHitInset, kHitInset, kPriceW, kPriceH, 22, 2, kGold);
    return c;
}

// A pile of gems that grows with the pack, and the number of gems it holds.
Canvas PackPicture(int index)
{
    Canvas c(220, 170);
    for (int r = 70; r > 0; r -= 3)
        c.FillCircle(110, 78, static_cast<float>(r), RgbaOf(0xE0AAFF, 5));
    const int count = 1 + index * 2;
    for (int k = 0; k < count; ++k)
    {
        int row = k < 5 ? 0 : (k < 8 ? 1 : 2), inRow = k < 5 ? k : (k < 8 ? k - 5 : k - 8);
        int perRow = row == 0 ? std::min(count, 5) : (row == 1 ? std::min(count - 5, 3) : 1);
        float x = 110 + (inRow - (perRow - 1) * 0.5f) * 34, y = 104 - row * 26.0f;
        DrawGlyphShadowed(c, Glyph::Gem, x, y, 46, Lighter(palette::kGem, 0.1f * (k % 3)));
    }
    Caption(c, std::to_string(kPackGems[index]), "DejaVuSans-Bold.ttf", 38, 110, 160, palette::kText, 3);
    return c;
}

Canvas PopularBadge()
{
    Canvas c(170, 56);
    c.FillPolygon({{0, 10}, {170, 10}, {158, 33}, {170, 56}, {0, 56}, {12, 33}}, kGoldDark);
    FillRoundGradient(c, 10, 6, 150, 40, 8, RgbaOf(0xF25C54), RgbaOf(0xA4161A));
    c.StrokeRoundRect(12, 8, 146, 36, 7, 2, kGold);
    Caption(c, "POPULAR", "DejaVuSans-Bold.ttf", 22, 85, 34, palette::kText, 2);
    return c;
}

void GemShop(Output& out)
{
    Folder f(out, "td/gem_shop");
    f.Add("background", kWideX, 0,
          Backdrop(kWideW, 768, 13, RgbaOf(0x1A0B33), RgbaOf(0x4A3B6E), RgbaOf(0x1E1236)));
    f.Add("ribbon", 272, 8, Ribbon(480, 104));
    Canvas counter(520, 52);
    counter.Draw(Well(520, 52), 0, 0);
    DrawGlyphShadowed(counter, Glyph::Gem, 30, 26, 34, palette::kGem);
    f.Add("counter", 252, 114, counter);
    for (int i = 0; i < 5; ++i)
    {
        char name[16];
        std::snprintf(name, sizeof name, "b_%02d", i + 1);
        f.Add("card_" + std::to_string(i + 1), kPackX[i], kPackY[i], PackCard());
        f.Add(std::string("button/") + name + "_in", kPackX[i] + kPriceX - kHitInset,
              kPackY[i] + kPriceY - kHitInset, PackPriceButton());
        f.Add("pricing/en/" + std::to_string(i + 1), kPackX[i] + 18, kPackY[i] + 12, PackPicture(i));
        f.Mark(std::string("text/") + name + "_text", kPackX[i] + kPriceX, kPackY[i] + kPriceY, kPriceW,
               kPriceH);
    }
    f.Add("1/most_popular", kPackX[1] + 96, kPackY[1] - 18, PopularBadge());
    f.Add("button/back_in", 20, 684, IconButton(72, palette::kButton, Glyph::Back, Face::Normal));
    f.Mark("text/caption", 297, 12, 430, 70);
    f.Mark("text/caption_gems", 292, 116, 460, 48);
    f.Finish();
}

} // namespace

void WriteShopLayouts(Output& out)
{
    UpgradeShop(out);
    GemShop(out);
}

} // namespace demodata
