#include "Core/Render/Shaders/HlslCompiler.h"

#include "Core/Base/Log.h"
#include "Core/Base/TextEncoding.h"

#include <glslang/Public/ResourceLimits.h>
#include <glslang/Public/ShaderLang.h>
#include <glslang/SPIRV/GlslangToSpv.h>
#include <spirv_cross/spirv_cross_c.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

namespace render
{
namespace
{

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// Splits "TEXCOORD12" into ("TEXCOORD", 12); no digits give index 0.
void SplitSemantic(const std::string& semantic, std::string& base, int& index)
{
    const std::string s = Upper(semantic);
    size_t end = s.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(s[end - 1])))
        --end;
    base = s.substr(0, end);
    index = end < s.size() ? std::atoi(s.c_str() + end) : 0;
}

void LogBlock(const std::string& text)
{
    base::LogMessage(*base::MainLog::Instance(), L"%s\n").SetStyle(base::BlockLogStyle()) %
        base::ToWide(text, base::kEncodingUtf8);
}

struct Cache
{
    std::map<std::pair<int, std::string>, std::unique_ptr<CompiledShader>> entries;
    uint32_t compiles = 0;
};

Cache& GetCache()
{
    static Cache cache;
    return cache;
}

// glslang needs its process state once; it stays until exit.
void EnsureGlslang()
{
    static const bool initialised = glslang::InitializeProcess();
    (void)initialised;
}

const char* Semantic(spvc_compiler comp, spvc_variable_id id)
{
    const char* s = spvc_compiler_get_decoration_string(comp, id, SpvDecorationUserSemantic);
    return s ? s : "";
}

bool Translate(const std::vector<unsigned>& spirv, ShaderStage stage, CompiledShader& out)
{
    spvc_context ctx = nullptr;
    if (spvc_context_create(&ctx) != SPVC_SUCCESS)
        return false;
    std::unique_ptr<spvc_context_s, void (*)(spvc_context)> guard(ctx, spvc_context_destroy);
    spvc_parsed_ir ir = nullptr;
    spvc_compiler comp = nullptr;
    if (spvc_context_parse_spirv(ctx, spirv.data(), spirv.size(), &ir) != SPVC_SUCCESS ||
        spvc_context_create_compiler(ctx, SPVC_BACKEND_GLSL, ir, SPVC_CAPTURE_MODE_TAKE_OWNERSHIP, &comp) !=
            SPVC_SUCCESS)
    {
        out.mMessages = spvc_context_get_last_error_string(ctx);
        return false;
    }
    spvc_resources res = nullptr;
    if (spvc_compiler_create_shader_resources(comp, &res) != SPVC_SUCCESS)
        return false;

    const spvc_reflected_resource* list = nullptr;
    size_t count = 0;
    const bool vertex = stage == ShaderStage::Vertex;

    // Inputs: vertex attributes by semantic, or values from the vertex stage by semantic.
    spvc_resources_get_resource_list_for_type(res, SPVC_RESOURCE_TYPE_STAGE_INPUT, &list, &count);
    int32_t spare = 32;
    for (size_t i = 0; i < count; ++i)
    {
        const std::string sem = Semantic(comp, list[i].id);
        int32_t loc = vertex ? VertexInputLocation(sem) : InterstageLocation(sem);
        if (loc < 0)
            loc = spare++;
        spvc_compiler_set_decoration(comp, list[i].id, SpvDecorationLocation, static_cast<unsigned>(loc));
    }
    spvc_resources_get_resource_list_for_type(res, SPVC_RESOURCE_TYPE_STAGE_OUTPUT, &list, &count);
    bool writesPosition = false;
    for (size_t i = 0; i < count; ++i)
    {
        const std::string sem = Upper(Semantic(comp, list[i].id));
        if (vertex && (sem == "POSITION" || sem == "POSITION0" || sem == "SV_POSITION"))
        {
            // DX9 rules keep POSITION as an ordinary output; it is the clip position.
            spvc_compiler_unset_decoration(comp, list[i].id, SpvDecorationLocation);
            spvc_compiler_set_decoration(comp, list[i].id, SpvDecorationBuiltIn, SpvBuiltInPosition);
            writesPosition = true;
            continue;
        }
        if (vertex)
        {
            int32_t loc = InterstageLocation(sem);
            if (loc < 0)
                loc = spare++;
            spvc_compiler_set_decoration(comp, list[i].id, SpvDecorationLocation, static_cast<unsigned>(loc));
        }
        else
        {
            // Pixel outputs: COLORn goes to draw buffer n.
            std::string base;
            int index = 0;
            SplitSemantic(sem, base, index);
            spvc_compiler_set_decoration(comp, list[i].id, SpvDecorationLocation,
                                         static_cast<unsigned>(index));
        }
    }

    // Loose globals land in one block; it becomes a plain uniform struct with a name of its own per stage.
    const char* instance = vertex ? "corv_vs" : "corv_ps";
    spvc_resources_get_resource_list_for_type(res, SPVC_RESOURCE_TYPE_UNIFORM_BUFFER, &list, &count);
    for (size_t i = 0; i < count; ++i)
    {
        spvc_compiler_set_name(comp, list[i].base_type_id, vertex ? "corv_VSGlobals" : "corv_PSGlobals");
        spvc_compiler_set_name(comp, list[i].id, instance);
        spvc_type type = spvc_compiler_get_type_handle(comp, list[i].base_type_id);
        const unsigned members = spvc_type_get_num_member_types(type);
        for (unsigned m = 0; m < members; ++m)
            out.mConstants.emplace_back(spvc_compiler_get_member_name(comp, list[i].base_type_id, m));
        out.mUniformPrefix = std::string(instance) + ".";
    }
    spvc_resources_get_resource_list_for_type(res, SPVC_RESOURCE_TYPE_SAMPLED_IMAGE, &list, &count);
    for (size_t i = 0; i < count; ++i)
    {
        spvc_compiler_set_decoration(comp, list[i].id, SpvDecorationBinding, static_cast<unsigned>(i));
        out.mSamplers.emplace_back(list[i].name);
    }

    spvc_compiler_options options = nullptr;
    spvc_compiler_create_compiler_options(comp, &options);
    spvc_compiler_options_set_uint(options, SPVC_COMPILER_OPTION_GLSL_VERSION, 450);
    spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_ES, SPVC_FALSE);
    spvc_compiler_options_set_bool(options, SPVC_COMPILER_OPTION_GLSL_EMIT_UNIFORM_BUFFER_AS_PLAIN_UNIFORMS,
                                   SPVC_TRUE);
    spvc_compiler_install_compiler_options(comp, options);
    const char* glsl = nullptr;
    if (spvc_compiler_compile(comp, &glsl) != SPVC_SUCCESS || !glsl)
    {
        out.mMessages = spvc_context_get_last_error_string(ctx);
        return false;
    }
    out.mGlsl = glsl;

    if (vertex && writesPosition)
    {
        // Applied after everything the program computes: pixel-centre alignment and the y flip of target
        // passes.
        const size_t version = out.mGlsl.find('\n');
        out.mGlsl.insert(version + 1, "uniform vec4 corv_PixelAdjust;\n");
        const size_t close = out.mGlsl.rfind('}');
        out.mGlsl.insert(close, "    gl_Position.y *= corv_PixelAdjust.z;\n"
                                "    gl_Position.xy += corv_PixelAdjust.xy * gl_Position.w;\n");
    }
    return true;
}

void Compile(const std::string& source, ShaderStage stage, CompiledShader& out)
{
    EnsureGlslang();
    const EShLanguage language = stage == ShaderStage::Vertex ? EShLangVertex : EShLangFragment;
    const char* entry = stage == ShaderStage::Vertex ? "vertex_shader" : "pixel_shader";
    const std::string text = StripEffectSyntax(source);
    const char* strings[] = {text.c_str()};

    glslang::TShader shader(language);
    shader.setStrings(strings, 1);
    shader.setEnvInput(glslang::EShSourceHlsl, language, glslang::EShClientOpenGL, 100);
    shader.setEnvClient(glslang::EShClientOpenGL, glslang::EShTargetOpenGL_450);
    shader.setEnvTarget(glslang::EShTargetSpv, glslang::EShTargetSpv_1_0);
    shader.setEntryPoint(entry);
    shader.setSourceEntryPoint(entry);
    shader.setAutoMapLocations(true);
    shader.setAutoMapBindings(true);
    // Keeps the HLSL semantics in the SPIR-V, so the stages can be linked by them.
    shader.setEnvTargetHlslFunctionality1();
    const auto messages = static_cast<EShMessages>(EShMsgReadHlsl | EShMsgHlslDX9Compatible | EShMsgSpvRules);
    if (!shader.parse(GetDefaultResources(), 100, false, messages))
    {
        out.mMessages = shader.getInfoLog();
        return;
    }
    glslang::TProgram program;
    program.addShader(&shader);
    if (!program.link(messages))
    {
        out.mMessages = program.getInfoLog();
        return;
    }
    std::vector<unsigned> spirv;
    glslang::GlslangToSpv(*program.getIntermediate(language), spirv);
    out.mOk = Translate(spirv, stage, out);
}

} // namespace

std::string StripEffectSyntax(const std::string& source)
{
    std::string s = source;
    // "= sampler_state { ... }" up to the matching brace.
    for (size_t at = s.find("sampler_state"); at != std::string::npos; at = s.find("sampler_state", at))
    {
        const size_t open = s.find('{', at);
        size_t eq = s.rfind('=', at);
        if (open == std::string::npos)
            break;
        int depth = 0;
        size_t close = open;
        for (; close < s.size(); ++close)
        {
            if (s[close] == '{')
                ++depth;
            else if (s[close] == '}' && --depth == 0)
                break;
        }
        if (close >= s.size())
            break;
        // Only an "=" right before the keyword belongs to it.
        if (eq != std::string::npos && s.find_first_not_of(" \t\r\n", eq + 1) != at)
            eq = std::string::npos;
        if (eq == std::string::npos)
            eq = at;
        s.erase(eq, close + 1 - eq);
        at = eq;
    }
    // Top-level "texture name;" (optionally "texture name : register(...);"), scanned by hand: a regular
    // expression over untrusted text can recurse deeply.
    auto isIdent = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size())
    {
        const bool boundary = i == 0 || isSpace(s[i - 1]) || s[i - 1] == ';' || s[i - 1] == '}';
        if (boundary && s.compare(i, 7, "texture") == 0 && i + 7 < s.size() && isSpace(s[i + 7]))
        {
            size_t j = i + 7;
            while (j < s.size() && isSpace(s[j]))
                ++j;
            const size_t nameStart = j;
            while (j < s.size() && isIdent(s[j]))
                ++j;
            bool ok = j > nameStart;
            while (ok && j < s.size() && isSpace(s[j]))
                ++j;
            if (ok && j < s.size() && s[j] == ':')
                while (j < s.size() && s[j] != ';' && s[j] != '{' && s[j] != '}')
                    ++j;
            if (ok && j < s.size() && s[j] == ';')
            {
                i = j + 1;
                continue;
            }
        }
        out.push_back(s[i++]);
    }
    return out;
}

int32_t VertexInputLocation(const std::string& semantic)
{
    std::string base;
    int index = 0;
    SplitSemantic(semantic, base, index);
    if (base == "POSITION" || base == "SV_POSITION")
        return index == 0 ? 0 : -1;
    if (base == "COLOR")
        return index <= 1 ? 1 + index : -1;
    if (base == "TEXCOORD")
        return index < 8 ? 3 + index : -1;
    if (base == "NORMAL")
        return 11;
    return -1;
}

int32_t InterstageLocation(const std::string& semantic)
{
    std::string base;
    int index = 0;
    SplitSemantic(semantic, base, index);
    if (base == "COLOR")
        return index <= 1 ? index : -1;
    if (base == "TEXCOORD")
        return index < 16 ? 2 + index : -1;
    if (base == "NORMAL")
        return 18;
    if (base == "FOG")
        return 19;
    return -1;
}

const CompiledShader& CompileHlsl(const std::string& source, ShaderStage stage)
{
    Cache& cache = GetCache();
    auto key = std::make_pair(static_cast<int>(stage), source);
    auto it = cache.entries.find(key);
    if (it != cache.entries.end())
        return *it->second;
    auto compiled = std::make_unique<CompiledShader>();
    ++cache.compiles;
    try
    {
        Compile(source, stage, *compiled);
    }
    catch (const std::exception& e)
    {
        compiled->mOk = false;
        compiled->mMessages = e.what();
    }
    if (!compiled->mOk || !compiled->mMessages.empty())
        LogBlock(std::string(stage == ShaderStage::Vertex ? "vertex_shader" : "pixel_shader") + ": " +
                 compiled->mMessages);
    return *cache.entries.emplace(std::move(key), std::move(compiled)).first->second;
}

uint32_t GetHlslCompileCount()
{
    return GetCache().compiles;
}

} // namespace render
