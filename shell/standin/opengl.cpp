// opengl.cpp: device contexts, pixel formats, rendering contexts and buffer swaps over SDL's GL.
//
// There is one pixel format, index 1: RGBA with 8 bits a colour, double-buffered, with depth
// and stencil buffers at least as deep as asked (depth at least 16). X chooses a window's
// visual when the window is made, so every window starts with 24 depth and 8 stencil bits,
// which satisfies the game; a deeper request re-creates the (still context-less) SDL window.
#include "shell/standin/standin_internal.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<StandinContext*> contexts;

StandinContext* findContext(HGLRC handle)
{
    auto* wanted = reinterpret_cast<StandinContext*>(handle);
    for (auto* c : contexts) {
        if (c == wanted) return c;
    }
    return nullptr;
}

bool windowHasContext(StandinWindow* window)
{
    for (auto* c : contexts) {
        if (c->window == window) return true;
    }
    return false;
}

} // namespace

StandinGlSizes standinDefaultGlSizes()
{
    return StandinGlSizes{24, 8, 0};
}

void standinApplyGlSizes(const StandinGlSizes& sizes)
{
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, sizes.alpha);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, sizes.depth);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, sizes.stencil);
    // Fixed-function GL 1.1: a compatibility context, never a core one.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

void standinDetachContexts(StandinWindow* window)
{
    if (SDL_GL_GetCurrentWindow() == window->sdl) SDL_GL_MakeCurrent(window->sdl, nullptr);
    for (auto* c : contexts) {
        if (c->window == window) c->window = nullptr;
    }
}

HDC GetDC(HWND window)
{
    return standinFindWindow(window) ? reinterpret_cast<HDC>(window) : nullptr;
}

int ReleaseDC(HWND window, HDC deviceContext)
{
    return (standinFindWindow(window) && reinterpret_cast<HWND>(deviceContext) == window) ? 1 : 0;
}

int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request)
{
    StandinWindow* window = standinFindWindow(reinterpret_cast<HWND>(deviceContext));
    if (window == nullptr || request == nullptr || request->iPixelType != PFD_TYPE_RGBA) return 0;
    window->chosenRequest = *request;
    return 1;
}

BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request)
{
    StandinWindow* window = standinFindWindow(reinterpret_cast<HWND>(deviceContext));
    if (window == nullptr || format != 1) return FALSE;
    if (window->pixelFormat != 0) return window->pixelFormat == format;  // set once per window
    const PIXELFORMATDESCRIPTOR& wanted = request ? *request : window->chosenRequest;
    StandinGlSizes sizes = window->glSizes;
    sizes.depth = std::max({sizes.depth, 16, static_cast<int>(wanted.cDepthBits)});
    sizes.stencil = std::max(sizes.stencil, static_cast<int>(wanted.cStencilBits));
    sizes.alpha = std::max(sizes.alpha, static_cast<int>(wanted.cAlphaBits));
    if (sizes.depth != window->glSizes.depth || sizes.stencil != window->glSizes.stencil ||
        sizes.alpha != window->glSizes.alpha) {
        if (windowHasContext(window) || !standinRecreateSdlWindow(window, sizes)) return FALSE;
    }
    window->pixelFormat = format;
    return TRUE;
}

HGLRC wglCreateContext(HDC deviceContext)
{
    StandinWindow* window = standinFindWindow(reinterpret_cast<HWND>(deviceContext));
    if (window == nullptr || window->pixelFormat == 0) return nullptr;
    // SDL makes a new context current; the platform does not, so the old binding comes back.
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    standinApplyGlSizes(window->glSizes);
    SDL_GLContext sdl = SDL_GL_CreateContext(window->sdl);
    if (sdl == nullptr) return nullptr;
    // Swaps wait for the display's vertical blank where the platform offers it, so that the
    // frame loop, bounded only by SwapBuffers, does not keep a core busy drawing frames that
    // are never shown. Where it cannot (no swap control, a virtual X server) swaps run free.
    SDL_GL_SetSwapInterval(1);
    SDL_GL_MakeCurrent(previous ? previousWindow : window->sdl, previous);
    auto* context = new StandinContext{sdl, window};
    contexts.push_back(context);
    return reinterpret_cast<HGLRC>(context);
}

BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderContext)
{
    if (renderContext == nullptr) {
        SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
        return TRUE;
    }
    StandinWindow* window = standinFindWindow(reinterpret_cast<HWND>(deviceContext));
    StandinContext* context = findContext(renderContext);
    if (window == nullptr || context == nullptr || window->pixelFormat == 0) return FALSE;
    return SDL_GL_MakeCurrent(window->sdl, context->sdl) == 0 ? TRUE : FALSE;
}

BOOL wglDeleteContext(HGLRC renderContext)
{
    StandinContext* context = findContext(renderContext);
    if (context == nullptr) return FALSE;
    if (SDL_GL_GetCurrentContext() == context->sdl) {
        SDL_GL_MakeCurrent(SDL_GL_GetCurrentWindow(), nullptr);
    }
    SDL_GL_DeleteContext(context->sdl);
    contexts.erase(std::find(contexts.begin(), contexts.end(), context));
    delete context;
    return TRUE;
}

BOOL SwapBuffers(HDC deviceContext)
{
    StandinWindow* window = standinFindWindow(reinterpret_cast<HWND>(deviceContext));
    if (window == nullptr || window->pixelFormat == 0) return FALSE;
    SDL_GL_SwapWindow(window->sdl);
    return TRUE;
}
