#pragma once
// The engine's font parser on a font of the generated tree: pages are read from the tree's PNG files (for
// their size) instead of becoming device textures, so texts can be laid out and measured without a display.
#include "Core/Base/MemoryStream.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/Image.h"
#include "tools/demodata/DemoDataFixture.h"

namespace demodata_test
{

// A page image of a known size, without a device texture.
class PageImage : public render::Image
{
public:
    PageImage(int w, int h)
    {
        mWidth = w;
        mHeight = h;
    }
};

class TreeFont : public render::BMFont
{
public:
    fs::path root;
    std::vector<std::wstring> pages;

    // Reads "td/data/fonts/<name>.fnt" below the root; false when the font does not parse.
    bool Open(const fs::path& treeRoot, const std::string& name)
    {
        root = treeRoot;
        if (SetName(L"td/data/fonts/" + std::wstring(name.begin(), name.end())) != VN_OK)
            return false;
        Bytes b = ReadAll(root / "td/data/fonts" / (name + ".fnt"));
        base::MemoryStream stream(b.data(), static_cast<unsigned>(b.size()));
        return Parse(&stream) == VN_OK;
    }

protected:
    VNResultEnum LoadPage(const std::wstring& path, render::Image** out) override
    {
        pages.push_back(path);
        Picture pic = DecodePng(root / fs::path(path));
        if (!pic.ok)
            return VN_FAIL;
        *out = new PageImage(pic.width, pic.height);
        return VN_OK;
    }
};

} // namespace demodata_test
