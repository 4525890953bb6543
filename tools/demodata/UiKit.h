#pragma once
// Pieces shared by the screen layouts: one look for panels, button faces and icon glyphs, and the builder of
// an exported image folder (one PNG per layer plus its "layers.xml", listed back to front so that the layer
// index is the drawing order).
#include <string>
#include <vector>

#include "tools/demodata/Canvas.h"
#include "tools/demodata/ImageFolder.h"
#include "tools/demodata/Output.h"
#include "tools/demodata/Palette.h"
#include "tools/demodata/TextRenderer.h"

namespace demodata::ui
{

constexpr Rgba kInk = RgbaOf(0x0B1020);       // outlines and glyph shadows
constexpr Rgba kGold = RgbaOf(0xE9C46A);      // rims, ribbons, highlights
constexpr Rgba kGoldDark = RgbaOf(0x9C6B1E);  // ribbon folds
constexpr Rgba kRed = RgbaOf(0xC1121F);       // danger: delete, defeat
constexpr Rgba kGreen = RgbaOf(0x3A9D23);     // go: play, done
constexpr Rgba kSlate = RgbaOf(0x4A5568);     // locked and inactive
constexpr Rgba kDeep = RgbaOf(0x1B2A41);      // panel bottoms, sockets
constexpr Rgba kParchment = RgbaOf(0xF3E3C3); // light plates

Rgba Mix(Rgba a, Rgba b, float t);
Rgba Lighter(Rgba c, float t);
Rgba Darker(Rgba c, float t);
Rgba WithAlpha(Rgba c, int a);

// Rounded rectangle filled with a vertical gradient.
void FillRoundGradient(Canvas& c, float x, float y, float w, float h, float r, Rgba top, Rgba bottom);
// A capsule line of the given full width.
void Line(Canvas& c, float x0, float y0, float x1, float y1, float width, Rgba col);
// A ring segment between two angles in degrees (0 = right, 90 = down), of the given full width.
void Arc(Canvas& c, float cx, float cy, float r, float width, float from, float to, Rgba col);
// Copies `src` with every pixel's alpha scaled.
Canvas Faded(const Canvas& src, float factor);

// A framed panel: gradient body, light edge, inner line and gold corner studs.
Canvas Panel(int w, int h, Rgba top = palette::kPanel, Rgba bottom = kDeep);
// A gold banner with folded ends, the place of a title text.
Canvas Ribbon(int w, int h, Rgba body = kGold);
// A dark inset well for counters and text fields.
Canvas Well(int w, int h);
// A full-screen scene behind the menus: night sky, stars, hills and towers in the distance.
Canvas Backdrop(int w, int h, unsigned seed, Rgba sky, Rgba horizon, Rgba hills);
// Full-screen dimming, for windows that lie over the running level.
Canvas Shade(int w, int h, int alpha);

enum class Face
{
    Normal,
    Over,
    Active
};

// A rounded button body without text (the game writes the captions); Over is lighter with a gold rim.
Canvas ButtonFace(int w, int h, Rgba fill, Face face);
// A round button body.
Canvas RoundFace(int d, Rgba fill, Face face);

enum class Glyph
{
    Play,
    Pause,
    Fast,
    Gear,
    Back,
    Close,
    Restart,
    Menu,
    Left,
    Right,
    Up,
    Down,
    Check,
    Lock,
    Skull,
    Hammer,
    Gem,
    GemPlus,
    Star,
    Person,
    Plus,
    Minus,
    Heart,
    Coin,
    Flag,
    Note,
    Speaker,
    Bug,
    Grid
};

// Draws a glyph centred on (cx, cy) within a square of the given size.
void DrawGlyph(Canvas& c, Glyph g, float cx, float cy, float size, Rgba col);
// A glyph with a dark drop shadow, as on buttons.
void DrawGlyphShadowed(Canvas& c, Glyph g, float cx, float cy, float size, Rgba col);
// A round button with a glyph.
Canvas IconButton(int d, Rgba fill, Glyph g, Face face);
// A glyph alone on a transparent square.
Canvas GlyphIcon(int size, Glyph g, Rgba col);

// A faint outline for layers read only for their rectangle (text places, button positions, slots); it has a
// few solid pixels so that every picture of the tree has a hit mask.
Canvas Marker(int w, int h);

// Text baked into art that the game does not write (logos, badges, numbers on price pictures).
void Caption(Canvas& c, const std::string& text, const char* face, int pixels, int cx, int baseline, Rgba col,
             int outline = 2);

// An exported image folder under construction: every Add writes a PNG below `dir` and lists the layer.
class Folder
{
public:
    Folder(Output& out, std::string dir) : mOut(out), mDir(std::move(dir)) {}
    void Add(const std::string& name, int x, int y, const Canvas& pixels);
    // A layer read only for its rectangle.
    void Mark(const std::string& name, int x, int y, int w, int h);
    // A layer listed without a picture file: a place the game writes a text into.
    void Place(const std::string& name, int x, int y, int w, int h);
    // Writes "layers.xml"; layers are listed in the order they were added (index 0 at the back).
    void Finish();

private:
    Output& mOut;
    std::string mDir;
    std::vector<FolderLayer> mLayers;
};

} // namespace demodata::ui
