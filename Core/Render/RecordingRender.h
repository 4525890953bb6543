#pragma once

#include "Core/Render/Render.h"

#include <map>
#include <string>
#include <vector>

namespace render
{

// A back end that writes down every operation it plays, as text, instead of drawing: command streams are
// tested without a display. Buffers and textures live in memory; shaders know the constants they are given.
class RecordingRender : public Render
{
public:
    RecordingRender();
    ~RecordingRender() override;

    // Runs the core initialisation without a window.
    VNResultEnum InitRender(app::Window* window, const RenderInitParam& param) override;
    VNResultEnum PrepareSwitchScreenMode() override;
    VNResultEnum SwitchScreenMode(const RenderInitParam& param) override;
    VNResultEnum CreateTexture(Texture** out) override;
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

    // The played operations since the last TakeLog, one line each ("SetBlendMode 1", "DrawPrimitive 3 0 2",
    // ...).
    std::vector<std::string> TakeLog();
    void Write(std::string line) { mLog.push_back(std::move(line)); }
    // A name for a pointer in the log ("T1", "S2", "V1", ...), given in order of first appearance.
    std::string NameOf(const void* p);

    // What DoCheckDevice answers.
    bool mDeviceUsable = true;
    // Makes the next played operation of this name fail (empty: none).
    std::string mFailOn;
    // Constants (name → table) each created shader has; "TextureSampler" is its sampler.
    std::map<std::string, int> mShaderConstants{{"Proj", 0}};

    // A released object's name goes with it, so a new one at the same address is not logged under it.
    void OnResourceGone(const void* p) override { mNames.erase(p); }

private:
    VNResultEnum Log(const std::string& op, const std::string& args);

    std::vector<std::string> mLog;
    std::map<const void*, std::string> mNames;
    std::map<char, int> mNameCounts;
};

} // namespace render
