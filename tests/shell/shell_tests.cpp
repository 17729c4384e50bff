// shell_tests.cpp: the shell's entry, window, loop and window procedure against the fake platform.
#include "fake_winapi.h"
#include "shell/game_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

// ---------------------------------------------------------------- the game hooks, scripted

namespace {

struct Hooks {
    int initResult = 1;
    int inits = 0;
    GameWindow* window = nullptr;
    int* keys = nullptr;
    std::vector<GameWindow*> windowsSeen;
    std::vector<int*> keysSeen;
    std::vector<DWORD> elapsed;
    int frame = 0;  // frame index on the current window
    // Runs inside updateFrame. By default the first frame of each window closes it.
    std::function<void(int frame)> onUpdate;
    std::function<void()> onInit;
};

Hooks hooks;

void postToWindow(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    PostMessageA(fake.window, message, wParam, lParam);
}

} // namespace

int initGame(GameWindow* window, int* keyTable)
{
    fake.log("initGame()");
    ++hooks.inits;
    hooks.window = window;
    hooks.keys = keyTable;
    hooks.windowsSeen.push_back(window);
    hooks.keysSeen.push_back(keyTable);
    hooks.frame = 0;
    if (hooks.onInit)
        hooks.onInit();
    return hooks.initResult;
}

void updateFrame(DWORD elapsedMs)
{
    fake.log("updateFrame(" + std::to_string(elapsedMs) + ")");
    hooks.elapsed.push_back(elapsedMs);
    if (hooks.onUpdate)
        hooks.onUpdate(hooks.frame);
    else if (hooks.frame == 0)
        postToWindow(WM_CLOSE);
    ++hooks.frame;
}

void drawFrame() { fake.log("drawFrame()"); }
void shutdownGame() { fake.log("shutdownGame()"); }

namespace {

const HINSTANCE instance = (HINSTANCE)(uintptr_t)0x400000;

class Shell : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake.reset();
        hooks = Hooks();
        appRunning = 0;
        fullScreenWanted = 0;
    }

    int run() { return WinMain(instance, NULL, (LPSTR) "", SW_SHOWNORMAL); }

    // Checks that the log holds these lines in this order (other lines may come between).
    void expectInOrder(const std::vector<std::string>& prefixes)
    {
        int at = 0;
        for (const std::string& prefix : prefixes) {
            int found = fake.indexOf(prefix, at);
            ASSERT_GE(found, 0) << "missing, or out of order: " << prefix << "\n" << dump();
            at = found + 1;
        }
    }

    std::string dump() const
    {
        std::string all;
        for (const std::string& line : fake.calls)
            all += "  " + line + "\n";
        return all;
    }
};

const char* const question =
    "MessageBoxA(none|Would You Like To Run In Fullscreen Mode?|Start FullScreen?|0x24)";
const char* const modeSwitchFailed =
    "MessageBoxA(none|Mode Switch Failed.\nRunning In Windowed Mode.|Error|0x30)";
const char* const creationFailed = "MessageBoxA(none|Error Creating OpenGL Window|Error|0x30)";

// ---------------------------------------------------------------- start-up and class

TEST_F(Shell, RegistersTheClassWithCursorThenIconAndAsksTheQuestionFirst)
{
    fake.messageBoxAnswers = {IDNO};
    EXPECT_EQ(run(), 0);
    std::string registration = "RegisterClassExA(OpenGL|size=" +
                               std::to_string(sizeof(WNDCLASSEXA)) +
                               "|style=0x23|icon=yes|cursor=yes|brush=12)";
    expectInOrder({question, "LoadCursorA(32512)", "LoadImageA(101|type=1|0x0|0x40)",
                   registration, "CreateWindowExA", "initGame()", "updateFrame",
                   "shutdownGame()", "DestroyWindow()", "UnregisterClassA(OpenGL)"});
    EXPECT_EQ(fake.count("MessageBoxA"), 1);
}

struct ModeCase {
    const char* name;
    int answer;
    LONG switchResult;
    const char* createCall;
    bool switchTried;
    bool displayGivenBack;
};

class StartMode : public Shell, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StartMode, OpensTheWindowInTheAnsweredMode)
{
    const ModeCase& c = GetParam();
    fake.messageBoxAnswers = {c.answer};
    fake.displayChangeResult = c.switchResult;
    EXPECT_EQ(run(), 0);

    EXPECT_EQ(fake.count(c.createCall), 1) << dump();
    EXPECT_EQ(fake.called("ChangeDisplaySettingsA(800x600x32|fields=0x1c0000|size=ok|0x4)"),
              c.switchTried);
    EXPECT_EQ(fake.called("AdjustWindowRectEx"), c.answer == IDNO);
    EXPECT_EQ(fake.called(modeSwitchFailed), c.switchTried && c.switchResult != 0);
    // The cursor is hidden exactly while the display is switched.
    EXPECT_EQ(fake.count("ShowCursor(0)"), c.displayGivenBack ? 1 : 0);
    EXPECT_EQ(fake.count("ShowCursor(1)"), c.displayGivenBack ? 1 : 0);
    EXPECT_EQ(fake.count("ChangeDisplaySettingsA(default|0x0)"), c.displayGivenBack ? 1 : 0);
    if (c.displayGivenBack)
        expectInOrder({"DestroyWindow()", "ChangeDisplaySettingsA(default", "ShowCursor(1)"});
    EXPECT_EQ(fake.cursorCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, StartMode,
    ::testing::Values(
        ModeCase{"No", IDNO, DISP_CHANGE_SUCCESSFUL,
                 "CreateWindowExA(OpenGL|Sphere Snake|style=0xcf0000|ex=0x40000|at=0,0|816x639|"
                 "parent=no|menu=no)",
                 false, false},
        ModeCase{"YesSwitched", IDYES, DISP_CHANGE_SUCCESSFUL,
                 "CreateWindowExA(OpenGL|Sphere Snake|style=0x80000000|ex=0x40008|at=0,0|800x600|",
                 true, true},
        ModeCase{"YesSwitchFailed", IDYES, DISP_CHANGE_BADMODE,
                 "CreateWindowExA(OpenGL|Sphere Snake|style=0xcf0000|ex=0x40000|at=0,0|800x600|",
                 true, false}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST_F(Shell, FailedClassRegistrationShowsTwoBoxesAndExitsWithMinusOne)
{
    fake.messageBoxAnswers = {IDNO};
    fake.registerClassFails = true;
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(fake.only({"MessageBoxA"}),
              (std::vector<std::string>{
                  question, "MessageBoxA(none|RegisterClassEx Failed!|Error|0x30)",
                  "MessageBoxA(none|Error Registering Window Class!|Error|0x30)"}));
    EXPECT_FALSE(fake.called("CreateWindowExA"));
    EXPECT_FALSE(fake.called("UnregisterClassA"));
    EXPECT_EQ(hooks.inits, 0);
}

// ---------------------------------------------------------------- opening and closing

// Registers the class on the fake and fills a window record as WinMain does.
void prepareWindow(GameWindow& window, int* keys, const AppIdentity* identity, int fullScreen)
{
    WNDCLASSEXA c;
    std::memset(&c, 0, sizeof c);
    c.lpfnWndProc = gameWindowProc;
    c.lpszClassName = "OpenGL";
    RegisterClassExA(&c);
    std::memset(&window, 0, sizeof window);
    window.keyTable = keys;
    window.identity = identity;
    window.title = "Sphere Snake";
    window.width = 800;
    window.height = 600;
    window.bitsPerPixel = 32;
    window.fullScreen = fullScreen;
}


struct OpenFailure {
    const char* name;
    bool FakePlatform::*fails;
    const char* failingCall;
    std::vector<std::string> undone;  // the calls after the failing one, in order
};

class OpenFails : public Shell, public ::testing::WithParamInterface<OpenFailure> {
protected:
    KeyTable keys;
    AppIdentity identity{instance, "OpenGL"};
    GameWindow window;

    void prepare(int fullScreen)
    {
        prepareWindow(window, keys, &identity, fullScreen);
        fake.*(GetParam().fails) = true;
    }

    std::vector<std::string> callsAfterFailure()
    {
        int failing = fake.indexOf(GetParam().failingCall);
        EXPECT_GE(failing, 0) << dump();
        return std::vector<std::string>(fake.calls.begin() + failing + 1, fake.calls.end());
    }
};

TEST_P(OpenFails, UndoesNewestFirstAndLeavesTheHandlesNull)
{
    prepare(0);
    EXPECT_EQ(openGameWindow(window), 0);
    EXPECT_EQ(window.windowHandle, nullptr);
    EXPECT_EQ(window.deviceContext, nullptr);
    EXPECT_EQ(window.renderContext, nullptr);
    EXPECT_EQ(callsAfterFailure(), GetParam().undone);
    EXPECT_FALSE(fake.called("ShowWindow"));
}

TEST_P(OpenFails, GivesTheSwitchedDisplayAndTheCursorBack)
{
    prepare(1);
    EXPECT_EQ(openGameWindow(window), 0);
    std::vector<std::string> expected = GetParam().undone;
    expected.push_back("ChangeDisplaySettingsA(default|0x0)");
    expected.push_back("ShowCursor(1)");
    EXPECT_EQ(callsAfterFailure(), expected);
    EXPECT_EQ(fake.cursorCount, 0);
}

TEST_P(OpenFails, ReportsTheFailureAndEndsWithoutRunningTheGame)
{
    fake.messageBoxAnswers = {IDNO};
    fake.*(GetParam().fails) = true;
    EXPECT_EQ(run(), 0);
    expectInOrder({GetParam().failingCall, creationFailed, "UnregisterClassA(OpenGL)"});
    EXPECT_EQ(hooks.inits, 0);
    EXPECT_FALSE(fake.called("shutdownGame()"));
    EXPECT_FALSE(fake.called("wglMakeCurrent(none)"));
    EXPECT_EQ(appRunning, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, OpenFails,
    ::testing::Values(
        OpenFailure{"CreateWindow", &FakePlatform::createWindowFails, "CreateWindowExA", {}},
        OpenFailure{"GetDC", &FakePlatform::getDCFails, "GetDC()", {"DestroyWindow()"}},
        OpenFailure{"ChoosePixelFormat",
                    &FakePlatform::choosePixelFormatFails,
                    "ChoosePixelFormat",
                    {"ReleaseDC()", "DestroyWindow()"}},
        OpenFailure{"SetPixelFormat",
                    &FakePlatform::setPixelFormatFails,
                    "SetPixelFormat(7)",
                    {"ReleaseDC()", "DestroyWindow()"}},
        OpenFailure{"CreateContext",
                    &FakePlatform::createContextFails,
                    "wglCreateContext()",
                    {"ReleaseDC()", "DestroyWindow()"}},
        OpenFailure{"MakeCurrent",
                    &FakePlatform::makeCurrentFails,
                    "wglMakeCurrent(context)",
                    {"wglDeleteContext()", "ReleaseDC()", "DestroyWindow()"}}),
    [](const ::testing::TestParamInfo<OpenFailure>& info) { return std::string(info.param.name); });

TEST_F(Shell, ASuccessfulOpenClearsTheKeysAndStartsTheClock)
{
    KeyTable keys;
    for (int& key : keys)
        key = 1;
    AppIdentity identity{instance, "OpenGL"};
    GameWindow window;
    prepareWindow(window, keys, &identity, 0);
    fake.tickCount = [] { return (DWORD)123456; };

    ASSERT_EQ(openGameWindow(window), 1);
    EXPECT_NE(window.windowHandle, nullptr);
    EXPECT_EQ(window.deviceContext, fakeDeviceContext);
    EXPECT_EQ(window.renderContext, fakeRenderContext);
    EXPECT_EQ(window.visible, 1);
    EXPECT_EQ(window.lastTick, 123456u);
    for (int key : keys)
        ASSERT_EQ(key, 0);
    // WM_CREATE stored the record before CreateWindowExA returned.
    EXPECT_EQ(GetWindowLongPtrA(window.windowHandle, GWLP_USERDATA), (LONG_PTR)&window);
    std::string format = "ChoosePixelFormat(size=ok|flags=0x25|type=0|colour=32|depth=16|stencil=1)";
    expectInOrder({"CreateWindowExA", "SetWindowLongPtrA(-21)", "GetDC()", format,
                   "SetPixelFormat(7)", "wglCreateContext()", "wglMakeCurrent(context)",
                   "ShowWindow(1)"});

    EXPECT_EQ(closeGameWindow(window), 1);
    EXPECT_EQ(window.windowHandle, nullptr);
    EXPECT_EQ(window.deviceContext, nullptr);
    EXPECT_EQ(window.renderContext, nullptr);
    expectInOrder({"wglMakeCurrent(none)", "wglDeleteContext()", "ReleaseDC()", "DestroyWindow()"});
    EXPECT_FALSE(fake.called("ChangeDisplaySettingsA(default"));
}

TEST_F(Shell, ClosingWithoutAWindowStillGivesTheDisplayBack)
{
    GameWindow window;
    std::memset(&window, 0, sizeof window);
    window.fullScreen = 1;
    EXPECT_EQ(closeGameWindow(window), 1);
    EXPECT_EQ(fake.calls,
              (std::vector<std::string>{"ChangeDisplaySettingsA(default|0x0)", "ShowCursor(1)"}));
}

// ---------------------------------------------------------------- the window cycle

TEST_F(Shell, AFailedStartUpRunsNoFrameAndClosesTheWindow)
{
    fake.messageBoxAnswers = {IDNO};
    hooks.initResult = 0;
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(hooks.elapsed.empty());
    expectInOrder({"initGame()", "PostMessageA(window|0x12)", "shutdownGame()",
                   "wglMakeCurrent(none)", "wglDeleteContext()", "ReleaseDC()", "DestroyWindow()",
                   "UnregisterClassA(OpenGL)"});
    EXPECT_EQ(fake.count("shutdownGame()"), 1);
    EXPECT_EQ(fake.count("DestroyWindow()"), 1);
}

TEST_F(Shell, TheSwitchMessageRecreatesTheWindowInTheOtherModeWithTheSamePointers)
{
    fake.messageBoxAnswers = {IDNO};
    hooks.onUpdate = [](int frame) {
        if (frame != 0)
            return;
        postToWindow(hooks.inits == 1 ? MSG_SWITCH_SCREEN_MODE : WM_CLOSE);
    };
    EXPECT_EQ(run(), 0);

    ASSERT_EQ(hooks.inits, 2);
    EXPECT_EQ(hooks.windowsSeen[0], hooks.windowsSeen[1]);
    EXPECT_EQ(hooks.keysSeen[0], hooks.keysSeen[1]);
    std::vector<std::string> creations = fake.only({"CreateWindowExA"});
    ASSERT_EQ(creations.size(), 2u);
    EXPECT_NE(creations[0].find("style=0xcf0000"), std::string::npos);
    EXPECT_NE(creations[1].find("style=0x80000000"), std::string::npos);
    expectInOrder({"DispatchMessageA(0x401)", "DefWindowProcA(0x401", "shutdownGame()",
                   "DestroyWindow()", "ChangeDisplaySettingsA(800x600x32", "CreateWindowExA",
                   "initGame()", "DispatchMessageA(0x10)", "shutdownGame()", "DestroyWindow()",
                   "ChangeDisplaySettingsA(default", "ShowCursor(1)", "UnregisterClassA"});
    EXPECT_EQ(fullScreenWanted, 1);
}

TEST_F(Shell, AfterAFailedSwitchTheFirstSwitchMessageStaysWindowed)
{
    fake.messageBoxAnswers = {IDYES};
    fake.displayChangeResult = DISP_CHANGE_BADMODE;
    hooks.onUpdate = [](int frame) {
        if (frame == 0)
            postToWindow(hooks.inits == 1 ? MSG_SWITCH_SCREEN_MODE : WM_CLOSE);
    };
    EXPECT_EQ(run(), 0);
    ASSERT_EQ(hooks.inits, 2);
    // The second window was asked for windowed: no second switch, an adjusted rectangle.
    EXPECT_EQ(fake.count("ChangeDisplaySettingsA(800x600x32"), 1);
    EXPECT_EQ(fake.count("AdjustWindowRectEx"), 1);
    EXPECT_EQ(fullScreenWanted, 0);
}

// ---------------------------------------------------------------- the message and frame loop

TEST_F(Shell, EachPassHandlesOneMessageOrOneFrameAndNeverFetchesThreadMessages)
{
    fake.messageBoxAnswers = {IDNO};
    int spaceSeenInFrame1 = -1;
    hooks.onUpdate = [&](int frame) {
        if (frame == 0) {
            postToWindow(WM_KEYDOWN, VK_SPACE);
            PostMessageA(NULL, WM_USER + 5, 0, 0);
            postToWindow(WM_KEYUP, VK_SPACE);
        } else if (frame == 1) {
            spaceSeenInFrame1 = hooks.keys[VK_SPACE];
            postToWindow(WM_CLOSE);
        }
    };
    EXPECT_EQ(run(), 0);

    int first = fake.indexOf("updateFrame");
    EXPECT_EQ(std::vector<std::string>(fake.calls.begin() + first + 1,
                                       fake.calls.begin() + first + 10),
              (std::vector<std::string>{"PostMessageA(window|0x100)", "PostMessageA(thread|0x405)",
                                        "PostMessageA(window|0x101)", "drawFrame()",
                                        "SwapBuffers(dc)", "DispatchMessageA(0x100)",
                                        "DispatchMessageA(0x101)", "updateFrame(0)",
                                        "PostMessageA(window|0x10)"}));
    // A key pressed and released between two frames is never seen.
    EXPECT_EQ(spaceSeenInFrame1, 0);
    EXPECT_FALSE(fake.called("DispatchMessageA(0x405)"));
    EXPECT_FALSE(fake.called("DispatchMessageA(0x12)"));
}

TEST_F(Shell, ElapsedTimeIsTheTickDifferenceModulo2To32AndIncludesTheStartUp)
{
    fake.messageBoxAnswers = {IDNO};
    DWORD now = 0xFFFFFF00u;
    fake.tickCount = [&] { return now; };
    hooks.onInit = [&] { now += 0x150; };  // start-up takes 336 ms and crosses the wrap
    hooks.onUpdate = [&](int frame) {
        now += 16;
        if (frame == 1)
            postToWindow(WM_CLOSE);
    };
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(hooks.elapsed, (std::vector<DWORD>{0x150, 16}));
}

TEST_F(Shell, WhileMinimisedTheLoopWaitsAndTheFirstFrameAfterGetsTheWholeTime)
{
    fake.messageBoxAnswers = {IDNO};
    DWORD now = 1000;
    fake.tickCount = [&] { return now; };
    int waits = 0;
    fake.onWaitMessage = [&] {
        if (++waits == 3) {
            now += 60000;
            postToWindow(WM_SIZE, SIZE_RESTORED, (600 << 16) | 800);
        }
    };
    hooks.onUpdate = [&](int frame) {
        now += 10;
        if (frame == 0)
            postToWindow(WM_SIZE, SIZE_MINIMIZED, 0);
        if (frame == 1)
            postToWindow(WM_CLOSE);
    };
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(waits, 3);
    EXPECT_EQ(hooks.elapsed, (std::vector<DWORD>{0, 60010}));
    expectInOrder({"updateFrame(0)", "DispatchMessageA(0x5)", "WaitMessage()", "WaitMessage()",
                   "WaitMessage()", "DispatchMessageA(0x5)", "updateFrame(60010)"});
}

TEST_F(Shell, AQuitRequestedInsideTheUpdateStillDrawsAndPresentsThatFrame)
{
    fake.messageBoxAnswers = {IDNO};
    hooks.onUpdate = [](int) { requestQuit(*hooks.window); };
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(hooks.elapsed.size(), 1u);
    expectInOrder({"updateFrame", "PostMessageA(window|0x12)", "drawFrame()", "SwapBuffers(dc)",
                   "shutdownGame()", "DestroyWindow()", "UnregisterClassA"});
    EXPECT_EQ(appRunning, 0);
}

// ---------------------------------------------------------------- the window procedure

struct ProcCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool defaultProcessing;
    int key65;        // the 'A' entry afterwards (starts 0)
    int visible;      // visible afterwards (starts 1)
    bool postsQuit;
};

class WindowProc : public Shell, public ::testing::WithParamInterface<ProcCase> {};

TEST_P(WindowProc, AnswersEachMessageAsTheTableSays)
{
    const ProcCase& c = GetParam();
    KeyTable keys = {};
    GameWindow window;
    std::memset(&window, 0, sizeof window);
    window.keyTable = keys;
    window.visible = 1;
    HWND hwnd = fakeWindowHandle(1);
    window.windowHandle = hwnd;
    fake.window = hwnd;
    fake.userData = (LONG_PTR)&window;
    appRunning = 1;
    fullScreenWanted = 1;

    LRESULT result = gameWindowProc(hwnd, c.message, c.wParam, c.lParam);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(fake.called("DefWindowProcA"), c.defaultProcessing) << dump();
    EXPECT_EQ(keys[65], c.key65);
    EXPECT_EQ(window.visible, c.visible);
    EXPECT_EQ(fake.called("PostMessageA(window|0x12)"), c.postsQuit);
    // Only the switch message flips the mode; only a close request stops the cycle.
    EXPECT_EQ(fullScreenWanted, c.message == MSG_SWITCH_SCREEN_MODE ? 0 : 1);
    EXPECT_EQ(appRunning, c.message == WM_CLOSE ? 0 : 1);
    for (int i = 0; i < 256; ++i) {
        if (i != 65) {
            ASSERT_EQ(keys[i], 0) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, WindowProc,
    ::testing::Values(
        ProcCase{"KeyDown", WM_KEYDOWN, 0x41, 0, false, 1, 1, false},
        ProcCase{"KeyDownAbove255", WM_KEYDOWN, 0x141, 0, true, 0, 1, false},
        ProcCase{"KeyUp", WM_KEYUP, 0x41, 0, false, 0, 1, false},
        ProcCase{"KeyUpAbove255", WM_KEYUP, 256, 0, true, 0, 1, false},
        ProcCase{"SysKeyDown", WM_SYSKEYDOWN, 0x41, 0, true, 0, 1, false},
        ProcCase{"Minimised", WM_SIZE, SIZE_MINIMIZED, 0, false, 0, 0, false},
        ProcCase{"Restored", WM_SIZE, SIZE_RESTORED, (480 << 16) | 640, false, 0, 1, false},
        ProcCase{"MaxShow", WM_SIZE, SIZE_MAXSHOW, 0, true, 0, 1, false},
        ProcCase{"MaxHide", WM_SIZE, SIZE_MAXHIDE, 0, true, 0, 1, false},
        ProcCase{"ScreenSaver", WM_SYSCOMMAND, SC_SCREENSAVE, 0, false, 0, 1, false},
        ProcCase{"MonitorPower", WM_SYSCOMMAND, SC_MONITORPOWER, 0, false, 0, 1, false},
        ProcCase{"OtherSysCommand", WM_SYSCOMMAND, SC_CLOSE, 0, true, 0, 1, false},
        ProcCase{"Close", WM_CLOSE, 0, 0, false, 0, 1, true},
        ProcCase{"SwitchScreenMode", MSG_SWITCH_SCREEN_MODE, 0, 0, true, 0, 1, true},
        ProcCase{"Other", WM_USER + 7, 0, 0, true, 0, 1, false}),
    [](const ::testing::TestParamInfo<ProcCase>& info) { return std::string(info.param.name); });

TEST_F(Shell, MessagesForAWindowWithoutItsRecordGoToTheDefaultProcessing)
{
    // No record in the slot: before WM_CREATE, or after the window is gone.
    HWND hwnd = fakeWindowHandle(9);
    for (UINT message : {(UINT)WM_SIZE, (UINT)WM_CLOSE, (UINT)WM_KEYDOWN, (UINT)WM_KEYUP})
        gameWindowProc(hwnd, message, SIZE_MINIMIZED, 0);
    EXPECT_EQ(fake.count("DefWindowProcA"), 4);
}

} // namespace
