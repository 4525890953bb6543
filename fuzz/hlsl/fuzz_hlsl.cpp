// Shader sources come from data files: the effect-syntax stripper and the semantic table must take any text.
#include "Core/Render/Shaders/HlslCompiler.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string stripped = render::StripEffectSyntax(text);
    if (stripped.size() > text.size())
        __builtin_trap(); // stripping never adds text
    render::VertexInputLocation(text);
    render::InterstageLocation(text);
    return 0;
}
