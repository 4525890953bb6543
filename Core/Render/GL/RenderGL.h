#pragma once

#include "Core/Render/GL/BufferGL.h"
#include "Core/Render/Render.h"

namespace render
{

class ShaderImplGL;
class TextureGL;
class VertexBufferImplGL;
class IndexBufferImplGL;

// The OpenGL 4.5 core back end: creates a context on the application's SDL window, plays the command records
// and presents with vsync off. It reproduces the Direct3D 9 conventions the engine was written for: top-left
// pixel centres at integer coordinates, culling of counter-clockwise triangles, top-down render targets,
// scissor rectangles from the top-left corner, and viewport and scissor reset with every render-target
// change.
class RenderGL : public Render
{
public:
    RenderGL();
    ~RenderGL() override;

    // Uses window->GetNativeHandle() (an SDL window made with the GL attributes 4.5 core, depth 24, stencil
    // 8).
    VNResultEnum InitRender(app::Window* window, const RenderInitParam& param) override;
    // The same on a bare SDL window (tools and tests without an app::Window).
    VNResultEnum InitRenderOnNativeWindow(void* sdlWindow, const RenderInitParam& param);
    VNResultEnum PrepareSwitchScreenMode() override;
    VNResultEnum SwitchScreenMode(const RenderInitParam& param) override;
    VNResultEnum CreateTexture(Texture** out) override;
    bool FillsTexturesLater() const override { return true; }
    VNResultEnum CreateShader(const std::string& vertexSource, const std::string& pixelSource,
                              ShaderImpl** out) override;
    VNResultEnum CreateGeomShader(ShaderImpl** out) override;
    VNResultEnum CreateTexturedMultShader(ShaderImpl** out) override;
    VNResultEnum CreateTexturedTintShader(ShaderImpl** out) override;
    VNResultEnum CreateVertexBuffer(const VertexFormat& format, uint32_t count, bool dynamic,
                                    VertexBufferImpl** out) override;
    VNResultEnum CreateIndexBuffer(uint32_t indexSize, uint32_t count, bool dynamic,
                                   IndexBufferImpl** out) override;
    bool DoCheckDevice() override;
    VNResultEnum DoClear(uint32_t flags, const Color* color, float depth, uint32_t stencil) override;
    VNResultEnum DoBeginScene() override;
    VNResultEnum DoEndScene() override;
    VNResultEnum DoPresent() override;
    VNResultEnum DoSetRenderTarget(Texture* target) override;
    VNResultEnum DoSetShader(ShaderImpl* shader) override;
    VNResultEnum DoSetVertexFormat(uint32_t formatId) override;
    VNResultEnum DoSetVertexBuffer(VertexBufferImpl* buffer) override;
    VNResultEnum DoSetIndexBuffer(IndexBufferImpl* buffer) override;
    VNResultEnum DoSetBlendMode(int32_t mode) override;
    VNResultEnum DoSetScissorEnabled(bool on) override;
    VNResultEnum DoSetScissorRect(const uint32_t rect[4]) override;
    VNResultEnum DoSetDepth(bool test, bool write) override;
    VNResultEnum DoDrawPrimitive(int32_t type, uint32_t firstVertex, uint32_t count) override;
    VNResultEnum DoDrawIndexedPrimitive(int32_t type, uint32_t indexSize, uint32_t firstIndex, uint32_t count,
                                        uint32_t minVertex, uint32_t vertexCount) override;

    bool IsDeviceLost() const { return mDeviceLost; }
    // After an InitRender that failed because the system has no OpenGL 4.5: what it offers instead
    // (e.g. "OpenGL 3.3 (Core Profile) Mesa 22.3.6 on llvmpipe"); empty otherwise.
    const std::wstring& GetOfferedInstead() const { return mOfferedInstead; }
    uint32_t GetWidth() const { return mWidth; }
    uint32_t GetHeight() const { return mHeight; }

private:
    VNResultEnum InitDeviceState();
    VNResultEnum SetFixedState();
    void LostDevice();
    VNResultEnum ResetDevice();
    VNResultEnum CreateShaderPair(const char* vertex, const char* pixel, ShaderImpl** out);
    void ApplyTargetState();
    void ApplyScissorRect();

    app::Window* mWindow = nullptr;
    void* mNativeWindow = nullptr;
    void* mContext = nullptr;
    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    bool mWindowed = false;
    bool mDeviceLost = false;
    std::wstring mOfferedInstead;

    BufferRingGL mBufferRing;
    unsigned mVertexArrays[8] = {};
    unsigned mSampler = 0;
    int32_t mFormatId = -1;
    VertexBufferImplGL* mVertexBuffer = nullptr;
    IndexBufferImplGL* mIndexBuffer = nullptr;
    ShaderImplGL* mShader = nullptr;
    TextureGL* mTarget = nullptr;
    uint32_t mTargetHeight = 0;
    uint32_t mScissor[4] = {};
    // x, y: clip-space shift per w that puts pixel centres where Direct3D 9 has them; z: y sign (−1 in
    // targets).
    float mPixelAdjust[4] = {0, 0, 1, 0};
};

} // namespace render
