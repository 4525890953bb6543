#pragma once
// Shared by the demo data tests: the generated tree of this build, made once for all test programs, and small
// readers for the formats the tree holds.
#include "Support/DemoTreeCache.h"

#include <gtest/gtest.h>

#include <IL/il.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

namespace demodata_test
{

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::uint32_t U32(const Bytes& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
inline std::uint32_t BE32(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}
inline std::uint16_t BE16(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] << 8 | b[at + 1]);
}

inline int RunGenerator(const fs::path& out)
{
    std::string cmd = std::string("'") + CORV_DEMODATA_EXE + "' '" + out.string() + "' >/dev/null 2>&1";
    return std::system(cmd.c_str());
}

inline std::vector<std::string> ListTree(const fs::path& root)
{
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files.push_back(fs::relative(e.path(), root).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

struct Picture
{
    bool ok = false;
    int width = 0, height = 0;
};

inline Picture DecodePng(const fs::path& path)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    Picture p;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return p;
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    p.ok = png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0;
    p.width = static_cast<int>(image.width);
    p.height = static_cast<int>(image.height);
    return p;
}

// Decodes through the image library the engine uses for these formats, with an explicit type.
inline Picture DecodeDevil(const fs::path& path)
{
    static const std::map<std::string, ILenum> kTypes = {
        {".bmp", IL_BMP}, {".gif", IL_GIF}, {".jpg", IL_JPG}, {".png", IL_PNG}, {".tga", IL_TGA}};
    Picture p;
    auto type = kTypes.find(path.extension().string());
    if (type == kTypes.end())
        return p;
    Bytes data = ReadAll(path);
    ilInit();
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    if (ilLoadL(type->second, data.data(), static_cast<ILuint>(data.size())) &&
        ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE))
    {
        p.width = ilGetInteger(IL_IMAGE_WIDTH);
        p.height = ilGetInteger(IL_IMAGE_HEIGHT);
        p.ok = ilGetError() == IL_NO_ERROR && ilGetData() != nullptr;
    }
    while (ilGetError() != IL_NO_ERROR)
    {
    }
    ilDeleteImages(1, &name);
    ilShutDown();
    return p;
}

struct Dds
{
    bool ok = false;
    int width = 0, height = 0, mips = 0;
    std::string format; // "BGRA", "DXT1", "DXT3", "DXT5"
};

// Checks the header fields the engine reads and that the data hold exactly the stored levels.
inline Dds ReadDds(const fs::path& path)
{
    Dds d;
    Bytes b = ReadAll(path);
    if (b.size() < 128 || std::memcmp(b.data(), "DDS ", 4) != 0 || U32(b, 4) != 124)
        return d;
    d.height = static_cast<int>(U32(b, 12));
    d.width = static_cast<int>(U32(b, 16));
    d.mips = static_cast<int>(std::max<std::uint32_t>(1, U32(b, 28)));
    bool compressed = (U32(b, 80) & 4) != 0;
    d.format = compressed ? std::string(reinterpret_cast<const char*>(&b[84]), 4) : "BGRA";
    if (!compressed && (U32(b, 88) != 32 || U32(b, 92) != 0x00FF0000 || U32(b, 104) != 0xFF000000))
        return d;
    std::size_t expected = 0;
    for (int level = 0, w = d.width, h = d.height; level < d.mips;
         ++level, w = std::max(1, w / 2), h = std::max(1, h / 2))
    {
        if (!compressed)
            expected += static_cast<std::size_t>(w) * h * 4;
        else
            expected += static_cast<std::size_t>((w + 3) / 4) * ((h + 3) / 4) * (d.format == "DXT1" ? 8 : 16);
    }
    d.ok = (d.format == "BGRA" || d.format == "DXT1" || d.format == "DXT3" || d.format == "DXT5") &&
           b.size() - 128 == expected;
    return d;
}

// Alpha of one pixel of the top level, decoded the way the hit mask is built.
inline int DdsAlpha(const Bytes& b, const Dds& d, int x, int y)
{
    const std::uint8_t* data = b.data() + 128;
    if (d.format == "BGRA")
        return data[(static_cast<std::size_t>(y) * d.width + x) * 4 + 3];
    int blockBytes = d.format == "DXT1" ? 8 : 16;
    const std::uint8_t* block =
        data + (static_cast<std::size_t>(y / 4) * ((d.width + 3) / 4) + x / 4) * blockBytes;
    int i = (y % 4) * 4 + x % 4;
    if (d.format == "DXT1")
    {
        int c0 = block[0] | block[1] << 8, c1 = block[2] | block[3] << 8;
        int index = (U32(b, 128 + (block - data) + 4) >> (2 * i)) & 3;
        return c0 <= c1 && index == 3 ? 0 : 255;
    }
    if (d.format == "DXT3")
        return ((block[i / 2] >> (4 * (i % 2))) & 15) * 17;
    int a0 = block[0], a1 = block[1];
    std::uint64_t bits = 0;
    for (int k = 0; k < 6; ++k)
        bits |= static_cast<std::uint64_t>(block[2 + k]) << (8 * k);
    int index = static_cast<int>((bits >> (3 * i)) & 7);
    if (index == 0)
        return a0;
    if (index == 1)
        return a1;
    if (a0 > a1)
        return ((8 - index) * a0 + (index - 1) * a1) / 7;
    if (index == 6)
        return 0;
    if (index == 7)
        return 255;
    return ((6 - index) * a0 + (index - 1) * a1) / 5;
}

// The generated tree of this build, shared by every test program.
inline fs::path CachedTree()
{
    return testsupport::CachedDemoTree(CORV_DEMODATA_CACHE, CORV_DEMODATA_EXE);
}

class DemoData : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        std::string tmpl = (fs::temp_directory_path() / "demodata-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        sTemp = tmpl;
        sRoot = CachedTree();
        sFirstRc = sRoot.empty() ? 1 : 0;
        ASSERT_EQ(sFirstRc, 0);
    }
    static void TearDownTestSuite()
    {
        std::error_code ec;
        fs::remove_all(sTemp, ec);
    }
    static fs::path Root() { return sRoot; }

    static inline fs::path sTemp;
    static inline fs::path sRoot;
    static inline int sFirstRc = -1;
};

} // namespace demodata_test
