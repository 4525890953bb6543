#pragma once

#include "Core/Render/Font.h"
#include "Core/Resource/CountedHandle.h"

#include <map>
#include <string>
#include <vector>

namespace render
{
class Graphics;
class Image;
class Transform2D;
} // namespace render

// One piece of an attributed string: a run of text or one inline image, with its width in layout units.
class AttributedChunk
{
public:
    virtual ~AttributedChunk() = default;
    // Draws the piece with its left edge at the transform's origin, centred on the line.
    virtual void draw(render::Graphics* graphics, const render::Transform2D& transform);

    float mWidth = 0.0f;
};

class AttributedStringChunk : public AttributedChunk
{
public:
    // Measures the text with the font (width 0 without a font).
    AttributedStringChunk(const std::wstring& text, render::Font* font);
    void draw(render::Graphics* graphics, const render::Transform2D& transform) override;

    std::wstring mText;
};

class AttributedImageChunk : public AttributedChunk
{
public:
    explicit AttributedImageChunk(render::Image* image);
    void draw(render::Graphics* graphics, const render::Transform2D& transform) override;

    render::Image* mImage;
};

// A line of text in which chosen characters are drawn as small images (the money and gem icons of a price),
// centred on a point. The user sets the text and the font, binds the characters and rebuilds the chunks
// whenever the text changes.
class AttributedString
{
public:
    AttributedString() = default;
    ~AttributedString();
    AttributedString(const AttributedString&) = delete;
    AttributedString& operator=(const AttributedString&) = delete;

    // Binds a character to an image (not owned), replacing an earlier binding.
    void addImage(char16_t character, render::Image* image);
    // Cuts the text into chunks: the text before each bound character, the character's image, and the text
    // after the last one (an empty final text chunk included).
    void buildChunks();
    // Draws the chunks side by side, the whole line centred on the transform's origin; the chunks keep their
    // spacing under the transform's horizontal scale.
    void layout(render::Graphics* graphics, const render::Transform2D& transform);

    // The sum of the chunk widths, unscaled.
    float getWidth() const;

    std::wstring mText;
    std::vector<AttributedChunk*> mChunks; // owned
    CountedHandle<render::Font> mFont;
    std::map<char16_t, render::Image*> mImages;
};
