#include "Source/TD/Units/TMobShader.h"

#include "Core/Render/Shaders/ShaderImpl.h"
#include "Core/Resource/ResourceManager.h"

VNResultEnum TMobShader::Release()
{
    return resource::ResourceManager::Instance()->Release<TMobShader>(this);
}

VNResultEnum TMobShader::DoUnload()
{
    mColor2 = nullptr;
    return ShaderTextured::DoUnload();
}

VNResultEnum TMobShader::SetupVariables()
{
    if (!mImpl)
        return VN_FAIL;
    mColor2 = nullptr;
    if (const VNResultEnum r = mImpl->AddVariable("color2", render::ShaderImpl::kPixelTable, &mColor2);
        r != VN_OK)
        return r;
    return ShaderTextured::SetupVariables();
}

void TMobShader::setColor2(const math::Point4& color)
{
    mColor2Value = color;
    if (mColor2)
        mColor2->Set(color);
}
