#include "Core/Render/GL/RenderGL.h"

#include "Core/App/Window.h"
#include "Core/Base/Log.h"
#include "Core/Base/Sanitizer.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Render/GL/BufferGL.h"
#include "Core/Render/GL/GLCheck.h"
#include "Core/Render/GL/ShaderImplGL.h"
#include "Core/Render/GL/TextureGL.h"
#include "Core/Render/Shaders/BuiltinShaders.h"
#include "Core/Render/VertexFormat.h"

#include <SDL.h>

#if CORV_ASAN
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#endif

namespace render
{
namespace
{

#if CORV_ASAN
// The GL driver keeps a few bytes per helper thread and is unloaded when the context goes; the
// leak checker then sees memory of an unknown module it cannot attribute. Pinning the driver keeps
// its allocations named, so scripts/lsan.supp can leave the driver's own memory out.
void PinGLDriverForLeakChecks()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) -> int
        {
            const char* name = info->dlpi_name;
            if (name && (std::strstr(name, "_dri.so") || std::strstr(name, "libgallium")))
                dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}
#else
void PinGLDriverForLeakChecks() {}
#endif

void LogLine(const wchar_t* text)
{
    base::LogMessage(*base::MainLog::Instance(), text);
}

// Attribute locations the translated vertex programs read (see VertexInputLocation).
GLuint AttributeLocation(const VertexElement& e, uint32_t texIndex)
{
    switch (e.mUsage)
    {
    case UsagePositionXYZ:
    case UsagePositionXYZW:
        return 0;
    case UsageDiffuse:
        return 1;
    case UsageSpecular:
        return 2;
    case UsageTexCoord:
        return 3 + texIndex;
    case UsageNormal:
        return 11;
    }
    return 15;
}

GLenum PrimitiveMode(int32_t type)
{
    switch (type)
    {
    case PointList:
        return GL_POINTS;
    case LineList:
        return GL_LINES;
    case LineStrip:
        return GL_LINE_STRIP;
    case TriangleStrip:
        return GL_TRIANGLE_STRIP;
    case TriangleFan:
        return GL_TRIANGLE_FAN;
    default:
        return GL_TRIANGLES;
    }
}

uint32_t VertexCount(int32_t type, uint32_t primitives)
{
    switch (type)
    {
    case PointList:
        return primitives;
    case LineList:
        return primitives * 2;
    case LineStrip:
        return primitives + 1;
    case TriangleStrip:
    case TriangleFan:
        return primitives + 2;
    default:
        return primitives * 3;
    }
}

} // namespace

RenderGL::RenderGL()
{
    mRerecordScissorOnTargetChange = true;
}

RenderGL::~RenderGL()
{
    if (mContext)
    {
        SDL_GL_MakeCurrent(static_cast<SDL_Window*>(mNativeWindow), static_cast<SDL_GLContext>(mContext));
        ReleaseCachesAndShaders();
        // GL objects still owned elsewhere are freed while the context exists; their owners delete empty
        // shells.
        for (Buffer* b : mBuffers)
        {
            if (auto* v = dynamic_cast<VertexBufferImplGL*>(b))
                v->ReleaseGL();
            else if (auto* i = dynamic_cast<IndexBufferImplGL*>(b))
                i->ReleaseGL();
        }
        for (Texture* t : mTextures)
            static_cast<TextureGL*>(t)->ReleaseGL();
        for (ShaderImpl* s : mShaderImpls)
            static_cast<ShaderImplGL*>(s)->ReleaseGL();
        mBufferRing.Release();
        glDeleteVertexArrays(static_cast<GLsizei>(std::size(mVertexArrays)), mVertexArrays);
        glDeleteSamplers(1, &mSampler);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
    }
    else
        ReleaseCachesAndShaders();
}

namespace
{
// The version and renderer of the current context, as the player's driver names them.
std::wstring DescribeCurrentContext()
{
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return L"OpenGL " + base::ToWide(version ? version : "?", base::kEncodingUtf8) + L" on " +
           base::ToWide(renderer ? renderer : "?", base::kEncodingUtf8);
}

// Without a 4.5 core context: the newest context the system does give, for the player's message. The
// window's 4.5 core attributes are set back afterwards.
std::wstring ProbeOfferedContext(SDL_Window* window)
{
    struct Try
    {
        int major, minor, profile;
    };
    const Try tries[] = {{4, 4, SDL_GL_CONTEXT_PROFILE_CORE}, {4, 3, SDL_GL_CONTEXT_PROFILE_CORE},
                         {4, 2, SDL_GL_CONTEXT_PROFILE_CORE}, {4, 1, SDL_GL_CONTEXT_PROFILE_CORE},
                         {4, 0, SDL_GL_CONTEXT_PROFILE_CORE}, {3, 3, SDL_GL_CONTEXT_PROFILE_CORE},
                         {3, 2, SDL_GL_CONTEXT_PROFILE_CORE}, {2, 1, 0}};
    std::wstring found;
    for (const Try& t : tries)
    {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, t.major);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, t.minor);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, t.profile);
        SDL_GLContext probe = SDL_GL_CreateContext(window);
        if (probe == nullptr)
            continue;
        if (SDL_GL_MakeCurrent(window, probe) == 0)
            found = DescribeCurrentContext();
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(probe);
        if (!found.empty())
            break;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    return found.empty() ? std::wstring(L"no OpenGL context at all") : found;
}
} // namespace

VNResultEnum RenderGL::InitRender(app::Window* window, const RenderInitParam& param)
{
    if (!window)
        return VN_FAIL;
    mWindow = window;
    return InitRenderOnNativeWindow(window->GetNativeHandle(), param);
}

VNResultEnum RenderGL::InitRenderOnNativeWindow(void* sdlWindow, const RenderInitParam& param)
{
    if (!sdlWindow || mContext)
        return VN_FAIL;
    mNativeWindow = sdlWindow;
    mWidth = param.mWidth;
    mHeight = param.mHeight;
    mWindowed = param.mWindowed;

    SDL_GLContext context = SDL_GL_CreateContext(static_cast<SDL_Window*>(sdlWindow));
    if (!context)
    {
        base::LogMessage(*base::MainLog::Instance(), L"SDL_GL_CreateContext failed: %s\n") %
            base::ToWide(SDL_GetError(), base::kEncodingUtf8);
        mOfferedInstead = ProbeOfferedContext(static_cast<SDL_Window*>(sdlWindow));
        base::LogMessage(*base::MainLog::Instance(), L"OpenGL 4.5 is required; this system offers %s\n") %
            mOfferedInstead;
        return VN_FAIL;
    }
    mContext = context;
    if (SDL_GL_MakeCurrent(static_cast<SDL_Window*>(sdlWindow), context) != 0)
        return VN_FAIL;
    SDL_GL_SetSwapInterval(0);
    PinGLDriverForLeakChecks();
    if (epoxy_gl_version() < 45)
    {
        mOfferedInstead = DescribeCurrentContext();
        base::LogMessage(*base::MainLog::Instance(), L"OpenGL 4.5 is required; this system offers %s\n") %
            mOfferedInstead;
        return VN_FAIL;
    }
    GLint maxTexture = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    base::LogMessage(*base::MainLog::Instance(), L"Max texture Width: %d\n") % maxTexture;
    base::LogMessage(*base::MainLog::Instance(), L"Max texture Height: %d\n") % maxTexture;
    if (!epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc"))
        LogLine(L"GL_EXT_texture_compression_s3tc is missing: DXT textures will fail\n");
    mScissorSupported = true;
    mAnisotropicMin = mAnisotropicMag = epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic") ||
                                        epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic");

    // One vertex array per format; buffers are attached to binding 0 as they are set.
    const auto& formats = GetVertexFormats();
    glCreateVertexArrays(static_cast<GLsizei>(std::size(mVertexArrays)), mVertexArrays);
    for (size_t f = 0; f < formats.size() && f < std::size(mVertexArrays); ++f)
    {
        uint32_t texIndex = 0;
        for (const VertexElement& e : formats[f].mElements)
        {
            const GLuint loc = AttributeLocation(e, texIndex);
            if (e.mUsage == UsageTexCoord)
                ++texIndex;
            glEnableVertexArrayAttrib(mVertexArrays[f], loc);
            if (e.mUsage == UsageDiffuse || e.mUsage == UsageSpecular)
                // 0xAARRGGBB in memory is B, G, R, A: read as BGRA and normalised.
                glVertexArrayAttribFormat(mVertexArrays[f], loc, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE,
                                          e.mOffset);
            else
                glVertexArrayAttribFormat(mVertexArrays[f], loc, static_cast<GLint>(e.mComponents), GL_FLOAT,
                                          GL_FALSE, e.mOffset);
            glVertexArrayAttribBinding(mVertexArrays[f], loc, 0);
        }
    }
    glCreateSamplers(1, &mSampler);

    if (const VNResultEnum r = InitDeviceState(); r != VN_OK)
        return r;
    return Render::InitRender(mWindow, param);
}

VNResultEnum RenderGL::SetFixedState()
{
    // Linear sampling clamped at the edges on unit 0 (Direct3D's anisotropic filter at its default maximum of
    // 1 is linear filtering; textures have one level).
    glSamplerParameteri(mSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(mSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glSamplerParameteri(mSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(mSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindSampler(0, mSampler);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    // While blending, destination alpha becomes source alpha + destination alpha.
    glBlendEquation(GL_FUNC_ADD);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    return glGetError() == GL_NO_ERROR ? VN_OK : VN_FAIL;
}

VNResultEnum RenderGL::InitDeviceState()
{
    LogLine(L"RenderGL::InitDeviceState()\n");
    mTarget = nullptr;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ApplyTargetState();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapWindow(static_cast<SDL_Window*>(mNativeWindow));
    if (const VNResultEnum r = SetFixedState(); r != VN_OK)
        return r;
    mShader = nullptr;
    mFormatId = -1;
    mVertexBuffer = nullptr;
    mIndexBuffer = nullptr;
    glUseProgram(0);
    ResetState();
    mCurrentSource = nullptr;
    return VN_OK;
}

void RenderGL::ApplyTargetState()
{
    const uint32_t w = mTarget ? mTarget->GetWidth() : mWidth;
    const uint32_t h = mTarget ? mTarget->GetHeight() : mHeight;
    mTargetHeight = h;
    glViewport(0, 0, static_cast<GLsizei>(w), static_cast<GLsizei>(h));
    // Direct3D resets the scissor rectangle to the whole target with the target.
    mScissor[0] = mScissor[1] = 0;
    mScissor[2] = w;
    mScissor[3] = h;
    ApplyScissorRect();
    // Direct3D 9 has pixel centres at integer coordinates, GL at half-integers: shift by half a pixel.
    // Targets are drawn upside down in GL terms so that they are stored top-down; that mirrors the winding,
    // so culling of the on-screen counter-clockwise triangles needs the opposite front face there.
    const float sx = w ? 1.0f / static_cast<float>(w) : 0.0f;
    const float sy = h ? 1.0f / static_cast<float>(h) : 0.0f;
    mPixelAdjust[0] = sx;
    mPixelAdjust[1] = mTarget ? sy : -sy;
    mPixelAdjust[2] = mTarget ? -1.0f : 1.0f;
    glFrontFace(mTarget ? GL_CCW : GL_CW);
    if (mShader)
        mShader->ApplyPixelAdjust(mPixelAdjust);
}

void RenderGL::ApplyScissorRect()
{
    const auto x = static_cast<GLint>(mScissor[0]);
    const auto w = static_cast<GLsizei>(mScissor[2]);
    const auto h = static_cast<GLsizei>(mScissor[3]);
    // The back buffer's rows run bottom-up in GL; targets are stored top-down.
    const GLint y = mTarget ? static_cast<GLint>(mScissor[1])
                            : static_cast<GLint>(mTargetHeight) - static_cast<GLint>(mScissor[1]) - h;
    glScissor(x, y, w, h);
}

void RenderGL::LostDevice()
{
    LogLine(L"RenderGL::LostDevice()\n");
    mCommandBuffer.Seek(0, 0);
    for (Buffer* b : mBuffers)
        b->OnLostDevice();
    for (Texture* t : mTextures)
        t->OnLostDevice();
    for (ShaderImpl* s : mShaderImpls)
        s->OnLostDevice();
}

VNResultEnum RenderGL::ResetDevice()
{
    LogLine(L"RenderGL::ResetDevice()\n");
    // A GL context survives mode switches and focus loss: the reset only restores our own state.
    LogLine(L"\tGL_OK\n");
    for (Buffer* b : mBuffers)
        if (const VNResultEnum r = b->OnResetDevice(); r != VN_OK)
            return r;
    for (Texture* t : mTextures)
        if (const VNResultEnum r = t->OnResetDevice(); r != VN_OK)
            return r;
    for (ShaderImpl* s : mShaderImpls)
        if (const VNResultEnum r = s->OnResetDevice(); r != VN_OK)
            return r;
    // A failing re-initialisation is passed on: the device is not usable then.
    return InitDeviceState();
}

VNResultEnum RenderGL::PrepareSwitchScreenMode()
{
    LostDevice();
    return VN_OK;
}

VNResultEnum RenderGL::SwitchScreenMode(const RenderInitParam& param)
{
    mWindowed = param.mWindowed;
    mWidth = param.mWidth;
    mHeight = param.mHeight;
    SetMapping(param);
    if (const VNResultEnum r = BuildProjection(param); r != VN_OK)
        return r;
    return ResetDevice();
}

bool RenderGL::DoCheckDevice()
{
    auto* window = static_cast<SDL_Window*>(mNativeWindow);
    const Uint32 flags = window ? SDL_GetWindowFlags(window) : 0;
    const bool minimized = (flags & SDL_WINDOW_MINIMIZED) != 0;
    const bool active = (flags & SDL_WINDOW_INPUT_FOCUS) != 0;
    const bool usable = mWindowed ? !minimized : active;
    if (!usable)
    {
        if (mWindowed)
            return false;
        if (!mDeviceLost)
        {
            LostDevice();
            mDeviceLost = true;
            return false;
        }
        SDL_Delay(100);
        return false;
    }
    if (mDeviceLost)
    {
        // The frame after a reset is skipped, as after a device reset.
        if (ResetDevice() == VN_OK)
            mDeviceLost = false;
        return false;
    }
    return true;
}

VNResultEnum RenderGL::DoClear(uint32_t flags, const Color* color, float depth, uint32_t stencil)
{
    GLbitfield mask = 0;
    if (flags & ClearColor)
    {
        const Color c = color ? *color : Color();
        // Direct3D clears with the colour packed to bytes.
        glClearColor(
            static_cast<float>(Color::ToByte(c.r)) / 255.0f, static_cast<float>(Color::ToByte(c.g)) / 255.0f,
            static_cast<float>(Color::ToByte(c.b)) / 255.0f, static_cast<float>(Color::ToByte(c.a)) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & ClearDepth)
    {
        glClearDepth(depth);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & ClearStencil)
    {
        glClearStencil(static_cast<GLint>(stencil));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    // A clear writes depth whatever the depth-write state is.
    GLboolean depthWrite = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrite);
    glDepthMask(GL_TRUE);
    glClear(mask);
    glDepthMask(depthWrite);
    return VN_OK;
}

VNResultEnum RenderGL::DoBeginScene()
{
    return VN_OK;
}
VNResultEnum RenderGL::DoEndScene()
{
    // Every draw of the frame is issued: the buffer region it wrote is reused only once they are done.
    mBufferRing.Close();
    return VN_OK;
}

VNResultEnum RenderGL::DoPresent()
{
    SDL_GL_SwapWindow(static_cast<SDL_Window*>(mNativeWindow));
    const GLenum e = glGetError();
    if (e == GL_NO_ERROR)
        return VN_OK;
    LogLine(L"mDevice->Present failed\n");
    if (e == GL_OUT_OF_MEMORY)
        LogLine(L"\tE_OUTOFMEMORY\n");
    return VN_FAIL;
}

VNResultEnum RenderGL::DoSetRenderTarget(Texture* target)
{
    auto* t = static_cast<TextureGL*>(target);
    if (t && !t->GetFramebuffer())
        return VN_FAIL;
    mTarget = t;
    glBindFramebuffer(GL_FRAMEBUFFER, t ? t->GetFramebuffer() : 0);
    ApplyTargetState();
    return VN_OK;
}

VNResultEnum RenderGL::DoSetShader(ShaderImpl* shader)
{
    mShader = static_cast<ShaderImplGL*>(shader);
    glUseProgram(mShader ? mShader->GetProgram() : 0);
    if (mShader)
        mShader->ApplyPixelAdjust(mPixelAdjust);
    return VN_OK;
}

VNResultEnum RenderGL::DoSetVertexFormat(uint32_t formatId)
{
    if (formatId >= GetVertexFormats().size() || formatId >= std::size(mVertexArrays))
        return VN_FAIL;
    mFormatId = static_cast<int32_t>(formatId);
    const GLuint vao = mVertexArrays[formatId];
    glBindVertexArray(vao);
    // Buffers belong to the vertex array in GL: carry the current ones over.
    if (mVertexBuffer && mVertexBuffer->GetFormatId() == mFormatId)
        glVertexArrayVertexBuffer(vao, 0, mVertexBuffer->GetName(), 0,
                                  static_cast<GLsizei>(mVertexBuffer->GetStride()));
    glVertexArrayElementBuffer(vao, mIndexBuffer ? mIndexBuffer->GetName() : 0);
    return VN_OK;
}

VNResultEnum RenderGL::DoSetVertexBuffer(VertexBufferImpl* buffer)
{
    mVertexBuffer = static_cast<VertexBufferImplGL*>(buffer);
    if (mFormatId >= 0)
        glVertexArrayVertexBuffer(mVertexArrays[mFormatId], 0, mVertexBuffer ? mVertexBuffer->GetName() : 0,
                                  0, mVertexBuffer ? static_cast<GLsizei>(mVertexBuffer->GetStride()) : 16);
    return VN_OK;
}

VNResultEnum RenderGL::DoSetIndexBuffer(IndexBufferImpl* buffer)
{
    mIndexBuffer = static_cast<IndexBufferImplGL*>(buffer);
    if (mFormatId >= 0)
        glVertexArrayElementBuffer(mVertexArrays[mFormatId], mIndexBuffer ? mIndexBuffer->GetName() : 0);
    return VN_OK;
}

VNResultEnum RenderGL::DoSetBlendMode(int32_t mode)
{
    switch (mode)
    {
    case BlendNone:
        glDisable(GL_BLEND);
        break;
    case BlendAlpha:
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE);
        break;
    case BlendAdditive:
        glEnable(GL_BLEND);
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE, GL_ONE, GL_ONE);
        break;
    default:
        break; // other modes set nothing
    }
    return VN_OK;
}

VNResultEnum RenderGL::DoSetScissorEnabled(bool on)
{
    if (!mScissorSupported)
        return VN_OK;
    if (on)
        glEnable(GL_SCISSOR_TEST);
    else
        glDisable(GL_SCISSOR_TEST);
    return VN_OK;
}

VNResultEnum RenderGL::DoSetScissorRect(const uint32_t rect[4])
{
    if (!mScissorSupported)
        return VN_OK;
    for (int i = 0; i < 4; ++i)
        mScissor[i] = rect[i];
    ApplyScissorRect();
    return VN_OK;
}

VNResultEnum RenderGL::DoSetDepth(bool test, bool write)
{
    if (test)
    {
        glEnable(GL_DEPTH_TEST);
        glDepthMask(write ? GL_TRUE : GL_FALSE);
    }
    else
        glDisable(GL_DEPTH_TEST);
    return VN_OK;
}

VNResultEnum RenderGL::DoDrawPrimitive(int32_t type, uint32_t firstVertex, uint32_t count)
{
    if (mFormatId < 0 || !mVertexBuffer)
        return VN_FAIL;
    glDrawArrays(PrimitiveMode(type), static_cast<GLint>(mVertexBuffer->GetRegionStart() + firstVertex),
                 static_cast<GLsizei>(VertexCount(type, count)));
    return VN_OK;
}

VNResultEnum RenderGL::DoDrawIndexedPrimitive(int32_t type, uint32_t, uint32_t firstIndex, uint32_t count,
                                              uint32_t minVertex, uint32_t vertexCount)
{
    if (mFormatId < 0 || !mVertexBuffer || !mIndexBuffer)
        return VN_FAIL;
    const uint32_t size = mIndexBuffer->GetIndexSize();
    const GLuint last = vertexCount ? minVertex + vertexCount - 1 : minVertex;
    // Both buffers are read in the region their last lock wrote; indices stay relative to the vertex region.
    const uintptr_t indexOffset =
        (static_cast<uintptr_t>(mIndexBuffer->GetRegionStart()) + firstIndex) * static_cast<uintptr_t>(size);
    glDrawRangeElementsBaseVertex(
        PrimitiveMode(type), minVertex, last, static_cast<GLsizei>(VertexCount(type, count)),
        size == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT, reinterpret_cast<const void*>(indexOffset),
        static_cast<GLint>(mVertexBuffer->GetRegionStart()));
    return VN_OK;
}

VNResultEnum RenderGL::CreateTexture(Texture** out)
{
    *out = new TextureGL(this);
    return VN_OK;
}

VNResultEnum RenderGL::CreateShader(const std::string& vertexSource, const std::string& pixelSource,
                                    ShaderImpl** out)
{
    auto* impl = new ShaderImplGL(this);
    if (const VNResultEnum r = impl->Create(vertexSource, pixelSource); r != VN_OK)
    {
        delete impl;
        return r;
    }
    *out = impl;
    return VN_OK;
}

VNResultEnum RenderGL::CreateShaderPair(const char* vertex, const char* pixel, ShaderImpl** out)
{
    return CreateShader(vertex, pixel, out);
}

VNResultEnum RenderGL::CreateGeomShader(ShaderImpl** out)
{
    return CreateShaderPair(gVertexShaderGeomText, gPixelShaderGeomText, out);
}

VNResultEnum RenderGL::CreateTexturedMultShader(ShaderImpl** out)
{
    return CreateShaderPair(gVertexShaderTexturedMultText, gPixelShaderTexturedMultText, out);
}

VNResultEnum RenderGL::CreateTexturedTintShader(ShaderImpl** out)
{
    return CreateShaderPair(gVertexShaderTexturedTintText, gPixelShaderTexturedTintText, out);
}

VNResultEnum RenderGL::CreateVertexBuffer(const VertexFormat& format, uint32_t count, bool dynamic,
                                          VertexBufferImpl** out)
{
    auto* b = new VertexBufferImplGL(this, &mBufferRing);
    if (const VNResultEnum r = b->Create(format, count, dynamic); r != VN_OK)
    {
        delete b;
        return r;
    }
    *out = b;
    return VN_OK;
}

VNResultEnum RenderGL::CreateIndexBuffer(uint32_t indexSize, uint32_t count, bool dynamic,
                                         IndexBufferImpl** out)
{
    auto* b = new IndexBufferImplGL(this, &mBufferRing);
    if (const VNResultEnum r = b->Create(indexSize, count, dynamic); r != VN_OK)
    {
        delete b;
        return r;
    }
    *out = b;
    return VN_OK;
}

} // namespace render
