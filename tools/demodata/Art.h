#pragma once
// Shared drawing helpers for the demo pictures.
#include <string>

#include "tools/demodata/Canvas.h"
#include "tools/demodata/TextRenderer.h"

namespace demodata
{

// Opens a DejaVu face at a pixel size; an unopened face draws nothing.
void OpenFace(Typeface& face, const char* file, int pixels);

// A rounded button with a label, used in layouts and samples.
Canvas ButtonArt(int width, int height, Rgba fill, const std::string& label, Typeface& face);

// Small icons for the kinds of things players count: money, gems, lives, stars.
Canvas IconMoney(int size);
Canvas IconGem(int size);
Canvas IconLife(int size);
Canvas IconStar(int size);
// A simple tower silhouette (base, body, battlements) in the tower colour.
void DrawTower(Canvas& c, float cx, float baseY, float width, float height, Rgba color);

} // namespace demodata
