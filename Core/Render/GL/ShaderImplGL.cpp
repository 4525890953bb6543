#include "Core/Render/GL/ShaderImplGL.h"

#include "Core/Base/Log.h"
#include "Core/Base/TextEncoding.h"
#include "Core/Render/GL/GLCheck.h"
#include "Core/Render/GL/TextureGL.h"
#include "Core/Render/Shaders/HlslCompiler.h"

#include <algorithm>
#include <cstring>

namespace render
{
namespace
{

void LogBlock(const std::string& text)
{
    base::LogMessage(*base::MainLog::Instance(), L"%s\n").SetStyle(base::BlockLogStyle()) %
        base::ToWide(text, base::kEncodingUtf8);
}

unsigned CompileStage(GLenum type, const std::string& glsl)
{
    const unsigned s = glCreateShader(type);
    const char* text = glsl.c_str();
    glShaderSource(s, 1, &text, nullptr);
    glCompileShader(s);
    GLint ok = GL_FALSE;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok)
    {
        char log[2048] = {};
        glGetShaderInfoLog(s, sizeof log, nullptr, log);
        LogBlock(std::string("GLSL compile failed: ") + log);
        glDeleteShader(s);
        return 0;
    }
    return s;
}

// A constant the program does not have (unknown, or optimised away): setting it does nothing, and the first
// attempt is logged, so a missing constant never stops a frame.
class MissingScalarGL : public ShaderScalarVariableImpl
{
public:
    explicit MissingScalarGL(std::string name) : mName(std::move(name)) {}
    VNResultEnum SetMatrix(const math::Matrix4*) override { return Miss(); }
    VNResultEnum SetPoint4(const math::Point4*) override { return Miss(); }
    VNResultEnum SetPoint3(const math::Point3*) override { return Miss(); }
    VNResultEnum SetPoint2(float, float) override { return Miss(); }
    VNResultEnum SetFloat(float) override { return Miss(); }

private:
    VNResultEnum Miss()
    {
        if (!mLogged)
        {
            mLogged = true;
            base::LogMessage(*base::MainLog::Instance(),
                             L"Shader constant '%s' not found; its value is ignored\n") %
                base::ToWide(mName, base::kEncodingUtf8);
        }
        return VN_OK;
    }
    std::string mName;
    bool mLogged = false;
};

class ScalarGL : public ShaderScalarVariableImpl
{
public:
    ScalarGL(unsigned program, int location) : mProgram(program), mLocation(location) {}
    VNResultEnum SetMatrix(const math::Matrix4* m) override
    {
        // Row-major for row vectors is what the translated programs read as column-major: no transpose.
        glProgramUniformMatrix4fv(mProgram, mLocation, 1, GL_FALSE, m->m);
        return VN_OK;
    }
    VNResultEnum SetPoint4(const math::Point4* p) override
    {
        glProgramUniform4f(mProgram, mLocation, p->x, p->y, p->z, p->w);
        return VN_OK;
    }
    VNResultEnum SetPoint3(const math::Point3* p) override
    {
        glProgramUniform4f(mProgram, mLocation, p->x, p->y, p->z, 1.0f);
        return VN_OK;
    }
    VNResultEnum SetPoint2(float x, float y) override
    {
        glProgramUniform4f(mProgram, mLocation, x, y, 0.0f, 1.0f);
        return VN_OK;
    }
    VNResultEnum SetFloat(float f) override
    {
        glProgramUniform1f(mProgram, mLocation, f);
        return VN_OK;
    }

private:
    unsigned mProgram;
    int mLocation;
};

class TextureVariableGL : public ShaderTextureVariableImpl
{
public:
    explicit TextureVariableGL(unsigned unit) : mUnit(unit) {}
    VNResultEnum SetTexture(Texture* texture) override
    {
        const auto* t = static_cast<TextureGL*>(texture);
        if (t)
            t->EnsureFilled();
        glBindTextureUnit(mUnit, t ? t->GetName() : 0);
        return VN_OK;
    }

private:
    unsigned mUnit;
};

} // namespace

ShaderImplGL::~ShaderImplGL()
{
    ReleaseGL();
}

void ShaderImplGL::ReleaseGL()
{
    if (mProgram)
        glDeleteProgram(mProgram);
    mProgram = 0;
}

VNResultEnum ShaderImplGL::Create(const std::string& vertexSource, const std::string& pixelSource)
{
    if (mProgram)
        return VN_FAIL;
    mVertexSource = vertexSource;
    mPixelSource = pixelSource;
    const CompiledShader& vs = CompileHlsl(vertexSource, ShaderStage::Vertex);
    if (!vs.mOk)
        return VN_FAIL;
    const CompiledShader& ps = CompileHlsl(pixelSource, ShaderStage::Pixel);
    if (!ps.mOk)
        return VN_FAIL;
    const unsigned v = CompileStage(GL_VERTEX_SHADER, vs.mGlsl);
    const unsigned p = v ? CompileStage(GL_FRAGMENT_SHADER, ps.mGlsl) : 0;
    if (!v || !p)
    {
        if (v)
            glDeleteShader(v);
        return VN_FAIL;
    }
    mProgram = glCreateProgram();
    glAttachShader(mProgram, v);
    glAttachShader(mProgram, p);
    glLinkProgram(mProgram);
    glDeleteShader(v);
    glDeleteShader(p);
    GLint ok = GL_FALSE;
    glGetProgramiv(mProgram, GL_LINK_STATUS, &ok);
    if (!ok)
    {
        char log[2048] = {};
        glGetProgramInfoLog(mProgram, sizeof log, nullptr, log);
        LogBlock(std::string("GLSL link failed: ") + log);
        ReleaseGL();
        return VN_FAIL;
    }
    mConstants[0] = vs.mConstants;
    mConstants[1] = ps.mConstants;
    mPrefix[0] = vs.mUniformPrefix;
    mPrefix[1] = ps.mUniformPrefix;
    mSamplers = ps.mSamplers;
    mAdjustLocation = glGetUniformLocation(mProgram, "corv_PixelAdjust");
    return VN_OK;
}

void ShaderImplGL::ApplyPixelAdjust(const float adjust[4])
{
    if (mAdjustLocation < 0 || std::memcmp(adjust, mAdjust, sizeof mAdjust) == 0)
        return;
    std::memcpy(mAdjust, adjust, sizeof mAdjust);
    glProgramUniform4fv(mProgram, mAdjustLocation, 1, mAdjust);
}

ShaderScalarVariableImpl* ShaderImplGL::GetScalarVariable(const std::string& name, int table)
{
    if (mProgram && (table == kVertexTable || table == kPixelTable))
    {
        const auto& names = mConstants[table];
        if (std::find(names.begin(), names.end(), name) != names.end())
        {
            const int location = glGetUniformLocation(mProgram, (mPrefix[table] + name).c_str());
            if (location >= 0)
                return new ScalarGL(mProgram, location);
        }
    }
    return new MissingScalarGL(name);
}

ShaderTextureVariableImpl* ShaderImplGL::GetTextureVariable(const std::string& name)
{
    const auto it = std::find(mSamplers.begin(), mSamplers.end(), name);
    if (!mProgram || it == mSamplers.end())
        return nullptr;
    return new TextureVariableGL(static_cast<unsigned>(it - mSamplers.begin()));
}

} // namespace render
