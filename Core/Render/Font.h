#pragma once

#include "Core/Base/Result.h"
#include "Core/Render/DrawParam.h"
#include "Core/Resource/Resource.h"

#include <cstdint>
#include <string>

namespace render
{

class Graphics;

// A font resource with its metrics; it lays text out and draws it through the drawing front.
class Font : public resource::Resource
{
public:
    virtual float GetBase() const { return mBase; }
    virtual float GetDescent() const { return mLineHeight - mBase; }
    virtual float GetLineHeight() const { return mLineHeight; }
    // Line height plus the extra gap between lines.
    virtual float GetLineAdvance() const { return mLineHeight + mLineGap; }
    virtual float GetLineGap() const { return mLineGap; }
    // Lays the text out, writes width and height to outSize when given and draws it when a Graphics is given.
    virtual VNResultEnum DrawText(Graphics* graphics, DrawTextParam* param, const std::wstring* text,
                                  const TextLayout* layout, float* outSize) = 0;
    // Characters are code points (wchar_t is 32-bit here): nothing above U+FFFF is folded onto the BMP.
    virtual bool HasGlyph(uint32_t character) const = 0;

    // A text parameter bound to this font and to no Graphics: set its out pointers (and layout) and let it
    // end to measure the text without drawing.
    DrawUntransformedParam<DrawTextParam> CreateTextParam(const std::wstring* text);

    float mBase = 0.0f;
    float mLineHeight = 0.0f;
    float mLineGap = 0.0f;
};

// The application's text scale, by which font metrics are multiplied; fixed at 1.
inline constexpr float kTextScale = 1.0f;

} // namespace render
