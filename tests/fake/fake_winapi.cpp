// fake_winapi.cpp: the recording fake's implementation of the Windows services.
#include "fake_winapi.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

FakePlatform fake;

HWND fakeWindowHandle(int serial) { return (HWND)(uintptr_t)(0x1000 + serial); }
HDC const fakeDeviceContext = (HDC)(uintptr_t)0x2000;
HGLRC const fakeRenderContext = (HGLRC)(uintptr_t)0x3000;

namespace {

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

std::string format(const char* fmt, ...)
{
    char line[512];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(line, sizeof line, fmt, args);
    va_end(args);
    return line;
}

// A guard against a loop that never ends in a broken shell: after this many peeks the fake
// posts WM_QUIT itself and says so in the log.
const int peekLimit = 100000;
int peeks = 0;

} // namespace

void FakePlatform::reset()
{
    *this = FakePlatform();
    peeks = 0;
}

bool FakePlatform::called(const std::string& prefix) const { return indexOf(prefix) >= 0; }

int FakePlatform::count(const std::string& prefix) const
{
    int n = 0;
    for (const std::string& line : calls)
        n += line.compare(0, prefix.size(), prefix) == 0;
    return n;
}

int FakePlatform::indexOf(const std::string& prefix, int from) const
{
    for (int i = from; i < (int)calls.size(); ++i)
        if (calls[i].compare(0, prefix.size(), prefix) == 0)
            return i;
    return -1;
}

std::vector<std::string> FakePlatform::only(const std::vector<std::string>& prefixes) const
{
    std::vector<std::string> view;
    for (const std::string& line : calls)
        for (const std::string& prefix : prefixes)
            if (line.compare(0, prefix.size(), prefix) == 0) {
                view.push_back(line);
                break;
            }
    return view;
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    fake.log(format("MessageBoxA(%s|%s|%s|0x%x)", owner ? "owner" : "none", text, caption, type));
    if (fake.messageBoxAnswers.empty())
        return IDOK;
    int answer = fake.messageBoxAnswers.front();
    fake.messageBoxAnswers.pop_front();
    return answer;
}

ATOM RegisterClassExA(const WNDCLASSEXA* c)
{
    fake.log(format("RegisterClassExA(%s|size=%u|style=0x%x|icon=%s|cursor=%s|brush=%d)",
                    c->lpszClassName, c->cbSize, c->style, c->hIcon ? "yes" : "no",
                    c->hCursor ? "yes" : "no", (int)(intptr_t)c->hbrBackground));
    if (fake.registerClassFails)
        return 0;
    fake.windowProc = c->lpfnWndProc;
    return 0xC001;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE)
{
    fake.log(format("UnregisterClassA(%s)", className));
    return TRUE;
}

HCURSOR LoadCursorA(HINSTANCE, LPCSTR name)
{
    fake.log(format("LoadCursorA(%d)", (int)(uintptr_t)name));
    return (HCURSOR)(uintptr_t)0x4000;
}

HANDLE LoadImageA(HINSTANCE, LPCSTR name, UINT type, int cx, int cy, UINT load)
{
    fake.log(format("LoadImageA(%d|type=%u|%dx%d|0x%x)", (int)(uintptr_t)name, type, cx, cy, load));
    return (HANDLE)(uintptr_t)0x5000;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle)
{
    fake.log(format("AdjustWindowRectEx(style=0x%x|menu=%d|ex=0x%x)", style, menu, exStyle));
    // A frame of 8 pixels around and a 31-pixel caption.
    rect->left -= 8;
    rect->top -= 31;
    rect->right += 8;
    rect->bottom += 8;
    return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR name, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param)
{
    (void)instance;
    fake.log(format("CreateWindowExA(%s|%s|style=0x%x|ex=0x%x|at=%d,%d|%dx%d|parent=%s|menu=%s)",
                    className, name, style, exStyle, x, y, width, height, parent ? "yes" : "no",
                    menu ? "yes" : "no"));
    if (fake.createWindowFails)
        return NULL;
    HWND hwnd = fakeWindowHandle(++fake.windowsCreated);
    fake.window = hwnd;
    fake.userData = 0;
    CREATESTRUCTA create;
    std::memset(&create, 0, sizeof create);
    create.lpCreateParams = param;
    create.cx = width;
    create.cy = height;
    create.style = (LONG)style;
    create.lpszName = name;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    fake.windowProc(hwnd, WM_CREATE, 0, (LPARAM)&create);
    return hwnd;
}

BOOL ShowWindow(HWND, int command)
{
    fake.log(format("ShowWindow(%d)", command));
    return TRUE;
}

BOOL DestroyWindow(HWND hwnd)
{
    fake.log("DestroyWindow()");
    // The window's queued messages die with it, as on Windows.
    for (auto it = fake.queue.begin(); it != fake.queue.end();)
        it = it->hwnd == hwnd ? fake.queue.erase(it) : it + 1;
    if (fake.window == hwnd)
        fake.window = nullptr;
    return TRUE;
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index)
{
    return hwnd == fake.window && index == GWLP_USERDATA ? fake.userData : 0;
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    fake.log(format("SetWindowLongPtrA(%d)", index));
    if (hwnd != fake.window || index != GWLP_USERDATA)
        return 0;
    LONG_PTR previous = fake.userData;
    fake.userData = value;
    return previous;
}

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT, UINT, UINT remove)
{
    if (++peeks == peekLimit) {
        fake.log("fake: peek limit reached, posting WM_QUIT");
        MSG quit;
        std::memset(&quit, 0, sizeof quit);
        quit.hwnd = hwnd;
        quit.message = WM_QUIT;
        fake.queue.push_back(quit);
    }
    for (auto it = fake.queue.begin(); it != fake.queue.end(); ++it) {
        if (hwnd != NULL && it->hwnd != hwnd)
            continue;
        *msg = *it;
        if (remove & PM_REMOVE)
            fake.queue.erase(it);
        return TRUE;
    }
    return FALSE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    fake.log(format("DispatchMessageA(0x%x)", msg->message));
    if (msg->hwnd == NULL || msg->hwnd != fake.window || !fake.windowProc)
        return 0;
    return fake.windowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WaitMessage(void)
{
    fake.log("WaitMessage()");
    if (fake.onWaitMessage)
        fake.onWaitMessage();
    return TRUE;
}

BOOL PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    fake.log(format("PostMessageA(%s|0x%x)", hwnd ? "window" : "thread", message));
    MSG msg;
    std::memset(&msg, 0, sizeof msg);
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    fake.queue.push_back(msg);
    return TRUE;
}

LRESULT DefWindowProcA(HWND, UINT message, WPARAM wParam, LPARAM)
{
    fake.log(format("DefWindowProcA(0x%x|0x%llx)", message, (unsigned long long)wParam));
    return 0;
}

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags)
{
    if (!mode) {
        fake.log(format("ChangeDisplaySettingsA(default|0x%x)", flags));
        return DISP_CHANGE_SUCCESSFUL;
    }
    fake.log(format("ChangeDisplaySettingsA(%ux%ux%u|fields=0x%x|size=%s|0x%x)", mode->dmPelsWidth,
                    mode->dmPelsHeight, mode->dmBitsPerPel, mode->dmFields,
                    mode->dmSize == sizeof(DEVMODEA) ? "ok" : "wrong", flags));
    return fake.displayChangeResult;
}

int ShowCursor(BOOL show)
{
    fake.log(format("ShowCursor(%d)", show));
    fake.cursorCount += show ? 1 : -1;
    return fake.cursorCount;
}

HDC GetDC(HWND)
{
    fake.log("GetDC()");
    return fake.getDCFails ? NULL : fakeDeviceContext;
}

int ReleaseDC(HWND, HDC)
{
    fake.log("ReleaseDC()");
    return 1;
}

int ChoosePixelFormat(HDC, const PIXELFORMATDESCRIPTOR* p)
{
    fake.log(format("ChoosePixelFormat(size=%s|flags=0x%x|type=%u|colour=%u|depth=%u|stencil=%u)",
                    p->nSize == sizeof(PIXELFORMATDESCRIPTOR) ? "ok" : "wrong", p->dwFlags,
                    p->iPixelType, p->cColorBits, p->cDepthBits, p->cStencilBits));
    return fake.choosePixelFormatFails ? 0 : 7;
}

BOOL SetPixelFormat(HDC, int index, const PIXELFORMATDESCRIPTOR*)
{
    fake.log(format("SetPixelFormat(%d)", index));
    return fake.setPixelFormatFails ? FALSE : TRUE;
}

BOOL SwapBuffers(HDC dc)
{
    fake.log(format("SwapBuffers(%s)", dc == fakeDeviceContext ? "dc" : "other"));
    return TRUE;
}

HGLRC wglCreateContext(HDC)
{
    fake.log("wglCreateContext()");
    return fake.createContextFails ? NULL : fakeRenderContext;
}

BOOL wglMakeCurrent(HDC, HGLRC context)
{
    fake.log(format("wglMakeCurrent(%s)", context ? "context" : "none"));
    return context && fake.makeCurrentFails ? FALSE : TRUE;
}

BOOL wglDeleteContext(HGLRC)
{
    fake.log("wglDeleteContext()");
    return TRUE;
}

HFONT CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                  DWORD, LPCSTR)
{
    return NULL;
}
HGDIOBJ SelectObject(HDC, HGDIOBJ) { return NULL; }
BOOL DeleteObject(HGDIOBJ) { return TRUE; }
BOOL wglUseFontBitmapsA(HDC, DWORD, DWORD, DWORD) { return FALSE; }

DWORD GetTickCount(void)
{
    return fake.tickCount();
}
