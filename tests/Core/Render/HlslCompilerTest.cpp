#include "Core/Render/Shaders/HlslCompiler.h"

#include "Core/Render/Shaders/BuiltinShaders.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace render;

namespace
{
bool Has(const std::vector<std::string>& list, const std::string& name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}
} // namespace

TEST(HlslCompiler, BuiltInShadersCompileAndExposeTheirConstants)
{
    struct Case
    {
        const char* vertex;
        const char* pixel;
        bool textured;
    };
    const Case cases[] = {{gVertexShaderGeomText, gPixelShaderGeomText, false},
                          {gVertexShaderTexturedMultText, gPixelShaderTexturedMultText, true},
                          {gVertexShaderTexturedTintText, gPixelShaderTexturedTintText, true}};
    for (const Case& c : cases)
    {
        const CompiledShader& vs = CompileHlsl(c.vertex, ShaderStage::Vertex);
        const CompiledShader& ps = CompileHlsl(c.pixel, ShaderStage::Pixel);
        ASSERT_TRUE(vs.mOk) << vs.mMessages;
        ASSERT_TRUE(ps.mOk) << ps.mMessages;
        EXPECT_TRUE(Has(vs.mConstants, "Proj"));
        EXPECT_NE(vs.mGlsl.find("corv_PixelAdjust"), std::string::npos);
        EXPECT_EQ(Has(ps.mSamplers, "TextureSampler"), c.textured);
    }
}

TEST(HlslCompiler, ResultsAreCachedPerSourceAndErrorsReported)
{
    const std::string bad = "float4 pixel_shader() : COLOR0 { return undefinedThing; }";
    const uint32_t before = GetHlslCompileCount();
    const CompiledShader& first = CompileHlsl(bad, ShaderStage::Pixel);
    EXPECT_FALSE(first.mOk);
    EXPECT_NE(first.mMessages.find("undefinedThing"), std::string::npos) << first.mMessages;
    const CompiledShader& second = CompileHlsl(bad, ShaderStage::Pixel);
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(GetHlslCompileCount(), before + 1);
    // The same text as another stage is another compilation.
    CompileHlsl(bad, ShaderStage::Vertex);
    EXPECT_EQ(GetHlslCompileCount(), before + 2);
}

TEST(HlslCompiler, EffectSyntaxIsStripped)
{
    const std::string src =
        "texture g_Tex;\nsampler S = sampler_state { Texture = <g_Tex>; MinFilter = LINEAR; };\n"
        "float4 f;\ntexture other : register(t0);";
    const std::string out = StripEffectSyntax(src);
    EXPECT_EQ(out.find("sampler_state"), std::string::npos);
    EXPECT_EQ(out.find("g_Tex"), std::string::npos);
    EXPECT_NE(out.find("sampler S"), std::string::npos);
    EXPECT_NE(out.find("float4 f;"), std::string::npos);
    EXPECT_EQ(out.find("other"), std::string::npos);
    // An "=" of another statement is not taken for the initialiser's; "texture" inside a name stays.
    EXPECT_EQ(StripEffectSyntax("int x = 3; sampler_state { A = B; };"), "int x = 3; ;");
    EXPECT_EQ(StripEffectSyntax("float4 mytexture a;"), "float4 mytexture a;");
    EXPECT_EQ(StripEffectSyntax("texture"), "texture");
}

TEST(HlslCompiler, SemanticsGiveFixedLocations)
{
    struct Case
    {
        const char* semantic;
        int32_t input;
        int32_t interstage;
    };
    const Case cases[] = {{"POSITION", 0, -1},  {"COLOR0", 1, 0},    {"color", 1, 0},
                          {"COLOR1", 2, 1},     {"TEXCOORD0", 3, 2}, {"TEXCOORD1", 4, 3},
                          {"TEXCOORD7", 10, 9}, {"NORMAL", 11, 18},  {"BLENDWEIGHT", -1, -1}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(VertexInputLocation(c.semantic), c.input) << c.semantic;
        EXPECT_EQ(InterstageLocation(c.semantic), c.interstage) << c.semantic;
    }
}
