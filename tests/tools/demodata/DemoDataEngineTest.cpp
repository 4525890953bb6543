// The demo data tree read by the engine's own loaders: PSD decoder, image loader, image folders, fonts, pack
// builder, mixer and particle library. Each group is built when its library is part of the build.
#include <tinyxml2.h>

#include <cmath>
#include <memory>
#include <set>
#include <sstream>

#include "tools/demodata/DemoDataFixture.h"

#ifdef CORV_DEMODATA_PARTICLES
#include "Core/Particles/Lib/ParticleLib.h"
#include "Core/Particles/Lib/PtcFormat.h"
#endif
#ifdef CORV_DEMODATA_PSD
#include "Core/Psd/Psd.h"
#endif
#ifdef CORV_DEMODATA_PACK
#include "Core/File/PackBuilder.h"
#endif
#ifdef CORV_DEMODATA_MIXER
#include "Core/Sound/Mixer/Decoder.h"
#endif
#ifdef CORV_DEMODATA_IMAGES
#include "Core/Base/MemoryStream.h"
#include "Core/File/ImageFolder.h"
#include "Core/Render/BMFont.h"
#include "Core/Render/HitMask.h"
#include "Core/Render/Image.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/Render.h"
#include "Core/Render/TextLayout.h"
#include "tools/demodata/TreeFont.h"
#endif

namespace
{

using namespace demodata_test;

#ifdef CORV_DEMODATA_PSD
// The engine's own decoder reads the layouts: groups come out as group records, and pixels
// of a layer match the colour it was drawn with.
TEST_F(DemoData, PsdLayoutsLoadWithTheEngineDecoder)
{
    psdr_document* doc = nullptr;
    ASSERT_EQ(psdr_load(&doc, (Root() / "td/data/layouts/menu.psd").c_str()), PSDR_OK);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->width, 1024);
    EXPECT_EQ(doc->height, 768);
    std::map<std::string, const psdr_layer*> byName;
    for (int i = 0; i < doc->layer_count; ++i)
        byName[doc->layers[i].name] = &doc->layers[i];
    ASSERT_TRUE(byName.count("button") && byName.count("panel") && byName.count("ok"));
    EXPECT_EQ(byName["button"]->type, PSDR_LAYER_GROUP);
    EXPECT_EQ(byName["</Layer group>"]->type, PSDR_LAYER_GROUP_END);
    const psdr_layer* panel = byName["panel"];
    EXPECT_EQ(panel->left, 212);
    EXPECT_EQ(panel->top, 160);
    ASSERT_NE(panel->pixels, nullptr);
    // The middle of the panel is its flat fill colour, fully opaque.
    EXPECT_EQ(panel->pixels[(panel->height / 2) * panel->width + panel->width / 2], 0xFF3D5A80u);
    EXPECT_EQ(panel->pixels[0] >> 24, 0u); // rounded corner
    psdr_free(doc);
}

// Each layout is also exported as an image folder; the folder lists exactly the images a reader of the
// document offers (every record above the first, named by its group path) with the same rectangles.
TEST_F(DemoData, LayoutExportsMatchTheirDocuments)
{
    for (const char* name : {"menu", "dialog"})
    {
        SCOPED_TRACE(name);
        psdr_document* doc = nullptr;
        ASSERT_EQ(psdr_load(&doc, (Root() / "td/data/layouts" / (std::string(name) + ".psd")).c_str()),
                  PSDR_OK);
        std::map<std::string, std::vector<int>> fromDocument;
        std::vector<std::string> groups;
        for (int i = doc->layer_count - 1; i >= 1; --i)
        {
            const psdr_layer& l = doc->layers[i];
            if (l.type == PSDR_LAYER_GROUP)
            {
                groups.push_back(l.name);
            }
            else if (l.type == PSDR_LAYER_GROUP_END)
            {
                if (!groups.empty())
                    groups.pop_back();
            }
            else
            {
                std::string full;
                for (const std::string& g : groups)
                    full += g + "/";
                fromDocument[full + l.name] = {l.left, l.top, l.width, l.height, l.opacity};
            }
        }
        psdr_free(doc);

        tinyxml2::XMLDocument xml;
        fs::path dir = Root() / "td/data/layouts" / (std::string(name) + "_export");
        ASSERT_EQ(xml.LoadFile((dir / "layers.xml").c_str()), tinyxml2::XML_SUCCESS);
        std::map<std::string, std::vector<int>> fromFolder;
        for (const auto* l = xml.FirstChildElement("Layers")->FirstChildElement("Layer"); l;
             l = l->NextSiblingElement("Layer"))
            fromFolder[l->Attribute("name")] = {l->IntAttribute("x"), l->IntAttribute("y"),
                                                l->IntAttribute("width"), l->IntAttribute("height"),
                                                l->IntAttribute("opacity")};
        EXPECT_EQ(fromFolder, fromDocument);
    }
}
#endif
#ifdef CORV_DEMODATA_IMAGES
// Every picture of the tree goes through the engine's own decoders into a texture-sized buffer, and its hit
// mask has solid pixels.
TEST_F(DemoData, EveryPictureLoadsThroughTheEngineImageLoader)
{
    const std::set<std::string> kExtensions = {".dds", ".bmp", ".gif", ".jpg", ".png", ".tga"};
    int count = 0;
    for (const std::string& f : ListTree(Root()))
    {
        std::string ext = fs::path(f).extension().string();
        if (!kExtensions.count(ext))
            continue;
        ++count;
        Bytes b = ReadAll(Root() / f);
        base::MemoryStream stream(b.data(), static_cast<unsigned>(b.size()));
        std::wstring wext(ext.begin(), ext.end());
        std::unique_ptr<render::ImageData> image(
            render::ImageLoader::Instance()->Load(&stream, wext.c_str(), nullptr));
        ASSERT_NE(image, nullptr) << f;
        int w = image->GetWidth(), h = image->GetHeight();
        ASSERT_TRUE(w > 0 && h > 0) << f;
        std::uint32_t pitch = static_cast<std::uint32_t>(w) * 4;
        std::uint32_t rows = static_cast<std::uint32_t>(h);
        if (image->GetCompression() != render::ImageUncompressed)
        {
            pitch = static_cast<std::uint32_t>((w + 3) / 4) *
                    (image->GetCompression() == render::ImageDXT1 ? 8 : 16);
            rows = static_cast<std::uint32_t>((h + 3) / 4);
        }
        std::vector<std::uint8_t> texture(static_cast<std::size_t>(pitch) * rows);
        render::HitMask mask;
        mask.Resize(static_cast<std::uint32_t>(w * h), false);
        ASSERT_EQ(image->CopyPixels(pitch, texture.data(), &mask), VN_OK) << f;
        std::uint32_t solid = 0;
        for (std::uint32_t i = 0; i < mask.GetCount(); ++i)
            solid += mask.Get(i);
        EXPECT_GT(solid, 0u) << f;
    }
    EXPECT_GT(count, 10);
}

} // namespace

namespace
{

// The engine's image-folder reader sees every layer of every layers.xml, the atlas rectangles in texture
// space, and the groups of the exported layouts.
TEST_F(DemoData, ImageFoldersReadWithTheEngineFolderReader)
{
    auto open = [](const std::string& dir, file::PsdFolder& folder)
    {
        Bytes b = ReadAll(Root() / dir / "layers.xml");
        folder.Parse(reinterpret_cast<const char*>(b.data()), b.size());
    };
    std::vector<std::string> dirs;
    for (const std::string& f : ListTree(Root()))
        if (fs::path(f).filename() == "layers.xml")
            dirs.push_back(fs::path(f).parent_path().generic_string());
    EXPECT_GE(dirs.size(), 30u);
    for (const std::string& d : dirs)
    {
        const char* dir = d.c_str();
        file::PsdFolder folder(std::wstring(dir, dir + std::strlen(dir)), nullptr);
        open(dir, folder);
        tinyxml2::XMLDocument xml;
        ASSERT_EQ(xml.LoadFile((Root() / dir / "layers.xml").c_str()), tinyxml2::XML_SUCCESS);
        unsigned layers = 0;
        for (const auto* l = xml.FirstChildElement("Layers")->FirstChildElement("Layer"); l;
             l = l->NextSiblingElement("Layer"))
            ++layers;
        EXPECT_EQ(folder.GetImageCount(), layers) << dir;
    }

    // The sheets of the preloaded sprite folders are their top-level groups: every "psd" of the unit and
    // tower sheets is one of them, and its frames list in the folder's order.
    std::set<std::wstring> groups;
    std::vector<std::unique_ptr<file::PsdFolder>> preloaded;
    for (const char* dir : {"td/units/t1units", "td/units/t2units", "td/units/t3units", "td/towers/artillery",
                            "td/towers/dart", "td/towers/cannon", "td/towers/support", "td/data/ui_parts"})
    {
        preloaded.push_back(
            std::make_unique<file::PsdFolder>(std::wstring(dir, dir + std::strlen(dir)), nullptr));
        open(dir, *preloaded.back());
        std::vector<std::wstring> list;
        preloaded.back()->ListGroups(L"", &list, false);
        groups.insert(list.begin(), list.end());
    }
    for (const char* sheet : {"td/units_sheet.csv", "td/towers_sheet.csv"})
    {
        std::ifstream in(Root() / sheet);
        std::string header, line;
        std::getline(in, header);
        std::size_t column = 0;
        for (std::size_t at = 0; header.substr(at, header.find(';', at) - at) != "psd";
             at = header.find(';', at) + 1)
            ++column;
        while (std::getline(in, line))
        {
            std::stringstream fields(line);
            std::string psd;
            for (std::size_t i = 0; i <= column; ++i)
                std::getline(fields, psd, ';');
            std::wstring group(psd.begin(), psd.end());
            EXPECT_TRUE(groups.count(group)) << psd;
            std::vector<std::wstring> frames;
            for (const auto& folder : preloaded)
                folder->ListImages(group + (sheet[3] == 'u' ? L"/walk" : L"/base_point"), false, &frames,
                                   false);
            EXPECT_FALSE(frames.empty()) << psd;
        }
    }
    EXPECT_TRUE(groups.count(L"ui") && groups.count(L"spots") && groups.count(L"enemy_spot"));

    file::PsdFolder demo(L"td/data/demo", nullptr);
    open("td/data/demo", demo);
    const base::ImageInfo* gem = demo.FindImageInfo(L"icons/gem");
    ASSERT_NE(gem, nullptr);
    EXPECT_TRUE(gem->mInAtlas);
    EXPECT_EQ(gem->mAtlasPath, L"td/data/demo/icons.png");
    EXPECT_FLOAT_EQ(gem->mAtlasRect[0], 0.5f); // second cell of the top row
    EXPECT_FLOAT_EQ(gem->mAtlasRect[1], 0.0f);
    EXPECT_FLOAT_EQ(gem->mAtlasRect[2], 0.5f);
    EXPECT_FLOAT_EQ(gem->mAtlasRect[3], 0.5f);
    std::vector<std::wstring> demoGroups;
    demo.ListGroups(L"", &demoGroups, false);
    EXPECT_EQ(demoGroups, (std::vector<std::wstring>{L"formats", L"icons"}));

    file::PsdFolder menu(L"td/data/layouts/menu_export", nullptr);
    open("td/data/layouts/menu_export", menu);
    std::vector<std::wstring> buttons;
    menu.ListImages(L"button", false, &buttons, true);
    EXPECT_EQ(buttons, (std::vector<std::wstring>{L"ok", L"cancel"}));
}

TEST_F(DemoData, FontsLoadWithTheEngineFontParser)
{
    for (const char* name : {"main_32_1", "main_32_2", "main_42_1", "main_42_2", "main_42_3", "main_80"})
    {
        SCOPED_TRACE(name);
        TreeFont font;
        font.root = Root();
        std::wstring fontName = L"td/data/fonts/" + std::wstring(name, name + std::strlen(name));
        ASSERT_EQ(font.SetName(fontName), VN_OK);
        Bytes b = ReadAll(Root() / "td/data/fonts" / (std::string(name) + ".fnt"));
        base::MemoryStream stream(b.data(), static_cast<unsigned>(b.size()));
        ASSERT_EQ(font.Parse(&stream), VN_OK);
        EXPECT_FALSE(font.pages.empty());
        for (char32_t c : {U'A', U'g', U'0', U'$', U'#', U'\u00e9', U'\u2026'})
            EXPECT_TRUE(font.HasGlyph(c)) << int(c);
        std::size_t kerned = 0;
        for (const auto& [code, glyph] : font.mGlyphs)
            kerned += glyph.kerning.size();
        EXPECT_GT(kerned, 0u);

        // A line of text measures about as wide as its glyph advances and one line high.
        render::TextLayout layout;
        std::vector<render::TextLine> lines;
        font.LayoutLines(L"Level 1: 250 $", layout, lines);
        ASSERT_EQ(lines.size(), 1u);
        float size[2] = {0, 0};
        font.Measure(lines, layout, size);
        EXPECT_GT(size[0], font.GetLineHeight() * 3);
        EXPECT_EQ(size[1], font.GetLineHeight());
    }
}

#endif

#ifdef CORV_DEMODATA_PACK
// Everything below td/ goes into the pack: the index lists each file once with its size.
TEST_F(DemoData, TdFolderPacksWithThePackBuilder)
{
    fs::path pack = sTemp / "data.dat";
    ASSERT_EQ(file::BuildPack((Root() / "td").wstring(), pack.wstring()), VN_OK);
    Bytes b = ReadAll(pack);
    ASSERT_GE(b.size(), 14u);
    ASSERT_EQ(U32(b, 0), 6u);
    ASSERT_EQ(std::memcmp(&b[4], "vnpack", 6), 0);
    std::map<std::string, std::uint32_t> listed;
    std::size_t at = 14;
    for (std::uint32_t i = 0, count = U32(b, 10); i < count; ++i)
    {
        ASSERT_LE(at + 4, b.size());
        std::uint32_t units = U32(b, at);
        at += 4;
        ASSERT_LE(at + 2 * units + 13, b.size());
        std::string name;
        for (std::uint32_t k = 0; k < units; ++k)
            name += static_cast<char>(b[at + 2 * k]); // names are ASCII
        at += 2 * units;
        listed[name] = U32(b, at);
        at += 13;
    }
    std::map<std::string, std::uint32_t> expected;
    for (const std::string& f : ListTree(Root() / "td"))
        expected[f] = static_cast<std::uint32_t>(fs::file_size(Root() / "td" / f));
    EXPECT_EQ(listed, expected);
}
#endif

#ifdef CORV_DEMODATA_MIXER
// Every sound and music file decodes completely with the engine's mixer, and is not silent.
TEST_F(DemoData, SoundsDecodeWithTheEngineMixer)
{
    int count = 0;
    for (const std::string& f : ListTree(Root()))
    {
        std::string ext = fs::path(f).extension().string();
        if (ext != ".wav" && ext != ".ogg")
            continue;
        ++count;
        Bytes b = ReadAll(Root() / f);
        std::vector<float> frames;
        ASSERT_TRUE(mixer::DecodeAll(b.data(), b.size(), 48000u * 120, frames)) << f;
        float peak = 0;
        for (float v : frames)
            peak = std::max(peak, std::fabs(v));
        EXPECT_GT(peak, 0.05f) << f;
    }
    EXPECT_GT(count, 10);
}
#endif

#ifdef CORV_DEMODATA_PARTICLES
void CollectEmitters(const ptl::FolderDesc& folder, std::vector<const ptl::EmitterDesc*>& out)
{
    for (const ptl::EmitterDesc& e : folder.emitters)
        out.push_back(&e);
    for (const ptl::FolderDesc& f : folder.folders)
        CollectEmitters(f, out);
}

TEST_F(DemoData, ParticleFileHoldsTheNamedEmittersAndItsAtlases)
{
    Bytes b = ReadAll(Root() / "td/fx/fx2.ptc");
    ptl::PtcDesc desc;
    ASSERT_TRUE(ptl::ReadPtc(b.data(), b.size(), desc));
    for (const std::string& atlas : desc.atlases)
        EXPECT_TRUE(DecodePng(Root() / "td/fx" / atlas).ok) << atlas;
    std::vector<const ptl::EmitterDesc*> emitters;
    CollectEmitters(desc.root, emitters);
    std::vector<std::string> names;
    for (const ptl::EmitterDesc* e : emitters)
        names.push_back(e->name);
    for (const char* name : {"build", "upgrade", "hammer", "portal_1", "blow_bub", "active", "active_btn",
                             "active_lvl", "blik_1", "blik_2", "blik_4", "blik_6", "fog_01"})
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;

    // Every effect shows something a tenth of a second after it starts.
    for (const ptl::EmitterDesc* e : emitters)
    {
        ptl::Emitter emitter(std::make_shared<const ptl::EmitterDesc>(*e));
        emitter.EmitterToInterval1(1.0);
        emitter.Update(100.0);
        EXPECT_GT(emitter.GetParticleCount(), 0) << e->name;
    }
}
#endif

} // namespace
