#include "Core/Render/Image.h"

#include "Core/Render/RecordingRender.h"
#include "Core/Render/RenderTarget.h"
#include "Core/Render/ResourceTexture.h"
#include "Core/Render/Texture.h"
#include "Core/Render/VertexFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

using namespace render;
namespace fs = std::filesystem;

namespace
{

// An uncompressed 2 × 2 DDS: top-left solid white, the others transparent.
void WriteDds(const fs::path& path)
{
    std::vector<uint8_t> bytes(128 + 16, 0);
    std::memcpy(bytes.data(), "DDS ", 4);
    auto put = [&bytes](size_t at, uint32_t v) { std::memcpy(bytes.data() + at, &v, 4); };
    put(4, 124);
    put(12, 2);    // height
    put(16, 2);    // width
    put(28, 1);    // mip count
    put(76, 32);   // pixel-format size
    put(80, 0x41); // RGB + alpha, no four-character code
    put(88, 32);   // bits per pixel
    const uint32_t pixels[4] = {0xFFFFFFFFu, 0x00FFFFFFu, 0x00000000u, 0x05000000u};
    std::memcpy(bytes.data() + 128, pixels, sizeof pixels);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class ImageLoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("render_image_" + std::to_string(::getpid()));
        fs::create_directories(root);
        WriteDds(root / "dot.dds");
        RenderInitParam param;
        param.mWidth = 64;
        param.mHeight = 64;
        ASSERT_EQ(r.InitRender(nullptr, param), VN_OK);
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
    RecordingRender r;
};

} // namespace

TEST_F(ImageLoad, LoadTextureFindsTheFileAndSharesTheResource)
{
    const std::wstring name = (root / "dot").wstring();
    Image* a = nullptr;
    base::ImageInfo info;
    ASSERT_EQ(r.LoadTexture(name, nullptr, &a, &info), VN_OK);
    std::unique_ptr<Image> ownA(a);
    EXPECT_EQ(a->GetWidth(), 2);
    EXPECT_EQ(a->GetHeight(), 2);
    EXPECT_FLOAT_EQ(info.mRect[2], 2.0f);
    ASSERT_NE(a->GetTexture(), nullptr);
    EXPECT_TRUE(a->HitTest(0, 0));
    EXPECT_FALSE(a->HitTest(1, 0));
    EXPECT_FALSE(a->HitTest(2, 0));
    EXPECT_FALSE(a->HitTest(0, -1));

    Image* b = nullptr;
    ASSERT_EQ(r.LoadTexture(name, nullptr, &b, nullptr), VN_OK);
    std::unique_ptr<Image> ownB(b);
    EXPECT_EQ(b->GetTexture(), a->GetTexture());
    EXPECT_EQ(r.GetTextures().size(), 1u);
    ownA.reset();
    ownB.reset();
    EXPECT_TRUE(r.GetTextures().empty()); // the last image released the resource and its texture
}

TEST_F(ImageLoad, MissingImageFailsAndLeavesTheOutputAlone)
{
    Image* out = reinterpret_cast<Image*>(0x1);
    EXPECT_NE(r.LoadTexture((root / "absent").wstring(), nullptr, &out, nullptr), VN_OK);
    EXPECT_EQ(out, reinterpret_cast<Image*>(0x1));
}

TEST_F(ImageLoad, RenderTargetImageOwnsItsTexture)
{
    Image* image = nullptr;
    ASSERT_EQ(r.CreateRenderTarget(32, 16, &image, true), VN_OK);
    EXPECT_EQ(image->GetWidth(), 32);
    EXPECT_EQ(image->GetHeight(), 16);
    auto* target = static_cast<RenderTarget*>(image);
    EXPECT_FLOAT_EQ(target->mProjection.m[0], 2.0f / 32.0f);
    EXPECT_FLOAT_EQ(target->mProjection.m[5], -2.0f / 16.0f);
    EXPECT_FALSE(image->HitTest(0, 0)); // no mask
    EXPECT_EQ(r.GetTextures().size(), 1u);
    delete image;
    EXPECT_TRUE(r.GetTextures().empty());
    EXPECT_EQ(r.CreateRenderTarget(0, 16, &image, false), VN_FAIL);
}

TEST(Image, MapAtlasUVLeavesImagesOutsideAnAtlasAlone)
{
    Image image;
    SVertex2D v[2] = {{0, 0, 0, 1, 0, 0, 0.5f, 0.25f}, {0, 0, 0, 1, 0, 0, 1, 1}};
    EXPECT_EQ(image.MapAtlasUV(v, 2, 0, SVertex2D::Format()), VN_OK);
    EXPECT_EQ(v[0].u, 0.5f);
    EXPECT_EQ(v[1].v, 1.0f);
}
