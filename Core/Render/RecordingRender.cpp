#include "Core/Render/RecordingRender.h"

#include "Core/Render/Buffer.h"
#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Render/Texture.h"
#include "Core/Render/VertexFormat.h"

#include <cstdio>
#include <vector>

namespace render
{
namespace
{

std::string Float(float f)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(f));
    return text;
}

template <typename Base>
class MemoryBuffer : public Base
{
public:
    using Base::Base;

    VNResultEnum Lock() override
    {
        if (mData.empty() || this->mLocked)
            return VN_FAIL;
        this->mLockedPointer = mData.data();
        this->mLocked = true;
        this->mUsed = 0;
        return VN_OK;
    }
    VNResultEnum Unlock() override
    {
        if (mData.empty() || !this->mLocked)
            return VN_FAIL;
        mWritten = this->mUsed;
        this->mLocked = false;
        this->mUsed = 0;
        this->mLockedPointer = nullptr;
        return VN_OK;
    }
    VNResultEnum OnResetDevice() override { return VN_OK; }
    VNResultEnum OnLostDevice() override { return VN_OK; }
    VNResultEnum RequireLocked() override { return !mData.empty() && this->mLocked ? VN_OK : VN_FAIL; }

protected:
    VNResultEnum Allocate(uint32_t count, uint32_t stride)
    {
        if (!mData.empty() || count == 0)
            return VN_FAIL;
        this->mCapacity = count;
        this->mStride = stride;
        mData.assign(static_cast<size_t>(count) * stride, 0);
        return VN_OK;
    }
    std::vector<uint8_t> mData;
    uint32_t mWritten = 0;
};

class MemoryVertexBuffer : public MemoryBuffer<VertexBufferImpl>
{
public:
    using MemoryBuffer::MemoryBuffer;
    VNResultEnum Create(const VertexFormat& format, uint32_t count, bool) override
    {
        mFormatId = format.mId;
        return Allocate(count, format.mStride);
    }
};

class MemoryIndexBuffer : public MemoryBuffer<IndexBufferImpl>
{
public:
    using MemoryBuffer::MemoryBuffer;
    VNResultEnum Create(uint32_t indexSize, uint32_t count, bool) override
    {
        if (indexSize != 2 && indexSize != 4)
            return VN_FAIL;
        return Allocate(count, indexSize);
    }
};

class MemoryTexture : public Texture
{
public:
    using Texture::Texture;
    VNResultEnum CreateRenderTarget(uint32_t width, uint32_t height) override { return Size(width, height); }
    VNResultEnum CreateDynamic(uint32_t width, uint32_t height) override { return Size(width, height); }
    VNResultEnum OnResetDevice() override { return VN_OK; }
    VNResultEnum OnLostDevice() override { return VN_OK; }
    VNResultEnum Lock(int32_t*, int32_t*, void**) override { return VN_FAIL; }
    VNResultEnum Unlock() override { return VN_FAIL; }
    VNResultEnum CreateFromPixels(uint32_t width, uint32_t height, int32_t compression, const void* data,
                                  uint32_t size) override
    {
        if (!data || size < TextureLevelSize(width, height, compression))
            return VN_FAIL;
        return Size(width, height);
    }

private:
    VNResultEnum Size(uint32_t width, uint32_t height)
    {
        if (width == 0 || height == 0)
            return VN_FAIL;
        mWidth = width;
        mHeight = height;
        return VN_OK;
    }
};

class RecordingScalar : public ShaderScalarVariableImpl
{
public:
    RecordingScalar(RecordingRender* render, std::string name) : mRender(render), mName(std::move(name)) {}
    VNResultEnum SetMatrix(const math::Matrix4* m) override
    {
        return Out("SetMatrix " + mName + " " + Float(m->m[0]) + " " + Float(m->m[5]));
    }
    VNResultEnum SetPoint4(const math::Point4* p) override
    {
        return Out("SetPoint4 " + mName + " " + Float(p->x) + " " + Float(p->y) + " " + Float(p->z) + " " +
                   Float(p->w));
    }
    VNResultEnum SetPoint3(const math::Point3* p) override
    {
        return Out("SetPoint4 " + mName + " " + Float(p->x) + " " + Float(p->y) + " " + Float(p->z) + " 1");
    }
    VNResultEnum SetPoint2(float x, float y) override
    {
        return Out("SetPoint4 " + mName + " " + Float(x) + " " + Float(y) + " 0 1");
    }
    VNResultEnum SetFloat(float f) override { return Out("SetFloat " + mName + " " + Float(f)); }

private:
    VNResultEnum Out(std::string line)
    {
        mRender->Write(std::move(line));
        return VN_OK;
    }
    RecordingRender* mRender;
    std::string mName;
};

class RecordingTextureVariable : public ShaderTextureVariableImpl
{
public:
    explicit RecordingTextureVariable(RecordingRender* render) : mRender(render) {}
    VNResultEnum SetTexture(Texture* texture) override
    {
        mRender->Write("SetTexture " + mRender->NameOf(texture));
        return VN_OK;
    }

private:
    RecordingRender* mRender;
};

class RecordingShaderImpl : public ShaderImpl
{
public:
    RecordingShaderImpl(RecordingRender* render, std::map<std::string, int> constants)
        : ShaderImpl(render), mRecorder(render), mConstants(std::move(constants))
    {
    }
    ShaderScalarVariableImpl* GetScalarVariable(const std::string& name, int table) override
    {
        const auto it = mConstants.find(name);
        const bool known = it != mConstants.end() && it->second == table;
        return new RecordingScalar(mRecorder, known ? name : "missing:" + name);
    }
    ShaderTextureVariableImpl* GetTextureVariable(const std::string& name) override
    {
        return name == "TextureSampler" ? new RecordingTextureVariable(mRecorder) : nullptr;
    }

private:
    RecordingRender* mRecorder;
    std::map<std::string, int> mConstants;
};

template <typename T>
VNResultEnum Make(T* object, VNResultEnum created, T** out)
{
    if (created != VN_OK)
    {
        delete object;
        return created;
    }
    *out = object;
    return VN_OK;
}

} // namespace

RecordingRender::RecordingRender()
{
    mRerecordScissorOnTargetChange = true;
}

RecordingRender::~RecordingRender()
{
    ReleaseCachesAndShaders();
}

VNResultEnum RecordingRender::InitRender(app::Window* window, const RenderInitParam& param)
{
    mScissorSupported = true;
    return Render::InitRender(window, param);
}

VNResultEnum RecordingRender::PrepareSwitchScreenMode()
{
    return Log("PrepareSwitchScreenMode", "");
}

VNResultEnum RecordingRender::SwitchScreenMode(const RenderInitParam& param)
{
    SetMapping(param);
    if (const VNResultEnum r = BuildProjection(param); r != VN_OK)
        return r;
    ResetStateCache();
    return Log("SwitchScreenMode", std::to_string(param.mWidth) + "x" + std::to_string(param.mHeight));
}

VNResultEnum RecordingRender::CreateTexture(Texture** out)
{
    *out = new MemoryTexture(this);
    return VN_OK;
}

VNResultEnum RecordingRender::CreateShader(const std::string&, const std::string&, ShaderImpl** out)
{
    *out = new RecordingShaderImpl(this, mShaderConstants);
    return VN_OK;
}

VNResultEnum RecordingRender::CreateGeomShader(ShaderImpl** out)
{
    *out = new RecordingShaderImpl(this, {{"Proj", 0}});
    return VN_OK;
}

VNResultEnum RecordingRender::CreateTexturedMultShader(ShaderImpl** out)
{
    *out = new RecordingShaderImpl(this, {{"Proj", 0}});
    return VN_OK;
}

VNResultEnum RecordingRender::CreateTexturedTintShader(ShaderImpl** out)
{
    *out = new RecordingShaderImpl(this, {{"Proj", 0}});
    return VN_OK;
}

VNResultEnum RecordingRender::CreateVertexBuffer(const VertexFormat& format, uint32_t count, bool dynamic,
                                                 VertexBufferImpl** out)
{
    auto* b = new MemoryVertexBuffer(this);
    return Make<VertexBufferImpl>(b, b->Create(format, count, dynamic), out);
}

VNResultEnum RecordingRender::CreateIndexBuffer(uint32_t indexSize, uint32_t count, bool dynamic,
                                                IndexBufferImpl** out)
{
    auto* b = new MemoryIndexBuffer(this);
    return Make<IndexBufferImpl>(b, b->Create(indexSize, count, dynamic), out);
}

bool RecordingRender::DoCheckDevice()
{
    return mDeviceUsable;
}

VNResultEnum RecordingRender::Log(const std::string& op, const std::string& args)
{
    mLog.push_back(args.empty() ? op : op + " " + args);
    if (!mFailOn.empty() && mFailOn == op)
    {
        mFailOn.clear();
        return VN_FAIL;
    }
    return VN_OK;
}

std::string RecordingRender::NameOf(const void* p)
{
    if (!p)
        return "null";
    const auto it = mNames.find(p);
    if (it != mNames.end())
        return it->second;
    char kind = 'X';
    for (Texture* t : mTextures)
        if (t == p)
            kind = 'T';
    for (ShaderImpl* s : mShaderImpls)
        if (s == p)
            kind = 'S';
    for (Buffer* b : mBuffers)
        if (b == p)
            kind = dynamic_cast<IndexBufferImpl*>(b) ? 'I' : 'V';
    const std::string name = std::string(1, kind) + std::to_string(++mNameCounts[kind]);
    mNames[p] = name;
    return name;
}

std::vector<std::string> RecordingRender::TakeLog()
{
    std::vector<std::string> out;
    out.swap(mLog);
    return out;
}

VNResultEnum RecordingRender::DoClear(uint32_t flags, const Color* c, float depth, uint32_t stencil)
{
    return Log("Clear", std::to_string(flags) + " " + Float(c->r) + " " + Float(c->g) + " " + Float(c->b) +
                            " " + Float(c->a) + " " + Float(depth) + " " + std::to_string(stencil));
}

VNResultEnum RecordingRender::DoBeginScene()
{
    return Log("BeginScene", "");
}
VNResultEnum RecordingRender::DoEndScene()
{
    return Log("EndScene", "");
}
VNResultEnum RecordingRender::DoPresent()
{
    return Log("Present", "");
}
VNResultEnum RecordingRender::DoSetRenderTarget(Texture* t)
{
    return Log("SetRenderTarget", NameOf(t));
}
VNResultEnum RecordingRender::DoSetShader(ShaderImpl* s)
{
    return Log("SetShader", NameOf(s));
}

VNResultEnum RecordingRender::DoSetVertexFormat(uint32_t id)
{
    return Log("SetVertexFormat", std::to_string(id));
}
VNResultEnum RecordingRender::DoSetVertexBuffer(VertexBufferImpl* b)
{
    return Log("SetVertexBuffer", NameOf(b));
}
VNResultEnum RecordingRender::DoSetIndexBuffer(IndexBufferImpl* b)
{
    return Log("SetIndexBuffer", NameOf(b));
}
VNResultEnum RecordingRender::DoSetBlendMode(int32_t mode)
{
    return Log("SetBlendMode", std::to_string(mode));
}
VNResultEnum RecordingRender::DoSetScissorEnabled(bool on)
{
    return Log("SetScissorEnabled", on ? "1" : "0");
}

VNResultEnum RecordingRender::DoSetScissorRect(const uint32_t r[4])
{
    return Log("SetScissorRect", std::to_string(r[0]) + " " + std::to_string(r[1]) + " " +
                                     std::to_string(r[2]) + " " + std::to_string(r[3]));
}

VNResultEnum RecordingRender::DoSetDepth(bool test, bool write)
{
    return Log("SetDepth", std::string(test ? "1" : "0") + " " + (write ? "1" : "0"));
}

VNResultEnum RecordingRender::DoDrawPrimitive(int32_t type, uint32_t first, uint32_t count)
{
    return Log("DrawPrimitive",
               std::to_string(type) + " " + std::to_string(first) + " " + std::to_string(count));
}

VNResultEnum RecordingRender::DoDrawIndexedPrimitive(int32_t type, uint32_t size, uint32_t first,
                                                     uint32_t count, uint32_t minVertex, uint32_t vertexCount)
{
    return Log("DrawIndexedPrimitive", std::to_string(type) + " " + std::to_string(size) + " " +
                                           std::to_string(first) + " " + std::to_string(count) + " " +
                                           std::to_string(minVertex) + " " + std::to_string(vertexCount));
}

} // namespace render
