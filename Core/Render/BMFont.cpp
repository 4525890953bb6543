// Bitmap font descriptors (".fnt", XML) and their page images.
#include "Core/Render/BMFont.h"

#include "Core/Base/Log.h"
#include "Core/Base/Paths.h"
#include "Core/Base/Stream.h"
#include "Core/Base/TextEncoding.h"
#include "Core/File/FileManager.h"
#include "Core/Render/Image.h"
#include "Core/Render/Render.h"
#include "Core/Resource/ResourceManager.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <type_traits>

namespace render
{
namespace
{

using tinyxml2::XMLElement;

// More page slots than any font needs; bounds the allocation a damaged descriptor can ask for.
constexpr uint32_t kMaxPages = 256;

bool ReadFloat(const XMLElement* e, const char* name, float& out)
{
    return e->QueryFloatAttribute(name, &out) == tinyxml2::XML_SUCCESS;
}

bool ReadUnsigned(const XMLElement* e, const char* name, uint32_t& out)
{
    unsigned v = 0;
    if (e->QueryUnsignedAttribute(name, &v) != tinyxml2::XML_SUCCESS)
        return false;
    out = v;
    return true;
}

bool ReadBool(const XMLElement* e, const char* name, bool& out)
{
    return e->QueryBoolAttribute(name, &out) == tinyxml2::XML_SUCCESS;
}

bool ReadText(const XMLElement* e, const char* name, std::string& out)
{
    const char* v = e->Attribute(name);
    if (!v)
        return false;
    out = v;
    return true;
}

// Splits "a,b,c" into up to n numbers; missing ones stay as they were.
template <typename T>
void SplitNumbers(const std::string& text, T* out, int n)
{
    const char* p = text.c_str();
    for (int i = 0; i < n && *p; ++i)
    {
        char* end = nullptr;
        double v = std::strtod(p, &end);
        if (end == p || std::isnan(v))
            break;
        // A damaged file may give any number; one past the field's range is held at its edge.
        if constexpr (std::is_integral_v<T>)
            v = std::clamp(v, static_cast<double>(std::numeric_limits<T>::lowest()),
                           static_cast<double>(std::numeric_limits<T>::max()));
        out[i] = static_cast<T>(v);
        p = end;
        while (*p == ' ')
            ++p;
        if (*p != ',')
            break;
        ++p;
    }
}

} // namespace

DrawUntransformedParam<DrawTextParam> Font::CreateTextParam(const std::wstring* text)
{
    DrawTextParam p;
    p.mText = text;
    p.mFont = this;
    return DrawUntransformedParam<DrawTextParam>(p);
}

BMFont::BMFont() = default;

BMFont::~BMFont()
{
    FreePages();
}

VNResultEnum BMFont::Release()
{
    return resource::ResourceManager::Instance()->Release<BMFont>(this);
}

bool BMFont::HasGlyph(uint32_t character) const
{
    return mGlyphs.count(character) != 0;
}

void BMFont::FreePages()
{
    for (Image* page : mPages)
        delete page;
    mPages.clear();
}

VNResultEnum BMFont::DoLoad()
{
    file::FileManager* files = file::FileManager::Instance();
    std::unique_ptr<file::FileInfo> info(files->FindFile(mName + L".fnt"));
    std::unique_ptr<base::Stream> stream(info ? info->OpenStream() : nullptr);
    const VNResultEnum result = stream ? Parse(stream.get()) : VN_FAIL;
    if (result != VN_OK)
        base::LogMessage(*base::MainLog::Instance(), L"Font '%s' cannot be loaded: %s.\n") % mName %
            (stream ? L"damaged descriptor or page image" : L"no descriptor");
    return result;
}

VNResultEnum BMFont::DoUnload()
{
    FreePages();
    return VN_OK;
}

VNResultEnum BMFont::LoadPage(const std::wstring& path, Image** out)
{
    if (!mRender)
        return VN_FAIL;
    return mRender->LoadTexture(path, nullptr, out, nullptr);
}

VNResultEnum BMFont::Parse(base::Stream* stream)
{
    if (!stream)
        return VN_FAIL;
    mFontScale =
        base::Singletone<file::FileManager>::Exists() ? file::FileManager::Instance()->mFontScale : 1.0f;
    const unsigned size = stream->Size();
    std::unique_ptr<char[]> text(new char[static_cast<size_t>(size) + 1]);
    if (stream->Read(text.get(), size) != size)
        return VN_FAIL;
    text[size] = 0;
    const VNResultEnum result = ParseDocument(text.get(), size);
    // A refused font keeps no page images: a failed load is never unloaded.
    if (result != VN_OK)
        FreePages();
    for (uint32_t c = 0; c < 256; ++c)
    {
        auto it = mGlyphs.find(c);
        mLow[c] = it == mGlyphs.end() ? nullptr : &it->second;
    }
    return result;
}

VNResultEnum BMFont::ParseDocument(const char* text, size_t length)
{
    tinyxml2::XMLDocument doc;
    if (doc.Parse(text, length) != tinyxml2::XML_SUCCESS)
        return VN_FAIL;
    const XMLElement* font = doc.FirstChildElement("font");
    if (!font)
        return VN_FAIL;
    const XMLElement* info = font->FirstChildElement("info");
    if (!info)
        return VN_FAIL;
    float size = 0.0f;
    bool unicode = false;
    std::string padding, spacing;
    if (!ReadText(info, "face", mFace) || !ReadFloat(info, "size", size) || !ReadBool(info, "bold", mBold) ||
        !ReadBool(info, "italic", mItalic))
        return VN_FAIL;
    // Some writers misspell the attribute; either spelling is taken.
    if (!ReadText(info, "charset", mCharset) && !ReadText(info, "chasrset", mCharset))
        return VN_FAIL;
    if (!ReadBool(info, "unicode", unicode) || !unicode || !ReadFloat(info, "stretchH", mStretchH) ||
        !ReadBool(info, "smooth", mSmooth) || !ReadUnsigned(info, "aa", mAntiAlias) ||
        !ReadText(info, "padding", padding) || !ReadText(info, "spacing", spacing) ||
        !ReadUnsigned(info, "outline", mOutline))
        return VN_FAIL;
    mLineHeight = size * kTextScale;
    SplitNumbers(padding, mPadding, 4);
    SplitNumbers(spacing, mSpacing, 2);

    const XMLElement* common = font->FirstChildElement("common");
    if (!common)
        return VN_FAIL;
    float lineHeight = 0.0f, base = 0.0f;
    uint32_t pages = 0, packed = 0, alpha = 0, red = 0, green = 0, blue = 0;
    if (!ReadFloat(common, "lineHeight", lineHeight) || !ReadFloat(common, "base", base) ||
        !ReadFloat(common, "scaleW", mScaleW) || !ReadFloat(common, "scaleH", mScaleH) ||
        !ReadUnsigned(common, "pages", pages) || !ReadUnsigned(common, "packed", packed) || packed != 0 ||
        !ReadUnsigned(common, "alphaChnl", alpha) || alpha != 0 || !ReadUnsigned(common, "redChnl", red) ||
        red != 4 || !ReadUnsigned(common, "greenChnl", green) || green != 4 ||
        !ReadUnsigned(common, "blueChnl", blue) || blue != 4)
        return VN_FAIL;
    mCommonLineHeight = lineHeight * kTextScale;
    mBase = base * kTextScale;
    if (pages > kMaxPages)
        return VN_FAIL;

    const XMLElement* pageList = font->FirstChildElement("pages");
    const XMLElement* chars = font->FirstChildElement("chars");
    if (!pageList || !chars)
        return VN_FAIL;
    FreePages();
    mPages.assign(pages, nullptr);
    const std::wstring folder = base::GetDirectory(mName);
    for (const XMLElement* page = pageList->FirstChildElement("page"); page;
         page = page->NextSiblingElement("page"))
    {
        uint32_t id = 0;
        std::string file;
        if (!ReadUnsigned(page, "id", id) || id >= pages || !ReadText(page, "file", file))
            return VN_FAIL;
        Image* image = nullptr;
        if (const VNResultEnum r = LoadPage(folder + base::ToWide(file, base::kEncodingUtf8), &image);
            r != VN_OK)
            return r;
        delete mPages[id];
        mPages[id] = image;
    }

    const float rectScale = mFontScale * kTextScale;
    for (const XMLElement* c = chars->FirstChildElement("char"); c; c = c->NextSiblingElement("char"))
    {
        uint32_t id = 0;
        float v[7] = {};
        const char* keys[7] = {"x", "y", "width", "height", "xoffset", "yoffset", "xadvance"};
        uint32_t page = 0, channel = 0;
        if (!ReadUnsigned(c, "id", id))
            return VN_FAIL;
        for (int i = 0; i < 7; ++i)
            if (!ReadFloat(c, keys[i], v[i]))
                return VN_FAIL;
        if (!ReadUnsigned(c, "page", page) || !ReadUnsigned(c, "chnl", channel))
            return VN_FAIL;
        // A glyph whose page has no image could never be drawn: the font is refused here, not at the first
        // draw.
        if (page >= mPages.size() || !mPages[page])
            return VN_FAIL;
        BMGlyph& g = mGlyphs[id];
        g.x = v[0] * rectScale;
        g.y = v[1] * rectScale;
        g.width = v[2] * rectScale;
        g.height = v[3] * rectScale;
        g.xoffset = v[4] * kTextScale;
        g.yoffset = v[5] * kTextScale;
        g.xadvance = v[6] * kTextScale;
        g.page = page;
        g.channel = channel;
    }

    if (const XMLElement* kernings = font->FirstChildElement("kernings"))
        for (const XMLElement* k = kernings->FirstChildElement("kerning"); k;
             k = k->NextSiblingElement("kerning"))
        {
            uint32_t first = 0, second = 0;
            float amount = 0.0f;
            if (!ReadUnsigned(k, "first", first) || !ReadUnsigned(k, "second", second) ||
                !ReadFloat(k, "amount", amount))
                return VN_FAIL;
            auto it = mGlyphs.find(second);
            if (it == mGlyphs.end())
                return VN_FAIL;
            it->second.kerning[first] = amount * kTextScale;
        }
    return VN_OK;
}

} // namespace render
