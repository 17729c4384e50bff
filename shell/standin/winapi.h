// winapi.h: the Windows services the game uses, declared for systems without <windows.h>.
//
// Only what the shell, the game and the text overlay call is here, with the values the
// platform documents. Two implementations stand behind these declarations:
//   - shell/standin/*.cpp: the Linux stand-in over SDL2 (FreeType and fontconfig for the font);
//   - tests/fake/fake_winapi.cpp: a fake that records calls and returns scripted results.
// Nothing here is binary compatible with Windows; only names, values and behaviour are.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------- basic types

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int32_t LONG;
typedef intptr_t LONG_PTR;
typedef intptr_t LRESULT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef WORD ATOM;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// Handles are pointers to incomplete types, so that they cannot be mixed up.
#define STANDIN_HANDLE(name) typedef struct name##__* name
STANDIN_HANDLE(HINSTANCE);
STANDIN_HANDLE(HWND);
STANDIN_HANDLE(HDC);
STANDIN_HANDLE(HGLRC);
STANDIN_HANDLE(HICON);
STANDIN_HANDLE(HCURSOR);
STANDIN_HANDLE(HBRUSH);
STANDIN_HANDLE(HMENU);
STANDIN_HANDLE(HFONT);
STANDIN_HANDLE(HGDIOBJ);
typedef void* HANDLE;
#undef STANDIN_HANDLE

#define LOWORD(l) ((WORD)(((uintptr_t)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((uintptr_t)(l)) >> 16) & 0xffff))
#define MAKEINTRESOURCEA(i) ((LPCSTR)((uintptr_t)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

// ---------------------------------------------------------------- structures

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};

struct CREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};

// The display-mode request: only the fields the game fills in or the stand-in reads.
struct DEVMODEA {
    WORD dmSize;
    DWORD dmFields;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFrequency;
};

// ---------------------------------------------------------------- constants

// Class styles
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_OWNDC 0x0020

// Window styles
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_VISIBLE 0x10000000L
#define WS_CAPTION 0x00C00000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_APPWINDOW 0x00040000L

// Window messages
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCOMMAND 0x0112
#define WM_USER 0x0400

// WM_SIZE kinds
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2
#define SIZE_MAXSHOW 3
#define SIZE_MAXHIDE 4

// System commands
#define SC_CLOSE 0xF060
#define SC_SCREENSAVE 0xF140
#define SC_MONITORPOWER 0xF170

// Virtual-key codes (letters and main-row digits are their ASCII codes)
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_NUMPAD0 0x60
#define VK_NUMPAD9 0x69
#define VK_F1 0x70
#define VK_F10 0x79
#define VK_F12 0x7B

// Message boxes
#define MB_OK 0x00000000L
#define MB_YESNO 0x00000004L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7

// Messages, cursor, icon, window slots
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define SW_SHOWNORMAL 1
#define GWLP_USERDATA (-21)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IMAGE_ICON 1
#define LR_DEFAULTSIZE 0x00000040

// Display modes
#define CDS_FULLSCREEN 0x00000004
#define DISP_CHANGE_SUCCESSFUL 0
#define DISP_CHANGE_FAILED (-1)
#define DISP_CHANGE_BADMODE (-2)
#define DM_BITSPERPEL 0x00040000L
#define DM_PELSWIDTH 0x00080000L
#define DM_PELSHEIGHT 0x00100000L

// Pixel formats
#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_TYPE_RGBA 0
#define PFD_MAIN_PLANE 0

// Fonts
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define ANTIALIASED_QUALITY 4
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0x00

// ---------------------------------------------------------------- functions

// Message boxes
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// Window classes
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR cursorName);
HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT load);

// Windows
BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param);
BOOL ShowWindow(HWND window, int showCommand);
BOOL DestroyWindow(HWND window);
LONG_PTR GetWindowLongPtrA(HWND window, int index);
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);

// Messages
BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMessage);
LRESULT DispatchMessageA(const MSG* msg);
BOOL WaitMessage(void);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Display mode and cursor
LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags);
int ShowCursor(BOOL show);

// Device context, pixel format, buffers
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC deviceContext);
int ChoosePixelFormat(HDC deviceContext, const PIXELFORMATDESCRIPTOR* request);
BOOL SetPixelFormat(HDC deviceContext, int format, const PIXELFORMATDESCRIPTOR* request);
BOOL SwapBuffers(HDC deviceContext);

// OpenGL binding
HGLRC wglCreateContext(HDC deviceContext);
BOOL wglMakeCurrent(HDC deviceContext, HGLRC renderContext);
BOOL wglDeleteContext(HGLRC renderContext);

// Bitmap fonts
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight,
                  DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                  DWORD outPrecision, DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily,
                  LPCSTR faceName);
HGDIOBJ SelectObject(HDC deviceContext, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
BOOL wglUseFontBitmapsA(HDC deviceContext, DWORD first, DWORD count, DWORD listBase);

// Time
DWORD GetTickCount(void);

// The program's entry, called by the stand-in's main().
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
