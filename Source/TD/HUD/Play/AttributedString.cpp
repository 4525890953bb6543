#include "Source/TD/HUD/Play/AttributedString.h"

#include "Core/Base/Containers.h"
#include "Core/Render/Graphics.h"
#include "Core/Render/Image.h"
#include "Core/Render/Transform2D.h"

void AttributedChunk::draw(render::Graphics*, const render::Transform2D&) {}

AttributedStringChunk::AttributedStringChunk(const std::wstring& text, render::Font* font) : mText(text)
{
    if (font)
    {
        auto param = font->CreateTextParam(&mText);
        param->mOutWidth = &mWidth;
    } // measured as the parameter ends
}

void AttributedStringChunk::draw(render::Graphics* graphics, const render::Transform2D& transform)
{
    auto text = graphics->DrawText(mText);
    text->mAlignH = 0;
    text->mAlignV = 2;
    text.Transform(transform);
}

AttributedImageChunk::AttributedImageChunk(render::Image* image) : mImage(image)
{
    mWidth = image ? static_cast<float>(image->GetWidth()) : 0.0f;
}

void AttributedImageChunk::draw(render::Graphics* graphics, const render::Transform2D& transform)
{
    if (!mImage)
        return;
    auto image = graphics->DrawImage(mImage);
    image->mAlignH = 0;
    image->mAlignV = 2;
    image.Transform(transform);
}

AttributedString::~AttributedString()
{
    base::DeleteAll(mChunks);
}

void AttributedString::addImage(char16_t character, render::Image* image)
{
    mImages[character] = image;
}

void AttributedString::buildChunks()
{
    base::DeleteAll(mChunks);
    std::size_t cut = 0;
    for (std::size_t i = 0; i < mText.size(); ++i)
    {
        // Bindings are 16-bit characters; a code point beyond them is never bound.
        const wchar_t c = mText[i];
        if (static_cast<unsigned long>(c) > 0xFFFFu)
            continue;
        const auto bound = mImages.find(static_cast<char16_t>(c));
        if (bound == mImages.end())
            continue;
        if (i > cut)
            mChunks.push_back(new AttributedStringChunk(mText.substr(cut, i - cut), mFont.Get()));
        mChunks.push_back(new AttributedImageChunk(bound->second));
        cut = i + 1;
    }
    mChunks.push_back(new AttributedStringChunk(mText.substr(cut), mFont.Get()));
}

float AttributedString::getWidth() const
{
    float width = 0.0f;
    for (const AttributedChunk* chunk : mChunks)
        width += chunk->mWidth;
    return width;
}

void AttributedString::layout(render::Graphics* graphics, const render::Transform2D& transform)
{
    const float scale = transform.GetScaleX();
    float x = -getWidth() * scale * 0.5f;
    if (mFont)
        graphics->mFont = mFont.Get();
    for (AttributedChunk* chunk : mChunks)
    {
        render::Transform2D placed = transform;
        placed.Translate(x, 0.0f);
        chunk->draw(graphics, placed);
        // The shift lands after the transform's scale, so it grows with it as the start does: an unscaled
        // advance would overlap the chunks under a scale above 1 and leave the line off centre.
        x += chunk->mWidth * scale;
    }
}
