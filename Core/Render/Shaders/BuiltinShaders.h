#pragma once

namespace render
{

// The engine's own shader pairs, compiled when the renderer starts.
extern const char* const gVertexShaderGeomText;
extern const char* const gPixelShaderGeomText;
extern const char* const gVertexShaderTexturedMultText;
extern const char* const gPixelShaderTexturedMultText;
extern const char* const gVertexShaderTexturedTintText;
extern const char* const gPixelShaderTexturedTintText;

} // namespace render
