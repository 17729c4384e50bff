// frame_bench.cpp: frames per second of the real renderer in an 800x600 game window on a
// private Xvfb, the empty frame and the full scene measured interleaved in one run.
//
// The window, its pixel format and context come from the shell's openGameWindow over the
// Linux stand-in, and initGame builds the font and the scene state, exactly as the game does.
// Each sample runs frame passes of one kind for a fixed time:
//   empty   PeekMessageA, glClear (colour, depth, stencil), SwapBuffers
//   length  PeekMessageA, updateFrame, drawFrame, SwapBuffers with the snake at 3, 50 or 100
//           segments, both apples, the heads-up display and the skill menu's six lines
// The kinds take turns in every round (the order rotates), so that the machine's drifts hit
// all of them alike; the first round only warms up (Mesa compiles its shaders then).
//
//   frame_bench [--rounds N] [--sample-ms MS] [--no-tuning]
// --no-tuning leaves out the stand-in's process tuning (standinTuneProcess), to show its effect.
#include "bench_util.h"
#include "game/game_state.h"
#include "render/render.h"
#include "shell/game_window.h"
#include "shell/standin/tuning.h"
#include "xvfb.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Lays the head and `length` segments along a serpentine of rows from the lower left corner,
// every sphere in its own cell inside the border; the head leads.
void layOutSnake(int length)
{
    const int perRow = 23;  // cells from x = -6.5 to 4.5
    auto cell = [&](int k) {
        int row = k / perRow, column = k % perRow;
        float x = row % 2 == 0 ? -6.5f + 0.5f * column : 4.5f - 0.5f * column;
        return Vec3{x, -5.5f + 0.5f * row, 0.0f};
    };
    snake.head = cell(length);
    for (int i = 0; i < length; ++i) snake.body[i] = cell(length - 1 - i);
    snake.length = length;
}

struct Kind {
    const char* name;
    int length;  // -1: the empty frame
    std::vector<double> fps;
    std::vector<double> cpuMs;     // this process's CPU time per frame, all threads
    std::vector<double> serverMs;  // the X server's CPU time per frame
};

pid_t serverPid = -1;

GameWindow window;
KeyTable keys;
AppIdentity identity;
MSG message;

// One pass of the frame loop without the wait for a minimised window.
void framePass(const Kind& kind, DWORD& lastTick)
{
    if (PeekMessageA(&message, window.windowHandle, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) DispatchMessageA(&message);
    }
    if (kind.length < 0) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    } else {
        DWORD now = GetTickCount();
        updateFrame(now - lastTick);
        lastTick = now;
        drawFrame();
    }
    SwapBuffers(window.deviceContext);
}

// Process CPU time (all threads) in seconds.
double cpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU time of the X server in seconds (user and system, from /proc).
double serverSeconds()
{
    if (serverPid <= 0) return 0.0;
    double cpu = processorSeconds(serverPid);
    return cpu < 0 ? 0.0 : cpu;
}

// Frames per second of one kind over about `sampleMs` milliseconds; the CPU time per frame of
// this process and of the X server go to the kind's lists when `keep` is set.
double sample(Kind& kind, int sampleMs, bool keep)
{
    if (kind.length >= 0) layOutSnake(kind.length);
    DWORD lastTick = GetTickCount();
    // Three passes before the clock starts: the kinds' state differs in the first frame.
    for (int i = 0; i < 3; ++i) framePass(kind, lastTick);
    glFinish();
    const double start = seconds();
    const double cpuStart = cpuSeconds();
    const double serverStart = serverSeconds();
    const double end = start + sampleMs * 0.001;
    int frames = 0;
    double now = start;
    while (now < end) {
        framePass(kind, lastTick);
        ++frames;
        if (frames % 4 == 0) now = seconds();
    }
    glFinish();
    const double fps = frames / (seconds() - start);
    if (keep) {
        kind.fps.push_back(fps);
        kind.cpuMs.push_back((cpuSeconds() - cpuStart) * 1000.0 / frames);
        kind.serverMs.push_back((serverSeconds() - serverStart) * 1000.0 / frames);
    }
    return fps;
}

// Where a full frame's time goes: drawFrame's steps replayed with the real drawing functions,
// each followed by glFinish so that Mesa's deferred rasterisation is charged to it.
void breakdown(int length, int frames)
{
    layOutSnake(length);
    const char* names[] = {"clear", "border", "apples", "snake", "text overlay", "swap"};
    const int parts = 6;
    std::vector<double> wall[parts], cpu[parts];
    for (int f = 0; f < frames; ++f) {
        double w0 = seconds(), c0 = cpuSeconds();
        auto mark = [&](int part) {
            glFinish();
            double w = seconds(), c = cpuSeconds();
            wall[part].push_back((w - w0) * 1000.0);
            cpu[part].push_back((c - c0) * 1000.0);
            w0 = w;
            c0 = c;
        };
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -16.0f);
        mark(0);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        drawBorder();
        mark(1);
        glEnable(GL_LIGHTING);
        drawApples();
        mark(2);
        snake.draw();
        mark(3);
        glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, 1.0f);
        drawTextOverlay();
        glPopMatrix();
        glFlush();
        mark(4);
        SwapBuffers(window.deviceContext);
        mark(5);
    }
    std::printf("\nwhere a frame at length %d goes (median ms of %d frames, glFinish after each step)\n",
                length, frames);
    std::printf("%-14s %8s %8s\n", "step", "wall", "cpu");
    for (int p = 0; p < parts; ++p) {
        std::printf("%-14s %8.3f %8.3f\n", names[p], median(wall[p]), median(cpu[p]));
        std::printf("#result part_%d %s|%.3f|%.3f\n", p, names[p], median(wall[p]), median(cpu[p]));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 7;
    int sampleMs = 400;
    bool tuning = true;
    bool parts = false;
    bool startup = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc) rounds = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--sample-ms") && i + 1 < argc) sampleMs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--no-tuning")) tuning = false;
        else if (!std::strcmp(argv[i], "--breakdown")) parts = true;
        else if (!std::strcmp(argv[i], "--startup")) startup = true;
        else {
            std::fprintf(stderr, "usage: %s [--rounds N] [--sample-ms MS] [--no-tuning] [--breakdown] [--startup]\n", argv[0]);
            return 2;
        }
    }
    if (tuning) standinTuneProcess();

    XvfbServer xvfb;
    if (!xvfb.start(1024, 768, 24)) {
        std::fprintf(stderr, "frame_bench: %s\n", xvfb.error().c_str());
        return 1;
    }
    serverPid = xvfb.pid();

    identity.instance = nullptr;
    identity.className = gameClassName;
    std::memset(&window, 0, sizeof window);
    std::memset(keys, 0, sizeof keys);
    window.keyTable = keys;
    window.identity = &identity;
    window.title = gameTitle;
    window.width = 800;
    window.height = 600;
    window.bitsPerPixel = 32;
    window.fullScreen = 0;
    // The start-up's steps after the question, timed in this fresh process.
    const double t0 = seconds();
    if (!registerGameWindowClass(identity) || !openGameWindow(window)) {
        std::fprintf(stderr, "frame_bench: the game window could not be opened\n");
        return 1;
    }
    const double t1 = seconds();
    if (!initGame(&window, keys)) {
        std::fprintf(stderr, "frame_bench: initGame failed\n");
        return 1;
    }
    const double t2 = seconds();
    if (startup) {
        Kind first = {"first", 3, {}, {}, {}};
        DWORD lastTick = window.lastTick;
        framePass(first, lastTick);
        glFinish();
        const double t3 = seconds();
        framePass(first, lastTick);
        glFinish();
        const double t4 = seconds();
        std::printf("start-up in this process: window, pixel format and context %.1f ms; initGame "
                    "%.1f ms; first frame %.1f ms; second frame %.1f ms\n",
                    (t1 - t0) * 1000, (t2 - t1) * 1000, (t3 - t2) * 1000, (t4 - t3) * 1000);
        std::printf("#result startup_parts %.1f %.1f %.1f %.1f\n", (t1 - t0) * 1000,
                    (t2 - t1) * 1000, (t3 - t2) * 1000, (t4 - t3) * 1000);
        return 0;
    }
    // Both apples show, on cells away from the snake's rows.
    gameState.appleX = 3.0f;
    gameState.appleY = 3.0f;
    gameState.bonusX = -5.0f;
    gameState.bonusY = 4.0f;
    gameState.bonusVisible = true;

    std::vector<Kind> kinds = {{"empty", -1, {}, {}, {}}, {"length 3", 3, {}, {}, {}}, {"length 50", 50, {}, {}, {}},
                               {"length 100", 100, {}, {}, {}}};
    for (int round = 0; round <= rounds; ++round) {
        for (size_t k = 0; k < kinds.size(); ++k) {
            Kind& kind = kinds[(k + round) % kinds.size()];
            sample(kind, sampleMs, round > 0);  // round 0 warms up
        }
    }

    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const int interval = SDL_GL_GetSwapInterval();
    const char* threads = std::getenv("LP_NUM_THREADS");
    std::printf("GL renderer: %s\n", renderer ? renderer : "?");
    std::printf("swap interval: %d (under Xvfb no vertical blank throttles the swap)\n", interval);
    std::printf("process tuning: %s; LP_NUM_THREADS=%s\n", tuning ? "on" : "off",
                threads ? threads : "(unset)");
    std::printf("%d rounds of %d ms per kind, interleaved\n\n", rounds, sampleMs);
    std::printf("%-12s %10s %10s %10s %9s %12s %12s\n", "frame", "median fps", "min fps",
                "max fps", "ratio", "cpu ms/frame", "X ms/frame");
    const double emptyMedian = median(kinds[0].fps);
    for (const Kind& kind : kinds) {
        double m = median(kind.fps);
        double lo = *std::min_element(kind.fps.begin(), kind.fps.end());
        double hi = *std::max_element(kind.fps.begin(), kind.fps.end());
        std::printf("%-12s %10.1f %10.1f %10.1f %9.3f %12.2f %12.2f\n", kind.name, m, lo, hi,
                    emptyMedian > 0 ? m / emptyMedian : 0.0, median(kind.cpuMs),
                    median(kind.serverMs));
    }
    // Lines for tools/bench.sh.
    std::printf("\n#result renderer %s\n", renderer ? renderer : "?");
    std::printf("#result swap_interval %d\n", interval);
    std::printf("#result tuning %s\n", tuning ? "on" : "off");
    for (const Kind& kind : kinds) {
        std::string key = kind.length < 0 ? "empty" : "len" + std::to_string(kind.length);
        std::printf("#result fps_%s %.1f %.1f %.1f %.2f %.2f\n", key.c_str(), median(kind.fps),
                    *std::min_element(kind.fps.begin(), kind.fps.end()),
                    *std::max_element(kind.fps.begin(), kind.fps.end()), median(kind.cpuMs),
                    median(kind.serverMs));
    }

    if (parts) breakdown(100, 60);

    shutdownGame();
    closeGameWindow(window);
    UnregisterClassA(identity.className, identity.instance);
    SDL_Quit();
    return 0;
}
