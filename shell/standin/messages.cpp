// messages.cpp: the message queue, and SDL's events turned into window messages.
//
// Posted messages (keys, the switch message from other programs, PostMessageA) wait in one
// FIFO queue; sent messages (WM_CREATE, WM_SIZE, WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY) call the
// procedure at once. SDL's events are read into the queue at the start of every PeekMessageA
// and inside WaitMessage. One thread only: nothing here is locked.
#include "shell/standin/standin_internal.h"

#include <deque>

namespace {

std::deque<MSG> queue;
unsigned long queuedCount = 0;  // messages queued so far
unsigned long seenCount = 0;    // queuedCount at the end of the last PeekMessageA
unsigned long sentCount = 0;    // procedure calls for sent messages so far

LPARAM sizeParam(int width, int height)
{
    return static_cast<LPARAM>((static_cast<DWORD>(height & 0xFFFF) << 16) |
                               static_cast<DWORD>(width & 0xFFFF));
}

// The window an SDL event belongs to: by its window id, else the only (first) window.
StandinWindow* eventWindow(Uint32 sdlId)
{
    StandinWindow* window = standinWindowFromSdlId(sdlId);
    return window ? window : (sdlId == 0 ? standinFirstWindow() : nullptr);
}

// A key event becomes WM_KEYDOWN / WM_KEYUP, or the SYS pair for F10 and while Alt is held.
void translateKey(const SDL_KeyboardEvent& key)
{
    StandinWindow* window = eventWindow(key.windowID);
    UINT code = standinVirtualKey(key.keysym);
    if (window == nullptr || code == 0) return;
    bool down = key.type == SDL_KEYDOWN;
    bool system = (key.keysym.mod & KMOD_ALT) || code == VK_F10 || code == VK_MENU;
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    // lParam: repeat count 1, the scan code, Alt held (bit 29), previous state (bit 30),
    // key-up transition (bit 31).
    DWORD lParam = 1 | ((static_cast<DWORD>(key.keysym.scancode) & 0xFF) << 16);
    if (key.keysym.mod & KMOD_ALT) lParam |= 1u << 29;
    if (!down || key.repeat) lParam |= 1u << 30;
    if (!down) lParam |= 1u << 31;
    standinPost(reinterpret_cast<HWND>(window), message, code, static_cast<LPARAM>(lParam));
}

void sendSize(StandinWindow* window, WPARAM kind)
{
    int w = 0, h = 0;
    if (kind != SIZE_MINIMIZED) SDL_GetWindowSize(window->sdl, &w, &h);
    standinSend(window, WM_SIZE, kind, sizeParam(w, h));
}

void translateWindowEvent(const SDL_WindowEvent& event)
{
    StandinWindow* window = standinWindowFromSdlId(event.windowID);
    if (window == nullptr) return;
    switch (event.event) {
    case SDL_WINDOWEVENT_MINIMIZED:
        sendSize(window, SIZE_MINIMIZED);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        sendSize(window, SIZE_RESTORED);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        sendSize(window, SIZE_MAXIMIZED);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        Uint32 flags = SDL_GetWindowFlags(window->sdl);
        if (flags & SDL_WINDOW_MINIMIZED) break;
        standinSend(window, WM_SIZE, (flags & SDL_WINDOW_MAXIMIZED) ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    sizeParam(event.data1, event.data2));
        break;
    }
    case SDL_WINDOWEVENT_CLOSE:
        standinSend(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    default:
        break;
    }
}

void translate(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        translateKey(event.key);
        break;
    case SDL_WINDOWEVENT:
        translateWindowEvent(event.window);
        break;
    case SDL_QUIT:  // a termination signal: a close request to the window
        if (StandinWindow* window = standinFirstWindow()) {
            standinSend(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    case SDL_SYSWMEVENT: {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        if (standinReadRemoteMessage(event, &window, &message, &wParam, &lParam)) {
            standinPost(window, message, wParam, lParam);
        }
        break;
    }
    default:
        break;
    }
}

// Reads every pending SDL event into messages.
void pumpEvents()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) translate(event);
}

bool matches(const MSG& msg, HWND window, UINT filterMin, UINT filterMax)
{
    if (window != nullptr && msg.hwnd != window) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

} // namespace

LRESULT standinSend(StandinWindow* window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++sentCount;
    return window->procedure(reinterpret_cast<HWND>(window), message, wParam, lParam);
}

void standinPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetTickCount();
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        int x = 0, y = 0;
        SDL_GetGlobalMouseState(&x, &y);
        msg.pt.x = x;
        msg.pt.y = y;
    }
    queue.push_back(msg);
    ++queuedCount;
}

void standinDropMessages(HWND window)
{
    for (auto it = queue.begin(); it != queue.end();) {
        it = it->hwnd == window ? queue.erase(it) : it + 1;
    }
}

BOOL PeekMessageA(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMessage)
{
    if (msg == nullptr) return FALSE;
    pumpEvents();
    seenCount = queuedCount;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!matches(*it, window, filterMin, filterMax)) continue;
        *msg = *it;
        if (removeMessage & PM_REMOVE) queue.erase(it);
        return TRUE;
    }
    return FALSE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window != nullptr && standinFindWindow(window) == nullptr) return FALSE;
    standinPost(window, message, wParam, lParam);
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (msg == nullptr) return 0;
    StandinWindow* window = standinFindWindow(msg->hwnd);
    if (window == nullptr) return 0;
    return window->procedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WaitMessage(void)
{
    // Returns at once for a message queued since the last look; otherwise sleeps in SDL until
    // an event brings a message or calls a procedure.
    if (queuedCount != seenCount) return TRUE;
    if (!standinEnsureVideo()) return FALSE;
    unsigned long sentBefore = sentCount;
    while (queuedCount == seenCount && sentCount == sentBefore) {
        SDL_Event event;
        if (!SDL_WaitEvent(&event)) return FALSE;
        translate(event);
    }
    return TRUE;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    StandinWindow* record = standinFindWindow(window);
    if (record == nullptr) return 0;
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        standinSend(record, WM_CLOSE, 0, 0);
    } else if (message == WM_CLOSE) {
        DestroyWindow(window);
    }
    return 0;
}
