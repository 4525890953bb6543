#pragma once

#include <epoxy/gl.h>

namespace render::gl
{

// Logs a pending GL error with the call that raised it; used by GL_CHECK in debug builds.
void CheckError(const char* call, const char* file, int line);

} // namespace render::gl

#ifndef NDEBUG
#define GL_CHECK(call)                                                                                       \
    do                                                                                                       \
    {                                                                                                        \
        call;                                                                                                \
        ::render::gl::CheckError(#call, __FILE__, __LINE__);                                                 \
    } while (false)
#else
#define GL_CHECK(call) call
#endif
