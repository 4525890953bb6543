// The unit shader: a textured vertex/pixel pair with a second colour that fills the
// sprite (alpha of the second colour = how much), e.g. to flash a unit when it is hit.
#include "tools/demodata/Content.h"

namespace demodata
{
namespace
{

const char kVertexShader[] =
    "// Unit shader, vertex program: transforms by the projection, passes colour and UV on.\n"
    "float4x4 Proj;\n"
    "\n"
    "struct VS_INPUT\n"
    "{\n"
    "    float4 pos      : POSITION;\n"
    "    float4 color    : COLOR0;\n"
    "    float4 colorSpec: COLOR1;\n"
    "    float2 TuTv     : TEXCOORD0;\n"
    "};\n"
    "\n"
    "struct VS_OUTPUT\n"
    "{\n"
    "    float4 pos   : POSITION;\n"
    "    float4 color : COLOR0;\n"
    "    float2 TuTv  : TEXCOORD0;\n"
    "};\n"
    "\n"
    "VS_OUTPUT vertex_shader(VS_INPUT input)\n"
    "{\n"
    "    VS_OUTPUT output;\n"
    "    output.pos = mul(input.pos, Proj);\n"
    "    output.color = input.color;\n"
    "    output.TuTv = input.TuTv;\n"
    "    return output;\n"
    "}\n";

const char kPixelShader[] =
    "// Unit shader, pixel program: texture times vertex colour, then blended towards color2\n"
    "// by color2's alpha; the texture's alpha keeps the sprite's shape.\n"
    "sampler TextureSampler;\n"
    "float4 color2;\n"
    "\n"
    "struct PS_INPUT\n"
    "{\n"
    "    float4 color : COLOR0;\n"
    "    float2 TuTv  : TEXCOORD0;\n"
    "};\n"
    "\n"
    "float4 pixel_shader(PS_INPUT input) : COLOR0\n"
    "{\n"
    "    float4 t = tex2D(TextureSampler, input.TuTv) * input.color;\n"
    "    float3 rgb = lerp(t.rgb, color2.rgb, color2.a);\n"
    "    return float4(rgb, t.a);\n"
    "}\n";

} // namespace

void WriteShaders(Output& out)
{
    out.WriteText("td/Shaders/MobShader/DX/VS.hlsl", kVertexShader);
    out.WriteText("td/Shaders/MobShader/DX/PS.hlsl", kPixelShader);
}

} // namespace demodata
