#pragma once

// One hidden SDL window with the GL back end on it, shared by a test suite: llvmpipe makes contexts
// and shader builds slow, so suites make one in SetUpTestSuite and free it in TearDownTestSuite.

#include "Core/Base/Result.h"
#include "Core/Render/GL/RenderGL.h"
#include "Core/Render/RenderInitParam.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

namespace gltest
{

// The renderer, or null (and no window) when the display offers no OpenGL 4.5 core context.
inline render::RenderGL* CreateHiddenGLRender(const char* title, int width, int height, SDL_Window** window)
{
    *window = nullptr;
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        return nullptr;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    *window = SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (*window == nullptr)
        return nullptr;
    auto* render = new render::RenderGL();
    render::RenderInitParam param;
    param.mWidth = width;
    param.mHeight = height;
    if (render->InitRenderOnNativeWindow(*window, param) != VN_OK)
    {
        delete render;
        return nullptr;
    }
    return render;
}

// Frees what CreateHiddenGLRender made; the GL driver stays loaded for the rest of the process.
inline void DestroyHiddenGLRender(render::RenderGL*& render, SDL_Window*& window)
{
    delete render;
    render = nullptr;
    if (window != nullptr)
        SDL_DestroyWindow(window);
    window = nullptr;
}

// The back buffer after playback, rows from the top, as opaque 0xAARRGGBB.
inline std::vector<uint32_t> ReadBackBuffer(int width, int height)
{
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<uint32_t> out(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const uint8_t* p = &rgba[(static_cast<size_t>(height - 1 - y) * width + x) * 4];
            out[static_cast<size_t>(y) * width + x] = 0xFF000000u | p[0] << 16 | p[1] << 8 | p[2];
        }
    return out;
}

} // namespace gltest
