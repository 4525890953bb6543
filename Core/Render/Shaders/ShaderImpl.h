#pragma once

#include "Core/Base/Result.h"
#include "Core/Render/Shaders/ShaderVariable.h"

#include <string>
#include <vector>

namespace render
{

class Render;

// A linked vertex + pixel program of the back end with its recorded variables; registered with its Render.
class ShaderImpl
{
public:
    // Table numbers of GetScalarVariable.
    static constexpr int kVertexTable = 0;
    static constexpr int kPixelTable = 1;

    explicit ShaderImpl(Render* render);
    ShaderImpl(const ShaderImpl&) = delete;
    ShaderImpl& operator=(const ShaderImpl&) = delete;
    virtual ~ShaderImpl();

    // A reset device has none of the constants: all are sent again.
    virtual VNResultEnum OnResetDevice();
    virtual VNResultEnum OnLostDevice();
    virtual VNResultEnum OnBind();
    // Another program takes over the device: all constants are sent again when this one returns.
    virtual VNResultEnum OnUnbind();
    // The setter of a scalar constant of one table, or null.
    virtual ShaderScalarVariableImpl* GetScalarVariable(const std::string& name, int table) = 0;
    // The setter of a sampler of the pixel program, or null when there is none of that name.
    virtual ShaderTextureVariableImpl* GetTextureVariable(const std::string& name) = 0;

    VNResultEnum AddVariable(const std::string& name, int table, ShaderScalarVariable<math::Point4, 1>** out);
    VNResultEnum AddVariable(const std::string& name, ShaderScalarPointer<math::Matrix4, 1>** out);
    VNResultEnum AddVariable(const std::string& name, ShaderTextureVariable<1>** out);

    void MarkAllChanged();
    // Writes the count of changed variables, then index and value of each; clears the dirty flag.
    VNResultEnum RecordVariables(CommandBuffer& stream);
    // Reads what RecordVariables wrote and hands each value to its setter.
    VNResultEnum PlayVariables(CommandBuffer& stream);

    bool IsDirty() const { return mDirty; }
    void SetDirty(bool dirty) { mDirty = dirty; }
    Render* GetRender() const { return mRender; }
    // The Render is going away: this object must no longer reach it.
    void DetachRender() { mRender = nullptr; }
    const std::vector<ShaderVariable*>& GetVariables() const { return mVariables; }

private:
    VNResultEnum Append(ShaderVariable* v);

    std::vector<ShaderVariable*> mVariables;
    Render* mRender;
    bool mDirty = true;
};

} // namespace render
