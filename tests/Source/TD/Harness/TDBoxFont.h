#pragma once

// A stand-in font for tests of what is drawn: no glyphs, a fixed box per character, and a record of each draw.

#include "Core/Render/Color.h"
#include "Core/Render/Font.h"
#include "Core/Base/MathTypes.h"
#include "Source/TD/HUD/TDScreenContext.h"

#include <string>
#include <vector>

namespace tdtest
{
// A font that lays every text out as 10 units per character by 20 and writes down each draw: the text, the
// layout it got, where its box landed and the colour it was drawn in.
class BoxFont : public render::Font
{
public:
    struct Draw
    {
        std::wstring text;
        float wrapWidth = 0.0f;
        int32_t align = 0;
        math::Point2 topLeft;
        math::Point2 bottomRight;
        render::Color color;

        math::Point2 centre() const
        {
            return math::Point2((topLeft.x + bottomRight.x) * 0.5f, (topLeft.y + bottomRight.y) * 0.5f);
        }
        float width() const { return bottomRight.x - topLeft.x; }
    };

    BoxFont() { mLineHeight = 20.0f; }
    VNResultEnum DrawText(render::Graphics* graphics, render::DrawTextParam* param, const std::wstring* text,
                          const render::TextLayout* layout, float* outSize) override;
    bool HasGlyph(uint32_t) const override { return true; }
    VNResultEnum Release() override { return VN_OK; }
    VNResultEnum DoLoad() override { return VN_OK; }
    VNResultEnum DoUnload() override { return VN_OK; }

    std::vector<Draw> draws;
};

// The game board with one box font in place of each of its fonts while this lives (the board it replaced is
// current again afterwards); it notes which of the board's fonts were asked for.
class BoxFontBoard final : public TDScreenContext
{
public:
    BoxFontBoard();
    ~BoxFontBoard();
    BoxFontBoard(const BoxFontBoard&) = delete;
    BoxFontBoard& operator=(const BoxFontBoard&) = delete;

    CountedHandle<render::Font> getFont(TDBoardFont kind) const override;
    int getPointerX() const override { return 0; }
    int getPointerY() const override { return 0; }
    layer::Layer* getRootLayer() const override { return mBoard ? mBoard->getRootLayer() : nullptr; }

    BoxFont font;
    // The board fonts asked for, in order.
    mutable std::vector<TDBoardFont> asked;

private:
    TDScreenContext* mBoard;
};

} // namespace tdtest
