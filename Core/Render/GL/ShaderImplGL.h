#pragma once

#include "Core/Render/Shaders/ShaderImpl.h"

#include <string>
#include <vector>

namespace render
{

// A GL program linked from an HLSL vertex and pixel source pair; the stages' globals are its constant tables.
class ShaderImplGL : public ShaderImpl
{
public:
    using ShaderImpl::ShaderImpl;
    ~ShaderImplGL() override;

    // Compiles (through the per-source cache) and links both stages.
    VNResultEnum Create(const std::string& vertexSource, const std::string& pixelSource);

    ShaderScalarVariableImpl* GetScalarVariable(const std::string& name, int table) override;
    ShaderTextureVariableImpl* GetTextureVariable(const std::string& name) override;

    unsigned GetProgram() const { return mProgram; }
    // Sets the pixel-centre / flip adjustment when it differs from what the program has.
    void ApplyPixelAdjust(const float adjust[4]);
    void ReleaseGL();

private:
    unsigned mProgram = 0;
    int mAdjustLocation = -1;
    float mAdjust[4] = {0, 0, 0, 0};
    std::string mVertexSource;
    std::string mPixelSource;
    std::vector<std::string> mConstants[2];
    std::string mPrefix[2];
    std::vector<std::string> mSamplers;
};

} // namespace render
