#pragma once

#include "Core/Base/MathTypes.h"
#include "Core/Render/Shaders/Shader.h"
#include "Core/Render/Shaders/ShaderVariable.h"

// The units' shader: the textured shader with a second colour, "color2", towards which the picture is
// blended by that colour's alpha (units pass their prototype's fill colour). Loaded from a shader folder
// ("td/Shaders/MobShader/DX/").
class TMobShader : public render::ShaderTextured
{
public:
    TMobShader() = default;

    VNResultEnum Release() override;
    VNResultEnum DoUnload() override;
    // "color2" of the pixel program (a failure is returned), then the textured shader's variables.
    VNResultEnum SetupVariables() override;

    // The second colour as last set; marks the variable changed when it differs.
    const math::Point4& getColor2() const { return mColor2Value; }
    void setColor2(const math::Point4& color);

private:
    render::ShaderScalarVariable<math::Point4, 1>* mColor2 = nullptr;
    math::Point4 mColor2Value{0.0f, 0.0f, 0.0f, 0.0f};
};
