#pragma once
// One colour per kind of thing, so a person can tell the pieces apart on screen.
#include "tools/demodata/Canvas.h"

namespace demodata::palette
{

constexpr Rgba kNight = RgbaOf(0x14213D);     // backgrounds
constexpr Rgba kDusk = RgbaOf(0x2B4162);      // background gradients
constexpr Rgba kPanel = RgbaOf(0x3D5A80);     // panels and frames
constexpr Rgba kPanelEdge = RgbaOf(0x98C1D9); // panel borders
constexpr Rgba kText = RgbaOf(0xF1FAEE);      // text
constexpr Rgba kButton = RgbaOf(0x2A9D8F);    // buttons
constexpr Rgba kButtonHot = RgbaOf(0x52D1C1); // hovered / pressed buttons
constexpr Rgba kMoney = RgbaOf(0xF4C430);     // money
constexpr Rgba kGem = RgbaOf(0x9B5DE5);       // gems
constexpr Rgba kLife = RgbaOf(0xE63946);      // lives
constexpr Rgba kStar = RgbaOf(0xFFB703);      // stars
constexpr Rgba kTower = RgbaOf(0x457B9D);     // towers
constexpr Rgba kEnemy = RgbaOf(0xD62828);     // enemies
constexpr Rgba kGrass = RgbaOf(0x6A994E);     // terrain
constexpr Rgba kRoad = RgbaOf(0xBC8A5F);      // routes
constexpr Rgba kShadow = RgbaOf(0x000000, 110);

} // namespace demodata::palette
