// windows.cpp: window classes and windows over SDL windows.
#include "shell/standin/standin_internal.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct WindowClass {
    std::string name;
    WNDPROC procedure;
    HINSTANCE instance;
    HICON icon;
    ATOM atom;
};

std::vector<WindowClass> classes;
ATOM nextAtom = 0xC000;  // class atoms live in the range the platform uses for them
std::vector<StandinWindow*> windows;

int arrowCursor;  // the address is the arrow cursor's handle

WindowClass* findClass(LPCSTR name)
{
    if (name == nullptr) return nullptr;
    if (reinterpret_cast<uintptr_t>(name) <= 0xFFFF) {  // an atom given as MAKEINTRESOURCE
        for (auto& c : classes) {
            if (c.atom == reinterpret_cast<uintptr_t>(name)) return &c;
        }
        return nullptr;
    }
    for (auto& c : classes) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

bool captioned(DWORD style)
{
    return (style & WS_CAPTION) == WS_CAPTION || (style & WS_POPUP) == 0;
}

// SDL flags for a window's styles.
Uint32 sdlFlags(DWORD style, DWORD exStyle)
{
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL;
    if (!captioned(style)) flags |= SDL_WINDOW_BORDERLESS;
    if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
    if (exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    return flags;
}

// Makes the SDL window of a record, with its title, icon and place.
bool makeSdlWindow(StandinWindow* window, const char* title, int x, int y, int width,
                   int height, Uint32 flags, const StandinGlSizes& sizes)
{
    standinApplyGlSizes(sizes);
    SDL_Window* sdl = SDL_CreateWindow(title ? title : "", x, y, std::max(width, 1),
                                       std::max(height, 1), flags);
    if (sdl == nullptr) return false;
    window->sdl = sdl;
    window->sdlId = SDL_GetWindowID(sdl);
    window->xWindow = standinXWindowOf(sdl);
    window->glSizes = sizes;
    return true;
}

} // namespace

StandinWindow* standinFindWindow(HWND handle)
{
    auto* wanted = reinterpret_cast<StandinWindow*>(handle);
    if (wanted == nullptr) return nullptr;
    for (auto* w : windows) {
        if (w == wanted) return w;
    }
    return nullptr;
}

StandinWindow* standinWindowFromSdlId(Uint32 id)
{
    for (auto* w : windows) {
        if (w->sdlId == id) return w;
    }
    return nullptr;
}

StandinWindow* standinWindowFromX(unsigned long xWindow)
{
    for (auto* w : windows) {
        if (xWindow != 0 && w->xWindow == xWindow) return w;
    }
    return nullptr;
}

StandinWindow* standinFirstWindow()
{
    return windows.empty() ? nullptr : windows.front();
}

bool standinRecreateSdlWindow(StandinWindow* window, const StandinGlSizes& sizes)
{
    int x, y, width, height;
    SDL_GetWindowPosition(window->sdl, &x, &y);
    SDL_GetWindowSize(window->sdl, &width, &height);
    Uint32 flags = SDL_GetWindowFlags(window->sdl) &
                   (SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_RESIZABLE |
                    SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_FULLSCREEN);
    std::string title = SDL_GetWindowTitle(window->sdl);
    SDL_Window* old = window->sdl;
    if (!makeSdlWindow(window, title.c_str(), x, y, width, height, flags | SDL_WINDOW_OPENGL,
                       sizes)) {
        standinApplyGlSizes(window->glSizes);
        return false;
    }
    if (SDL_Surface* s = standinIconSurface()) SDL_SetWindowIcon(window->sdl, s);
    SDL_DestroyWindow(old);
    return true;
}

// ---------------------------------------------------------------- classes

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass)
{
    if (windowClass == nullptr || windowClass->lpfnWndProc == nullptr ||
        windowClass->lpszClassName == nullptr ||
        reinterpret_cast<uintptr_t>(windowClass->lpszClassName) <= 0xFFFF ||
        findClass(windowClass->lpszClassName) != nullptr) {
        return 0;
    }
    WindowClass c;
    c.name = windowClass->lpszClassName;
    c.procedure = windowClass->lpfnWndProc;
    c.instance = windowClass->hInstance;
    c.icon = windowClass->hIcon;
    c.atom = nextAtom++;
    classes.push_back(c);
    return c.atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE)
{
    WindowClass* c = findClass(className);
    if (c == nullptr) return FALSE;
    classes.erase(classes.begin() + (c - classes.data()));
    return TRUE;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName)
{
    if (instance != nullptr || cursorName != IDC_ARROW) return nullptr;
    return reinterpret_cast<HCURSOR>(&arrowCursor);
}

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int, int, UINT)
{
    if (type != IMAGE_ICON || name != MAKEINTRESOURCEA(101)) return nullptr;
    return standinIconHandle();
}

// ---------------------------------------------------------------- windows

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL, DWORD)
{
    if (rect == nullptr) return FALSE;
    if (captioned(style)) {
        rect->left -= STANDIN_FRAME_SIDE;
        rect->right += STANDIN_FRAME_SIDE;
        rect->top -= STANDIN_FRAME_TOP;
        rect->bottom += STANDIN_FRAME_SIDE;
    }
    return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND, HMENU menu, HINSTANCE instance,
                     LPVOID param)
{
    WindowClass* c = findClass(className);
    if (c == nullptr || !standinEnsureVideo()) return nullptr;

    // The size given is the outer size; the SDL window is the client area inside the frame.
    int clientWidth = width, clientHeight = height;
    if (captioned(style)) {
        clientWidth -= 2 * STANDIN_FRAME_SIDE;
        clientHeight -= STANDIN_FRAME_TOP + STANDIN_FRAME_SIDE;
    }
    Uint32 flags = sdlFlags(style, exStyle);
    SDL_DisplayMode mode;
    bool fullScreen = (style & WS_POPUP) && standinFullScreenMode(&mode);
    if (fullScreen) flags |= SDL_WINDOW_FULLSCREEN;

    auto* window = new StandinWindow();
    window->procedure = c->procedure;
    window->style = style;
    window->exStyle = exStyle;
    if (!makeSdlWindow(window, windowName, x, y, clientWidth, clientHeight, flags,
                       standinDefaultGlSizes())) {
        delete window;
        return nullptr;
    }
    if (fullScreen) SDL_SetWindowDisplayMode(window->sdl, &mode);
    if (c->icon != nullptr && c->icon == standinIconHandle()) {
        if (SDL_Surface* s = standinIconSurface()) SDL_SetWindowIcon(window->sdl, s);
    }
    windows.push_back(window);
    SDL_DisableScreenSaver();

    HWND handle = reinterpret_cast<HWND>(window);
    CREATESTRUCTA create{};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.cx = width;
    create.cy = height;
    create.x = x;
    create.y = y;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    if (standinSend(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    return handle;
}

BOOL ShowWindow(HWND handle, int)
{
    StandinWindow* window = standinFindWindow(handle);
    if (window == nullptr) return FALSE;
    BOOL wasVisible = (SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
    SDL_ShowWindow(window->sdl);
    SDL_RaiseWindow(window->sdl);
    if (!window->shownOnce) {
        // The first show tells the procedure the client size, as the platform does.
        window->shownOnce = true;
        int w, h;
        SDL_GetWindowSize(window->sdl, &w, &h);
        standinSend(window, WM_SIZE, SIZE_RESTORED,
                    static_cast<LPARAM>((static_cast<DWORD>(h & 0xFFFF) << 16) |
                                        static_cast<DWORD>(w & 0xFFFF)));
    }
    return wasVisible;
}

BOOL DestroyWindow(HWND handle)
{
    StandinWindow* window = standinFindWindow(handle);
    if (window == nullptr) return FALSE;
    standinSend(window, WM_DESTROY, 0, 0);
    window = standinFindWindow(handle);  // the procedure may have destroyed it itself
    if (window == nullptr) return TRUE;
    standinDetachContexts(window);
    windows.erase(std::find(windows.begin(), windows.end(), window));
    SDL_DestroyWindow(window->sdl);
    standinDropMessages(handle);
    delete window;
    if (windows.empty()) SDL_EnableScreenSaver();
    return TRUE;
}

LONG_PTR GetWindowLongPtrA(HWND handle, int index)
{
    StandinWindow* window = standinFindWindow(handle);
    if (window == nullptr || index != GWLP_USERDATA) return 0;
    return window->userData;
}

LONG_PTR SetWindowLongPtrA(HWND handle, int index, LONG_PTR value)
{
    StandinWindow* window = standinFindWindow(handle);
    if (window == nullptr || index != GWLP_USERDATA) return 0;
    LONG_PTR previous = window->userData;
    window->userData = value;
    return previous;
}
