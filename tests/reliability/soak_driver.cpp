// soak_driver.cpp: plays the real game on a private Xvfb with random key presses for a while,
// switching the screen mode now and then and sending junk client messages, and watches the
// process: no crash, resident memory flat after a warm-up, nothing reported on stderr.
//
//   soak_driver PROGRAM SECONDS SWITCHES [--no-rss-check] [--verbose] [--seed N]
//
// --verbose prints every one-second sample of the resident memory.
//
// The game runs in a fresh temporary folder with MESA_DEBUG=1, so that Mesa reports every
// GL error on stderr. The start-up question is answered No (Escape), a "Mode Switch Failed"
// box OK. '2' and F1 would end the game and are never pressed; should the game still end with
// exit code 0, it is started again and the run counted. Exit code 0 when the soak passed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "shell/standin/remote_message.h"
#include "x_windows.h"
#include "xvfb.h"

namespace {

using Clock = std::chrono::steady_clock;

const char gameTitle[] = "Sphere Snake";
const char questionTitle[] = "Start FullScreen?";
const char errorTitle[] = "Error";
const long switchMessage = 0x0401;  // WM_USER + 1

// Keys pressed at random: the game's own (less '2' and F1), and a few it ignores.
const KeySym playKeys[] = {XK_Up, XK_Down, XK_Left, XK_Right, XK_Up,     XK_Down, XK_Left,
                           XK_Right, XK_space, XK_space, XK_Escape, XK_1,  XK_3,   XK_a,
                           XK_F5,    XK_Tab,   XK_Shift_L, XK_KP_Enter, XK_Delete};

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Window ids vanish under us during a switch; such errors are expected and ignored.
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

void tap(Display* dpy, Window target, KeySym key)
{
    XSetInputFocus(dpy, target, RevertToParent, CurrentTime);
    const KeyCode code = XKeysymToKeycode(dpy, key);
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    XSync(dpy, False);
}

// A client message to the game window: ours (the atom and format the stand-in reads) or junk.
void sendClientMessage(Display* dpy, Window target, const char* atom, int format, long number,
                       long wParam, long lParam)
{
    XEvent e;
    std::memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = XInternAtom(dpy, atom, False);
    e.xclient.format = format;
    e.xclient.data.l[0] = number;
    e.xclient.data.l[1] = wParam;
    e.xclient.data.l[2] = lParam;
    XSendEvent(dpy, target, False, NoEventMask, &e);
    XSync(dpy, False);
}

// Junk another program might send: wrong atoms, formats and message numbers, random data.
void sendJunk(Display* dpy, Window target, std::mt19937& random)
{
    const long numbers[] = {0x0012 /* WM_QUIT */, 0x0010 /* WM_CLOSE */, 0x0100 /* key */,
                            0x03FF, 0x0400, 0x0402, 0xBFFF, 0xC000, -1,
                            static_cast<long>(random()) << 20};
    const long number = numbers[random() % (sizeof numbers / sizeof numbers[0])];
    switch (random() % 3) {
    case 0:
        sendClientMessage(dpy, target, STANDIN_MESSAGE_ATOM, 32, number, random(), random());
        break;
    case 1:
        sendClientMessage(dpy, target, STANDIN_MESSAGE_ATOM, 8, switchMessage, random(), 0);
        break;
    default:
        sendClientMessage(dpy, target, "SOMEBODY_ELSES_MESSAGE", 32, switchMessage, 0, 0);
        break;
    }
}

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 6, "VmRSS:") == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

pid_t startGame(const char* program, const std::string& folder, const std::string& log)
{
    const pid_t child = fork();
    if (child != 0) {
        return child;
    }
    if (chdir(folder.c_str()) != 0) _exit(126);
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in < 0 || out < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    setenv("MESA_DEBUG", "1", 1);
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
}

// Answers the boxes until the game window shows; 0 when it does not within the time.
Window waitForGame(Display* dpy, pid_t game, double timeoutSeconds)
{
    const Clock::time_point start = Clock::now();
    while (secondsSince(start) < timeoutSeconds) {
        if (Window box = findXWindow(dpy, DefaultRootWindow(dpy), questionTitle, true)) {
            tap(dpy, box, XK_Escape);
        }
        if (Window box = findXWindow(dpy, DefaultRootWindow(dpy), errorTitle, true)) {
            tap(dpy, box, XK_Return);
        }
        if (Window window = findXWindow(dpy, DefaultRootWindow(dpy), gameTitle, true)) {
            return window;
        }
        if (waitpid(game, nullptr, WNOHANG) == game) {
            return 0;
        }
        usleep(100000);
    }
    return 0;
}

std::string describeStatus(int status)
{
    char text[64];
    if (WIFEXITED(status)) {
        std::snprintf(text, sizeof text, "exit code %d", WEXITSTATUS(status));
    } else if (WIFSIGNALED(status)) {
        std::snprintf(text, sizeof text, "killed by signal %d (%s)", WTERMSIG(status),
                      strsignal(WTERMSIG(status)));
    } else {
        std::snprintf(text, sizeof text, "status %d", status);
    }
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PROGRAM SECONDS SWITCHES [--no-rss-check] [--verbose] [--seed N]\n",
                     argv[0]);
        return 2;
    }
    // The game runs in its own folder: the path must not depend on ours.
    char programPath[PATH_MAX];
    if (realpath(argv[1], programPath) == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    const char* program = programPath;
    const double seconds = std::atof(argv[2]);
    const int switches = std::atoi(argv[3]);
    bool checkRss = true;
    bool verbose = false;
    unsigned seed = static_cast<unsigned>(time(nullptr));
    for (int i = 4; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-rss-check") == 0) checkRss = false;
        if (std::strcmp(argv[i], "--verbose") == 0) verbose = true;
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) seed = std::atoi(argv[++i]);
    }
    std::mt19937 random(seed);
    std::printf("soak: %s for %.0f s with %d screen-mode switches, seed %u\n", program, seconds,
                switches, seed);

    // 800x600 is the mode the game asks for, so the full-screen switch succeeds.
    XvfbServer xvfb;
    if (!xvfb.start(800, 600, 24)) {
        std::fprintf(stderr, "soak: %s\n", xvfb.error().c_str());
        return 1;
    }
    char pattern[] = "/tmp/snake_soak_XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("soak: mkdtemp");
        return 1;
    }
    const std::string folder = pattern;
    const std::string log = folder + "/game.log";

    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        std::fprintf(stderr, "soak: cannot open %s\n", xvfb.display().c_str());
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);

    int runs = 1;
    pid_t game = startGame(program, folder, log);
    Window window = waitForGame(dpy, game, 120.0);
    if (window == 0) {
        std::fprintf(stderr, "soak: the game window did not show (log in %s)\n", log.c_str());
        kill(game, SIGKILL);
        waitpid(game, nullptr, 0);
        return 1;
    }

    const Clock::time_point start = Clock::now();
    // Mesa's llvmpipe allocates and frees megabytes within every frame, so single samples swing
    // by 1 to 2 MB and the heap's high-water mark settles in the first half minute. Judged is
    // the median of the first ten samples after the warm-up against that of the last ten.
    const double warmUp = std::max(30.0, seconds / 10.0);
    std::vector<long> afterWarmUp;
    long firstRss = residentKb(game);
    double nextSample = 1.0;
    // A short run (the one in the test command) makes its switches during the warm-up, so that
    // the memory it judges is a settled game's; a long run spreads them over the whole time.
    const double switchSpan = seconds < 300 ? warmUp : seconds;
    double nextSwitch = switchSpan / (switches + 1);
    int switchesSent = 0;
    long keyPresses = 0;
    long junkSent = 0;
    bool failed = false;
    std::string failure;

    struct Held {
        KeySym key;
        double until;
    };
    std::vector<Held> held;

    while (secondsSince(start) < seconds) {
        const double now = secondsSince(start);
        int status = 0;
        if (waitpid(game, &status, WNOHANG) == game) {
            if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
                // A normal end (a key sequence we did not foresee): play on in a new run.
                ++runs;
                held.clear();
                game = startGame(program, folder, log);
                window = waitForGame(dpy, game, 120.0);
                if (window == 0) {
                    failure = "the game window did not show again";
                    failed = true;
                    break;
                }
                afterWarmUp.clear();  // memory is measured per process
                continue;
            }
            failure = "the game ended: " + describeStatus(status);
            failed = true;
            game = -1;
            break;
        }

        // The window is a new one after every switch: look it up again.
        if (Window current = findXWindow(dpy, DefaultRootWindow(dpy), gameTitle, true)) {
            window = current;
        }
        if (Window box = findXWindow(dpy, DefaultRootWindow(dpy), errorTitle, true)) {
            tap(dpy, box, XK_Return);
        }

        for (auto it = held.begin(); it != held.end();) {
            if (it->until <= now) {
                XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, it->key), False, CurrentTime);
                it = held.erase(it);
            } else {
                ++it;
            }
        }
        if (held.size() < 3) {
            const KeySym key = playKeys[random() % (sizeof playKeys / sizeof playKeys[0])];
            const bool alreadyHeld = std::any_of(held.begin(), held.end(),
                                                 [&](const Held& h) { return h.key == key; });
            if (!alreadyHeld) {
                XSetInputFocus(dpy, window, RevertToParent, CurrentTime);
                XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, key), True, CurrentTime);
                held.push_back(Held{key, now + 0.01 * static_cast<double>(1 + random() % 40)});
                ++keyPresses;
            }
        }
        if (random() % 50 == 0) {
            sendJunk(dpy, window, random);
            ++junkSent;
        }
        if (switchesSent < switches && now >= nextSwitch) {
            sendClientMessage(dpy, window, STANDIN_MESSAGE_ATOM, 32, switchMessage, 0, 0);
            ++switchesSent;
            nextSwitch += switchSpan / (switches + 1);
        }
        XSync(dpy, False);

        if (now >= nextSample) {
            const long rss = residentKb(game);
            if (now >= warmUp && rss > 0) afterWarmUp.push_back(rss);
            if (verbose) std::printf("soak: %4.0f s  VmRSS %ld kB  switches %d\n", now, rss, switchesSent);
            nextSample += 1.0;
        }
        usleep(20000);
    }
    for (const Held& h : held) {
        XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, h.key), False, CurrentTime);
    }
    XSync(dpy, False);

    // Ends the game as a player closing the window would, and expects a clean exit.
    int exitStatus = 0;
    if (!failed) {
        Atom protocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
        Atom deleteWindow = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
        XEvent e;
        std::memset(&e, 0, sizeof e);
        e.xclient.type = ClientMessage;
        e.xclient.window = window;
        e.xclient.message_type = protocols;
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(deleteWindow);
        e.xclient.data.l[1] = CurrentTime;
        const Clock::time_point closing = Clock::now();
        bool ended = false;
        while (!ended && secondsSince(closing) < 60.0) {
            XSendEvent(dpy, window, False, NoEventMask, &e);
            XSync(dpy, False);
            for (int i = 0; i < 20 && !ended; ++i) {
                ended = waitpid(game, &exitStatus, WNOHANG) == game;
                if (!ended) usleep(50000);
            }
        }
        if (!ended) {
            failure = "the game did not end when its window was closed";
            failed = true;
            kill(game, SIGKILL);
            waitpid(game, nullptr, 0);
        } else if (!WIFEXITED(exitStatus) || WEXITSTATUS(exitStatus) != 0) {
            failure = "closing the window ended the game with " + describeStatus(exitStatus);
            failed = true;
        }
    }

    long lowest = 0, highest = 0, early = 0, late = 0;
    if (!afterWarmUp.empty()) {
        lowest = *std::min_element(afterWarmUp.begin(), afterWarmUp.end());
        highest = *std::max_element(afterWarmUp.begin(), afterWarmUp.end());
        const size_t window = std::min<size_t>(10, afterWarmUp.size());
        std::vector<long> first(afterWarmUp.begin(), afterWarmUp.begin() + window);
        std::vector<long> last(afterWarmUp.end() - window, afterWarmUp.end());
        std::sort(first.begin(), first.end());
        std::sort(last.begin(), last.end());
        early = first[window / 2];
        late = last[window / 2];
    }
    std::printf("soak: %.0f s, %d run(s), %ld key presses, %d switches, %ld junk messages\n",
                secondsSince(start), runs, keyPresses, switchesSent, junkSent);
    std::printf("soak: VmRSS at start %ld kB; after the warm-up (%.0f s) median %ld kB; at the "
                "end median %ld kB; range after the warm-up %ld..%ld kB (%zu samples)\n",
                firstRss, warmUp, early, late, lowest, highest, afterWarmUp.size());
    if (!failed && checkRss && (afterWarmUp.size() < 10 || late - early > 1024)) {
        failure = "resident memory grew by more than 1 MB after the warm-up";
        failed = true;
    }

    // Anything the game or Mesa wrote is a finding: the game itself writes nothing.
    std::ifstream logFile(log);
    std::stringstream logText;
    logText << logFile.rdbuf();
    if (!logText.str().empty()) {
        std::printf("soak: the game wrote:\n%s\n", logText.str().c_str());
        if (!failed) {
            failure = "the game wrote to stdout or stderr";
            failed = true;
        }
    }
    XCloseDisplay(dpy);
    if (!failed) {
        std::remove(log.c_str());
        std::remove((folder + "/Highscore.hsc").c_str());
        rmdir(folder.c_str());
    }
    if (failed) {
        std::printf("soak: FAILED: %s (files in %s)\n", failure.c_str(), folder.c_str());
        return 1;
    }
    std::printf("soak: passed\n");
    return 0;
}
