#include "Core/Render/Texture.h"

#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/RecordingRender.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace render;

namespace
{

// A decoded image of given size and format that writes a known pattern and marks the left column solid.
class FakeImage : public ImageData
{
public:
    FakeImage(int32_t w, int32_t h, int32_t compression, int32_t mips)
    {
        mWidth = w;
        mHeight = h;
        mCompression = compression;
        mMipLevels = mips;
    }
    VNResultEnum Load(base::Stream*, const wchar_t*) override { return VN_OK; }
    VNResultEnum CopyPixels(uint32_t pitch, void* destination, HitMask* mask) override
    {
        mPitch = pitch;
        const uint32_t rows =
            mCompression == 0 ? static_cast<uint32_t>(mHeight) : (static_cast<uint32_t>(mHeight) + 3) / 4;
        std::memset(destination, 0x5A, static_cast<size_t>(pitch) * rows);
        for (int32_t y = 0; y < mHeight; ++y)
            mask->Set(true, static_cast<uint32_t>(y * mWidth));
        return mFail ? VN_FAIL : VN_OK;
    }
    uint32_t mPitch = 0;
    bool mFail = false;
};

} // namespace

TEST(Texture, CreatedFromAnImageTakesItsTopLevelAndHitMask)
{
    struct Case
    {
        int32_t w, h, compression, mips;
        uint32_t pitch;
    };
    const Case cases[] = {
        {5, 3, CompressionNone, 1, 20},
        {8, 8, CompressionDXT1, 4, 16}, // several levels declared: only the top one is taken
        {6, 5, CompressionDXT5, 1, 32},
        {4, 4, 7, 1, 16}, // an unknown kind is uploaded as 32-bit pixels
    };
    RecordingRender r;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.compression);
        Texture* t = nullptr;
        ASSERT_EQ(r.CreateTexture(&t), VN_OK);
        std::unique_ptr<Texture> owner(t);
        FakeImage image(c.w, c.h, c.compression, c.mips);
        ASSERT_EQ(t->CreateFromImage(&image), VN_OK);
        EXPECT_EQ(image.mPitch, c.pitch);
        EXPECT_EQ(t->GetWidth(), static_cast<uint32_t>(c.w));
        EXPECT_EQ(t->GetHeight(), static_cast<uint32_t>(c.h));
        EXPECT_TRUE(t->HitTest(0, c.h - 1));
        EXPECT_FALSE(t->HitTest(1, 0));
        // Outside the texture: false without touching the mask.
        EXPECT_FALSE(t->HitTest(-1, 0));
        EXPECT_FALSE(t->HitTest(c.w, 0));
        EXPECT_FALSE(t->HitTest(0, c.h));
    }
}

TEST(Texture, FailedCopyOrEmptyImageCreatesNothing)
{
    RecordingRender r;
    Texture* t = nullptr;
    ASSERT_EQ(r.CreateTexture(&t), VN_OK);
    std::unique_ptr<Texture> owner(t);
    FakeImage failing(4, 4, CompressionNone, 1);
    failing.mFail = true;
    EXPECT_EQ(t->CreateFromImage(&failing), VN_FAIL);
    FakeImage empty(0, 4, CompressionNone, 1);
    EXPECT_EQ(t->CreateFromImage(&empty), VN_FAIL);
    EXPECT_EQ(t->CreateFromImage(nullptr), VN_FAIL);
    EXPECT_EQ(t->GetWidth(), 0u);
    EXPECT_FALSE(t->HitTest(0, 0));
}

TEST(Texture, LevelSizesPerFormat)
{
    struct Case
    {
        uint32_t w, h;
        int32_t compression;
        uint32_t size;
    };
    const Case cases[] = {{4, 4, CompressionNone, 64}, {4, 4, CompressionDXT1, 8},
                          {5, 5, CompressionDXT1, 32}, {4, 4, CompressionDXT3, 16},
                          {1, 1, CompressionDXT5, 16}, {3, 2, CompressionNone, 24}};
    for (const Case& c : cases)
        EXPECT_EQ(TextureLevelSize(c.w, c.h, c.compression), c.size)
            << c.w << "x" << c.h << " " << c.compression;
}
