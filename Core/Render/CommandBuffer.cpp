#include "Core/Render/CommandBuffer.h"

namespace render
{

void CommandBuffer::Resize(unsigned n, bool keep)
{
    const auto grown = static_cast<unsigned>(static_cast<float>(mSize) * 1.5f);
    base::MemoryStream::Resize(n < grown ? grown : n + 1024, keep);
}

} // namespace render
