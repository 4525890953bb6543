#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace render
{

enum class ShaderStage
{
    Vertex,
    Pixel,
};

// One stage of an HLSL program translated to GLSL 4.50, with what the engine needs to bind it.
struct CompiledShader
{
    bool mOk = false;
    std::string mGlsl;
    // Compiler messages (errors when mOk is false).
    std::string mMessages;
    // The loose global constants ("Proj", "color2", ...), reachable as uniforms named mUniformPrefix + name.
    std::vector<std::string> mConstants;
    std::string mUniformPrefix;
    // Combined samplers, each on the texture unit of its index here.
    std::vector<std::string> mSamplers;
};

// Removes the effect-file syntax the compiler rejects: top-level "texture name;" declarations and
// "= sampler_state { ... }" initialisers (the sampler stays declared).
std::string StripEffectSyntax(const std::string& source);

// The attribute location a vertex-shader input of this HLSL semantic reads, matching the vertex formats:
// POSITION 0, COLOR0 1, COLOR1 2, TEXCOORDn 3 + n, NORMAL 11. -1 for a semantic the formats never feed.
int32_t VertexInputLocation(const std::string& semantic);
// The location of a value passed from the vertex to the pixel stage, so the stages link by semantic rather
// than by declaration order. -1 for a semantic that is not passed that way.
int32_t InterstageLocation(const std::string& semantic);

// Compiles one stage ("vertex_shader" / "pixel_shader" entry points, DX9-compatible rules) through SPIR-V to
// GLSL. Results are kept per stage and source text for the life of the process, so a source is compiled once;
// failures are logged once in the block style. The vertex stage gets the uniform vec4 "corv_PixelAdjust" (x,
// y: offset in clip units per w; z: y sign) applied to its position last, by which the back end aligns pixel
// centres and flips render targets.
const CompiledShader& CompileHlsl(const std::string& source, ShaderStage stage);

// Number of distinct compilations done so far (cache misses).
uint32_t GetHlslCompileCount();

} // namespace render
