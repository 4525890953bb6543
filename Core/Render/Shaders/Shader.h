#pragma once

#include "Core/Base/Matrix4.h"
#include "Core/Base/Result.h"
#include "Core/Render/Render.h"
#include "Core/Resource/ResourceManager.h"
#include "Core/Resource/Resource.h"

#include <string>

namespace render
{

class Image;
class ShaderImpl;
class Texture;
template <typename T, int N>
class ShaderScalarPointer;
template <int N>
class ShaderTextureVariable;

// A shader pair as a resource: the built-in ones wrap an implementation made by the Render; loaded ones read
// "VS.hlsl" and "PS.hlsl" from the folder that is their name (ending in "/").
class Shader : public resource::Resource
{
public:
    // The form the resource manager creates by name: unloaded, no Render.
    Shader();
    // The built-in form: loaded at once.
    Shader(ShaderImpl* impl, Render* render);
    ~Shader() override;

    VNResultEnum Release() override;
    // 1 for null.
    VNResultEnum SetRender(Render* render);
    // Adds the projection constant "Proj" of the vertex program.
    virtual VNResultEnum SetupVariables();
    // Marks the projection changed when the pointer differs; the matrix must stay unchanged until playback.
    void SetProjection(const math::Matrix4* projection);

    ShaderImpl* GetImpl() const { return mImpl; }
    Render* GetRender() const { return mRender; }

    VNResultEnum DoLoad() override;
    VNResultEnum DoUnload() override;

protected:
    Render* mRender = nullptr;
    ShaderImpl* mImpl = nullptr;
    std::string mProjectionName = "Proj";
    ShaderScalarPointer<math::Matrix4, 1>* mProjection = nullptr;
};

// A shader drawing one texture through the sampler "TextureSampler".
class ShaderTextured : public Shader
{
public:
    ShaderTextured() = default;
    ShaderTextured(ShaderImpl* impl, Render* render) : Shader(impl, render) {}
    ~ShaderTextured() override = default;

    VNResultEnum Release() override;
    VNResultEnum DoUnload() override;
    // Adds "Proj", then the sampler (1 when the pixel program has no such sampler).
    VNResultEnum SetupVariables() override;
    // Marks the sampler changed when the image's device texture differs.
    void SetTexture(const Image* image);
    void SetTexture(Texture* texture);

protected:
    std::string mSamplerName = "TextureSampler";
    ShaderTextureVariable<1>* mSampler = nullptr;
};

template <typename T>
VNResultEnum Render::LoadShader(const std::wstring& name, CountedHandle<T>& out)
{
    CountedHandle<T> handle = resource::ResourceManager::Instance()->template Get<T>(name);
    if (!handle.Get())
        return VN_FAIL;
    if (const VNResultEnum r = handle->SetRender(this); r != VN_OK)
        return r;
    if (const VNResultEnum r = handle->Load(); r != VN_OK)
        return r;
    out = handle;
    return VN_OK;
}

} // namespace render
