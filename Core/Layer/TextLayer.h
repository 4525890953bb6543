#pragma once

#include "Core/Layer/Layer.h"
#include "Core/Render/Font.h"
#include "Core/Render/TextLayout.h"
#include "Core/Resource/CountedHandle.h"

#include <cstdint>
#include <string>

namespace layer
{

// A layer that draws one string in a bitmap font; its content box is the measured text box.
class TextLayer : public Layer
{
public:
    TextLayer(const CountedHandle<render::Font>& font, const std::wstring& text);
    TextLayer(const CountedHandle<render::Font>& font, const std::wstring& text, float wrapWidth,
              float indent, int32_t align, bool justifyLetters);

    VNResultEnum DrawSelf(render::Graphics* graphics) override;
    void UpdateContentBounds() override;
    bool HitTest(const math::Point3&) override { return true; }

    void SetText(const std::wstring& text);
    void SetFont(const CountedHandle<render::Font>& font);
    void SetLayout(const render::TextLayout& layout);
    // 0 left (top), 1 right (bottom), 2 centre; vertical 3 is the base line.
    void SetAlignment(int32_t horizontal, int32_t vertical);
    void SetAutoWidth(bool autoWidth);
    // Moves the layer so the text box starts on whole units.
    void AlignToPixels();

    const std::wstring& GetText() const { return mText; }
    const CountedHandle<render::Font>& GetFont() const { return mFont; }
    const render::TextLayout& GetLayout() const { return mLayout; }
    int32_t GetAlignH() const { return mAlignH; }
    int32_t GetAlignV() const { return mAlignV; }

private:
    render::TextLayout EffectiveLayout() const;

    CountedHandle<render::Font> mFont;
    std::wstring mText;
    render::TextLayout mLayout;
    int32_t mAlignH = 0;
    int32_t mAlignV = 0;
    bool mAutoWidth = false;
};

} // namespace layer
