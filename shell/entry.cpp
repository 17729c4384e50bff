// entry.cpp: the program's entry, the window class and the message and frame loop.
#include "shell/game_window.h"

#include <cstring>

const char gameTitle[] = "Sphere Snake";
const char gameClassName[] = "OpenGL";

int appRunning;
int fullScreenWanted;

// The resource number of the window icon.
static const int iconResource = 101;

// Every failure message box: no owner, titled "Error", OK with an exclamation mark.
static void showError(const char* text)
{
    MessageBoxA(NULL, text, "Error", MB_OK | MB_ICONEXCLAMATION);
}

int registerGameWindowClass(const AppIdentity& identity)
{
    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = gameWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = identity.instance;
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hIcon = (HICON)LoadImageA(identity.instance, MAKEINTRESOURCEA(iconResource),
                                          IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
    windowClass.hbrBackground = (HBRUSH)(intptr_t)12;
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = identity.className;
    windowClass.hIconSm = NULL;

    if (RegisterClassExA(&windowClass) == 0) {
        showError("RegisterClassEx Failed!");
        return 0;
    }
    return 1;
}

void requestQuit(const GameWindow& window)
{
    PostMessageA(window.windowHandle, WM_QUIT, 0, 0);
    appRunning = 0;
}

void runMessageLoop(GameWindow& window, MSG& msg)
{
    for (;;) {
        // Only the game window's messages: thread messages are never fetched here.
        if (PeekMessageA(&msg, window.windowHandle, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return;
            DispatchMessageA(&msg);
            continue;
        }
        if (window.visible == 0) {
            WaitMessage();
            continue;
        }
        // A frame. The unsigned difference stays true across the tick count's wrap.
        DWORD now = GetTickCount();
        updateFrame(now - window.lastTick);
        window.lastTick = now;
        drawFrame();
        SwapBuffers(window.deviceContext);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    AppIdentity identity;
    identity.instance = instance;
    identity.className = gameClassName;

    GameWindow window;
    KeyTable keys;
    MSG msg;
    std::memset(&window, 0, sizeof window);
    std::memset(keys, 0, sizeof keys);
    std::memset(&msg, 0, sizeof msg);
    window.keyTable = keys;
    window.identity = &identity;
    window.title = gameTitle;
    window.width = 800;
    window.height = 600;
    window.bitsPerPixel = 32;
    window.fullScreen = 1;

    if (MessageBoxA(NULL, "Would You Like To Run In Fullscreen Mode?", "Start FullScreen?",
                    MB_YESNO | MB_ICONQUESTION) == IDNO)
        window.fullScreen = 0;

    if (!registerGameWindowClass(identity)) {
        showError("Error Registering Window Class!");
        return -1;
    }

    appRunning = 1;
    fullScreenWanted = window.fullScreen;

    // The window cycle: a screen-mode switch ends the loop with appRunning still set.
    while (appRunning) {
        window.fullScreen = fullScreenWanted;
        if (openGameWindow(window) != 1) {
            showError("Error Creating OpenGL Window");
            appRunning = 0;
            break;
        }
        if (initGame(&window, keys))
            runMessageLoop(window, msg);
        else
            requestQuit(window);
        shutdownGame();
        closeGameWindow(window);
    }

    UnregisterClassA(identity.className, identity.instance);
    return 0;
}
