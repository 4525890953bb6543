#pragma once
// One writer per kind of content; main.cpp runs them in this order. A new kind of content
// (levels, sheets, ...) gets its own source file and a line here and in main.cpp.
#include "tools/demodata/Output.h"

namespace demodata
{

void WriteGameConfig(Output& out);     // data/game.xml and the dialog animations it names
void WriteLogo(Output& out);           // logo/logo.ini and the splash pictures
void WriteFonts(Output& out);          // td/data/fonts: six bitmap fonts with page images
void WriteImages(Output& out);         // side images, loading image, image folders, DDS samples
void WriteLayouts(Output& out);        // layered PSD documents
void WriteShaders(Output& out);        // td/Shaders/MobShader/DX
void WriteSounds(Output& out);         // td/data/sounds: effects
void WriteMusic(Output& out);          // td/data/music: menu and level tracks
void WriteStrings(Output& out);        // td/strings_en.csv
void WriteParticles(Output& out);      // td/fx/fx2.ptc and its atlas
void WriteGameSheets(Output& out);     // units, towers, ammo, spells, setup and unlock sheets
void WriteUpgrades(Output& out);       // td/upgrades.xml
void WriteLevels(Output& out);         // td/levels_normal and td/levels_hardcore level files
void WriteLevelArt(Output& out);       // td/data/maps: the art folder of every map
void WriteUnitSprites(Output& out);    // td/units/t1units, t2units, t3units
void WriteTowerSprites(Output& out);   // td/towers/dart, cannon, artillery, support
void WriteUiParts(Output& out);        // td/data/ui_parts, shadows, bullets, spell icons and sheets
// The screens' layouts (image folders in the 1024 x 768 layout space):
void WriteHudLayout(Output& out);     // td/ui, the in-level overlay, and the tutorial's skip button
void WriteMenuLayouts(Output& out);   // menus, modal windows, profiles, unlock message, level result
void WriteOptionsLayout(Output& out); // td/options, the options dialog's controls
void WriteSelectLayouts(Output& out); // episode select and level select
void WriteShopLayouts(Output& out);   // upgrade shop and gem shop
void WriteTutorial(Output& out);      // td/tutorial.xml and its pictures td/data/tutorial

} // namespace demodata
