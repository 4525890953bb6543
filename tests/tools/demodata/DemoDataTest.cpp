// The demo data generator: two runs give the same bytes, and every file of the tree is complete and readable
// with the standard libraries of its format.
#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <tinyxml2.h>
#include <vorbis/vorbisfile.h>

#include <set>

#include "tools/demodata/DemoDataFixture.h"

namespace
{

using namespace demodata_test;

TEST_F(DemoData, TwoRunsWriteTheSameBytes)
{
    ASSERT_EQ(sFirstRc, 0);
    ASSERT_EQ(RunGenerator(sTemp / "b"), 0);
    std::vector<std::string> a = ListTree(Root()), b = ListTree(sTemp / "b");
    ASSERT_EQ(a, b);
    for (const std::string& f : a)
        EXPECT_EQ(ReadAll(Root() / f), ReadAll(sTemp / "b" / f)) << f;
}

TEST_F(DemoData, UnwritableTargetFails)
{
    fs::path blocker = sTemp / "blocker";
    std::ofstream(blocker) << "x";
    EXPECT_NE(RunGenerator(blocker / "tree"), 0);
}

// A pack left from an earlier tree would shadow the fresh td/ files, so a new run removes it.
TEST_F(DemoData, RerunRemovesAStalePack)
{
    fs::path tree = sTemp / "rerun";
    fs::create_directories(tree);
    std::ofstream(tree / "data.dat") << "old pack";
    ASSERT_EQ(RunGenerator(tree), 0);
    EXPECT_FALSE(fs::exists(tree / "data.dat"));
    EXPECT_TRUE(fs::is_regular_file(tree / "td/data/loading.jpg"));
}

TEST_F(DemoData, TreeHoldsEveryFileTheGameLoads)
{
    const char* kFiles[] = {
        "data/game.xml",
        "logo/logo.ini",
        "td/strings_en.csv",
        "td/sounds_sheet.csv",
        "td/data/sides/layers.xml",
        "td/data/loading.jpg",
        "td/Shaders/MobShader/DX/VS.hlsl",
        "td/Shaders/MobShader/DX/PS.hlsl",
        "td/data/fonts/main_32_1.fnt",
        "td/data/fonts/main_32_2.fnt",
        "td/data/fonts/main_42_1.fnt",
        "td/data/fonts/main_42_2.fnt",
        "td/data/fonts/main_42_3.fnt",
        "td/data/fonts/main_80.fnt",
        "td/data/music/main_menu.ogg",
        "td/data/music/ingame1.ogg",
        "td/data/music/ingame2.ogg",
        "td/data/music/ingame3.ogg",
        "td/data/music/ingame4.ogg",
        "td/data/music/ingame5.ogg",
        "td/data/music/ingame6.ogg",
        "td/data/music/ingame7.ogg",
        "td/data/layouts/menu.psd",
        "td/data/layouts/dialog.psd",
        "td/data/demo/layers.xml",
    };
    for (const char* f : kFiles)
        EXPECT_TRUE(fs::is_regular_file(Root() / f)) << f;
    // Everything but the splash pictures and the configuration lives under td/ (the packed part).
    for (const std::string& f : ListTree(Root()))
        EXPECT_TRUE(f.rfind("td/", 0) == 0 || f.rfind("logo/", 0) == 0 || f == "data/game.xml") << f;
}

TEST_F(DemoData, FontsHaveEveryRequiredAttributeAndValidGlyphs)
{
    const char* kFonts[] = {"main_32_1", "main_32_2", "main_42_1", "main_42_2", "main_42_3", "main_80"};
    int fontsWithKerning = 0;
    for (const char* name : kFonts)
    {
        SCOPED_TRACE(name);
        fs::path fnt = Root() / "td/data/fonts" / (std::string(name) + ".fnt");
        tinyxml2::XMLDocument doc;
        ASSERT_EQ(doc.LoadFile(fnt.c_str()), tinyxml2::XML_SUCCESS);
        const tinyxml2::XMLElement* font = doc.FirstChildElement("font");
        ASSERT_NE(font, nullptr);
        const tinyxml2::XMLElement* info = font->FirstChildElement("info");
        const tinyxml2::XMLElement* common = font->FirstChildElement("common");
        ASSERT_TRUE(info && common && font->FirstChildElement("pages") && font->FirstChildElement("chars"));
        float f = 0;
        bool flag = false;
        unsigned u = 0;
        EXPECT_NE(info->Attribute("face"), nullptr);
        EXPECT_NE(info->Attribute("charset"), nullptr);
        EXPECT_EQ(info->QueryFloatAttribute("size", &f), tinyxml2::XML_SUCCESS);
        for (const char* a : {"bold", "italic", "smooth"})
            EXPECT_EQ(info->QueryBoolAttribute(a, &flag), tinyxml2::XML_SUCCESS) << a;
        ASSERT_EQ(info->QueryBoolAttribute("unicode", &flag), tinyxml2::XML_SUCCESS);
        EXPECT_TRUE(flag);
        EXPECT_EQ(info->QueryFloatAttribute("stretchH", &f), tinyxml2::XML_SUCCESS);
        EXPECT_EQ(info->QueryUnsignedAttribute("aa", &u), tinyxml2::XML_SUCCESS);
        EXPECT_EQ(info->QueryUnsignedAttribute("outline", &u), tinyxml2::XML_SUCCESS);
        int p[4];
        float s[2];
        ASSERT_NE(info->Attribute("padding"), nullptr);
        EXPECT_EQ(std::sscanf(info->Attribute("padding"), "%d,%d,%d,%d", &p[0], &p[1], &p[2], &p[3]), 4);
        ASSERT_NE(info->Attribute("spacing"), nullptr);
        EXPECT_EQ(std::sscanf(info->Attribute("spacing"), "%f,%f", &s[0], &s[1]), 2);
        float scaleW = 0, scaleH = 0;
        unsigned pages = 0;
        EXPECT_EQ(common->QueryFloatAttribute("lineHeight", &f), tinyxml2::XML_SUCCESS);
        EXPECT_EQ(common->QueryFloatAttribute("base", &f), tinyxml2::XML_SUCCESS);
        ASSERT_EQ(common->QueryFloatAttribute("scaleW", &scaleW), tinyxml2::XML_SUCCESS);
        ASSERT_EQ(common->QueryFloatAttribute("scaleH", &scaleH), tinyxml2::XML_SUCCESS);
        ASSERT_EQ(common->QueryUnsignedAttribute("pages", &pages), tinyxml2::XML_SUCCESS);
        const std::pair<const char*, unsigned> kChannels[] = {
            {"packed", 0}, {"alphaChnl", 0}, {"redChnl", 4}, {"greenChnl", 4}, {"blueChnl", 4}};
        for (const auto& [attr, want] : kChannels)
        {
            ASSERT_EQ(common->QueryUnsignedAttribute(attr, &u), tinyxml2::XML_SUCCESS) << attr;
            EXPECT_EQ(u, want) << attr;
        }

        std::set<unsigned> pageIds;
        for (const auto* page = font->FirstChildElement("pages")->FirstChildElement("page"); page;
             page = page->NextSiblingElement("page"))
        {
            unsigned id = 0;
            ASSERT_EQ(page->QueryUnsignedAttribute("id", &id), tinyxml2::XML_SUCCESS);
            EXPECT_LT(id, pages);
            pageIds.insert(id);
            ASSERT_NE(page->Attribute("file"), nullptr);
            Picture pic = DecodePng(fnt.parent_path() / page->Attribute("file"));
            EXPECT_TRUE(pic.ok) << page->Attribute("file");
            EXPECT_EQ(pic.width, static_cast<int>(scaleW));
            EXPECT_EQ(pic.height, static_cast<int>(scaleH));
        }
        EXPECT_EQ(pageIds.size(), pages);

        std::set<unsigned> chars;
        for (const auto* c = font->FirstChildElement("chars")->FirstChildElement("char"); c;
             c = c->NextSiblingElement("char"))
        {
            unsigned id = 0, page = 0, chnl = 0;
            float x, y, w, h, xo, yo, xa;
            ASSERT_EQ(c->QueryUnsignedAttribute("id", &id), tinyxml2::XML_SUCCESS);
            ASSERT_EQ(c->QueryFloatAttribute("x", &x) | c->QueryFloatAttribute("y", &y) |
                          c->QueryFloatAttribute("width", &w) | c->QueryFloatAttribute("height", &h) |
                          c->QueryFloatAttribute("xoffset", &xo) | c->QueryFloatAttribute("yoffset", &yo) |
                          c->QueryFloatAttribute("xadvance", &xa) | c->QueryUnsignedAttribute("page", &page) |
                          c->QueryUnsignedAttribute("chnl", &chnl),
                      tinyxml2::XML_SUCCESS)
                << id;
            EXPECT_LT(page, pages);
            EXPECT_TRUE(x >= 0 && y >= 0 && x + w <= scaleW && y + h <= scaleH) << id;
            EXPECT_LE(id, 0xFFFFu);
            chars.insert(id);
        }
        for (unsigned c = 32; c < 127; ++c)
            EXPECT_TRUE(chars.count(c)) << "character " << c;

        int kernings = 0;
        if (const auto* k = font->FirstChildElement("kernings"))
        {
            for (const auto* e = k->FirstChildElement("kerning"); e; e = e->NextSiblingElement("kerning"))
            {
                unsigned first = 0, second = 0;
                ASSERT_EQ(e->QueryUnsignedAttribute("first", &first) |
                              e->QueryUnsignedAttribute("second", &second) |
                              e->QueryFloatAttribute("amount", &f),
                          tinyxml2::XML_SUCCESS);
                EXPECT_TRUE(chars.count(first) && chars.count(second)) << first << " " << second;
                ++kernings;
            }
        }
        if (kernings > 0)
            ++fontsWithKerning;
    }
    EXPECT_EQ(fontsWithKerning, 6);
}

TEST_F(DemoData, ImageFoldersListFilesThatExistAndDecode)
{
    const std::vector<std::string> kExtensions = {"", ".dds", ".jpg", ".gif", ".png", ".tga"};
    std::map<std::string, Picture> atlases;
    int folders = 0;
    for (const auto& e : fs::recursive_directory_iterator(Root()))
    {
        if (e.path().filename() != "layers.xml")
            continue;
        ++folders;
        fs::path dir = e.path().parent_path();
        SCOPED_TRACE(dir.string());
        tinyxml2::XMLDocument doc;
        ASSERT_EQ(doc.LoadFile(e.path().c_str()), tinyxml2::XML_SUCCESS);
        const tinyxml2::XMLElement* layers = doc.FirstChildElement("Layers");
        ASSERT_NE(layers, nullptr);
        int count = 0;
        for (const auto* l = layers->FirstChildElement("Layer"); l;
             l = l->NextSiblingElement("Layer"), ++count)
        {
            const char* name = l->Attribute("name");
            ASSERT_NE(name, nullptr);
            int x, y, w, h, opacity, ind;
            ASSERT_EQ(l->QueryIntAttribute("x", &x) | l->QueryIntAttribute("y", &y) |
                          l->QueryIntAttribute("width", &w) | l->QueryIntAttribute("height", &h) |
                          l->QueryIntAttribute("opacity", &opacity) | l->QueryIntAttribute("ind", &ind),
                      tinyxml2::XML_SUCCESS)
                << name;
            if (const char* atlas = l->Attribute("atlas"))
            {
                double tu1, tv1, tu2, tv2;
                ASSERT_EQ(l->QueryDoubleAttribute("tu1", &tu1) | l->QueryDoubleAttribute("tv1", &tv1) |
                              l->QueryDoubleAttribute("tu2", &tu2) | l->QueryDoubleAttribute("tv2", &tv2),
                          tinyxml2::XML_SUCCESS);
                EXPECT_TRUE(0 <= tu1 && tu1 < tu2 && tu2 <= 1 && 0 <= tv1 && tv1 < tv2 && tv2 <= 1) << name;
                // Sprite folders hold many layers per atlas: decode each atlas once.
                fs::path atlasPath = dir / atlas;
                if (!atlases.count(atlasPath.string()))
                    atlases[atlasPath.string()] = DecodePng(atlasPath);
                const Picture& pic = atlases[atlasPath.string()];
                ASSERT_TRUE(pic.ok) << atlas;
                EXPECT_NEAR((tu2 - tu1) * pic.width, w, 0.01) << name;
                EXPECT_NEAR((tv2 - tv1) * pic.height, h, 0.01) << name;
                continue;
            }
            // A text place has no picture: the game writes a text there.
            if (l->BoolAttribute("place"))
                continue;
            // First extension that names an existing file wins, as in the engine's lookup.
            fs::path file;
            for (const std::string& ext : kExtensions)
                if (fs::is_regular_file(dir / (std::string(name) + ext)))
                {
                    file = dir / (std::string(name) + ext);
                    break;
                }
            ASSERT_FALSE(file.empty()) << name;
            if (file.extension() == ".dds")
            {
                Dds d = ReadDds(file);
                EXPECT_TRUE(d.ok) << name;
                EXPECT_EQ(d.width, w);
                EXPECT_EQ(d.height, h);
            }
            else
            {
                Picture pic = DecodeDevil(file);
                EXPECT_TRUE(pic.ok) << name;
                EXPECT_EQ(pic.width, w) << name;
                EXPECT_EQ(pic.height, h) << name;
            }
        }
        EXPECT_GT(count, 0);
    }
    EXPECT_GE(folders, 2);
}

TEST_F(DemoData, DdsFilesCoverEveryKindWithConsistentSizes)
{
    std::set<std::string> kinds;
    bool sawMips = false;
    for (const std::string& f : ListTree(Root()))
    {
        if (fs::path(f).extension() != ".dds")
            continue;
        Dds d = ReadDds(Root() / f);
        EXPECT_TRUE(d.ok) << f;
        kinds.insert(d.format);
        sawMips |= d.mips > 1;
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"BGRA", "DXT1", "DXT3", "DXT5"}));
    EXPECT_TRUE(sawMips);
}

// The sample tiles have transparent rounded corners: the hit mask rule (alpha above 10)
// must see the corner as empty and the middle as solid in every kind of DDS.
TEST_F(DemoData, DdsAlphaKeepsTransparentCornersAndSolidMiddles)
{
    for (const char* name : {"dds_bgra", "dds_dxt1", "dds_dxt3", "dds_dxt5"})
    {
        fs::path path = Root() / "td/data/demo/formats" / (std::string(name) + ".dds");
        Bytes b = ReadAll(path);
        Dds d = ReadDds(path);
        ASSERT_TRUE(d.ok) << name;
        EXPECT_LE(DdsAlpha(b, d, 0, 0), 10) << name;
        EXPECT_LE(DdsAlpha(b, d, d.width - 1, d.height - 1), 10) << name;
        EXPECT_GT(DdsAlpha(b, d, d.width / 2, d.height / 2), 10) << name;
        EXPECT_GT(DdsAlpha(b, d, 20, d.height / 2), 10) << name;
    }
}

TEST_F(DemoData, EveryPictureDecodes)
{
    int pictures = 0;
    for (const std::string& f : ListTree(Root()))
    {
        std::string ext = fs::path(f).extension().string();
        if (ext != ".png" && ext != ".jpg" && ext != ".tga" && ext != ".gif" && ext != ".bmp")
            continue;
        Picture pic = ext == ".png" ? DecodePng(Root() / f) : DecodeDevil(Root() / f);
        EXPECT_TRUE(pic.ok && pic.width > 0 && pic.height > 0) << f;
        if (ext == ".png")
        {
            EXPECT_TRUE(DecodeDevil(Root() / f).ok) << f;
        }
        ++pictures;
    }
    EXPECT_GT(pictures, 10);
}

TEST_F(DemoData, WavFilesArePcmWithConsistentSizes)
{
    int count = 0;
    for (const std::string& f : ListTree(Root()))
    {
        if (fs::path(f).extension() != ".wav")
            continue;
        ++count;
        Bytes b = ReadAll(Root() / f);
        ASSERT_GE(b.size(), 44u) << f;
        EXPECT_EQ(std::memcmp(&b[0], "RIFF", 4), 0) << f;
        EXPECT_EQ(U32(b, 4), b.size() - 8) << f;
        EXPECT_EQ(std::memcmp(&b[8], "WAVEfmt ", 8), 0) << f;
        EXPECT_EQ(U32(b, 16), 16u) << f;
        EXPECT_EQ(b[20] | b[21] << 8, 1) << f; // PCM
        int channels = b[22] | b[23] << 8, bits = b[34] | b[35] << 8;
        EXPECT_EQ(U32(b, 28), U32(b, 24) * channels * bits / 8) << f;
        EXPECT_EQ(std::memcmp(&b[36], "data", 4), 0) << f;
        EXPECT_EQ(U32(b, 40), b.size() - 44) << f;
        EXPECT_GT(U32(b, 40), 0u) << f;
    }
    EXPECT_GT(count, 0);
}

TEST_F(DemoData, OggFilesDecodeCompletelyAndStayShort)
{
    int count = 0;
    for (const std::string& f : ListTree(Root()))
    {
        if (fs::path(f).extension() != ".ogg")
            continue;
        ++count;
        OggVorbis_File vf;
        ASSERT_EQ(ov_fopen((Root() / f).c_str(), &vf), 0) << f;
        long samples = 0;
        char buffer[8192];
        int section = 0;
        long n;
        while ((n = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) > 0)
            samples += n / 2 / ov_info(&vf, -1)->channels;
        EXPECT_EQ(n, 0) << f << " ended with a decode error";
        double seconds = static_cast<double>(samples) / ov_info(&vf, -1)->rate;
        EXPECT_GT(seconds, 0.05) << f;
        EXPECT_LT(seconds, f.find("/music/") != std::string::npos ? 60.0 : 5.0) << f;
        ov_clear(&vf);
    }
    EXPECT_EQ(count >= 8, true);
}

// Reads the layer names of a PSD document, checking every section length on the way.
std::vector<std::string> PsdLayerNames(const Bytes& b)
{
    std::vector<std::string> names;
    if (b.size() < 26 || std::memcmp(b.data(), "8BPS", 4) != 0 || BE16(b, 4) != 1)
        return names;
    std::size_t at = 26;
    at += 4 + BE32(b, at); // colour mode data
    at += 4 + BE32(b, at); // image resources
    std::size_t layerMaskEnd = at + 4 + BE32(b, at);
    at += 4;
    std::size_t layerInfoEnd = at + 4 + BE32(b, at);
    at += 4;
    if (layerMaskEnd > b.size() || layerInfoEnd > layerMaskEnd)
        return {};
    int count = static_cast<std::int16_t>(BE16(b, at));
    at += 2;
    std::size_t channelBytes = 0;
    for (int i = 0; i < std::abs(count); ++i)
    {
        int channels = BE16(b, at + 16);
        at += 18;
        for (int c = 0; c < channels; ++c, at += 6)
            channelBytes += BE32(b, at + 2);
        if (std::memcmp(&b[at], "8BIM", 4) != 0)
            return {};
        std::size_t extraEnd = at + 16 + BE32(b, at + 12);
        at += 16;
        at += 4 + BE32(b, at); // mask
        at += 4 + BE32(b, at); // blending ranges
        names.emplace_back(reinterpret_cast<const char*>(&b[at + 1]), b[at]);
        at = extraEnd;
    }
    if (at + channelBytes > layerInfoEnd)
        return {};
    return names;
}

TEST_F(DemoData, PsdLayoutsHaveNamedLayersAndGroups)
{
    const std::pair<const char*, std::vector<std::string>> kDocs[] = {
        {"td/data/layouts/menu.psd",
         {"panel", "caption|box", "text", "ok", "cancel", "button", "icon|center"}},
        {"td/data/layouts/dialog.psd", {"frame", "title|box", "close", "button"}},
    };
    for (const auto& [path, expected] : kDocs)
    {
        std::vector<std::string> names = PsdLayerNames(ReadAll(Root() / path));
        ASSERT_FALSE(names.empty()) << path;
        EXPECT_EQ(names.front(), "background") << path; // the first record is never a layout image
        for (const std::string& n : expected)
            EXPECT_NE(std::find(names.begin(), names.end(), n), names.end()) << path << " " << n;
    }
}

// Walks an animation file field by field like its loader; true when nothing is missing or left over.
bool ReadAnimation(const Bytes& b, int& layers)
{
    std::size_t at = 0;
    auto need = [&](std::size_t n) { return at + n <= b.size(); };
    auto str = [&]()
    {
        if (!need(4))
            return false;
        std::size_t n = U32(b, at);
        at += 4;
        if (!need(n))
            return false;
        at += n;
        return true;
    };
    if (!str() || !need(12))
        return false;
    at += 8;
    layers = static_cast<int>(U32(b, at));
    at += 4;
    for (int l = 0; l < layers; ++l)
    {
        if (!str() || !str() || !str() || !need(16))
            return false;
        bool colour = U32(b, at + 12) == 1;
        at += 16;
        for (int e = 0; e < (colour ? 14 : 10); ++e)
        {
            if (!need(12))
                return false;
            std::size_t keys = U32(b, at);
            at += 12 + 36 * keys;
            if (!need(0))
                return false;
        }
    }
    return at == b.size();
}

TEST_F(DemoData, GameConfigBindsDialogsToAnimationsThatLoad)
{
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.LoadFile((Root() / "data/game.xml").c_str()), tinyxml2::XML_SUCCESS);
    const auto* effects = doc.FirstChildElement("Game")
                              ? doc.FirstChildElement("Game")->FirstChildElement("DialogEffects")
                              : nullptr;
    ASSERT_NE(effects, nullptr);
    std::set<std::string> entries;
    for (const auto* e = effects->FirstChildElement("Data")->FirstChildElement(); e;
         e = e->NextSiblingElement())
    {
        ASSERT_STREQ(e->Name(), "Anim");
        ASSERT_NE(e->Attribute("name"), nullptr);
        EXPECT_TRUE(entries.insert(e->Attribute("name")).second);
        for (const char* attr : {"show_anim_data", "hide_anim_data"})
        {
            ASSERT_NE(e->Attribute(attr), nullptr) << attr;
            int layers = 0;
            EXPECT_TRUE(ReadAnimation(ReadAll(Root() / e->Attribute(attr)), layers)) << e->Attribute(attr);
            EXPECT_EQ(layers, 1) << e->Attribute(attr);
        }
    }
    std::set<std::string> dialogs;
    for (const auto* d = effects->FirstChildElement("Dialogs")->FirstChildElement(); d;
         d = d->NextSiblingElement())
    {
        EXPECT_TRUE(dialogs.insert(d->Name()).second);
        ASSERT_NE(d->Attribute("effects"), nullptr);
        EXPECT_TRUE(entries.count(d->Attribute("effects"))) << d->Name();
    }
    EXPECT_TRUE(dialogs.count("Options"));
}

TEST_F(DemoData, SheetsAndSplashListNameExistingFiles)
{
    std::ifstream logo(Root() / "logo/logo.ini");
    std::string line;
    int logos = 0;
    while (std::getline(logo, line))
    {
        std::size_t semi = line.find(';');
        ASSERT_NE(semi, std::string::npos);
        std::string list = line.substr(semi + 1) + ",";
        for (std::size_t at = 0, comma; (comma = list.find(',', at)) != std::string::npos;
             at = comma + 1, ++logos)
            EXPECT_TRUE(DecodeDevil(Root() / "logo" / list.substr(at, comma - at)).ok)
                << list.substr(at, comma - at);
    }
    EXPECT_GE(logos, 1);

    std::ifstream sheet(Root() / "td/sounds_sheet.csv");
    std::set<std::string> tags;
    while (std::getline(sheet, line))
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::size_t a = line.find(';'), b = line.find(';', a + 1);
        tags.insert(line.substr(0, a));
        EXPECT_TRUE(fs::is_regular_file(Root() / "td/data/sound" / line.substr(a + 1, b - a - 1))) << line;
    }
    for (const char* tag : {"simple", "context_in", "context_out", "buildTower", "sellTower", "upgradeTower",
                            "buySpot", "teleportEnemy", "winSound", "loseSound"})
        EXPECT_TRUE(tags.count(tag)) << tag;

    std::ifstream strings(Root() / "td/strings_en.csv");
    std::string text((std::istreambuf_iterator<char>(strings)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("game_caption;"), std::string::npos);
}

// Compiles one stage the way the renderer does and collects the names of its uniforms.
bool CompileHlsl(const fs::path& path, EShLanguage stage, const char* entry, std::set<std::string>& names,
                 std::string& log)
{
    Bytes b = ReadAll(path);
    std::string source(b.begin(), b.end());
    const char* text = source.c_str();
    glslang::TShader shader(stage);
    shader.setStrings(&text, 1);
    shader.setEntryPoint(entry);
    shader.setSourceEntryPoint(entry);
    shader.setEnvInput(glslang::EShSourceHlsl, stage, glslang::EShClientOpenGL, 100);
    shader.setEnvClient(glslang::EShClientOpenGL, glslang::EShTargetOpenGL_450);
    shader.setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
    shader.setAutoMapLocations(true);
    shader.setAutoMapBindings(true);
    auto messages = static_cast<EShMessages>(EShMsgReadHlsl | EShMsgHlslDX9Compatible | EShMsgSpvRules);
    if (!shader.parse(GetDefaultResources(), 100, false, messages))
    {
        log = shader.getInfoLog();
        return false;
    }
    glslang::TProgram program;
    program.addShader(&shader);
    if (!program.link(messages) || !program.buildReflection())
    {
        log = program.getInfoLog();
        return false;
    }
    for (int i = 0; i < program.getNumUniformVariables(); ++i)
        names.insert(program.getUniform(i).name);
    return true;
}

TEST_F(DemoData, UnitShaderCompilesWithItsConstants)
{
    glslang::InitializeProcess();
    std::string log;
    std::set<std::string> vs, ps;
    EXPECT_TRUE(
        CompileHlsl(Root() / "td/Shaders/MobShader/DX/VS.hlsl", EShLangVertex, "vertex_shader", vs, log))
        << log;
    EXPECT_TRUE(vs.count("Proj"));
    EXPECT_TRUE(
        CompileHlsl(Root() / "td/Shaders/MobShader/DX/PS.hlsl", EShLangFragment, "pixel_shader", ps, log))
        << log;
    EXPECT_TRUE(ps.count("color2"));
    EXPECT_TRUE(ps.count("TextureSampler"));
    glslang::FinalizeProcess();
}

} // namespace
