// The demo data generator: two runs give the same bytes, and every file of the tree is
// complete and readable the way the engine's loaders read it.
#include <gtest/gtest.h>

#include <IL/il.h>
#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <png.h>
#include <tinyxml2.h>
#include <vorbis/vorbisfile.h>

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
#endif

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t U32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint32_t BE32(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}
std::uint16_t BE16(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]); }

int RunGenerator(const fs::path& out) {
  std::string cmd = std::string("'") + CORV_DEMODATA_EXE + "' '" + out.string() + "' >/dev/null 2>&1";
  return std::system(cmd.c_str());
}

std::vector<std::string> ListTree(const fs::path& root) {
  std::vector<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files.push_back(fs::relative(e.path(), root).generic_string());
  std::sort(files.begin(), files.end());
  return files;
}

struct Picture {
  bool ok = false;
  int width = 0, height = 0;
};

Picture DecodePng(const fs::path& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  Picture p;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return p;
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  p.ok = png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0;
  p.width = static_cast<int>(image.width);
  p.height = static_cast<int>(image.height);
  return p;
}

// Decodes through the image library the engine uses for these formats, with an explicit type.
Picture DecodeDevil(const fs::path& path) {
  static const std::map<std::string, ILenum> kTypes = {
      {".bmp", IL_BMP}, {".gif", IL_GIF}, {".jpg", IL_JPG}, {".png", IL_PNG}, {".tga", IL_TGA}};
  Picture p;
  auto type = kTypes.find(path.extension().string());
  if (type == kTypes.end()) return p;
  Bytes data = ReadAll(path);
  ilInit();
  ILuint name = 0;
  ilGenImages(1, &name);
  ilBindImage(name);
  if (ilLoadL(type->second, data.data(), static_cast<ILuint>(data.size())) && ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
    p.width = ilGetInteger(IL_IMAGE_WIDTH);
    p.height = ilGetInteger(IL_IMAGE_HEIGHT);
    p.ok = ilGetError() == IL_NO_ERROR && ilGetData() != nullptr;
  }
  while (ilGetError() != IL_NO_ERROR) {
  }
  ilDeleteImages(1, &name);
  ilShutDown();
  return p;
}

struct Dds {
  bool ok = false;
  int width = 0, height = 0, mips = 0;
  std::string format;  // "BGRA", "DXT1", "DXT3", "DXT5"
};

// Checks the header fields the engine reads and that the data hold exactly the stored levels.
Dds ReadDds(const fs::path& path) {
  Dds d;
  Bytes b = ReadAll(path);
  if (b.size() < 128 || std::memcmp(b.data(), "DDS ", 4) != 0 || U32(b, 4) != 124) return d;
  d.height = static_cast<int>(U32(b, 12));
  d.width = static_cast<int>(U32(b, 16));
  d.mips = static_cast<int>(std::max<std::uint32_t>(1, U32(b, 28)));
  bool compressed = (U32(b, 80) & 4) != 0;
  d.format = compressed ? std::string(reinterpret_cast<const char*>(&b[84]), 4) : "BGRA";
  if (!compressed && (U32(b, 88) != 32 || U32(b, 92) != 0x00FF0000 || U32(b, 104) != 0xFF000000)) return d;
  std::size_t expected = 0;
  for (int level = 0, w = d.width, h = d.height; level < d.mips; ++level, w = std::max(1, w / 2), h = std::max(1, h / 2)) {
    if (!compressed) expected += static_cast<std::size_t>(w) * h * 4;
    else expected += static_cast<std::size_t>((w + 3) / 4) * ((h + 3) / 4) * (d.format == "DXT1" ? 8 : 16);
  }
  d.ok = (d.format == "BGRA" || d.format == "DXT1" || d.format == "DXT3" || d.format == "DXT5") &&
         b.size() - 128 == expected;
  return d;
}

// Alpha of one pixel of the top level, decoded the way the hit mask is built.
int DdsAlpha(const Bytes& b, const Dds& d, int x, int y) {
  const std::uint8_t* data = b.data() + 128;
  if (d.format == "BGRA") return data[(static_cast<std::size_t>(y) * d.width + x) * 4 + 3];
  int blockBytes = d.format == "DXT1" ? 8 : 16;
  const std::uint8_t* block = data + (static_cast<std::size_t>(y / 4) * ((d.width + 3) / 4) + x / 4) * blockBytes;
  int i = (y % 4) * 4 + x % 4;
  if (d.format == "DXT1") {
    int c0 = block[0] | block[1] << 8, c1 = block[2] | block[3] << 8;
    int index = (U32(b, 128 + (block - data) + 4) >> (2 * i)) & 3;
    return c0 <= c1 && index == 3 ? 0 : 255;
  }
  if (d.format == "DXT3") return ((block[i / 2] >> (4 * (i % 2))) & 15) * 17;
  int a0 = block[0], a1 = block[1];
  std::uint64_t bits = 0;
  for (int k = 0; k < 6; ++k) bits |= static_cast<std::uint64_t>(block[2 + k]) << (8 * k);
  int index = static_cast<int>((bits >> (3 * i)) & 7);
  if (index == 0) return a0;
  if (index == 1) return a1;
  if (a0 > a1) return ((8 - index) * a0 + (index - 1) * a1) / 7;
  if (index == 6) return 0;
  if (index == 7) return 255;
  return ((6 - index) * a0 + (index - 1) * a1) / 5;
}

class DemoData : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    std::string tmpl = (fs::temp_directory_path() / "demodata-XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    sTemp = tmpl;
    sFirstRc = RunGenerator(sTemp / "a");
    ASSERT_EQ(sFirstRc, 0);
  }
  static void TearDownTestSuite() {
    std::error_code ec;
    fs::remove_all(sTemp, ec);
  }
  static fs::path Root() { return sTemp / "a"; }

  static inline fs::path sTemp;
  static inline int sFirstRc = -1;
};

TEST_F(DemoData, TwoRunsWriteTheSameBytes) {
  ASSERT_EQ(sFirstRc, 0);
  ASSERT_EQ(RunGenerator(sTemp / "b"), 0);
  std::vector<std::string> a = ListTree(sTemp / "a"), b = ListTree(sTemp / "b");
  ASSERT_EQ(a, b);
  for (const std::string& f : a) EXPECT_EQ(ReadAll(sTemp / "a" / f), ReadAll(sTemp / "b" / f)) << f;
}

TEST_F(DemoData, UnwritableTargetFails) {
  fs::path blocker = sTemp / "blocker";
  std::ofstream(blocker) << "x";
  EXPECT_NE(RunGenerator(blocker / "tree"), 0);
}

// A pack left from an earlier tree would shadow the fresh td/ files, so a new run removes it.
TEST_F(DemoData, RerunRemovesAStalePack) {
  fs::path tree = sTemp / "rerun";
  fs::create_directories(tree);
  std::ofstream(tree / "data.dat") << "old pack";
  ASSERT_EQ(RunGenerator(tree), 0);
  EXPECT_FALSE(fs::exists(tree / "data.dat"));
  EXPECT_TRUE(fs::is_regular_file(tree / "td/data/loading.jpg"));
}

TEST_F(DemoData, TreeHoldsEveryFileTheGameLoads) {
  const char* kFiles[] = {
      "data/game.xml", "logo/logo.ini", "td/strings_en.csv", "td/sounds_sheet.csv",
      "td/data/sides/layers.xml", "td/data/loading.jpg",
      "td/Shaders/MobShader/DX/VS.hlsl", "td/Shaders/MobShader/DX/PS.hlsl",
      "td/data/fonts/main_32_1.fnt", "td/data/fonts/main_32_2.fnt", "td/data/fonts/main_42_1.fnt",
      "td/data/fonts/main_42_2.fnt", "td/data/fonts/main_42_3.fnt", "td/data/fonts/main_80.fnt",
      "td/data/music/main_menu.ogg", "td/data/music/ingame1.ogg", "td/data/music/ingame2.ogg",
      "td/data/music/ingame3.ogg", "td/data/music/ingame4.ogg", "td/data/music/ingame5.ogg",
      "td/data/music/ingame6.ogg", "td/data/music/ingame7.ogg",
      "td/data/layouts/menu.psd", "td/data/layouts/dialog.psd", "td/data/demo/layers.xml",
  };
  for (const char* f : kFiles) EXPECT_TRUE(fs::is_regular_file(Root() / f)) << f;
  // Everything but the splash pictures and the configuration lives under td/ (the packed part).
  for (const std::string& f : ListTree(Root()))
    EXPECT_TRUE(f.rfind("td/", 0) == 0 || f.rfind("logo/", 0) == 0 || f == "data/game.xml") << f;
}

TEST_F(DemoData, FontsHaveEveryRequiredAttributeAndValidGlyphs) {
  const char* kFonts[] = {"main_32_1", "main_32_2", "main_42_1", "main_42_2", "main_42_3", "main_80"};
  int fontsWithKerning = 0;
  for (const char* name : kFonts) {
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
    for (const char* a : {"bold", "italic", "smooth"}) EXPECT_EQ(info->QueryBoolAttribute(a, &flag), tinyxml2::XML_SUCCESS) << a;
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
    for (const auto& [attr, want] : kChannels) {
      ASSERT_EQ(common->QueryUnsignedAttribute(attr, &u), tinyxml2::XML_SUCCESS) << attr;
      EXPECT_EQ(u, want) << attr;
    }

    std::set<unsigned> pageIds;
    for (const auto* page = font->FirstChildElement("pages")->FirstChildElement("page"); page;
         page = page->NextSiblingElement("page")) {
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
    for (const auto* c = font->FirstChildElement("chars")->FirstChildElement("char"); c; c = c->NextSiblingElement("char")) {
      unsigned id = 0, page = 0, chnl = 0;
      float x, y, w, h, xo, yo, xa;
      ASSERT_EQ(c->QueryUnsignedAttribute("id", &id), tinyxml2::XML_SUCCESS);
      ASSERT_EQ(c->QueryFloatAttribute("x", &x) | c->QueryFloatAttribute("y", &y) | c->QueryFloatAttribute("width", &w) |
                    c->QueryFloatAttribute("height", &h) | c->QueryFloatAttribute("xoffset", &xo) |
                    c->QueryFloatAttribute("yoffset", &yo) | c->QueryFloatAttribute("xadvance", &xa) |
                    c->QueryUnsignedAttribute("page", &page) | c->QueryUnsignedAttribute("chnl", &chnl),
                tinyxml2::XML_SUCCESS)
          << id;
      EXPECT_LT(page, pages);
      EXPECT_TRUE(x >= 0 && y >= 0 && x + w <= scaleW && y + h <= scaleH) << id;
      EXPECT_LE(id, 0xFFFFu);
      chars.insert(id);
    }
    for (unsigned c = 32; c < 127; ++c) EXPECT_TRUE(chars.count(c)) << "character " << c;

    int kernings = 0;
    if (const auto* k = font->FirstChildElement("kernings")) {
      for (const auto* e = k->FirstChildElement("kerning"); e; e = e->NextSiblingElement("kerning")) {
        unsigned first = 0, second = 0;
        ASSERT_EQ(e->QueryUnsignedAttribute("first", &first) | e->QueryUnsignedAttribute("second", &second) |
                      e->QueryFloatAttribute("amount", &f),
                  tinyxml2::XML_SUCCESS);
        EXPECT_TRUE(chars.count(first) && chars.count(second)) << first << " " << second;
        ++kernings;
      }
    }
    if (kernings > 0) ++fontsWithKerning;
  }
  EXPECT_EQ(fontsWithKerning, 6);
}

TEST_F(DemoData, ImageFoldersListFilesThatExistAndDecode) {
  const std::vector<std::string> kExtensions = {"", ".dds", ".jpg", ".gif", ".png", ".tga"};
  int folders = 0;
  for (const auto& e : fs::recursive_directory_iterator(Root())) {
    if (e.path().filename() != "layers.xml") continue;
    ++folders;
    fs::path dir = e.path().parent_path();
    SCOPED_TRACE(dir.string());
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.LoadFile(e.path().c_str()), tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* layers = doc.FirstChildElement("Layers");
    ASSERT_NE(layers, nullptr);
    int count = 0;
    for (const auto* l = layers->FirstChildElement("Layer"); l; l = l->NextSiblingElement("Layer"), ++count) {
      const char* name = l->Attribute("name");
      ASSERT_NE(name, nullptr);
      int x, y, w, h, opacity, ind;
      ASSERT_EQ(l->QueryIntAttribute("x", &x) | l->QueryIntAttribute("y", &y) | l->QueryIntAttribute("width", &w) |
                    l->QueryIntAttribute("height", &h) | l->QueryIntAttribute("opacity", &opacity) |
                    l->QueryIntAttribute("ind", &ind),
                tinyxml2::XML_SUCCESS)
          << name;
      if (const char* atlas = l->Attribute("atlas")) {
        double tu1, tv1, tu2, tv2;
        ASSERT_EQ(l->QueryDoubleAttribute("tu1", &tu1) | l->QueryDoubleAttribute("tv1", &tv1) |
                      l->QueryDoubleAttribute("tu2", &tu2) | l->QueryDoubleAttribute("tv2", &tv2),
                  tinyxml2::XML_SUCCESS);
        EXPECT_TRUE(0 <= tu1 && tu1 < tu2 && tu2 <= 1 && 0 <= tv1 && tv1 < tv2 && tv2 <= 1) << name;
        Picture pic = DecodePng(dir / atlas);
        ASSERT_TRUE(pic.ok) << atlas;
        EXPECT_NEAR((tu2 - tu1) * pic.width, w, 0.01) << name;
        EXPECT_NEAR((tv2 - tv1) * pic.height, h, 0.01) << name;
        continue;
      }
      // First extension that names an existing file wins, as in the engine's lookup.
      fs::path file;
      for (const std::string& ext : kExtensions)
        if (fs::is_regular_file(dir / (std::string(name) + ext))) { file = dir / (std::string(name) + ext); break; }
      ASSERT_FALSE(file.empty()) << name;
      if (file.extension() == ".dds") {
        Dds d = ReadDds(file);
        EXPECT_TRUE(d.ok) << name;
        EXPECT_EQ(d.width, w);
        EXPECT_EQ(d.height, h);
      } else {
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

TEST_F(DemoData, DdsFilesCoverEveryKindWithConsistentSizes) {
  std::set<std::string> kinds;
  bool sawMips = false;
  for (const std::string& f : ListTree(Root())) {
    if (fs::path(f).extension() != ".dds") continue;
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
TEST_F(DemoData, DdsAlphaKeepsTransparentCornersAndSolidMiddles) {
  for (const char* name : {"dds_bgra", "dds_dxt1", "dds_dxt3", "dds_dxt5"}) {
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

TEST_F(DemoData, EveryPictureDecodes) {
  int pictures = 0;
  for (const std::string& f : ListTree(Root())) {
    std::string ext = fs::path(f).extension().string();
    if (ext != ".png" && ext != ".jpg" && ext != ".tga" && ext != ".gif" && ext != ".bmp") continue;
    Picture pic = ext == ".png" ? DecodePng(Root() / f) : DecodeDevil(Root() / f);
    EXPECT_TRUE(pic.ok && pic.width > 0 && pic.height > 0) << f;
    if (ext == ".png") {
      EXPECT_TRUE(DecodeDevil(Root() / f).ok) << f;
    }
    ++pictures;
  }
  EXPECT_GT(pictures, 10);
}

TEST_F(DemoData, WavFilesArePcmWithConsistentSizes) {
  int count = 0;
  for (const std::string& f : ListTree(Root())) {
    if (fs::path(f).extension() != ".wav") continue;
    ++count;
    Bytes b = ReadAll(Root() / f);
    ASSERT_GE(b.size(), 44u) << f;
    EXPECT_EQ(std::memcmp(&b[0], "RIFF", 4), 0) << f;
    EXPECT_EQ(U32(b, 4), b.size() - 8) << f;
    EXPECT_EQ(std::memcmp(&b[8], "WAVEfmt ", 8), 0) << f;
    EXPECT_EQ(U32(b, 16), 16u) << f;
    EXPECT_EQ(b[20] | b[21] << 8, 1) << f;  // PCM
    int channels = b[22] | b[23] << 8, bits = b[34] | b[35] << 8;
    EXPECT_EQ(U32(b, 28), U32(b, 24) * channels * bits / 8) << f;
    EXPECT_EQ(std::memcmp(&b[36], "data", 4), 0) << f;
    EXPECT_EQ(U32(b, 40), b.size() - 44) << f;
    EXPECT_GT(U32(b, 40), 0u) << f;
  }
  EXPECT_GT(count, 0);
}

TEST_F(DemoData, OggFilesDecodeCompletelyAndStayShort) {
  int count = 0;
  for (const std::string& f : ListTree(Root())) {
    if (fs::path(f).extension() != ".ogg") continue;
    ++count;
    OggVorbis_File vf;
    ASSERT_EQ(ov_fopen((Root() / f).c_str(), &vf), 0) << f;
    long samples = 0;
    char buffer[8192];
    int section = 0;
    long n;
    while ((n = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) > 0) samples += n / 2 / ov_info(&vf, -1)->channels;
    EXPECT_EQ(n, 0) << f << " ended with a decode error";
    double seconds = static_cast<double>(samples) / ov_info(&vf, -1)->rate;
    EXPECT_GT(seconds, 0.05) << f;
    EXPECT_LT(seconds, f.find("/music/") != std::string::npos ? 60.0 : 5.0) << f;
    ov_clear(&vf);
  }
  EXPECT_EQ(count >= 8, true);
}

// Reads the layer names of a PSD document, checking every section length on the way.
std::vector<std::string> PsdLayerNames(const Bytes& b) {
  std::vector<std::string> names;
  if (b.size() < 26 || std::memcmp(b.data(), "8BPS", 4) != 0 || BE16(b, 4) != 1) return names;
  std::size_t at = 26;
  at += 4 + BE32(b, at);  // colour mode data
  at += 4 + BE32(b, at);  // image resources
  std::size_t layerMaskEnd = at + 4 + BE32(b, at);
  at += 4;
  std::size_t layerInfoEnd = at + 4 + BE32(b, at);
  at += 4;
  if (layerMaskEnd > b.size() || layerInfoEnd > layerMaskEnd) return {};
  int count = static_cast<std::int16_t>(BE16(b, at));
  at += 2;
  std::size_t channelBytes = 0;
  for (int i = 0; i < std::abs(count); ++i) {
    int channels = BE16(b, at + 16);
    at += 18;
    for (int c = 0; c < channels; ++c, at += 6) channelBytes += BE32(b, at + 2);
    if (std::memcmp(&b[at], "8BIM", 4) != 0) return {};
    std::size_t extraEnd = at + 16 + BE32(b, at + 12);
    at += 16;
    at += 4 + BE32(b, at);  // mask
    at += 4 + BE32(b, at);  // blending ranges
    names.emplace_back(reinterpret_cast<const char*>(&b[at + 1]), b[at]);
    at = extraEnd;
  }
  if (at + channelBytes > layerInfoEnd) return {};
  return names;
}

TEST_F(DemoData, PsdLayoutsHaveNamedLayersAndGroups) {
  const std::pair<const char*, std::vector<std::string>> kDocs[] = {
      {"td/data/layouts/menu.psd", {"panel", "caption|box", "text", "ok", "cancel", "button", "icon|center"}},
      {"td/data/layouts/dialog.psd", {"frame", "title|box", "close", "button"}},
  };
  for (const auto& [path, expected] : kDocs) {
    std::vector<std::string> names = PsdLayerNames(ReadAll(Root() / path));
    ASSERT_FALSE(names.empty()) << path;
    EXPECT_EQ(names.front(), "background") << path;  // the first record is never a layout image
    for (const std::string& n : expected) EXPECT_NE(std::find(names.begin(), names.end(), n), names.end()) << path << " " << n;
  }
}

#ifdef CORV_DEMODATA_PSD
// The engine's own decoder reads the layouts: groups come out as group records, and pixels
// of a layer match the colour it was drawn with.
TEST_F(DemoData, PsdLayoutsLoadWithTheEngineDecoder) {
  psdr_document* doc = nullptr;
  ASSERT_EQ(psdr_load(&doc, (Root() / "td/data/layouts/menu.psd").c_str()), PSDR_OK);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->width, 1024);
  EXPECT_EQ(doc->height, 768);
  std::map<std::string, const psdr_layer*> byName;
  for (int i = 0; i < doc->layer_count; ++i) byName[doc->layers[i].name] = &doc->layers[i];
  ASSERT_TRUE(byName.count("button") && byName.count("panel") && byName.count("ok"));
  EXPECT_EQ(byName["button"]->type, PSDR_LAYER_GROUP);
  EXPECT_EQ(byName["</Layer group>"]->type, PSDR_LAYER_GROUP_END);
  const psdr_layer* panel = byName["panel"];
  EXPECT_EQ(panel->left, 212);
  EXPECT_EQ(panel->top, 160);
  ASSERT_NE(panel->pixels, nullptr);
  // The middle of the panel is its flat fill colour, fully opaque.
  EXPECT_EQ(panel->pixels[(panel->height / 2) * panel->width + panel->width / 2], 0xFF3D5A80u);
  EXPECT_EQ(panel->pixels[0] >> 24, 0u);  // rounded corner
  psdr_free(doc);
}

// Each layout is also exported as an image folder; the folder lists exactly the images a reader of the
// document offers (every record above the first, named by its group path) with the same rectangles.
TEST_F(DemoData, LayoutExportsMatchTheirDocuments) {
  for (const char* name : {"menu", "dialog"}) {
    SCOPED_TRACE(name);
    psdr_document* doc = nullptr;
    ASSERT_EQ(psdr_load(&doc, (Root() / "td/data/layouts" / (std::string(name) + ".psd")).c_str()), PSDR_OK);
    std::map<std::string, std::vector<int>> fromDocument;
    std::vector<std::string> groups;
    for (int i = doc->layer_count - 1; i >= 1; --i) {
      const psdr_layer& l = doc->layers[i];
      if (l.type == PSDR_LAYER_GROUP) {
        groups.push_back(l.name);
      } else if (l.type == PSDR_LAYER_GROUP_END) {
        if (!groups.empty()) groups.pop_back();
      } else {
        std::string full;
        for (const std::string& g : groups) full += g + "/";
        fromDocument[full + l.name] = {l.left, l.top, l.width, l.height, l.opacity};
      }
    }
    psdr_free(doc);

    tinyxml2::XMLDocument xml;
    fs::path dir = Root() / "td/data/layouts" / (std::string(name) + "_export");
    ASSERT_EQ(xml.LoadFile((dir / "layers.xml").c_str()), tinyxml2::XML_SUCCESS);
    std::map<std::string, std::vector<int>> fromFolder;
    for (const auto* l = xml.FirstChildElement("Layers")->FirstChildElement("Layer"); l; l = l->NextSiblingElement("Layer"))
      fromFolder[l->Attribute("name")] = {l->IntAttribute("x"), l->IntAttribute("y"), l->IntAttribute("width"),
                                          l->IntAttribute("height"), l->IntAttribute("opacity")};
    EXPECT_EQ(fromFolder, fromDocument);
  }
}
#endif

// Walks an animation file field by field like its loader; true when nothing is missing or left over.
bool ReadAnimation(const Bytes& b, int& layers) {
  std::size_t at = 0;
  auto need = [&](std::size_t n) { return at + n <= b.size(); };
  auto str = [&]() {
    if (!need(4)) return false;
    std::size_t n = U32(b, at);
    at += 4;
    if (!need(n)) return false;
    at += n;
    return true;
  };
  if (!str() || !need(12)) return false;
  at += 8;
  layers = static_cast<int>(U32(b, at));
  at += 4;
  for (int l = 0; l < layers; ++l) {
    if (!str() || !str() || !str() || !need(16)) return false;
    bool colour = U32(b, at + 12) == 1;
    at += 16;
    for (int e = 0; e < (colour ? 14 : 10); ++e) {
      if (!need(12)) return false;
      std::size_t keys = U32(b, at);
      at += 12 + 36 * keys;
      if (!need(0)) return false;
    }
  }
  return at == b.size();
}

TEST_F(DemoData, GameConfigBindsDialogsToAnimationsThatLoad) {
  tinyxml2::XMLDocument doc;
  ASSERT_EQ(doc.LoadFile((Root() / "data/game.xml").c_str()), tinyxml2::XML_SUCCESS);
  const auto* effects = doc.FirstChildElement("Game") ? doc.FirstChildElement("Game")->FirstChildElement("DialogEffects") : nullptr;
  ASSERT_NE(effects, nullptr);
  std::set<std::string> entries;
  for (const auto* e = effects->FirstChildElement("Data")->FirstChildElement(); e; e = e->NextSiblingElement()) {
    ASSERT_STREQ(e->Name(), "Anim");
    ASSERT_NE(e->Attribute("name"), nullptr);
    EXPECT_TRUE(entries.insert(e->Attribute("name")).second);
    for (const char* attr : {"show_anim_data", "hide_anim_data"}) {
      ASSERT_NE(e->Attribute(attr), nullptr) << attr;
      int layers = 0;
      EXPECT_TRUE(ReadAnimation(ReadAll(Root() / e->Attribute(attr)), layers)) << e->Attribute(attr);
      EXPECT_EQ(layers, 1) << e->Attribute(attr);
    }
  }
  std::set<std::string> dialogs;
  for (const auto* d = effects->FirstChildElement("Dialogs")->FirstChildElement(); d; d = d->NextSiblingElement()) {
    EXPECT_TRUE(dialogs.insert(d->Name()).second);
    ASSERT_NE(d->Attribute("effects"), nullptr);
    EXPECT_TRUE(entries.count(d->Attribute("effects"))) << d->Name();
  }
  EXPECT_TRUE(dialogs.count("Options"));
}

TEST_F(DemoData, SheetsAndSplashListNameExistingFiles) {
  std::ifstream logo(Root() / "logo/logo.ini");
  std::string line;
  int logos = 0;
  while (std::getline(logo, line)) {
    std::size_t semi = line.find(';');
    ASSERT_NE(semi, std::string::npos);
    std::string list = line.substr(semi + 1) + ",";
    for (std::size_t at = 0, comma; (comma = list.find(',', at)) != std::string::npos; at = comma + 1, ++logos)
      EXPECT_TRUE(DecodeDevil(Root() / "logo" / list.substr(at, comma - at)).ok) << list.substr(at, comma - at);
  }
  EXPECT_GE(logos, 1);

  std::ifstream sheet(Root() / "td/sounds_sheet.csv");
  std::set<std::string> tags;
  while (std::getline(sheet, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::size_t a = line.find(';'), b = line.find(';', a + 1);
    tags.insert(line.substr(0, a));
    EXPECT_TRUE(fs::is_regular_file(Root() / "td/data/sound" / line.substr(a + 1, b - a - 1))) << line;
  }
  for (const char* tag : {"simple", "context_in", "context_out", "buildTower", "sellTower", "upgradeTower", "buySpot",
                          "teleportEnemy", "winSound", "loseSound"})
    EXPECT_TRUE(tags.count(tag)) << tag;

  std::ifstream strings(Root() / "td/strings_en.csv");
  std::string text((std::istreambuf_iterator<char>(strings)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("game_caption;"), std::string::npos);
}

// Compiles one stage the way the renderer does and collects the names of its uniforms.
bool CompileHlsl(const fs::path& path, EShLanguage stage, const char* entry, std::set<std::string>& names,
                 std::string& log) {
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
  if (!shader.parse(GetDefaultResources(), 100, false, messages)) {
    log = shader.getInfoLog();
    return false;
  }
  glslang::TProgram program;
  program.addShader(&shader);
  if (!program.link(messages) || !program.buildReflection()) {
    log = program.getInfoLog();
    return false;
  }
  for (int i = 0; i < program.getNumUniformVariables(); ++i) names.insert(program.getUniform(i).name);
  return true;
}

TEST_F(DemoData, UnitShaderCompilesWithItsConstants) {
  glslang::InitializeProcess();
  std::string log;
  std::set<std::string> vs, ps;
  EXPECT_TRUE(CompileHlsl(Root() / "td/Shaders/MobShader/DX/VS.hlsl", EShLangVertex, "vertex_shader", vs, log)) << log;
  EXPECT_TRUE(vs.count("Proj"));
  EXPECT_TRUE(CompileHlsl(Root() / "td/Shaders/MobShader/DX/PS.hlsl", EShLangFragment, "pixel_shader", ps, log)) << log;
  EXPECT_TRUE(ps.count("color2"));
  EXPECT_TRUE(ps.count("TextureSampler"));
  glslang::FinalizeProcess();
}

#ifdef CORV_DEMODATA_IMAGES
// Every picture of the tree goes through the engine's own decoders into a texture-sized buffer, and its hit
// mask has solid pixels.
TEST_F(DemoData, EveryPictureLoadsThroughTheEngineImageLoader) {
  const std::set<std::string> kExtensions = {".dds", ".bmp", ".gif", ".jpg", ".png", ".tga"};
  int count = 0;
  for (const std::string& f : ListTree(Root())) {
    std::string ext = fs::path(f).extension().string();
    if (!kExtensions.count(ext)) continue;
    ++count;
    Bytes b = ReadAll(Root() / f);
    base::MemoryStream stream(b.data(), static_cast<unsigned>(b.size()));
    std::wstring wext(ext.begin(), ext.end());
    std::unique_ptr<render::ImageData> image(render::ImageLoader::Instance()->Load(&stream, wext.c_str(), nullptr));
    ASSERT_NE(image, nullptr) << f;
    int w = image->GetWidth(), h = image->GetHeight();
    ASSERT_TRUE(w > 0 && h > 0) << f;
    std::uint32_t pitch = static_cast<std::uint32_t>(w) * 4;
    std::uint32_t rows = static_cast<std::uint32_t>(h);
    if (image->GetCompression() != render::ImageUncompressed) {
      pitch = static_cast<std::uint32_t>((w + 3) / 4) * (image->GetCompression() == render::ImageDXT1 ? 8 : 16);
      rows = static_cast<std::uint32_t>((h + 3) / 4);
    }
    std::vector<std::uint8_t> texture(static_cast<std::size_t>(pitch) * rows);
    render::HitMask mask;
    mask.Resize(static_cast<std::uint32_t>(w * h), false);
    ASSERT_EQ(image->CopyPixels(pitch, texture.data(), &mask), VN_OK) << f;
    std::uint32_t solid = 0;
    for (std::uint32_t i = 0; i < mask.GetCount(); ++i) solid += mask.Get(i);
    EXPECT_GT(solid, 0u) << f;
  }
  EXPECT_GT(count, 10);
}
#endif

} // namespace

// The fonts here load their pages through TreeFont::LoadPage; this weak stand-in only lets the test link while
// the renderer has no texture loader of its own.
__attribute__((weak)) VNResultEnum render::Render::LoadTexture(const std::wstring&, file::ImageContainer*,
                                                              render::Image**, base::ImageInfo*) {
  return VN_FAIL;
}

namespace {

// A page image of a known size, without a device texture.
class PageImage : public render::Image {
public:
  PageImage(int w, int h) {
    mWidth = w;
    mHeight = h;
  }
};

// The engine's font parser, with pages read from the generated tree instead of the renderer.
class TreeFont : public render::BMFont {
public:
  fs::path root;
  std::vector<std::wstring> pages;

protected:
  VNResultEnum LoadPage(const std::wstring& path, render::Image** out) override {
    pages.push_back(path);
    Picture pic = DecodePng(root / fs::path(path));
    if (!pic.ok) return VN_FAIL;
    *out = new PageImage(pic.width, pic.height);
    return VN_OK;
  }
};

// The engine's image-folder reader sees every layer of every layers.xml, the atlas rectangles in texture
// space, and the groups of the exported layouts.
TEST_F(DemoData, ImageFoldersReadWithTheEngineFolderReader) {
  auto open = [this](const std::string& dir, file::PsdFolder& folder) {
    Bytes b = ReadAll(Root() / dir / "layers.xml");
    folder.Parse(reinterpret_cast<const char*>(b.data()), b.size());
  };
  for (const char* dir : {"td/data/sides", "td/data/demo", "td/data/layouts/menu_export", "td/data/layouts/dialog_export"}) {
    file::PsdFolder folder(std::wstring(dir, dir + std::strlen(dir)), nullptr);
    open(dir, folder);
    tinyxml2::XMLDocument xml;
    ASSERT_EQ(xml.LoadFile((Root() / dir / "layers.xml").c_str()), tinyxml2::XML_SUCCESS);
    unsigned layers = 0;
    for (const auto* l = xml.FirstChildElement("Layers")->FirstChildElement("Layer"); l; l = l->NextSiblingElement("Layer"))
      ++layers;
    EXPECT_EQ(folder.GetImageCount(), layers) << dir;
  }

  file::PsdFolder demo(L"td/data/demo", nullptr);
  open("td/data/demo", demo);
  const base::ImageInfo* gem = demo.FindImageInfo(L"icons/gem");
  ASSERT_NE(gem, nullptr);
  EXPECT_TRUE(gem->mInAtlas);
  EXPECT_EQ(gem->mAtlasPath, L"td/data/demo/icons.png");
  EXPECT_FLOAT_EQ(gem->mAtlasRect[0], 0.5f);  // second cell of the top row
  EXPECT_FLOAT_EQ(gem->mAtlasRect[1], 0.0f);
  EXPECT_FLOAT_EQ(gem->mAtlasRect[2], 0.5f);
  EXPECT_FLOAT_EQ(gem->mAtlasRect[3], 0.5f);
  std::vector<std::wstring> groups;
  demo.ListGroups(L"", &groups, false);
  EXPECT_EQ(groups, (std::vector<std::wstring>{L"formats", L"icons"}));

  file::PsdFolder menu(L"td/data/layouts/menu_export", nullptr);
  open("td/data/layouts/menu_export", menu);
  std::vector<std::wstring> buttons;
  menu.ListImages(L"button", false, &buttons, true);
  EXPECT_EQ(buttons, (std::vector<std::wstring>{L"ok", L"cancel"}));
}

TEST_F(DemoData, FontsLoadWithTheEngineFontParser) {
  for (const char* name : {"main_32_1", "main_32_2", "main_42_1", "main_42_2", "main_42_3", "main_80"}) {
    SCOPED_TRACE(name);
    TreeFont font;
    font.root = Root();
    std::wstring fontName = L"td/data/fonts/" + std::wstring(name, name + std::strlen(name));
    ASSERT_EQ(font.SetName(fontName), VN_OK);
    Bytes b = ReadAll(Root() / "td/data/fonts" / (std::string(name) + ".fnt"));
    base::MemoryStream stream(b.data(), static_cast<unsigned>(b.size()));
    ASSERT_EQ(font.Parse(&stream), VN_OK);
    EXPECT_FALSE(font.pages.empty());
    for (char32_t c : {U'A', U'g', U'0', U'$', U'#', U'\u00e9', U'\u2026'}) EXPECT_TRUE(font.HasGlyph(c)) << int(c);
    std::size_t kerned = 0;
    for (const auto& [code, glyph] : font.mGlyphs) kerned += glyph.kerning.size();
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

#ifdef CORV_DEMODATA_PACK
// Everything below td/ goes into the pack: the index lists each file once with its size.
TEST_F(DemoData, TdFolderPacksWithThePackBuilder) {
  fs::path pack = sTemp / "data.dat";
  ASSERT_EQ(file::BuildPack((Root() / "td").wstring(), pack.wstring()), VN_OK);
  Bytes b = ReadAll(pack);
  ASSERT_GE(b.size(), 14u);
  ASSERT_EQ(U32(b, 0), 6u);
  ASSERT_EQ(std::memcmp(&b[4], "vnpack", 6), 0);
  std::map<std::string, std::uint32_t> listed;
  std::size_t at = 14;
  for (std::uint32_t i = 0, count = U32(b, 10); i < count; ++i) {
    ASSERT_LE(at + 4, b.size());
    std::uint32_t units = U32(b, at);
    at += 4;
    ASSERT_LE(at + 2 * units + 13, b.size());
    std::string name;
    for (std::uint32_t k = 0; k < units; ++k) name += static_cast<char>(b[at + 2 * k]);  // names are ASCII
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
TEST_F(DemoData, SoundsDecodeWithTheEngineMixer) {
  int count = 0;
  for (const std::string& f : ListTree(Root())) {
    std::string ext = fs::path(f).extension().string();
    if (ext != ".wav" && ext != ".ogg") continue;
    ++count;
    Bytes b = ReadAll(Root() / f);
    std::vector<float> frames;
    ASSERT_TRUE(mixer::DecodeAll(b.data(), b.size(), 48000u * 120, frames)) << f;
    float peak = 0;
    for (float v : frames) peak = std::max(peak, std::fabs(v));
    EXPECT_GT(peak, 0.05f) << f;
  }
  EXPECT_GT(count, 10);
}
#endif

#ifdef CORV_DEMODATA_PARTICLES
void CollectEmitters(const ptl::FolderDesc& folder, std::vector<const ptl::EmitterDesc*>& out) {
  for (const ptl::EmitterDesc& e : folder.emitters) out.push_back(&e);
  for (const ptl::FolderDesc& f : folder.folders) CollectEmitters(f, out);
}

TEST_F(DemoData, ParticleFileHoldsTheNamedEmittersAndItsAtlases) {
  Bytes b = ReadAll(Root() / "td/fx/fx2.ptc");
  ptl::PtcDesc desc;
  ASSERT_TRUE(ptl::ReadPtc(b.data(), b.size(), desc));
  for (const std::string& atlas : desc.atlases) EXPECT_TRUE(DecodePng(Root() / "td/fx" / atlas).ok) << atlas;
  std::vector<const ptl::EmitterDesc*> emitters;
  CollectEmitters(desc.root, emitters);
  std::vector<std::string> names;
  for (const ptl::EmitterDesc* e : emitters) names.push_back(e->name);
  for (const char* name : {"build", "upgrade", "hammer", "portal_1", "blow_bub", "active", "active_btn", "active_lvl",
                           "blik_1", "blik_2", "blik_4", "blik_6", "fog_01"})
    EXPECT_EQ(std::count(names.begin(), names.end(), name), 1) << name;

  // Every effect shows something a tenth of a second after it starts.
  for (const ptl::EmitterDesc* e : emitters) {
    ptl::Emitter emitter(std::make_shared<const ptl::EmitterDesc>(*e));
    emitter.EmitterToInterval1(1.0);
    emitter.Update(100.0);
    EXPECT_GT(emitter.GetParticleCount(), 0) << e->name;
  }
}
#endif

} // namespace
