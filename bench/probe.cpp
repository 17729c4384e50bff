// probe.cpp: times the real program's start-up and follows its memory and processor use from
// outside, on a private Xvfb, the way a player would meet it.
//
//   probe startup GAME [--runs N]
//       Starts GAME N times (default 5) on a 1024x768 display. Each run: the process start
//       (fork) to the start-up question box being on screen; Escape pressed on the box through
//       XTest (answer No: windowed); from that key to the first frame on screen, seen by
//       reading one row of the game window's pixels every half millisecond until it holds the
//       white border lines over black. Medians of the runs.
//   probe memory GAME [--play-seconds S] [--switches N]
//       Starts GAME on an 800x600 display (so that its full-screen switch succeeds), answers
//       Escape, and reads its resident set size (VmRSS) after start-up, after S seconds of
//       scripted play (default 300), and around N screen-mode switches (default 50): the
//       switch message 0x0401 (WM_USER + 1) sent to the game window as the stand-in's X11
//       client message (shell/standin/remote_message.h). Also the processor use over 5 s
//       while the window is minimised (iconified and unmapped as a window manager would) and
//       over 5 s while it runs visible.
//
// Every figure is also printed as a "#result name value" line for tools/bench.sh. The game
// runs in a temporary working directory, so its high-score file lands there.
#include "bench_util.h"
#include "xvfb.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const char questionTitle[] = "Start FullScreen?";
const char gameCaption[] = "Sphere Snake";
const long switchMessage = 0x0401;  // WM_USER + 1
const char messageAtom[] = "SPHERE_SNAKE_MESSAGE";

Display* dpy = nullptr;
int xErrors = 0;

int ignoreXError(Display*, XErrorEvent*)
{
    ++xErrors;
    return 0;
}

// ---------------------------------------------------------------- the game process

pid_t gamePid = -1;
std::string workFolder;

// Starts the game in a fresh temporary folder; the time of the fork is the process start.
double startGame(const char* path)
{
    char pattern[] = "/tmp/snake_probe_XXXXXX";
    if (!mkdtemp(pattern)) return -1.0;
    workFolder = pattern;
    const double start = seconds();
    gamePid = fork();
    if (gamePid == 0) {
        if (chdir(workFolder.c_str()) != 0) _exit(126);
        execl(path, path, static_cast<char*>(nullptr));
        _exit(127);
    }
    return start;
}

bool gameAlive()
{
    if (gamePid <= 0) return false;
    int status;
    return waitpid(gamePid, &status, WNOHANG) == 0;
}

// Ends the game as a termination signal would (the stand-in turns it into a close request),
// and by force if it does not end within 5 s.
void stopGame()
{
    if (gamePid > 0) {
        kill(gamePid, SIGTERM);
        int status;
        for (int i = 0; i < 500 && waitpid(gamePid, &status, WNOHANG) == 0; ++i) usleep(10000);
        if (waitpid(gamePid, &status, WNOHANG) == 0) {
            kill(gamePid, SIGKILL);
            waitpid(gamePid, &status, 0);
        }
        gamePid = -1;
    }
    if (!workFolder.empty()) {
        std::string command = "rm -rf '" + workFolder + "'";
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", workFolder.c_str());
        workFolder.clear();
    }
}

// Resident set size in KB.
long residentKb(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(pid));
    FILE* f = std::fopen(path, "r");
    if (!f) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, f)) {
        if (std::sscanf(line, "VmRSS: %ld", &kb) == 1) break;
    }
    std::fclose(f);
    return kb;
}

// ---------------------------------------------------------------- X

// The caption: _NET_WM_NAME, else WM_NAME.
std::string windowTitle(Window w)
{
    std::string title;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, XInternAtom(dpy, "_NET_WM_NAME", False), 0, 256, False,
                           AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
        data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        if (!title.empty()) return title;
    }
    char* name = nullptr;
    if (XFetchName(dpy, w, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

// The top-level window with this caption that is on screen, or 0.
Window findViewable(const char* title)
{
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable &&
            windowTitle(children[i]) == title) {
            found = children[i];
        }

    }
    if (children) XFree(children);
    return found;
}

bool pollUntil(const std::function<bool()>& done, double timeoutSeconds, int stepUs = 500)
{
    const double end = seconds() + timeoutSeconds;
    while (seconds() < end) {
        if (done()) return true;
        usleep(stepUs);
    }
    return done();
}

void tapKey(KeySym key)
{
    KeyCode code = XKeysymToKeycode(dpy, key);
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    XFlush(dpy);
}

// Where the playfield's left and right border lines cross the window row `row` (from the
// top): the field's x = -7 and x = 5 at 16 units, 45 degrees, 800x600.
const int frameRow = 304;  // just below the centre, clear of the menu's text
int borderColumn(double fieldX)
{
    const double halfWidth = 16.0 * std::tan(22.5 * M_PI / 180.0) * (800.0 / 600.0);
    return static_cast<int>(std::lround(400.0 + fieldX / halfWidth * 400.0));
}

// True when the window shows a drawn frame: the two border lines white on one row that is
// otherwise mostly black. An undrawn window shows black or the server's background weave.
bool showsFrame(Window w)
{
    const int x0 = 60, width = 600;  // on screen whatever the window's offset
    xErrors = 0;
    XImage* image = XGetImage(dpy, w, x0, frameRow, width, 1, AllPlanes, ZPixmap);
    XSync(dpy, False);
    if (!image || xErrors) {
        if (image) XDestroyImage(image);
        return false;
    }
    auto white = [&](int x) {
        unsigned long p = XGetPixel(image, x - x0, 0);
        return (p & 0xff) > 160 && ((p >> 8) & 0xff) > 160 && ((p >> 16) & 0xff) > 160;
    };
    auto whiteNear = [&](int x) {
        for (int dx = -3; dx <= 3; ++dx) {
            if (white(x + dx)) return true;
        }
        return false;
    };
    int lit = 0;
    for (int x = 0; x < width; ++x) {
        lit += XGetPixel(image, x, 0) & 0xf0f0f0 ? 1 : 0;
    }
    const bool frame = whiteNear(borderColumn(-7.0)) && whiteNear(borderColumn(5.0)) &&
                       lit < width / 5;
    XDestroyImage(image);
    return frame;
}

bool openDisplay()
{
    dpy = XOpenDisplay(nullptr);
    if (!dpy) return false;
    XSetErrorHandler(ignoreXError);
    return true;
}

// Presses Escape on the start-up question; again after 400 ms while the box stays. Returns
// the time of the press that closed it, or a negative value.
double answerQuestion(Window box)
{
    double pressed = -1.0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        XSetInputFocus(dpy, box, RevertToPointerRoot, CurrentTime);
        pressed = seconds();
        tapKey(XK_Escape);
        if (pollUntil([&] { return findViewable(questionTitle) == 0; }, 0.4)) return pressed;
    }
    return -1.0;
}

// ---------------------------------------------------------------- start-up

int probeStartup(const char* game, int runs)
{
    XvfbServer xvfb;
    if (!xvfb.start(1024, 768, 24) || !openDisplay()) {
        std::fprintf(stderr, "probe: no X server: %s\n", xvfb.error().c_str());
        return 1;
    }
    std::vector<double> toQuestion, toFrame, closing;
    for (int run = 0; run < runs; ++run) {
        const double start = startGame(game);
        Window box = 0;
        if (!pollUntil([&] { return (box = findViewable(questionTitle)) != 0; }, 20.0)) {
            std::fprintf(stderr, "probe: the start-up question did not appear\n");
            stopGame();
            return 1;
        }
        const double asked = seconds();
        usleep(100000);  // a quick player: the box has its events by then
        const double answered = answerQuestion(box);
        if (answered < 0) {
            std::fprintf(stderr, "probe: the start-up question did not take Escape\n");
            stopGame();
            return 1;
        }
        const double gone = seconds();
        Window game = 0;
        if (!pollUntil([&] {
                if (!game) game = findViewable(gameCaption);
                return game && showsFrame(game);
            }, 20.0, 250)) {
            std::fprintf(stderr, "probe: no frame appeared\n");
            stopGame();
            return 1;
        }
        const double framed = seconds();
        toQuestion.push_back((asked - start) * 1000.0);
        toFrame.push_back((framed - answered) * 1000.0);
        closing.push_back((gone - answered) * 1000.0);
        std::printf("run %d: question after %.0f ms; first frame %.1f ms after the answer\n",
                    run + 1, toQuestion.back(), toFrame.back());
        stopGame();
    }
    std::printf("median of %d runs: process start to question %.0f ms; answer to first frame "
                "%.1f ms (the box closed %.1f ms after the key)\n",
                runs, median(toQuestion), median(toFrame), median(closing));
    std::printf("#result startup_question_ms %.0f\n", median(toQuestion));
    std::printf("#result startup_frame_ms %.1f %.1f %.1f\n", median(toFrame),
                *std::min_element(toFrame.begin(), toFrame.end()),
                *std::max_element(toFrame.begin(), toFrame.end()));
    std::printf("#result startup_runs %d\n", runs);
    XCloseDisplay(dpy);
    return 0;
}

// ---------------------------------------------------------------- memory and processor

// Sends the screen-mode switch message to the game window.
void sendSwitch(Window target)
{
    XEvent e;
    std::memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = XInternAtom(dpy, messageAtom, False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = switchMessage;
    XSendEvent(dpy, target, False, NoEventMask, &e);
    XFlush(dpy);
}

// The scripted player's keys: start, steer, pause and resume, continue, new game.
const KeySym playKeys[] = {XK_space, XK_Right, XK_Up, XK_space, XK_Left, XK_Down,
                           XK_1,     XK_space, XK_Escape, XK_space, XK_Right, XK_Down};

// Processor use of the game in percent of one core over `span` seconds.
double processorPercent(double span)
{
    const double c0 = processorSeconds(gamePid), w0 = seconds();
    usleep(static_cast<useconds_t>(span * 1e6));
    const double c1 = processorSeconds(gamePid), w1 = seconds();
    return (c1 - c0) / (w1 - w0) * 100.0;
}

int probeMemory(const char* game, double playSeconds, int switches)
{
    XvfbServer xvfb;
    if (!xvfb.start(800, 600, 24) || !openDisplay()) {
        std::fprintf(stderr, "probe: no X server: %s\n", xvfb.error().c_str());
        return 1;
    }
    startGame(game);
    Window box = 0;
    Window window = 0;
    if (!pollUntil([&] { return (box = findViewable(questionTitle)) != 0; }, 20.0) ||
        (usleep(100000), answerQuestion(box) < 0) ||
        !pollUntil([&] {
            if (!window) window = findViewable(gameCaption);
            return window && showsFrame(window);
        }, 20.0, 1000)) {
        std::fprintf(stderr, "probe: the game did not start\n");
        stopGame();
        return 1;
    }
    usleep(1000000);
    const long afterStart = residentKb(gamePid);
    std::printf("RSS after start-up (1 s after the first frame): %ld KB\n", afterStart);

    // Visible and running: the loop draws as fast as the swap lets it.
    const double visiblePercent = processorPercent(5.0);
    std::printf("processor while visible on the skill menu: %.1f %% of one core over 5 s\n",
                visiblePercent);

    // Play: a key every 150 ms, cycling through the list.
    XSetInputFocus(dpy, window, RevertToPointerRoot, CurrentTime);
    const double playEnd = seconds() + playSeconds;
    size_t next = 0;
    while (seconds() < playEnd && gameAlive()) {
        tapKey(playKeys[next++ % (sizeof playKeys / sizeof playKeys[0])]);
        usleep(150000);
    }
    if (!gameAlive()) {
        std::fprintf(stderr, "probe: the game ended during play\n");
        stopGame();
        return 1;
    }
    const long afterPlay = residentKb(gamePid);
    std::printf("RSS after %.0f s of play (%zu keys): %ld KB\n", playSeconds, next, afterPlay);

    // Minimised: what a window manager does on iconify, then 5 s of processor time.
    XIconifyWindow(dpy, window, DefaultScreen(dpy));
    XUnmapWindow(dpy, window);
    XSync(dpy, False);
    usleep(500000);
    const double minimisedPercent = processorPercent(5.0);
    std::printf("processor while minimised: %.2f %% of one core over 5 s\n", minimisedPercent);
    XMapWindow(dpy, window);
    XSync(dpy, False);
    pollUntil([&] { return showsFrame(window); }, 10.0, 1000);

    // Screen-mode switches: each one a new window in the other mode, waited for until it
    // shows its first frame.
    std::vector<long> rss;
    rss.push_back(residentKb(gamePid));
    std::vector<double> switchMs;
    for (int i = 0; i < switches; ++i) {
        const Window old = window;
        const double sent = seconds();
        sendSwitch(old);
        Window fresh = 0;
        if (!pollUntil([&] {
                fresh = findViewable(gameCaption);
                return fresh && fresh != old && showsFrame(fresh);
            }, 20.0, 1000)) {
            std::fprintf(stderr, "probe: switch %d brought no new window\n", i + 1);
            stopGame();
            return 1;
        }
        switchMs.push_back((seconds() - sent) * 1000.0);
        window = fresh;
        usleep(200000);
        rss.push_back(residentKb(gamePid));
    }
    std::printf("RSS around the switches (KB):");
    for (int i = 0; i <= switches; ++i) {
        if (i <= 2 || i % 10 == 0 || getenv("PROBE_ALL")) std::printf(" %d: %ld", i, rss[i]);
    }
    const long lowest = *std::min_element(rss.begin() + 1, rss.end());
    const long highest = *std::max_element(rss.begin() + 1, rss.end());
    std::printf("\nafter %d switches: %+ld KB against before the first; spread over switches "
                "1..%d: %ld KB; a switch takes %.0f ms (median)\n",
                switches, rss.back() - rss.front(), switches, highest - lowest, median(switchMs));

    std::printf("#result rss_start_kb %ld\n", afterStart);
    std::printf("#result rss_play_kb %ld %.0f\n", afterPlay, playSeconds);
    std::printf("#result rss_switch_kb %ld %ld %ld %ld %d\n", rss.front(), rss[1], rss.back(),
                highest - lowest, switches);
    std::printf("#result switch_ms %.0f\n", median(switchMs));
    std::printf("#result cpu_visible_percent %.1f\n", visiblePercent);
    std::printf("#result cpu_minimised_percent %.2f\n", minimisedPercent);
    stopGame();
    XCloseDisplay(dpy);
    return 0;
}

int usage(const char* self)
{
    std::fprintf(stderr,
                 "usage: %s startup GAME [--runs N]\n"
                 "       %s memory GAME [--play-seconds S] [--switches N]\n",
                 self, self);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return usage(argv[0]);
    const std::string mode = argv[1];
    char* game = realpath(argv[2], nullptr);  // the game runs in a folder of its own
    if (!game) {
        std::fprintf(stderr, "probe: no such program: %s\n", argv[2]);
        return 2;
    }
    int runs = 5, switches = 50;
    double playSeconds = 300.0;
    for (int i = 3; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) runs = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--play-seconds") && i + 1 < argc) playSeconds = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--switches") && i + 1 < argc) switches = std::atoi(argv[++i]);
        else return usage(argv[0]);
    }
    std::signal(SIGPIPE, SIG_IGN);
    int result;
    if (mode == "startup" && runs > 0) result = probeStartup(game, runs);
    else if (mode == "memory" && switches > 0 && playSeconds >= 0) result = probeMemory(game, playSeconds, switches);
    else return usage(argv[0]);
    stopGame();
    return result;
}
