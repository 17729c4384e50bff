// standin_test.cpp: the SDL stand-in for the Windows services, on a private 1024x768 X server.
#include <gtest/gtest.h>

#include "standin_harness.h"

#include "shell/standin/remote_message.h"

#include <GL/gl.h>
#include <SDL.h>
#include <X11/extensions/XTest.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <thread>

namespace {

class StandinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        procCalls.clear();
        ASSERT_NE(registerTestClass(), 0);
    }
    void TearDown() override
    {
        for (HWND w : windows_) DestroyWindow(w);
        UnregisterClassA(TEST_CLASS, nullptr);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);  // the stand-in starts it again at first need
    }
    // A shown test window, its X window focused.
    HWND openWindow(const char* title, int width = 320, int height = 240)
    {
        HWND w = createTestWindow(title, width, height);
        EXPECT_NE(w, nullptr);
        windows_.push_back(w);
        ShowWindow(w, SW_SHOWNORMAL);
        xWindow_ = findXWindow(title);
        EXPECT_NE(xWindow_, 0u);
        return w;
    }
    bool sawCall(HWND w, UINT message, WPARAM wParam)
    {
        for (const auto& c : procCalls) {
            if (c.window == w && c.message == message && c.wParam == wParam) return true;
        }
        return false;
    }
    std::vector<HWND> windows_;
    Window xWindow_ = 0;
};

// ---------------------------------------------------------------- classes and creation

TEST_F(StandinTest, ClassTableRefusesDuplicatesAndUnknownNames)
{
    EXPECT_EQ(registerTestClass(), 0) << "the same name twice";
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "x", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                              nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_TRUE(UnregisterClassA(TEST_CLASS, nullptr));
    EXPECT_EQ(createTestWindow("after unregister"), nullptr);
    EXPECT_TRUE(procCalls.empty());
    EXPECT_NE(registerTestClass(), 0) << "the name is free again";
}

TEST_F(StandinTest, CreateSendsWmCreateWithTheParameterBeforeReturning)
{
    int record = 0;
    HWND w = createTestWindow("create", 320, 240, &record);
    ASSERT_NE(w, nullptr);
    windows_.push_back(w);
    ASSERT_FALSE(procCalls.empty());
    EXPECT_EQ(procCalls[0].message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(procCalls[0].window, w);
    EXPECT_EQ(procCalls[0].createParam, &record);
    EXPECT_EQ(procCalls[0].userDataAtCreate, 0) << "the slot is 0 before it is set";
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&record));
}

TEST_F(StandinTest, WindowedClientIsTheAdjustedSizeAndUnadjustedIsSmaller)
{
    // The game's windowed request: the client rectangle grown by the frame.
    openWindow("adjusted", 800, 600);
    int x, y, width, height;
    xGeometry(xWindow_, &x, &y, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    // After a failed mode switch: 800x600 for the whole window, so the client is smaller.
    HWND outer = CreateWindowExA(WS_EX_APPWINDOW, TEST_CLASS, "unadjusted", WS_OVERLAPPEDWINDOW,
                                 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(outer, nullptr);
    windows_.push_back(outer);
    ShowWindow(outer, SW_SHOWNORMAL);
    Window xOuter = findXWindow("unadjusted");
    ASSERT_NE(xOuter, 0u);
    xGeometry(xOuter, &x, &y, &width, &height);
    EXPECT_LT(width, 800);
    EXPECT_LT(height, 600);
    EXPECT_GT(width, 700);
    EXPECT_GT(height, 500);
}

// ---------------------------------------------------------------- the queue

TEST_F(StandinTest, FilteredPeekTakesOnlyTheWindowsMessagesInOrder)
{
    HWND w = createTestWindow("queue");
    HWND other = createTestWindow("queue other");
    ASSERT_NE(w, nullptr);
    ASSERT_NE(other, nullptr);
    windows_.push_back(w);
    windows_.push_back(other);

    ASSERT_TRUE(PostMessageA(nullptr, WM_USER + 9, 0, 0));  // a thread message
    ASSERT_TRUE(PostMessageA(w, WM_USER + 1, 11, 12));
    ASSERT_TRUE(PostMessageA(other, WM_USER + 2, 0, 0));
    ASSERT_TRUE(PostMessageA(w, WM_USER + 3, 0, 0));
    ASSERT_TRUE(PostMessageA(w, WM_QUIT, 0, 0));

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, w, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1)) << "PM_NOREMOVE leaves it queued";
    std::vector<UINT> fetched;
    while (PeekMessageA(&msg, w, 0, 0, PM_REMOVE)) {
        EXPECT_EQ(msg.hwnd, w);
        fetched.push_back(msg.message);
    }
    EXPECT_EQ(fetched, (std::vector<UINT>{WM_USER + 1, WM_USER + 3, WM_QUIT}));

    // What the filtered peek left: the other window's message, then the thread message.
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 9));
    EXPECT_EQ(msg.hwnd, nullptr);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, other);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(StandinTest, DispatchCallsTheProcedureAndDestroyDropsTheQueue)
{
    HWND w = createTestWindow("dispatch");
    ASSERT_NE(w, nullptr);
    MSG msg{};
    msg.hwnd = w;
    msg.message = WM_USER + 4;
    msg.wParam = 5;
    procCalls.clear();
    DispatchMessageA(&msg);
    ASSERT_EQ(procCalls.size(), 1u);
    EXPECT_EQ(procCalls[0].message, static_cast<UINT>(WM_USER + 4));
    EXPECT_EQ(procCalls[0].wParam, 5u);

    PostMessageA(w, WM_USER + 5, 0, 0);
    procCalls.clear();
    EXPECT_TRUE(DestroyWindow(w));
    ASSERT_EQ(procCalls.size(), 1u);
    EXPECT_EQ(procCalls[0].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "its messages went with it";

    procCalls.clear();
    msg.message = WM_USER + 6;
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_TRUE(procCalls.empty()) << "no call for a destroyed window";
    EXPECT_FALSE(PostMessageA(w, WM_USER, 0, 0));
    EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), 0);
}

// ---------------------------------------------------------------- keys

struct KeyCase {
    KeySym keysym;
    UINT code;
    bool system;
};

TEST_F(StandinTest, RealKeyEventsBecomeVirtualKeyMessages)
{
    HWND w = openWindow("keys");
    focusXWindow(xWindow_);
    const KeyCase cases[] = {
        {XK_a, 'A', false},         {XK_z, 'Z', false},        {XK_1, '1', false},
        {XK_2, '2', false},         {XK_3, '3', false},        {XK_0, '0', false},
        {XK_KP_1, VK_NUMPAD0 + 1, false}, {XK_KP_0, VK_NUMPAD0, false},
        {XK_KP_9, VK_NUMPAD9, false},     {XK_F1, VK_F1, false},
        {XK_F12, VK_F12, false},    {XK_Left, VK_LEFT, false}, {XK_Up, VK_UP, false},
        {XK_Right, VK_RIGHT, false}, {XK_Down, VK_DOWN, false}, {XK_space, VK_SPACE, false},
        {XK_Escape, VK_ESCAPE, false}, {XK_Return, VK_RETURN, false}, {XK_Tab, VK_TAB, false},
        {XK_BackSpace, VK_BACK, false}, {XK_Shift_L, VK_SHIFT, false},
        {XK_Control_L, VK_CONTROL, false}, {XK_F10, VK_F10, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(XKeysymToString(c.keysym));
        tapKey(c.keysym);
        MSG down, up;
        UINT downMessage = c.system ? WM_SYSKEYDOWN : WM_KEYDOWN;
        UINT upMessage = c.system ? WM_SYSKEYUP : WM_KEYUP;
        ASSERT_TRUE(waitForMessage(w, [](const MSG& m) { return m.message != 0; }, &down));
        EXPECT_EQ(down.message, downMessage);
        EXPECT_EQ(down.wParam, c.code);
        ASSERT_TRUE(waitForMessage(w, [](const MSG& m) { return m.message != 0; }, &up));
        EXPECT_EQ(up.message, upMessage);
        EXPECT_EQ(up.wParam, c.code);
    }
}

TEST_F(StandinTest, AltHeldTurnsKeysIntoSystemKeysAndUnmappedKeysAreSilent)
{
    HWND w = openWindow("alt keys");
    focusXWindow(xWindow_);
    pressKey(XK_Alt_L, true);
    tapKey(XK_x);
    pressKey(XK_Alt_L, false);
    std::vector<MSG> got;
    ASSERT_TRUE(waitForMessage(
        w, [](const MSG& m) { return m.message == WM_SYSKEYUP && m.wParam == VK_MENU; },
        nullptr, &got));
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(got[1].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(got[1].wParam, static_cast<WPARAM>('X'));
    EXPECT_EQ(got[2].message, static_cast<UINT>(WM_SYSKEYUP));
    EXPECT_EQ(got[2].wParam, static_cast<WPARAM>('X'));

    // Insert has no code in the game's keyboard: the next message is the B that follows it.
    tapKey(XK_Insert);
    tapKey(XK_b);
    MSG next;
    ASSERT_TRUE(waitForMessage(w, [](const MSG& m) { return m.message != 0; }, &next));
    EXPECT_EQ(next.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(next.wParam, static_cast<WPARAM>('B'));
}

// ---------------------------------------------------------------- window events

TEST_F(StandinTest, MinimiseAndRestoreSendSizeKinds)
{
    HWND w = openWindow("minimise", 400, 300);
    Display* dpy = testDisplay();
    MSG msg;
    auto sawSize = [&](WPARAM kind) {
        PeekMessageA(&msg, w, 0, 0, PM_NOREMOVE);  // reads SDL's events
        return sawCall(w, WM_SIZE, kind);
    };
    // With no window manager on the server, the test does a manager's part of iconifying:
    // the client asks (XIconifyWindow), the manager unmaps the window.
    procCalls.clear();
    XIconifyWindow(dpy, xWindow_, DefaultScreen(dpy));
    XUnmapWindow(dpy, xWindow_);
    XSync(dpy, False);
    ASSERT_TRUE(pollUntil([&] { return sawSize(SIZE_MINIMIZED); }));

    // While minimised the loop blocks in WaitMessage; the restore must wake it.
    procCalls.clear();
    std::thread restorer([] {
        Display* own = XOpenDisplay(nullptr);
        Window target = findXWindow(own, DefaultRootWindow(own), "minimise");
        if (target) XMapWindow(own, target);
        XCloseDisplay(own);
    });
    EXPECT_TRUE(WaitMessage());
    restorer.join();
    ASSERT_TRUE(pollUntil([&] { return sawSize(SIZE_RESTORED); }));
    for (const auto& c : procCalls) {
        if (c.message == WM_SIZE && c.wParam == SIZE_RESTORED) {
            EXPECT_EQ(LOWORD(c.lParam), 400);
            EXPECT_EQ(HIWORD(c.lParam), 300);
        }
    }
}

TEST_F(StandinTest, CloseRequestBecomesScCloseThenWmClose)
{
    HWND w = openWindow("close");
    Display* dpy = testDisplay();
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = xWindow_;
    e.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    procCalls.clear();
    XSendEvent(dpy, xWindow_, False, NoEventMask, &e);
    XSync(dpy, False);
    MSG msg;
    ASSERT_TRUE(pollUntil([&] {
        PeekMessageA(&msg, w, 0, 0, PM_NOREMOVE);
        return sawCall(w, WM_CLOSE, 0);
    }));
    ASSERT_GE(procCalls.size(), 2u);
    size_t close = 0;
    while (procCalls[close].message != WM_CLOSE) ++close;
    ASSERT_GT(close, 0u);
    EXPECT_EQ(procCalls[close - 1].message, static_cast<UINT>(WM_SYSCOMMAND));
    EXPECT_EQ(procCalls[close - 1].wParam, static_cast<WPARAM>(SC_CLOSE));
}

// ---------------------------------------------------------------- messages from other programs

// Sends one client message from a child process with its own X connection.
void sendFromOtherProcess(Window target, const char* atomName, long message, long wParam,
                          long lParam)
{
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Display* dpy = XOpenDisplay(nullptr);
        if (dpy == nullptr) _exit(2);
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = target;
        e.xclient.message_type = XInternAtom(dpy, atomName, False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = message;
        e.xclient.data.l[1] = wParam;
        e.xclient.data.l[2] = lParam;
        XSendEvent(dpy, target, False, NoEventMask, &e);
        XSync(dpy, False);
        XCloseDisplay(dpy);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(StandinTest, ClientMessageFromAnotherProgramIsPostedAndJunkIgnored)
{
    HWND w = openWindow("remote");
    sendFromOtherProcess(xWindow_, STANDIN_MESSAGE_ATOM, WM_QUIT, 0, 0);
    sendFromOtherProcess(xWindow_, STANDIN_MESSAGE_ATOM, WM_KEYDOWN, VK_ESCAPE, 0);
    sendFromOtherProcess(xWindow_, "SOMEBODY_ELSES_MESSAGE", WM_USER + 1, 0, 0);
    sendFromOtherProcess(xWindow_, STANDIN_MESSAGE_ATOM, WM_USER + 1, 7, 9);
    MSG msg;
    std::vector<MSG> before;
    ASSERT_TRUE(waitForMessage(w, [](const MSG& m) { return m.message >= WM_USER; }, &msg,
                               &before));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(msg.lParam, 9);
    EXPECT_EQ(msg.hwnd, w);
    for (const auto& m : before) {
        EXPECT_NE(m.message, static_cast<UINT>(WM_QUIT));
        EXPECT_NE(m.message, static_cast<UINT>(WM_KEYDOWN));
    }
    EXPECT_FALSE(PeekMessageA(&msg, w, 0, 0, PM_REMOVE));
}

// ---------------------------------------------------------------- GL

TEST_F(StandinTest, PixelFormatAndContextGiveADoubleBufferedDepthStencilSurface)
{
    HWND w = openWindow("gl", 64, 48);
    HDC dc = GetDC(w);
    ASSERT_NE(dc, nullptr);
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 16;
    pfd.cStencilBits = 1;
    EXPECT_EQ(wglCreateContext(dc), nullptr) << "no context before a pixel format";
    int format = ChoosePixelFormat(dc, &pfd);
    ASSERT_GT(format, 0);
    ASSERT_TRUE(SetPixelFormat(dc, format, &pfd));
    HGLRC rc = wglCreateContext(dc);
    ASSERT_NE(rc, nullptr);
    ASSERT_TRUE(wglMakeCurrent(dc, rc));

    GLint depth = 0, stencil = 0, red = 0;
    GLboolean doubled = GL_FALSE;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    glGetIntegerv(GL_RED_BITS, &red);
    glGetBooleanv(GL_DOUBLEBUFFER, &doubled);
    EXPECT_GE(depth, 16);
    EXPECT_GE(stencil, 1);
    EXPECT_EQ(red, 8);
    EXPECT_EQ(doubled, GL_TRUE);

    // The frame drawn in the back buffer is the one presented by the swap.
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(SwapBuffers(dc));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    unsigned long shown = 0;
    EXPECT_TRUE(pollUntil([&] {
        XImage* image = XGetImage(testDisplay(), xWindow_, 10, 10, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr) return false;
        shown = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return shown == 0x00FF00;
    })) << std::hex << "the window shows " << shown;

    EXPECT_TRUE(wglMakeCurrent(dc, nullptr));
    EXPECT_TRUE(wglDeleteContext(rc));
    EXPECT_EQ(ReleaseDC(w, dc), 1);
}

// ---------------------------------------------------------------- services

TEST_F(StandinTest, DisplayModeThatTheDisplayLacksIsABadMode)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmBitsPerPel = 32;
    mode.dmPelsWidth = 800;
    mode.dmPelsHeight = 600;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
}

TEST_F(StandinTest, CursorFollowsTheDisplayCounter)
{
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
}

TEST_F(StandinTest, TickCountCountsFromSystemStartAndNeverGoesBack)
{
    DWORD first = GetTickCount();
    EXPECT_GT(first, 1000u) << "milliseconds since system start, not since SDL started";
    DWORD previous = first;
    for (int i = 0; i < 1000; ++i) {
        DWORD now = GetTickCount();
        EXPECT_GE(static_cast<DWORD>(now - first), static_cast<DWORD>(previous - first));
        previous = now;
    }
}

// Answers the message box titled `title` with a key from a child process, pressing it again
// now and then until it is stopped (a box just mapped may not listen yet). A process, not a
// thread: SDL forks to show the box, and a fork while another thread is inside Xlib hangs.
class BoxAnswerer {
public:
    BoxAnswerer(const char* title, KeySym key)
    {
        if (pipe(report_) != 0) return;
        child_ = fork();
        if (child_ != 0) {
            close(report_[1]);
            return;
        }
        close(report_[0]);
        Display* dpy = XOpenDisplay(nullptr);
        if (dpy == nullptr) _exit(2);
        bool told = false;
        while (true) {
            Window box = findXWindow(dpy, DefaultRootWindow(dpy), title);
            XWindowAttributes a;
            if (box != 0 && XGetWindowAttributes(dpy, box, &a) && a.map_state == IsViewable) {
                // Told before the key goes out: the box may return, and this process be
                // ended, before the press is even synced.
                if (!told && write(report_[1], "k", 1) == 1) told = true;
                XSetInputFocus(dpy, box, RevertToParent, CurrentTime);
                KeyCode code = XKeysymToKeycode(dpy, key);
                XTestFakeKeyEvent(dpy, code, True, CurrentTime);
                XTestFakeKeyEvent(dpy, code, False, CurrentTime);
                XSync(dpy, False);
            }
            usleep(100000);
        }
    }
    ~BoxAnswerer() { finish(); }
    // Ends the answering once the box has returned; true when a key was pressed on a box.
    bool finish()
    {
        if (child_ > 0) {
            kill(child_, SIGTERM);
            waitpid(child_, nullptr, 0);
            child_ = -1;
            char c;
            pressed_ = read(report_[0], &c, 1) == 1;
            close(report_[0]);
        }
        return pressed_;
    }

private:
    pid_t child_ = -1;
    int report_[2] = {-1, -1};
    bool pressed_ = false;
};

TEST_F(StandinTest, MessageBoxAnswersByKey)
{
    struct Case {
        UINT type;
        KeySym key;
        int answer;
    };
    const Case cases[] = {
        {MB_YESNO | MB_ICONQUESTION, XK_Return, IDYES},
        {MB_YESNO | MB_ICONQUESTION, XK_Escape, IDNO},
        {MB_OK | MB_ICONEXCLAMATION, XK_Return, IDOK},
        {MB_OK | MB_ICONEXCLAMATION, XK_Escape, IDOK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(XKeysymToString(c.key));
        int answer;
        {
            BoxAnswerer box("Start FullScreen?", c.key);
            answer = MessageBoxA(nullptr, "Would You Like To Run In Fullscreen Mode?\nSecond line",
                                 "Start FullScreen?", c.type);
            EXPECT_TRUE(box.finish()) << "no box was shown";
        }
        EXPECT_EQ(answer, c.answer);
    }
}

TEST_F(StandinTest, MessageBoxWithoutADisplayWritesToStderrAndAnswersNo)
{
    int output[2];
    ASSERT_EQ(pipe(output), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(output[1], 2);
        unsetenv("DISPLAY");
        int answer = MessageBoxA(nullptr, "Would You Like To Run In Fullscreen Mode?",
                                 "Start FullScreen?", MB_YESNO | MB_ICONQUESTION);
        _exit(answer == IDNO ? 0 : 1);
    }
    close(output[1]);
    std::string text;
    char buffer[256];
    ssize_t got;
    while ((got = read(output[0], buffer, sizeof buffer)) > 0) text.append(buffer, got);
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the answer is No";
    EXPECT_NE(text.find("Would You Like To Run In Fullscreen Mode?"), std::string::npos) << text;
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    addXvfbEnvironment(1024, 768);
    return RUN_ALL_TESTS();
}
