#include "Core/Render/Shaders/BuiltinShaders.h"

namespace render
{

const char* const gVertexShaderGeomText = R"(// gVertexShaderGeomText
float4x4 Proj;

struct VS_OUTPUT
{
    float4 Position : POSITION;
    float4 Color : COLOR0;
};

VS_OUTPUT vertex_shader(float3 pos : POSITION, float4 color : COLOR0)
{
    VS_OUTPUT o;
    o.Position = mul(float4(pos, 1.0), Proj);
    o.Color = color;
    return o;
}
)";

const char* const gPixelShaderGeomText = R"(// gPixelShaderGeomText
float4 pixel_shader(float4 color : COLOR0) : COLOR0
{
    return color;
}
)";

const char* const gVertexShaderTexturedMultText = R"(// gVertexShaderTexturedMultText
float4x4 Proj;

struct VS_OUTPUT
{
    float4 Position : POSITION;
    float4 Color : COLOR0;
    float2 TuTv : TEXCOORD0;
};

VS_OUTPUT vertex_shader(float4 pos : POSITION, float4 color : COLOR0, float4 colorSpec : COLOR1,
                        float2 TuTv : TEXCOORD0)
{
    VS_OUTPUT o;
    o.Position = mul(pos, Proj);
    o.Color = color;
    o.TuTv = TuTv;
    return o;
}
)";

const char* const gPixelShaderTexturedMultText = R"(// gPixelShaderTexturedMultText
texture g_MeshTexture;

sampler TextureSampler = sampler_state
{
    Texture = <g_MeshTexture>;
    MipFilter = LINEAR;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
};

float4 pixel_shader(float4 color : COLOR0, float2 TuTv : TEXCOORD0) : COLOR0
{
    return color * tex2D(TextureSampler, TuTv);
}
)";

const char* const gVertexShaderTexturedTintText = R"(// gVertexShaderTexturedTintText
float4x4 Proj;

struct VS_OUTPUT
{
    float4 Position : POSITION;
    float4 Color : COLOR0;
    float2 TuTv : TEXCOORD0;
    float2 Tint : TEXCOORD1;
};

VS_OUTPUT vertex_shader(float4 pos : POSITION, float4 color : COLOR0, float4 colorSpec : COLOR1,
                        float2 TuTv : TEXCOORD0)
{
    VS_OUTPUT o;
    o.Position = mul(pos, Proj);
    o.Color = color;
    o.TuTv = TuTv;
    o.Tint = colorSpec.yz;
    return o;
}
)";

const char* const gPixelShaderTexturedTintText = R"(// gPixelShaderTexturedTintText
texture g_MeshTexture;

sampler TextureSampler = sampler_state
{
    Texture = <g_MeshTexture>;
    MipFilter = LINEAR;
    MinFilter = LINEAR;
    MagFilter = LINEAR;
};

float4 pixel_shader(float4 color : COLOR0, float2 TuTv : TEXCOORD0, float2 Tint : TEXCOORD1) : COLOR0
{
    float4 t = tex2D(TextureSampler, TuTv);
    return float4(t.rgb * Tint.y + color.rgb * Tint.x, t.a * color.a);
}
)";

} // namespace render
