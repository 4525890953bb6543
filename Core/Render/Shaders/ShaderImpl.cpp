#include "Core/Render/Shaders/ShaderImpl.h"

#include "Core/Render/Render.h"

namespace render
{

void ShaderVariable::SetChanged(bool changed)
{
    mChanged = changed;
    if (mOwner)
        mOwner->SetDirty(true);
}

ShaderImpl::ShaderImpl(Render* render) : mRender(render)
{
    if (mRender)
        mRender->RegisterShaderImpl(this);
}

ShaderImpl::~ShaderImpl()
{
    for (ShaderVariable* v : mVariables)
        delete v;
    if (mRender)
        mRender->UnregisterShaderImpl(this);
}

VNResultEnum ShaderImpl::OnResetDevice()
{
    MarkAllChanged();
    return VN_OK;
}

VNResultEnum ShaderImpl::OnLostDevice()
{
    return VN_OK;
}
VNResultEnum ShaderImpl::OnBind()
{
    return VN_OK;
}

VNResultEnum ShaderImpl::OnUnbind()
{
    MarkAllChanged();
    return VN_OK;
}

VNResultEnum ShaderImpl::Append(ShaderVariable* v)
{
    // Indices travel as one byte.
    if (mVariables.size() >= 255)
    {
        delete v;
        return VN_FAIL;
    }
    mVariables.push_back(v);
    SetDirty(true);
    return VN_OK;
}

VNResultEnum ShaderImpl::AddVariable(const std::string& name, int table,
                                     ShaderScalarVariable<math::Point4, 1>** out)
{
    ShaderScalarVariableImpl* setter = GetScalarVariable(name, table);
    if (!setter)
        return VN_FAIL;
    auto* v = new ShaderScalarVariable<math::Point4, 1>(this, setter);
    if (Append(v) != VN_OK)
        return VN_FAIL;
    *out = v;
    return VN_OK;
}

VNResultEnum ShaderImpl::AddVariable(const std::string& name, ShaderScalarPointer<math::Matrix4, 1>** out)
{
    ShaderScalarVariableImpl* setter = GetScalarVariable(name, kVertexTable);
    if (!setter)
        return VN_FAIL;
    auto* v = new ShaderScalarPointer<math::Matrix4, 1>(this, setter);
    if (Append(v) != VN_OK)
        return VN_FAIL;
    *out = v;
    return VN_OK;
}

VNResultEnum ShaderImpl::AddVariable(const std::string& name, ShaderTextureVariable<1>** out)
{
    ShaderTextureVariableImpl* setter = GetTextureVariable(name);
    if (!setter)
        return VN_FAIL;
    auto* v = new ShaderTextureVariable<1>(this, setter);
    if (Append(v) != VN_OK)
        return VN_FAIL;
    *out = v;
    return VN_OK;
}

void ShaderImpl::MarkAllChanged()
{
    for (ShaderVariable* v : mVariables)
        v->SetChanged(true);
}

VNResultEnum ShaderImpl::RecordVariables(CommandBuffer& stream)
{
    uint8_t count = 0;
    for (ShaderVariable* v : mVariables)
        if (v->IsChanged())
            ++count;
    if (stream.WriteU8(count) != VN_OK)
        return VN_FAIL;
    for (size_t i = 0; i < mVariables.size(); ++i)
    {
        if (!mVariables[i]->IsChanged())
            continue;
        if (stream.WriteU8(static_cast<uint8_t>(i)) != VN_OK || mVariables[i]->WriteValue(stream) != VN_OK)
            return VN_FAIL;
    }
    mDirty = false;
    return VN_OK;
}

VNResultEnum ShaderImpl::PlayVariables(CommandBuffer& stream)
{
    uint8_t count = 0;
    if (stream.ReadU8(count) != VN_OK)
        return VN_FAIL;
    for (uint8_t k = 0; k < count; ++k)
    {
        uint8_t index = 0;
        if (stream.ReadU8(index) != VN_OK || index >= mVariables.size())
            return VN_FAIL;
        if (const VNResultEnum r = mVariables[index]->ReadValue(stream); r != VN_OK)
            return r;
    }
    return VN_OK;
}

} // namespace render
