// wine_play.cpp: plays SphereSnake.exe under Wine on a private Xvfb and checks what the player sees.
//
//   wine_play <SphereSnake.exe> <work folder> <icon_pixels.inc>
//
// WINEPREFIX must name the private prefix (created here when it holds no "prefix-ready" mark);
// WINEDEBUG and WINEDLLOVERRIDES come from the caller (tools/test-windows.sh). Every game runs in
// a fresh folder under the work folder, where its Wine output (wine.log), the high-score file
// and a screenshot of the client area (client.png) stay behind for a look after a failure.
// The driver speaks X only, through the end-to-end driver library (tests/e2e): the start-up
// question, the game window and the message boxes are found by their captions, keys are real
// key events (XTest), screenshots are read with the game's projection, and the close request is
// the WM_DELETE_WINDOW message a window manager sends. It ends with "N passed, N failed".
#include "picture.h"
#include "png_writer.h"
#include "x_driver.h"
#include "xvfb.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

int passed = 0;
int failed = 0;

// Records one check and prints it with what was seen.
bool check(bool ok, const std::string& what, const std::string& seen)
{
    std::printf("%s  %s (%s)\n", ok ? "PASS" : "FAIL", what.c_str(), seen.c_str());
    std::fflush(stdout);
    (ok ? passed : failed)++;
    return ok;
}

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

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

// ---------------------------------------------------------------- processes

// Starts argv in folder with stdout and stderr appended to logPath; the child's pid, or -1.
pid_t spawn(const std::vector<std::string>& argv, const std::string& folder,
            const std::string& logPath)
{
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    if (chdir(folder.c_str()) != 0)
        _exit(126);
    int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    int devNull = open("/dev/null", O_RDONLY);
    if (log >= 0) {
        dup2(log, 1);
        dup2(log, 2);
    }
    if (devNull >= 0)
        dup2(devNull, 0);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

// Waits up to timeoutMs for the child; its exit code, or -1 after a timeout (the child is then
// killed) or a death by signal.
int waitExit(pid_t pid, int timeoutMs)
{
    Clock::time_point start = Clock::now();
    for (;;) {
        int status = 0;
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0 && errno != EINTR)
            return -1;
        if (secondsSince(start) * 1000 > timeoutMs) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        sleepMs(50);
    }
}

// Runs a command to its end (at most timeoutMs); its exit code or -1.
int run(const std::vector<std::string>& argv, const std::string& folder,
        const std::string& logPath, int timeoutMs)
{
    pid_t pid = spawn(argv, folder, logPath);
    return pid < 0 ? -1 : waitExit(pid, timeoutMs);
}

bool fileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Bytes as C-like text, so that "0\r\n" reads as such in the report.
std::string visible(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c < 32 || c > 126)
            out += format("\\x%02x", c);
        else
            out += (char)c;
    }
    return out;
}

// ---------------------------------------------------------------- X

XDriver x;

// Xlib's name for the driver's connection, for what the driver library leaves to its callers.
Display* display()
{
    return x.display();
}

std::vector<Window> childrenOf(Window window)
{
    Window root, parent;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<Window> list;
    if (XQueryTree(display(), window, &root, &parent, &children, &count)) {
        list.assign(children, children + count);
        if (children)
            XFree(children);
    }
    return list;
}

// The captions of all mapped top-level windows, for the report.
std::string captions()
{
    std::string list;
    for (Window w : childrenOf(DefaultRootWindow(display()))) {
        char* name = nullptr;
        WindowGeometry place;
        if (XFetchName(display(), w, &name) && name && std::strcmp(name, "Default IME") != 0 &&
            x.geometry(w, &place) && place.viewable)
            list += (list.empty() ? "\"" : ", \"") + std::string(name) +
                    format("\" %dx%d", place.width, place.height);
        if (name)
            XFree(name);
    }
    return list.empty() ? "no windows" : list;
}

Window waitForWindow(const std::string& caption, int timeoutMs)
{
    Window found = 0;
    waitFor([&] { return (found = x.findWindow(caption)) != 0; }, timeoutMs, 100);
    return found;
}

bool waitForWindowGone(const std::string& caption, int timeoutMs)
{
    return waitFor([&] { return x.findWindow(caption) == 0; }, timeoutMs, 100);
}

// The window Wine draws OpenGL into: the mapped child of the game window (its client area).
Window clientWindow(Window gameWindow)
{
    for (Window w : childrenOf(gameWindow)) {
        WindowGeometry place;
        if (x.geometry(w, &place) && place.viewable && place.width > 1 && place.height > 1)
            return w;
    }
    return 0;
}

// Waits until the keyboard focus is on window or inside it: Wine focuses its own windows (no
// window manager runs here), a moment after it maps them. False after timeoutMs.
bool waitForFocus(Window window, int timeoutMs = 5000)
{
    bool focused = waitFor(
        [&] {
            Window focus;
            int revert;
            XGetInputFocus(display(), &focus, &revert);
            for (Window w = focus; w != 0 && w != PointerRoot;) {
                if (w == window)
                    return true;
                Window root, parent;
                Window* children = nullptr;
                unsigned count = 0;
                if (!XQueryTree(display(), w, &root, &parent, &children, &count))
                    return false;
                if (children)
                    XFree(children);
                if (parent == root)
                    return false;
                w = parent;
            }
            return false;
        },
        timeoutMs, 50);
    if (!focused)
        std::printf("   note: the keyboard focus is not on the window after %d ms\n", timeoutMs);
    return focused;
}

// Presses and releases a key. The game reads key levels once per frame, so the key is held
// long enough for several frames to see it.
void tapKey(KeySym key, int holdMs = 250)
{
    x.tapKey(key, holdMs);
    sleepMs(150);
}

// ---------------------------------------------------------------- the skill menu on screen

// The skill menu prints six lines at x = -6 and y = 3, 2, 1, 0, -1, -2 on the text plane. Each
// line's row must hold ink and the gaps between the rows none, so a blank or a white window
// both fail. The spheres (the apple may lie in a gap, the head is white) are left out.
bool skillMenuShown(const Shot& shot, std::string& seen)
{
    Projection view;
    view.width = shot.width;
    view.height = shot.height;
    ColourMap map = classify(shot);
    std::vector<Box> masks;
    for (Colour colour : {Colour::Green, Colour::Yellow, Colour::Red})
        for (const Blob& blob : findBlobs(map, colour, 12))
            masks.push_back(Box{blob.bounds.x0 - 4, blob.bounds.y0 - 4, blob.bounds.x1 + 4,
                                blob.bounds.y1 + 4});
    for (const Cell& cell : cellsShowing(map, view, Colour::White))
        masks.push_back(sphereBox(view, cell, 4));

    bool shown = true;
    seen = "ink per row/gap:";
    for (int line = 0; line < 6; line++) {
        double px, py;
        view.toScreen(-6, 3.0 - line, 1, &px, &py);
        int left = (int)px - 3, baseline = (int)py;
        // The shortest line, "2. Hard", is about 50 pixels long.
        int row = countInk(map, Box{left, baseline - 16, left + 150, baseline + 5}, masks);
        int gap = countInk(map, Box{left, baseline + 9, left + 150, baseline + 28}, masks);
        seen += format(" %d/%d", row, gap);
        if (row < 20 || gap > 4)
            shown = false;
    }
    return shown;
}

// ---------------------------------------------------------------- the icon

// The icon Wine hands to X (_NET_WM_ICON) at 32 x 32, compared with the generator's RGBA
// pixels: icon 101 made it through windres, the resource and LoadImageA.
bool iconMatches(Window window, const std::string& pixelsPath, std::string& seen)
{
    std::vector<int> expected;
    {
        std::ifstream in(pixelsPath);
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("//", 0) == 0)
                continue;
            std::istringstream values(line);
            std::string value;
            while (std::getline(values, value, ','))
                if (value.find_first_of("0123456789") != std::string::npos)
                    expected.push_back(std::atoi(value.c_str()));
        }
    }
    if (expected.size() != 32 * 32 * 4) {
        seen = format("%zu values in %s", expected.size(), pixelsPath.c_str());
        return false;
    }

    Atom type;
    int formatBits;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display(), window, XInternAtom(display(), "_NET_WM_ICON", False), 0,
                           1 << 20, False, XA_CARDINAL, &type, &formatBits, &count, &after,
                           &data) != Success ||
        !data || formatBits != 32) {
        seen = "no _NET_WM_ICON on the game window";
        if (data)
            XFree(data);
        return false;
    }
    // The property is a list of (width, height, width x height ARGB values), one per size.
    const unsigned long* values = (const unsigned long*)data;
    std::string sizes;
    bool found = false;
    int differing = 0;
    for (unsigned long i = 0; i + 2 <= count;) {
        unsigned long w = values[i], h = values[i + 1];
        sizes += format(" %lux%lu", w, h);
        if (w == 32 && h == 32 && i + 2 + 1024 <= count) {
            found = true;
            for (int p = 0; p < 1024; p++) {
                unsigned long argb = values[i + 2 + p];
                int r = (int)(argb >> 16 & 255), g = (int)(argb >> 8 & 255), b = (int)(argb & 255);
                int a = (int)(argb >> 24 & 255);
                const int* want = &expected[4 * p];
                if (r != want[0] || g != want[1] || b != want[2] || a != want[3])
                    differing++;
            }
        }
        i += 2 + w * h;
    }
    XFree(data);
    seen = format("sizes%s; %d of 1024 pixels differ", sizes.c_str(), found ? differing : 1024);
    return found && differing == 0;
}

// ---------------------------------------------------------------- the Wine prefix

// Creates the private prefix once: wineboot, then Wine's own focus handling for its windows
// (no window manager runs here), and "Times New Roman" shown with Liberation Serif, as on the
// stand-in.
bool preparePrefix(const std::string& work)
{
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix || !*prefix)
        return check(false, "Wine prefix", "WINEPREFIX is not set");
    std::string mark = std::string(prefix) + "/prefix-ready";
    if (fileExists(mark)) {
        // Whatever an interrupted earlier run left in this prefix ends first.
        run({"wineserver", "-k"}, work, "/dev/null", 30000);
        return check(true, "Wine prefix", std::string("kept from an earlier run: ") + prefix);
    }

    Clock::time_point start = Clock::now();
    std::string log = work + "/prefix.log";
    bool ok = run({"wineboot", "-i"}, work, log, 180000) == 0 &&
              run({"wine", "reg", "add", "HKCU\\Software\\Wine\\X11 Driver", "/v", "Managed",
                   "/t", "REG_SZ", "/d", "N", "/f"}, work, log, 60000) == 0 &&
              run({"wine", "reg", "add", "HKCU\\Software\\Wine\\Fonts\\Replacements", "/v",
                   "Times New Roman", "/t", "REG_SZ", "/d", "Liberation Serif", "/f"},
                  work, log, 60000) == 0 &&
              run({"wineserver", "-w"}, work, log, 60000) == 0;
    if (ok)
        std::ofstream(mark) << "made by wine_play\n";
    return check(ok, "Wine prefix",
                 format("created in %.1f s: %s; log %s", secondsSince(start), prefix, log.c_str()));
}

// ---------------------------------------------------------------- the scenarios

struct Game {
    std::string folder;
    pid_t pid = -1;
    Clock::time_point started;
};

// Starts the game in a fresh folder of its own.
bool startGame(Game& game, const std::string& exe, const std::string& work, const char* name)
{
    game.folder = work + "/" + name;
    run({"rm", "-rf", game.folder}, work, "/dev/null", 30000);
    mkdir(game.folder.c_str(), 0755);
    game.started = Clock::now();
    game.pid = spawn({"wine", exe}, game.folder, game.folder + "/wine.log");
    return game.pid > 0;
}

// Answers the start-up question with the key given; true when the box came and went.
bool answerStartQuestion(const Game& game, KeySym answer, const char* answerName)
{
    Window box = waitForWindow("Start FullScreen?", 60000);
    if (!check(box != 0, "start-up question \"Start FullScreen?\" shown",
               box ? format("after %.1f s", secondsSince(game.started)) : captions()))
        return false;
    waitForFocus(box);
    tapKey(answer);
    bool gone = waitForWindowGone("Start FullScreen?", 5000);
    return check(gone, format("start-up question answered with %s", answerName), captions());
}

// Ends a game that is still running after a failed scenario, and waits for it.
void endGame(Game& game)
{
    if (game.pid > 0 && waitExit(game.pid, 100) == -1)
        run({"wineserver", "-k"}, game.folder, "/dev/null", 30000);
    game.pid = -1;
}

// No to the start-up question: a window at (0, 0) with an 800 x 600 client area, the skill
// menu on it, then SPACE (start), ESC (pause) and F1 (save the best score and quit).
void playWindowed(const std::string& exe, const std::string& work, const std::string& iconPixels)
{
    std::printf("-- windowed: No, skill menu, SPACE, ESC, F1\n");
    Game game;
    if (!startGame(game, exe, work, "windowed")) {
        check(false, "game started", "cannot start wine " + exe);
        return;
    }
    if (!answerStartQuestion(game, XK_n, "'n' (No)")) {
        endGame(game);
        return;
    }

    Window window = waitForWindow("Sphere Snake", 20000);
    Window client = window ? clientWindow(window) : 0;
    WindowGeometry outer, inner;
    bool placed = client && x.geometry(window, &outer) && x.geometry(client, &inner);
    if (!check(placed && inner.width == 800 && inner.height == 600 && outer.x == 0 && outer.y == 0,
               "game window at (0, 0) with an 800x600 client area",
               placed ? format("window %dx%d at (%d, %d), client %dx%d at (%d, %d)", outer.width,
                               outer.height, outer.x, outer.y, inner.width, inner.height,
                               inner.x, inner.y)
                      : captions())) {
        endGame(game);
        return;
    }

    std::string seen;
    check(iconMatches(window, iconPixels, seen), "window icon is icon 101", seen);

    // The first frames may take a moment (fonts, llvmpipe): look for the menu for a while.
    Shot shot;
    bool shown = waitFor([&] { return x.screenshot(client, &shot) && skillMenuShown(shot, seen); },
                         15000, 250);
    writePng(game.folder + "/client.png", shot.width, shot.height, shot.rgb);
    check(shown, "skill menu text on screen", seen);

    // SPACE starts, ESC pauses at once (before the snake reaches an apple), F1 quits.
    waitForFocus(window);
    tapKey(XK_space, 150);
    tapKey(XK_Escape, 150);
    tapKey(XK_F1);
    int code = waitExit(game.pid, 20000);
    game.pid = -1;
    check(code == 0, "SPACE, ESC, F1: the game ends with exit code 0",
          code == -1 ? "still running after 20 s, or killed" : format("exit code %d", code));

    std::string path = game.folder + "/Highscore.hsc";
    std::string bytes = readFile(path);
    bool number = bytes.size() >= 3 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0 &&
                  bytes.find_first_not_of("0123456789") == bytes.size() - 2;
    check(fileExists(path) && number, "Highscore.hsc holds the points and CR LF",
          fileExists(path) ? "\"" + visible(bytes) + "\"" : "no file");
    std::printf("   windowed game: %.1f s\n", secondsSince(game.started));
}

// Yes to the start-up question on a 1024 x 768 display that cannot switch to 800 x 600: the
// "Mode Switch Failed." box first, then a windowed window of 800 x 600 outside; then the
// player closes it.
void playModeSwitchFailed(const std::string& exe, const std::string& work)
{
    std::printf("-- full-screen refused: Yes, mode switch box, close request\n");
    Game game;
    if (!startGame(game, exe, work, "fullscreen")) {
        check(false, "game started", "cannot start wine " + exe);
        return;
    }
    if (!answerStartQuestion(game, XK_Return, "Enter (Yes, the default button)")) {
        endGame(game);
        return;
    }

    // The mode-switch box comes before the window; "Error Creating OpenGL Window" would come
    // after it.
    Window box = waitForWindow("Error", 20000);
    bool first = box && !x.findWindow("Sphere Snake");
    if (!check(first, "\"Mode Switch Failed.\" box (\"Error\") before any game window",
               captions())) {
        endGame(game);
        return;
    }
    waitForFocus(box);
    tapKey(XK_Return);
    bool gone = waitForWindowGone("Error", 5000);
    check(gone, "box closed with Enter (OK)", captions());

    Window window = waitForWindow("Sphere Snake", 20000);
    Window client = window ? clientWindow(window) : 0;
    WindowGeometry outer, inner;
    bool placed = client && x.geometry(window, &outer) && x.geometry(client, &inner);
    if (!check(placed && outer.width == 800 && outer.height == 600 && inner.width < 800 &&
                   inner.height < 600,
               "windowed after all: 800x600 outside, a smaller client area",
               placed ? format("window %dx%d, client %dx%d", outer.width, outer.height,
                               inner.width, inner.height)
                      : captions())) {
        endGame(game);
        return;
    }

    sleepMs(500);  // a few frames
    x.closeAsWindowManager(window);
    int code = waitExit(game.pid, 20000);
    game.pid = -1;
    check(code == 0, "close request (WM_DELETE_WINDOW): exit code 0",
          code == -1 ? "still running after 20 s, or killed" : format("exit code %d", code));
    check(!fileExists(game.folder + "/Highscore.hsc"), "closing writes no Highscore.hsc",
          fileExists(game.folder + "/Highscore.hsc") ? "file written" : "no file");
    std::printf("   full-screen game: %.1f s\n", secondsSince(game.started));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <SphereSnake.exe> <work folder> <icon_pixels.inc>\n",
                     argv[0]);
        return 2;
    }
    // The games run in folders of their own: the paths are made absolute first.
    char* exePath = realpath(argv[1], nullptr);
    char* workPath = realpath(argv[2], nullptr);
    if (!exePath || !workPath) {
        std::fprintf(stderr, "%s: %s not found\n", argv[0], exePath ? argv[2] : argv[1]);
        return 2;
    }
    const std::string exe = exePath;
    const std::string work = workPath;
    std::free(exePath);
    std::free(workPath);
    const std::string iconPixels = argv[3];
    Clock::time_point start = Clock::now();

    XvfbServer server;
    if (!server.start(1024, 768, 24)) {
        check(false, "private Xvfb 1024x768", server.error());
    } else if (check(x.open(), "XTest on the private Xvfb", server.display()) &&
               preparePrefix(work)) {
        playWindowed(exe, work, iconPixels);
        playModeSwitchFailed(exe, work);
    }
    // The prefix's server and its desktop end before the X server does.
    run({"wineserver", "-w"}, work, "/dev/null", 60000);
    x.close();
    server.stop();

    std::printf("Wine run: %.1f s\n%d passed, %d failed\n", secondsSince(start), passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
