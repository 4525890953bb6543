#include "Core/Render/Buffer.h"

#include "Core/Render/Render.h"

namespace render
{

Buffer::Buffer(Render* render) : mRender(render)
{
    if (mRender)
        mRender->RegisterBuffer(this);
}

Buffer::~Buffer()
{
    if (mRender)
        mRender->UnregisterBuffer(this);
}

} // namespace render
