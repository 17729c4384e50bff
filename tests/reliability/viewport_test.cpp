// viewport_test.cpp: the shell's resizeViewport on a real GL context for the degenerate
// client sizes a window can be dragged to; the projection must stay finite.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>

#include "shell/game_window.h"
#include "xvfb.h"

namespace {

class Viewport : public ::testing::TestWithParam<std::pair<int, int>> {
public:
    static void SetUpTestSuite()
    {
        xvfb = new XvfbServer();
        ASSERT_TRUE(xvfb->start(1024, 768, 24)) << xvfb->error();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        window = SDL_CreateWindow("viewport", 0, 0, 800, 600, SDL_WINDOW_OPENGL);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        context = SDL_GL_CreateContext(window);
        ASSERT_NE(context, nullptr) << SDL_GetError();
    }

    static void TearDownTestSuite()
    {
        if (context) SDL_GL_DeleteContext(context);
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        delete xvfb;
    }

    static XvfbServer* xvfb;
    static SDL_Window* window;
    static SDL_GLContext context;
};

XvfbServer* Viewport::xvfb = nullptr;
SDL_Window* Viewport::window = nullptr;
SDL_GLContext Viewport::context = nullptr;

TEST_P(Viewport, LeavesAFiniteProjectionAndTheModelViewCurrent)
{
    ASSERT_NE(context, nullptr);
    resizeViewport(800, 600);
    const auto [width, height] = GetParam();
    resizeViewport(width, height);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(projection[i])) << "element " << i << " is " << projection[i];
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    // The next real size puts the 45-degree perspective back.
    resizeViewport(800, 600);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_NEAR(projection[5], 1.0 / std::tan(22.5 * M_PI / 180.0), 1e-6);
    EXPECT_NEAR(projection[0], projection[5] * 600.0 / 800.0, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(DegenerateSizes, Viewport,
                         ::testing::Values(std::make_pair(800, 0), std::make_pair(0, 600),
                                           std::make_pair(0, 0), std::make_pair(1, 1)));

}  // namespace

// Our own main: the stand-in's library carries the program's main, which wants WinMain.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
