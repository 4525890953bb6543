#pragma once

// Shared by the screen tests: the headless game of the sprite tests with a stand-in game board (fonts that
// write down what they draw, a pointer position, a root layer), image-folder layouts with explicit layer
// indexes, a recording graphics context on the game's renderer, and the sound tag "simple".

#include "Core/Gui/GameControlHelper.h"
#include "Core/Layer/Layer.h"
#include "Core/Render/Font.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/VertexFormat.h"
#include "Source/TD/HUD/TDScreenContext.h"
#include "Source/TD/Harness/TDBoxFont.h"
#include "Source/TD/Sprites/TDTestSupport.h"
#include "Source/TD/TDTestUtil.h"

#include <memory>
#include <string>
#include <vector>

namespace hudtest
{
namespace fs = std::filesystem;

using BoxFont = tdtest::BoxFont;

// The game board as the screens see it; current while it lives.
class TestBoard final : public TDScreenContext
{
public:
    TestBoard();
    ~TestBoard();

    CountedHandle<render::Font> getFont(TDBoardFont font) const override;
    int getPointerX() const override { return pointerX; }
    int getPointerY() const override { return pointerY; }
    layer::Layer* getRootLayer() const override { return const_cast<layer::Layer*>(&root); }

    BoxFont& font(TDBoardFont which) { return fonts[static_cast<int>(which)]; }
    // Which board font this is; -1 for none of them.
    int indexOf(const render::Font* font) const;

    BoxFont fonts[kBoardFontCount];
    int pointerX = 0;
    int pointerY = 0;
    layer::Layer root;
};

// A drawn quad's corners in logical units.
struct Quad
{
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;

    float width() const { return right - left; }
    float height() const { return bottom - top; }
};

// One layer of a layout: its name, rectangle, document index and whether its picture is written.
struct LayoutLayer
{
    std::string name;
    int x = 0;
    int y = 0;
    int width = 4;
    int height = 4;
    int index = -1; // -1: its place in the list
    bool write = true;
};
// Writes folder/layers.xml and one DDS per written layer.
void WriteLayout(const fs::path& folder, const std::vector<LayoutLayer>& layers);

// Loads, once per process, the slider's glint "blik_1" (a long-running effect) into the particle system.
void LoadGlint();

// A fresh data root with the headless game, a stand-in board, the image-layer factory of the game's renderer
// and an empty log capture; a recording graphics context on demand.
class ScreenFixture : public tdtest::GameFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    render::RecordingRender& Recording();
    // A graphics context in an open frame of the game's renderer.
    render::Graphics& Graphics();
    uint32_t Used2D();
    // The last n vertices written to the 2D cache this frame.
    render::SVertex2D* Last2D(uint32_t n);
    // The quads drawn since Used2D answered used.
    std::vector<Quad> QuadsSince(uint32_t used);

    // Loads a sheet with the tag "simple" into the sound tags, each time with a fresh, silent sound;
    // SimplePlayed tells whether it is playing.
    void LoadSimpleSound();
    bool SimplePlayed();

    std::unique_ptr<TestBoard> mBoard;
    std::unique_ptr<gui::RenderImageLayerFactory> mFactory;
    std::unique_ptr<render::Graphics> mGraphics;
};

} // namespace hudtest
