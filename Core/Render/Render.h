#pragma once

#include "Core/Base/Matrix4.h"
#include "Core/Base/Result.h"
#include "Core/Render/Color.h"
#include "Core/Render/CommandBuffer.h"
#include "Core/Render/GraphicsState.h"
#include "Core/Render/RenderInitParam.h"
#include "Core/Render/RenderTypes.h"

#include <cstdint>
#include <string>
#include <vector>

template <typename T>
class CountedHandle;

namespace app
{
class Window;
}
namespace base
{
class ImageInfo;
}
namespace file
{
class ImageContainer;
}

namespace render
{

class Buffer;
class BufferDoubleCacheBase;
class Image;
class IndexBufferImpl;
class Shader;
class ShaderImpl;
class ShaderTextured;
class Texture;
class VertexBufferImpl;
struct VertexFormat;

// The renderer: drawing code records state changes and draws into the command buffer; Playback hands the
// frame to the back end's Do operations. Nothing reaches the device before Playback, so whatever a record
// points to must stay alive and unchanged until the frame has been played back.
class Render
{
public:
    Render();
    Render(const Render&) = delete;
    Render& operator=(const Render&) = delete;
    // Frees the registries' storage and the command buffer, not the objects in them.
    virtual ~Render();

    // The back end creates its device, then calls this core part.
    virtual VNResultEnum InitRender(app::Window* window, const RenderInitParam& param);
    // Releases device-dependent objects before a screen-mode change.
    virtual VNResultEnum PrepareSwitchScreenMode() = 0;
    virtual VNResultEnum SwitchScreenMode(const RenderInitParam& param) = 0;
    // Orthographic projection of w × h with (0, 0) at the top-left corner.
    virtual VNResultEnum SetOrthoProjection(float width, float height, float ignored, math::Matrix4* out);
    virtual VNResultEnum CreateTexture(Texture** out) = 0;
    // Whether image textures may be decoded after their load, off the main thread (TextureFills); back ends
    // that record what they are given keep the order of a load.
    virtual bool FillsTexturesLater() const { return false; }
    virtual VNResultEnum CreateShader(const std::string& vertexSource, const std::string& pixelSource,
                                      ShaderImpl** out) = 0;
    virtual VNResultEnum CreateGeomShader(ShaderImpl** out) = 0;
    virtual VNResultEnum CreateTexturedMultShader(ShaderImpl** out) = 0;
    virtual VNResultEnum CreateTexturedTintShader(ShaderImpl** out) = 0;
    virtual VNResultEnum CreateVertexBuffer(const VertexFormat& format, uint32_t count, bool dynamic,
                                            VertexBufferImpl** out) = 0;
    virtual VNResultEnum CreateIndexBuffer(uint32_t indexSize, uint32_t count, bool dynamic,
                                           IndexBufferImpl** out) = 0;
    // The device can render this frame.
    virtual bool DoCheckDevice() = 0;
    virtual VNResultEnum DoClear(uint32_t flags, const Color* color, float depth, uint32_t stencil) = 0;
    virtual VNResultEnum DoBeginScene() = 0;
    virtual VNResultEnum DoEndScene() = 0;
    virtual VNResultEnum DoPresent() = 0;
    // Null: the back buffer.
    virtual VNResultEnum DoSetRenderTarget(Texture* target) = 0;
    virtual VNResultEnum DoSetShader(ShaderImpl* shader) = 0;
    virtual VNResultEnum DoSetVertexFormat(uint32_t formatId) = 0;
    virtual VNResultEnum DoSetVertexBuffer(VertexBufferImpl* buffer) = 0;
    virtual VNResultEnum DoSetIndexBuffer(IndexBufferImpl* buffer) = 0;
    virtual VNResultEnum DoSetBlendMode(int32_t mode) = 0;
    virtual VNResultEnum DoSetScissorEnabled(bool on) = 0;
    // x, y, width, height in pixels from the top-left corner of the target.
    virtual VNResultEnum DoSetScissorRect(const uint32_t rect[4]) = 0;
    virtual VNResultEnum DoSetDepth(bool test, bool write) = 0;
    virtual VNResultEnum DoDrawPrimitive(int32_t type, uint32_t firstVertex, uint32_t count) = 0;
    virtual VNResultEnum DoDrawIndexedPrimitive(int32_t type, uint32_t indexSize, uint32_t firstIndex,
                                                uint32_t count, uint32_t minVertex, uint32_t vertexCount) = 0;
    // Runs after the state cache is reset.
    virtual VNResultEnum OnStateReset();
    // A logical rectangle to pixels with the requested state's mapping, truncated.
    virtual VNResultEnum ToPixelRect(const float rect[4], uint32_t out[4]);

    // The frame road: CheckDevice, BeginFrame, Clear, draws, EndFrame, Present, Playback.
    // False when the device cannot render: whatever was recorded is dropped and the caller skips the frame.
    bool CheckDevice();
    VNResultEnum BeginFrame();
    VNResultEnum EndFrame();
    VNResultEnum Present();
    VNResultEnum Playback();
    VNResultEnum Clear(uint32_t flags, const Color* color, float depth, uint32_t stencil);
    VNResultEnum DrawPrimitive(int32_t type, uint32_t firstVertex, uint32_t count);
    VNResultEnum DrawIndexedPrimitive(int32_t type, uint32_t firstIndex, uint32_t count, uint32_t minVertex,
                                      uint32_t vertexCount);
    // Makes a Graphics' state the requested one (nothing when it is the current source and not forced).
    void SetState(const GraphicsState* state, bool force);
    // Takes only the render target and its mapping.
    void SetRenderTargetState(const GraphicsState* state);
    void ResetState();
    void ResetStateCache();

    // The built-in shaders, handed out uncounted: the Render keeps them.
    void GetGeomShader(CountedHandle<Shader>& out);
    void GetTexturedMultShader(CountedHandle<ShaderTextured>& out);
    void GetTexturedTintShader(CountedHandle<ShaderTextured>& out);
    Shader* GetGeomShader() const { return mGeomShader; }
    ShaderTextured* GetTexturedMultShader() const { return mTexturedMultShader; }
    ShaderTextured* GetTexturedTintShader() const { return mTexturedTintShader; }

    // A new Image (owned by the caller) of the named image, from a container or from the file system.
    VNResultEnum LoadTexture(const std::wstring& name, file::ImageContainer* container, Image** out,
                             base::ImageInfo* info);
    // A new render-target image (owned by the caller).
    VNResultEnum CreateRenderTarget(int32_t width, int32_t height, Image** out, bool ownProjection);
    // Loads a shader resource (a folder holding "VS.hlsl" and "PS.hlsl") into out.
    template <typename T>
    VNResultEnum LoadShader(const std::wstring& name, CountedHandle<T>& out);

    void RegisterBuffer(Buffer* b) { mBuffers.push_back(b); }
    void UnregisterBuffer(Buffer* b)
    {
        Unregister(mBuffers, b);
        OnResourceGone(b);
    }
    void RegisterTexture(Texture* t) { mTextures.push_back(t); }
    // A texture going away may be what a sampler holds: every constant is sent again, so a new texture that
    // happens to get the old one's address is still bound.
    void UnregisterTexture(Texture* t);
    void RegisterShaderImpl(ShaderImpl* s) { mShaderImpls.push_back(s); }
    void UnregisterShaderImpl(ShaderImpl* s)
    {
        Unregister(mShaderImpls, s);
        OnResourceGone(s);
    }
    // Called once a texture, buffer or shader left the lists: its address may be handed out again.
    virtual void OnResourceGone(const void*) {}

    VNResultEnum CreateIndexCache(uint32_t size, uint32_t grow, BufferDoubleCacheBase** out, bool wide);
    // Between frames: each cache reshapes its buffers to what the last frame took (run after a played frame).
    void FitCachesToLastFrame();
    // Deletes the caches and the built-in shaders (before the back end releases its device).
    void ReleaseCachesAndShaders();

    // The cache of a vertex format id, or null.
    BufferDoubleCacheBase* GetVertexCache(int32_t formatId) const;
    BufferDoubleCacheBase* GetIndexCache16() const { return mIndexCache16; }
    BufferDoubleCacheBase* GetIndexCache32() const { return mIndexCache32; }

    CommandBuffer& GetCommandBuffer() { return mCommandBuffer; }
    const math::Matrix4& GetProjection() const { return mProjection; }
    const GraphicsState& GetAppliedState() const { return mApplied; }
    const GraphicsState& GetRequestedState() const { return mRequested; }
    bool IsFrameOpen() const { return mFrameOpen; }
    bool IsScissorSupported() const { return mScissorSupported; }
    float GetScaleX() const { return mScaleX; }
    float GetScaleY() const { return mScaleY; }
    float GetOffsetX() const { return mOffsetX; }
    float GetOffsetY() const { return mOffsetY; }
    const std::vector<Buffer*>& GetBuffers() const { return mBuffers; }
    const std::vector<Texture*>& GetTextures() const { return mTextures; }
    const std::vector<ShaderImpl*>& GetShaderImpls() const { return mShaderImpls; }

protected:
    VNResultEnum FlushDraw();
    VNResultEnum CommitState();
    VNResultEnum RecordRenderTarget(bool force = false);
    VNResultEnum PlayRecord(uint32_t opcode, bool& end);
    void SetMapping(const RenderInitParam& param);
    // Forgets what was recorded but not played: the pending draw goes, and the state cache returns to what
    // the device had after the last played frame, so the dropped state records are made again when needed.
    void DropRecorded();
    VNResultEnum BuildProjection(const RenderInitParam& param);

    template <typename T>
    static void Unregister(std::vector<T*>& list, T* item)
    {
        for (auto it = list.begin(); it != list.end(); ++it)
            if (*it == item)
            {
                list.erase(it);
                return;
            }
    }

    // Capabilities the back end fills.
    bool mScissorSupported = false;
    bool mAnisotropicMin = false;
    bool mAnisotropicMag = false;
    bool mIndex32Supported = true;
    // After a render-target change the scissor state is recorded again (the device resets it with the
    // target).
    bool mRerecordScissorOnTargetChange = false;

    GraphicsState mApplied;
    GraphicsState mRequested;
    bool mDirty = true;
    const GraphicsState* mCurrentSource = nullptr;
    Texture* mRecordedTarget = nullptr;
    // The applied state and recorded target as of the end of the last played frame.
    GraphicsState mPlayedState;
    Texture* mPlayedTarget = nullptr;
    // The device took part of a failed frame: the next commit records every state.
    bool mRecordAll = false;
    CommandBuffer mCommandBuffer;
    bool mFrameOpen = false;

    // The pending draw.
    bool mPendingIndexed = false;
    int32_t mPendingType = PrimitiveNone;
    uint32_t mPendingStart = 0;
    uint32_t mPendingCount = 0;
    uint32_t mPendingMinVertex = 0;
    uint32_t mPendingVertexCount = 0;

    math::Matrix4 mProjection{true};
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    float mOffsetX = 0.0f;
    float mOffsetY = 0.0f;

    Shader* mGeomShader = nullptr;
    ShaderTextured* mTexturedMultShader = nullptr;
    ShaderTextured* mTexturedTintShader = nullptr;

    std::vector<BufferDoubleCacheBase*> mVertexCaches;
    BufferDoubleCacheBase* mIndexCache16 = nullptr;
    BufferDoubleCacheBase* mIndexCache32 = nullptr;

    std::vector<Buffer*> mBuffers;
    std::vector<Texture*> mTextures;
    std::vector<ShaderImpl*> mShaderImpls;
};

} // namespace render
