// game_window.cpp: the game window with its device context, pixel format and rendering
// context, the full-screen display switch, and the viewport.
#include "shell/game_window.h"

#include <cstring>

// Gives the display back its default mode and shows the cursor hidden for full-screen.
static void restoreDisplay()
{
    ChangeDisplaySettingsA(NULL, 0);
    ShowCursor(TRUE);
}

// Undoes the steps of a failed openGameWindow, newest first, and leaves the handles null.
// A display switched for full-screen is given back too, so that a failed start never
// leaves the player's desktop at 800 x 600 without a cursor.
static int failOpen(GameWindow& window)
{
    if (window.renderContext) {
        wglDeleteContext(window.renderContext);
        window.renderContext = NULL;
    }
    if (window.deviceContext) {
        ReleaseDC(window.windowHandle, window.deviceContext);
        window.deviceContext = NULL;
    }
    if (window.windowHandle) {
        DestroyWindow(window.windowHandle);
        window.windowHandle = NULL;
    }
    if (window.fullScreen)
        restoreDisplay();
    return 0;
}

int switchDisplayMode(int width, int height, int bitsPerPixel)
{
    DEVMODEA mode;
    std::memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = (DWORD)width;
    mode.dmPelsHeight = (DWORD)height;
    mode.dmBitsPerPel = (DWORD)bitsPerPixel;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL ? 1 : 0;
}

int openGameWindow(GameWindow& window)
{
    PIXELFORMATDESCRIPTOR format;
    std::memset(&format, 0, sizeof format);
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = (BYTE)(window.bitsPerPixel & 0xFF);
    format.cDepthBits = 16;
    format.cStencilBits = 1;
    format.iLayerType = PFD_MAIN_PLANE;

    RECT rect;
    rect.left = 0;
    rect.top = 0;
    rect.right = window.width;
    rect.bottom = window.height;

    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = WS_EX_APPWINDOW;
    if (window.fullScreen == 1) {
        if (switchDisplayMode(window.width, window.height, window.bitsPerPixel)) {
            ShowCursor(FALSE);
            style = WS_POPUP;
            exStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
        } else {
            // Windowed, with the outer size 800 x 600: the client area comes out smaller.
            MessageBoxA(NULL, "Mode Switch Failed.\nRunning In Windowed Mode.", "Error",
                        MB_OK | MB_ICONEXCLAMATION);
            window.fullScreen = 0;
        }
    } else {
        AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
    }

    window.windowHandle = CreateWindowExA(
        exStyle, window.identity->className, window.title, style, 0, 0, rect.right - rect.left,
        rect.bottom - rect.top, NULL, NULL, window.identity->instance, &window);
    if (!window.windowHandle)
        return failOpen(window);

    window.deviceContext = GetDC(window.windowHandle);
    if (!window.deviceContext)
        return failOpen(window);

    int formatIndex = ChoosePixelFormat(window.deviceContext, &format);
    if (formatIndex == 0 || !SetPixelFormat(window.deviceContext, formatIndex, &format))
        return failOpen(window);

    window.renderContext = wglCreateContext(window.deviceContext);
    if (!window.renderContext)
        return failOpen(window);

    if (!wglMakeCurrent(window.deviceContext, window.renderContext))
        return failOpen(window);

    ShowWindow(window.windowHandle, SW_SHOWNORMAL);
    window.visible = 1;
    resizeViewport(window.width, window.height);
    std::memset(window.keyTable, 0, sizeof(KeyTable));
    window.lastTick = GetTickCount();
    return 1;
}

int closeGameWindow(GameWindow& window)
{
    if (window.windowHandle) {
        if (window.deviceContext) {
            wglMakeCurrent(window.deviceContext, NULL);
            if (window.renderContext) {
                wglDeleteContext(window.renderContext);
                window.renderContext = NULL;
            }
            ReleaseDC(window.windowHandle, window.deviceContext);
            window.deviceContext = NULL;
        }
        DestroyWindow(window.windowHandle);
        window.windowHandle = NULL;
    }
    if (window.fullScreen)
        restoreDisplay();
    return 1;
}

void resizeViewport(int width, int height)
{
    // A window sized down to no height still gets a finite aspect ratio.
    int aspectHeight = height > 0 ? height : 1;

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, (double)width / (double)aspectHeight, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
