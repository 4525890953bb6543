#include "Core/Render/GL/GLCheck.h"

#include "Core/Base/Log.h"
#include "Core/Base/TextEncoding.h"

#include <string>

namespace render::gl
{

void CheckError(const char* call, const char* file, int line)
{
    const GLenum e = glGetError();
    if (e == GL_NO_ERROR)
        return;
    base::LogMessage(*base::MainLog::Instance(), L"GL error 0x%x in %s at %s:%d\n") %
        static_cast<unsigned>(e) % base::ToWide(call, base::kEncodingUtf8) %
        base::ToWide(file, base::kEncodingUtf8) % line;
}

} // namespace render::gl
