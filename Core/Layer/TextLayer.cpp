#include "Core/Layer/TextLayer.h"

#include "Core/Render/DrawParam.h"
#include "Core/Render/Font.h"

#include <cmath>

namespace layer
{

TextLayer::TextLayer(const CountedHandle<render::Font>& font, const std::wstring& text)
    : mFont(font), mText(text)
{
    mHasContent = true;
    mContentValid = false;
}

TextLayer::TextLayer(const CountedHandle<render::Font>& font, const std::wstring& text, float wrapWidth,
                     float indent, int32_t align, bool justifyLetters)
    : TextLayer(font, text)
{
    mLayout.mWidth = wrapWidth;
    mLayout.mIndent = indent;
    mLayout.mAlign = align;
    mLayout.mJustifyLetters = justifyLetters;
}

void TextLayer::SetText(const std::wstring& text)
{
    mText = text;
    mContentValid = false;
}

void TextLayer::SetFont(const CountedHandle<render::Font>& font)
{
    mFont = font;
    mContentValid = false;
}

void TextLayer::SetLayout(const render::TextLayout& layout)
{
    mLayout = layout;
    mContentValid = false;
}

void TextLayer::SetAlignment(int32_t horizontal, int32_t vertical)
{
    mAlignH = horizontal;
    mAlignV = vertical;
    mContentValid = false;
}

void TextLayer::SetAutoWidth(bool autoWidth)
{
    mAutoWidth = autoWidth;
    mContentValid = false;
}

render::TextLayout TextLayer::EffectiveLayout() const
{
    render::TextLayout layout = mLayout;
    layout.mFitWidth = mAutoWidth;
    return layout;
}

void TextLayer::UpdateContentBounds()
{
    mContentBox.Clear();
    if (!mFont || mText.empty())
        return;
    auto measure = mFont->CreateTextParam(&mText);
    measure->mLayout = EffectiveLayout();
    measure->mAlignH = mAlignH;
    measure->mAlignV = mAlignV;
    measure->mOutBounds = &mContentBox;
    // The measurement runs when the parameter ends, here.
}

void TextLayer::AlignToPixels()
{
    UpdateContentBounds();
    mContentValid = true;
    if (mContentBox.IsEmpty())
        return;
    const float x = std::floor(mPosition.x + mContentBox.mMin.x) - mContentBox.mMin.x;
    const float y = std::floor(mPosition.y + mContentBox.mMin.y) - mContentBox.mMin.y;
    SetX(x);
    SetY(y);
}

} // namespace layer
