#include "Core/Render/Shaders/Shader.h"

#include "Core/File/ReadFile.h"
#include "Core/Render/Image.h"
#include "Core/Render/Shaders/ShaderImpl.h"

namespace render
{

Shader::Shader() = default;

Shader::Shader(ShaderImpl* impl, Render* render) : mRender(render), mImpl(impl)
{
    mLoaded = true;
}

Shader::~Shader()
{
    delete mImpl;
}

VNResultEnum Shader::Release()
{
    return resource::ResourceManager::Instance()->Release<Shader>(this);
}

VNResultEnum Shader::SetRender(Render* render)
{
    if (!render)
        return VN_FAIL;
    mRender = render;
    return VN_OK;
}

VNResultEnum Shader::DoLoad()
{
    if (!mRender)
        return VN_FAIL;
    const std::string pixel = base::ReadTextFile(mName + L"PS.hlsl");
    const std::string vertex = base::ReadTextFile(mName + L"VS.hlsl");
    ShaderImpl* impl = nullptr;
    if (const VNResultEnum r = mRender->CreateShader(vertex, pixel, &impl); r != VN_OK)
        return r;
    mImpl = impl;
    if (const VNResultEnum r = SetupVariables(); r != VN_OK)
    {
        DoUnload();
        return r;
    }
    return VN_OK;
}

VNResultEnum Shader::DoUnload()
{
    delete mImpl;
    mImpl = nullptr;
    mProjection = nullptr;
    return VN_OK;
}

VNResultEnum Shader::SetupVariables()
{
    if (!mImpl)
        return VN_FAIL;
    return mImpl->AddVariable(mProjectionName, &mProjection);
}

void Shader::SetProjection(const math::Matrix4* projection)
{
    if (mProjection)
        mProjection->Set(projection);
}

VNResultEnum ShaderTextured::Release()
{
    return resource::ResourceManager::Instance()->Release<ShaderTextured>(this);
}

VNResultEnum ShaderTextured::DoUnload()
{
    mSampler = nullptr;
    return Shader::DoUnload();
}

VNResultEnum ShaderTextured::SetupVariables()
{
    mSampler = nullptr;
    if (const VNResultEnum r = Shader::SetupVariables(); r != VN_OK)
        return r;
    return mImpl->AddVariable(mSamplerName, &mSampler);
}

void ShaderTextured::SetTexture(const Image* image)
{
    SetTexture(image ? image->GetTexture() : nullptr);
}

void ShaderTextured::SetTexture(Texture* texture)
{
    if (mSampler)
        mSampler->Set(texture);
}

} // namespace render
