#include "Source/TD/Harness/TDBoxFont.h"

#include "Core/Render/DrawParam.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/TextLayout.h"
#include "Core/Render/VertexFormat.h"

#include <gtest/gtest.h>

namespace tdtest
{

VNResultEnum BoxFont::DrawText(render::Graphics* graphics, render::DrawTextParam* param,
                               const std::wstring* text, const render::TextLayout* layout, float* outSize)
{
    outSize[0] = 10.0f * static_cast<float>(text->size());
    outSize[1] = 20.0f;
    if (graphics == nullptr)
        return VN_OK; // a measurement
    param->mWidth = outSize[0];
    param->mHeight = outSize[1];
    render::SVertex2D corners[2] = {};
    corners[1].x = outSize[0];
    corners[1].y = outSize[1];
    EXPECT_EQ(param->TransformVertices(corners, render::SVertex2D::Format(), 2), VN_OK);
    Draw draw;
    draw.text = *text;
    draw.wrapWidth = layout != nullptr ? layout->mWidth : 0.0f;
    draw.align = layout != nullptr ? layout->mAlign : 0;
    draw.topLeft = math::Point2(corners[0].x, corners[0].y);
    draw.bottomRight = math::Point2(corners[1].x, corners[1].y);
    draw.color = graphics->mColor;
    draws.push_back(draw);
    return VN_OK;
}

BoxFontBoard::BoxFontBoard() : mBoard(TDScreenContext::current())
{
    TDScreenContext::setCurrent(this);
}

BoxFontBoard::~BoxFontBoard()
{
    TDScreenContext::setCurrent(mBoard);
}

CountedHandle<render::Font> BoxFontBoard::getFont(TDBoardFont kind) const
{
    asked.push_back(kind);
    // A handle without a counter: the font is this board's and is not released through it.
    return CountedHandle<render::Font>(const_cast<BoxFont*>(&font), nullptr);
}

} // namespace tdtest

