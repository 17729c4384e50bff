// standin_fullscreen_test.cpp: the display-mode switch on a private 800x600 X server, where
#include <gtest/gtest.h>

// the game's full-screen mode is the display's own.
#include "standin_harness.h"

#include <SDL.h>

namespace {

DEVMODEA modeRequest(DWORD width, DWORD height)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmBitsPerPel = 32;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return mode;
}

TEST(StandinFullScreen, SwitchSucceedsAndThePopupCoversTheDisplay)
{
    ASSERT_NE(registerTestClass(), 0);
    DEVMODEA other = modeRequest(640, 480);
    EXPECT_EQ(ChangeDisplaySettingsA(&other, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    DEVMODEA mode = modeRequest(800, 600);
    ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);

    HWND w = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_TOPMOST, TEST_CLASS, "full screen",
                             WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    Window x = findXWindow("full screen");
    ASSERT_NE(x, 0u);
    int left, top, width, height;
    xGeometry(x, &left, &top, &width, &height);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    SDL_Window* sdl = SDL_GetWindowFromID(1);
    ASSERT_NE(sdl, nullptr);
    Uint32 flags = SDL_GetWindowFlags(sdl);
    EXPECT_TRUE(flags & SDL_WINDOW_FULLSCREEN);
    EXPECT_TRUE(flags & SDL_WINDOW_BORDERLESS);

    EXPECT_TRUE(DestroyWindow(w));
    EXPECT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
    SDL_DisplayMode current;
    ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &current), 0);
    EXPECT_EQ(current.w, 800);
    EXPECT_EQ(current.h, 600);
    UnregisterClassA(TEST_CLASS, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    addXvfbEnvironment(800, 600);
    return RUN_ALL_TESTS();
}
