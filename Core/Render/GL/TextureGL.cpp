#include "Core/Render/GL/TextureGL.h"

#include "Core/Render/GL/GLCheck.h"

namespace render
{

TextureGL::~TextureGL()
{
    ReleaseGL();
}

void TextureGL::ReleaseGL()
{
    if (mFramebuffer)
        glDeleteFramebuffers(1, &mFramebuffer);
    if (mDepthStencil)
        glDeleteRenderbuffers(1, &mDepthStencil);
    if (mName)
        glDeleteTextures(1, &mName);
    mFramebuffer = mDepthStencil = mName = 0;
}

VNResultEnum TextureGL::CreateStorage(uint32_t width, uint32_t height, unsigned internalFormat)
{
    if (mName || width == 0 || height == 0)
        return VN_FAIL;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (width > static_cast<uint32_t>(maxSize) || height > static_cast<uint32_t>(maxSize))
        return VN_FAIL;
    glCreateTextures(GL_TEXTURE_2D, 1, &mName);
    if (!mName)
        return VN_FAIL;
    GL_CHECK(glTextureStorage2D(mName, 1, internalFormat, static_cast<GLsizei>(width),
                                static_cast<GLsizei>(height)));
    GL_CHECK(glTextureParameteri(mName, GL_TEXTURE_MAX_LEVEL, 0));
    mWidth = width;
    mHeight = height;
    return VN_OK;
}

VNResultEnum TextureGL::CreateFromPixels(uint32_t width, uint32_t height, int32_t compression,
                                         const void* data, uint32_t size)
{
    if (!data || size < TextureLevelSize(width, height, compression))
        return VN_FAIL;
    mRenderTarget = mDynamic = false;
    GLenum format = GL_RGBA8;
    switch (compression)
    {
    case CompressionDXT1:
        format = GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
        break;
    case CompressionDXT3:
        format = GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
        break;
    case CompressionDXT5:
        format = GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
        break;
    default:
        compression = CompressionNone;
        break;
    }
    if (const VNResultEnum r = CreateStorage(width, height, format); r != VN_OK)
        return r;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    const auto w = static_cast<GLsizei>(width);
    const auto h = static_cast<GLsizei>(height);
    if (compression == CompressionNone)
        glTextureSubImage2D(mName, 0, 0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, data);
    else
        glCompressedTextureSubImage2D(mName, 0, 0, 0, w, h, format,
                                      static_cast<GLsizei>(TextureLevelSize(width, height, compression)),
                                      data);
    if (glGetError() != GL_NO_ERROR)
    {
        ReleaseGL();
        return VN_FAIL;
    }
    return VN_OK;
}

VNResultEnum TextureGL::CreateRenderTarget(uint32_t width, uint32_t height)
{
    mRenderTarget = true;
    mDynamic = false;
    if (const VNResultEnum r = CreateStorage(width, height, GL_RGBA8); r != VN_OK)
        return r;
    glCreateRenderbuffers(1, &mDepthStencil);
    GL_CHECK(glNamedRenderbufferStorage(mDepthStencil, GL_DEPTH24_STENCIL8, static_cast<GLsizei>(width),
                                        static_cast<GLsizei>(height)));
    glCreateFramebuffers(1, &mFramebuffer);
    GL_CHECK(glNamedFramebufferTexture(mFramebuffer, GL_COLOR_ATTACHMENT0, mName, 0));
    GL_CHECK(glNamedFramebufferRenderbuffer(mFramebuffer, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                            mDepthStencil));
    if (glCheckNamedFramebufferStatus(mFramebuffer, GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
    {
        ReleaseGL();
        return VN_FAIL;
    }
    // GL leaves new storage undefined; start transparent so an undrawn target shows nothing.
    const GLfloat clear[4] = {0, 0, 0, 0};
    glClearNamedFramebufferfv(mFramebuffer, GL_COLOR, 0, clear);
    glClearNamedFramebufferfi(mFramebuffer, GL_DEPTH_STENCIL, 0, 1.0f, 0);
    return VN_OK;
}

VNResultEnum TextureGL::CreateDynamic(uint32_t width, uint32_t height)
{
    mRenderTarget = false;
    mDynamic = true;
    if (const VNResultEnum r = CreateStorage(width, height, GL_RGBA8); r != VN_OK)
        return r;
    mStaging.assign(static_cast<size_t>(width) * height * 4, 0);
    return VN_OK;
}

VNResultEnum TextureGL::Lock(int32_t* pixelCount, int32_t* pitch, void** bits)
{
    if (!mDynamic || !mName || mLocked)
        return VN_FAIL;
    mLocked = true;
    *bits = mStaging.data();
    *pitch = static_cast<int32_t>(mWidth * 4);
    *pixelCount = static_cast<int32_t>(mWidth * mHeight);
    return VN_OK;
}

VNResultEnum TextureGL::Unlock()
{
    if (!mDynamic || !mName || !mLocked)
        return VN_FAIL;
    mLocked = false;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTextureSubImage2D(mName, 0, 0, 0, static_cast<GLsizei>(mWidth), static_cast<GLsizei>(mHeight), GL_BGRA,
                        GL_UNSIGNED_BYTE, mStaging.data());
    return glGetError() == GL_NO_ERROR ? VN_OK : VN_FAIL;
}

} // namespace render
