#include "Core/Render/Texture.h"

#include "Core/Render/HitMask.h"
#include "Core/Render/ImageLoader.h"
#include "Core/Render/RecordingRender.h"
#include "Core/Render/TextureFills.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

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

namespace
{
// Fills of the queue finish on their own once it has been told of a present; the test waits a bounded time.
bool FillsSettle()
{
    for (int i = 0; i < 2000 && TextureFills::Instance().GetPendingCount() > 0; ++i)
    {
        TextureFills::Instance().OnPresented();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return TextureFills::Instance().GetPendingCount() == 0;
}
} // namespace

TEST(Texture, FilledLaterEqualsFilledAtOnce)
{
    struct Case
    {
        const char* name;
        int32_t w, h, compression;
        bool fail;
    };
    const Case cases[] = {
        {"pixels", 5, 3, CompressionNone, false},
        {"blocks", 6, 5, CompressionDXT5, false},
        {"failing decode", 4, 4, CompressionNone, true},
    };
    RecordingRender r;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Texture* now = nullptr;
        Texture* later = nullptr;
        ASSERT_EQ(r.CreateTexture(&now), VN_OK);
        ASSERT_EQ(r.CreateTexture(&later), VN_OK);
        std::unique_ptr<Texture> owners[] = {std::unique_ptr<Texture>(now), std::unique_ptr<Texture>(later)};
        FakeImage image(c.w, c.h, c.compression, 1);
        image.mFail = c.fail;
        const VNResultEnum atOnce = now->CreateFromImage(&image);
        auto deferred = std::make_unique<FakeImage>(c.w, c.h, c.compression, 1);
        deferred->mFail = c.fail;
        ASSERT_EQ(later->CreateFromImageLater(std::move(deferred), L"later"), VN_OK);
        // The size is known before any pixel is decoded.
        EXPECT_EQ(later->GetWidth(), static_cast<uint32_t>(c.w));
        EXPECT_EQ(later->GetHeight(), static_cast<uint32_t>(c.h));
        EXPECT_EQ(TextureFills::Instance().GetPendingCount(), 1u);
        // A hit test needs the mask: it fills the texture on the spot.
        EXPECT_EQ(later->HitTest(0, 0), now->HitTest(0, 0));
        EXPECT_EQ(TextureFills::Instance().GetPendingCount(), 0u);
        EXPECT_EQ(later->GetHitBits(), now->GetHitBits());
        EXPECT_EQ(atOnce == VN_OK, !c.fail);
    }
}

TEST(Texture, FillQueueWorkersFillAfterAPresentAndLetGoOfDeletedTextures)
{
    RecordingRender r;
    std::vector<std::unique_ptr<Texture>> textures;
    for (int i = 0; i < 6; ++i)
    {
        Texture* t = nullptr;
        ASSERT_EQ(r.CreateTexture(&t), VN_OK);
        textures.emplace_back(t);
        ASSERT_EQ(t->CreateFromImageLater(std::make_unique<FakeImage>(8 + i, 4, CompressionNone, 1), L"t"),
                  VN_OK);
    }
    // A texture that goes before its fill leaves nothing behind.
    textures.erase(textures.begin());
    EXPECT_EQ(TextureFills::Instance().GetPendingCount(), 5u);
    ASSERT_TRUE(FillsSettle());
    for (const std::unique_ptr<Texture>& t : textures)
    {
        EXPECT_TRUE(t->HitTest(0, 3)) << t->GetWidth();
        EXPECT_FALSE(t->HitTest(1, 0)) << t->GetWidth();
    }
    textures.clear();
    TextureFills::Instance().Stop();
    EXPECT_EQ(TextureFills::Instance().GetPendingCount(), 0u);
}
