// window_proc.cpp: the game window's procedure - key table, visibility, viewport, close
// requests and the screen-mode switch.
#include "shell/game_window.h"

LRESULT CALLBACK gameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    GameWindow* window = (GameWindow*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);

    if (message == WM_CREATE) {
        const CREATESTRUCTA* create = (const CREATESTRUCTA*)lParam;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)create->lpCreateParams);
        return 0;
    }

    // A message that reaches a window without its record (before WM_CREATE) gets the
    // default processing.
    if (window) {
        switch (message) {
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED) {
                window->visible = 0;
                return 0;
            }
            if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
                window->visible = 1;
                resizeViewport(LOWORD(lParam), HIWORD(lParam));
                return 0;
            }
            break;
        case WM_CLOSE:
            // Ends the program once the frame loop fetches the WM_QUIT; nothing is destroyed here.
            requestQuit(*window);
            return 0;
        case WM_KEYDOWN:
            if (wParam <= 255) {
                window->keyTable[wParam] = 1;
                return 0;
            }
            break;
        case WM_KEYUP:
            if (wParam <= 255) {
                window->keyTable[wParam] = 0;
                return 0;
            }
            break;
        default:
            break;
        }
    }

    switch (message) {
    case WM_SYSCOMMAND:
        // Neither the screen saver nor the monitor's power-down starts while the game runs.
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
            return 0;
        break;
    case MSG_SWITCH_SCREEN_MODE:
        fullScreenWanted = fullScreenWanted == 1 ? 0 : 1;
        PostMessageA(hwnd, WM_QUIT, 0, 0);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
