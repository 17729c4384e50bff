// gl_fixture.cpp: the private display, the SDL window and GL context, and frame read-back.
#include "gl_fixture.h"

#include "shell/game_window.h"

#include <algorithm>

#include <dlfcn.h>

XvfbServer* GlTest::xvfb = nullptr;
SDL_Window* GlTest::window = nullptr;
SDL_GLContext GlTest::context = nullptr;

DWORD scriptedTickCount = 1;
int liveQuadrics = 0;

// The platform's tick count as the tests script it.
DWORD GetTickCount(void)
{
    return scriptedTickCount;
}

int Frame::inkIn(int x0, int y0, int x1, int y1) const
{
    int count = 0;
    for (int y = std::max(y0, 0); y <= std::min(y1, 599); ++y) {
        for (int x = std::max(x0, 0); x <= std::min(x1, 799); ++x) {
            count += lit(x, y) ? 1 : 0;
        }
    }
    return count;
}

void GlTest::SetUpTestSuite()
{
    xvfb = new XvfbServer();
    ASSERT_TRUE(xvfb->start(1024, 768, 24)) << xvfb->error();
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_TRUE(openWindow()) << SDL_GetError();
}

void GlTest::TearDownTestSuite()
{
    closeWindow();
    SDL_Quit();
    delete xvfb;
    xvfb = nullptr;
}

void GlTest::SetUp()
{
    ASSERT_NE(context, nullptr);
    applyShellProjection();
    while (glGetError() != GL_NO_ERROR) {
    }
}

bool GlTest::openWindow()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    window = SDL_CreateWindow("gl test", 0, 0, 800, 600, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window) {
        return false;
    }
    context = SDL_GL_CreateContext(window);
    if (!context) {
        SDL_DestroyWindow(window);
        window = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(window, context);
    applyShellProjection();
    return true;
}

void GlTest::closeWindow()
{
    if (context) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
}

void GlTest::applyShellProjection()
{
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 800.0 / 600.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

WindowPoint GlTest::project(double x, double y, double distance)
{
    GLdouble modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -distance, 1};
    GLdouble projection[16];
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, 800.0 / 600.0, 1.0, 100.0);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    const GLint viewport[4] = {0, 0, 800, 600};
    GLdouble wx = 0, wy = 0, wz = 0;
    gluProject(x, y, 0.0, modelview, projection, viewport, &wx, &wy, &wz);
    return {wx, wy};
}

Frame GlTest::readFrame()
{
    Frame frame;
    frame.pixels.assign(800 * 600 * 4, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, frame.pixels.data());
    return frame;
}

// GLU's quadric constructor and destructor, counted on their way to the library's own.
extern "C" GLUquadric* gluNewQuadric(void)
{
    using Create = GLUquadric* (*)(void);
    static Create create = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "gluNewQuadric"));
    GLUquadric* quadric = create();
    if (quadric) ++liveQuadrics;
    return quadric;
}

extern "C" void gluDeleteQuadric(GLUquadric* quadric)
{
    using Delete = void (*)(GLUquadric*);
    static Delete release = reinterpret_cast<Delete>(dlsym(RTLD_NEXT, "gluDeleteQuadric"));
    if (quadric) --liveQuadrics;
    release(quadric);
}

// The shell's quit request: the tests run no message loop to end.
void requestQuit(const GameWindow&)
{
}
