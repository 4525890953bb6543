#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Base/Matrix4.h"
#include "Core/Base/Result.h"
#include "Core/Render/CommandBuffer.h"

#include <string>

namespace render
{

class ShaderImpl;
class Texture;

// The back end's setter of one scalar constant.
class ShaderScalarVariableImpl
{
public:
    virtual ~ShaderScalarVariableImpl() = default;
    virtual VNResultEnum SetMatrix(const math::Matrix4* m) = 0;
    virtual VNResultEnum SetPoint4(const math::Point4* p) = 0;
    // (x, y, z, 1).
    virtual VNResultEnum SetPoint3(const math::Point3* p) = 0;
    // (x, y, 0, 1).
    virtual VNResultEnum SetPoint2(float x, float y) = 0;
    virtual VNResultEnum SetFloat(float f) = 0;
};

// The back end's setter of one sampler.
class ShaderTextureVariableImpl
{
public:
    virtual ~ShaderTextureVariableImpl() = default;
    virtual VNResultEnum SetTexture(Texture* texture) = 0;
};

// A shader constant whose value travels through the command buffer; owned by its implementation's list, whose
// index is the variable's index in the records.
class ShaderVariable
{
public:
    explicit ShaderVariable(ShaderImpl* owner) : mOwner(owner) {}
    ShaderVariable(const ShaderVariable&) = delete;
    ShaderVariable& operator=(const ShaderVariable&) = delete;
    virtual ~ShaderVariable() = default;

    virtual VNResultEnum WriteValue(CommandBuffer& stream) = 0;
    virtual VNResultEnum ReadValue(CommandBuffer& stream) = 0;

    // Sets the changed flag and marks the implementation dirty.
    void SetChanged(bool changed);
    bool IsChanged() const { return mChanged; }
    ShaderImpl* GetOwner() const { return mOwner; }

protected:
    ShaderImpl* mOwner;
    bool mChanged = true;
};

template <typename T, int N>
class ShaderScalarVariable;

// A four-float constant; its 16 value bytes are recorded.
template <>
class ShaderScalarVariable<math::Point4, 1> : public ShaderVariable
{
public:
    ShaderScalarVariable(ShaderImpl* owner, ShaderScalarVariableImpl* setter)
        : ShaderVariable(owner), mSetter(setter)
    {
    }
    ~ShaderScalarVariable() override { delete mSetter; }

    // Stores the value and marks it changed when it differs.
    void Set(const math::Point4& value)
    {
        if (value == mValue)
            return;
        mValue = value;
        SetChanged(true);
    }
    const math::Point4& Get() const { return mValue; }

    VNResultEnum WriteValue(CommandBuffer& stream) override
    {
        return stream.WriteExact(&mValue, sizeof mValue);
    }
    VNResultEnum ReadValue(CommandBuffer& stream) override
    {
        math::Point4 v;
        if (stream.ReadExact(&v, sizeof v) != VN_OK)
            return VN_FAIL;
        return mSetter->SetPoint4(&v);
    }

private:
    ShaderScalarVariableImpl* mSetter;
    math::Point4 mValue;
};

template <typename T, int N>
class ShaderScalarPointer;

// A matrix constant sent by pointer: the matrix must stay unchanged until the frame has been played back.
template <>
class ShaderScalarPointer<math::Matrix4, 1> : public ShaderVariable
{
public:
    ShaderScalarPointer(ShaderImpl* owner, ShaderScalarVariableImpl* setter)
        : ShaderVariable(owner), mSetter(setter)
    {
    }
    ~ShaderScalarPointer() override { delete mSetter; }

    void Set(const math::Matrix4* value)
    {
        if (value == mValue)
            return;
        mValue = value;
        SetChanged(true);
    }
    const math::Matrix4* Get() const { return mValue; }

    VNResultEnum WriteValue(CommandBuffer& stream) override { return stream.WritePointer(mValue); }
    VNResultEnum ReadValue(CommandBuffer& stream) override
    {
        const math::Matrix4* m = nullptr;
        if (stream.ReadPointer(m) != VN_OK)
            return VN_FAIL;
        // A projection never set yet has nothing to send.
        return m ? mSetter->SetMatrix(m) : VN_OK;
    }

private:
    ShaderScalarVariableImpl* mSetter;
    const math::Matrix4* mValue = nullptr;
};

template <int N>
class ShaderTextureVariable;

// A sampler's texture, sent by pointer.
template <>
class ShaderTextureVariable<1> : public ShaderVariable
{
public:
    ShaderTextureVariable(ShaderImpl* owner, ShaderTextureVariableImpl* setter)
        : ShaderVariable(owner), mSetter(setter)
    {
    }
    ~ShaderTextureVariable() override { delete mSetter; }

    void Set(Texture* value)
    {
        if (value == mValue)
            return;
        mValue = value;
        SetChanged(true);
    }
    Texture* Get() const { return mValue; }

    VNResultEnum WriteValue(CommandBuffer& stream) override { return stream.WritePointer(mValue); }
    VNResultEnum ReadValue(CommandBuffer& stream) override
    {
        Texture* t = nullptr;
        if (stream.ReadPointer(t) != VN_OK)
            return VN_FAIL;
        return mSetter->SetTexture(t);
    }

private:
    ShaderTextureVariableImpl* mSetter;
    Texture* mValue = nullptr;
};

} // namespace render
