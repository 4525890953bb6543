#pragma once

#include "Core/Render/Texture.h"

#include <vector>

namespace render
{

// A GL texture of one level (RGBA8, or S3TC blocks), optionally with a framebuffer and depth/stencil when it
// is a render target. Render targets are stored top-down, like every other texture.
class TextureGL : public Texture
{
public:
    using Texture::Texture;
    ~TextureGL() override;

    VNResultEnum CreateRenderTarget(uint32_t width, uint32_t height) override;
    VNResultEnum CreateDynamic(uint32_t width, uint32_t height) override;
    VNResultEnum OnResetDevice() override { return VN_OK; }
    VNResultEnum OnLostDevice() override { return VN_OK; }
    VNResultEnum Lock(int32_t* pixelCount, int32_t* pitch, void** bits) override;
    VNResultEnum Unlock() override;
    VNResultEnum CreateFromPixels(uint32_t width, uint32_t height, int32_t compression, const void* data,
                                  uint32_t size) override;

    unsigned GetName() const { return mName; }
    unsigned GetFramebuffer() const { return mFramebuffer; }
    bool IsRenderTarget() const { return mRenderTarget; }
    // Frees the GL objects while the context still exists.
    void ReleaseGL();

private:
    VNResultEnum CreateStorage(uint32_t width, uint32_t height, unsigned internalFormat);

    unsigned mName = 0;
    unsigned mFramebuffer = 0;
    unsigned mDepthStencil = 0;
    bool mRenderTarget = false;
    bool mDynamic = false;
    bool mLocked = false;
    std::vector<uint8_t> mStaging;
};

} // namespace render
