// standin_harness.cpp: the private X server, the recording window class and the X helpers.
#include <gtest/gtest.h>

#include "standin_harness.h"

#include "xvfb.h"

#include <SDL.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstring>
#include <thread>

std::vector<ProcCall> procCalls;

namespace {

Display* display = nullptr;

void closeTestDisplay()
{
    if (display != nullptr) XCloseDisplay(display);
    display = nullptr;
}

class XvfbEnvironment : public ::testing::Environment {
public:
    XvfbEnvironment(int width, int height) : width_(width), height_(height) {}
    void SetUp() override
    {
        // Windows may vanish between a look-up and the next request (a box closing): such
        // errors are expected here and must not end the program.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        ASSERT_TRUE(server_.start(width_, height_, 24)) << server_.error();
    }
    // SDL and the test's connection go before the server, so that no X call meets a dead one.
    void TearDown() override
    {
        SDL_Quit();
        closeTestDisplay();
        server_.stop();
    }

private:
    int width_, height_;
    XvfbServer server_;
};


} // namespace

// The caption of an X window: _NET_WM_NAME, else WM_NAME.
void addXvfbEnvironment(int width, int height)
{
    ::testing::AddGlobalTestEnvironment(new XvfbEnvironment(width, height));
}

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ProcCall call{window, message, wParam, lParam, nullptr, 0};
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        call.createParam = create->lpCreateParams;
        call.userDataAtCreate = GetWindowLongPtrA(window, GWLP_USERDATA);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    procCalls.push_back(call);
    if (message == WM_CREATE || message == WM_CLOSE) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

ATOM registerTestClass()
{
    WNDCLASSEXA c{};
    c.cbSize = sizeof c;
    c.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    c.lpfnWndProc = recordingProc;
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    c.hIcon = static_cast<HICON>(LoadImageA(nullptr, MAKEINTRESOURCEA(101), IMAGE_ICON, 0, 0,
                                            LR_DEFAULTSIZE));
    c.lpszClassName = TEST_CLASS;
    return RegisterClassExA(&c);
}

HWND createTestWindow(const char* title, int clientWidth, int clientHeight, LPVOID param)
{
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
    return CreateWindowExA(WS_EX_APPWINDOW, TEST_CLASS, title, WS_OVERLAPPEDWINDOW, 0, 0,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, param);
}

bool pollUntil(const std::function<bool()>& done, int timeoutMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool waitForMessage(HWND window, const std::function<bool(const MSG&)>& wanted, MSG* found,
                    std::vector<MSG>* skipped, int timeoutMs)
{
    return pollUntil(
        [&] {
            MSG msg;
            while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
                if (wanted(msg)) {
                    if (found) *found = msg;
                    return true;
                }
                if (skipped) skipped->push_back(msg);
            }
            return false;
        },
        timeoutMs);
}

Display* testDisplay()
{
    if (display == nullptr) display = XOpenDisplay(nullptr);
    return display;
}

Window findXWindow(const char* title, int timeoutMs)
{
    Display* dpy = testDisplay();
    Window found = 0;
    pollUntil([&] { return (found = findXWindow(dpy, DefaultRootWindow(dpy), title)) != 0; },
              timeoutMs);
    return found;
}

void xGeometry(Window window, int* x, int* y, int* width, int* height)
{
    Display* dpy = testDisplay();
    XWindowAttributes a;
    XGetWindowAttributes(dpy, window, &a);
    Window child;
    XTranslateCoordinates(dpy, window, DefaultRootWindow(dpy), 0, 0, x, y, &child);
    *width = a.width;
    *height = a.height;
}

void pressKey(KeySym keysym, bool down)
{
    Display* dpy = testDisplay();
    XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, keysym), down ? True : False, CurrentTime);
    XSync(dpy, False);
}

void tapKey(KeySym keysym)
{
    pressKey(keysym, true);
    pressKey(keysym, false);
}

void focusXWindow(Window window)
{
    XSetInputFocus(testDisplay(), window, RevertToParent, CurrentTime);
    XSync(testDisplay(), False);
}
