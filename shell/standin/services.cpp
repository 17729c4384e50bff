// services.cpp: SDL start-up, message boxes, the display mode, the cursor, the icon and the
// tick count.
#include "shell/standin/standin_internal.h"

#include <cstdio>
#include <ctime>

namespace {

bool fullScreenActive = false;  // a ChangeDisplaySettingsA switch is in force
SDL_DisplayMode fullScreenMode;
int cursorCount = 0;            // the cursor is shown while this is >= 0
int iconRecord;                 // the address is the icon's handle
SDL_Surface* iconSurface = nullptr;

// True when SDL's display mode has the bits the request asks for (24 and 32 are one depth:
// X servers run 32-bit pixels at depth 24).
bool depthMatches(const SDL_DisplayMode& mode, const DEVMODEA& request)
{
    if ((request.dmFields & DM_BITSPERPEL) == 0 || request.dmBitsPerPel == 0) return true;
    int have = SDL_BITSPERPIXEL(mode.format);
    int want = static_cast<int>(request.dmBitsPerPel);
    if (have == 24) have = 32;
    if (want == 24) want = 32;
    return have == want;
}

bool sizeMatches(const SDL_DisplayMode& mode, const DEVMODEA& request)
{
    return ((request.dmFields & DM_PELSWIDTH) == 0 ||
            mode.w == static_cast<int>(request.dmPelsWidth)) &&
           ((request.dmFields & DM_PELSHEIGHT) == 0 ||
            mode.h == static_cast<int>(request.dmPelsHeight));
}

} // namespace

bool standinEnsureVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // One close request per click: SDL_QUIT only for termination signals.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return true;
}

bool standinFullScreenMode(SDL_DisplayMode* mode)
{
    if (!fullScreenActive) return false;
    *mode = fullScreenMode;
    return true;
}

// ---------------------------------------------------------------- message boxes

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    bool yesNo = (type & 0x0F) == MB_YESNO;
    SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
    };
    SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
         "OK"},
    };
    Uint32 flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    switch (type & 0xF0) {
    case 0x10:  // MB_ICONHAND
        flags |= SDL_MESSAGEBOX_ERROR;
        break;
    case MB_ICONEXCLAMATION:
        flags |= SDL_MESSAGEBOX_WARNING;
        break;
    default:  // MB_ICONQUESTION, MB_ICONASTERISK and none
        flags |= SDL_MESSAGEBOX_INFORMATION;
        break;
    }
    SDL_MessageBoxData box{};
    box.flags = flags;
    box.title = caption ? caption : "Error";
    box.message = text ? text : "";
    box.numbuttons = yesNo ? 2 : 1;
    box.buttons = yesNo ? yesNoButtons : okButton;
    int answer = -1;
    if (SDL_ShowMessageBox(&box, &answer) != 0 || answer < 0) {
        // No box could be shown (no display): say it on stderr and answer No / OK.
        std::fprintf(stderr, "%s: %s\n", box.title, box.message);
        return yesNo ? IDNO : IDOK;
    }
    return answer;
}

// ---------------------------------------------------------------- display mode and cursor

LONG ChangeDisplaySettingsA(DEVMODEA* request, DWORD)
{
    if (request == nullptr) {
        // The default mode back: the switch below never changes the display itself, and SDL
        // gives the desktop mode back when a full-screen window goes.
        fullScreenActive = false;
        return DISP_CHANGE_SUCCESSFUL;
    }
    if (!standinEnsureVideo()) return DISP_CHANGE_FAILED;
    int found = -1;
    SDL_DisplayMode mode;
    for (int i = 0; i < SDL_GetNumDisplayModes(0); ++i) {
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && sizeMatches(mode, *request) &&
            depthMatches(mode, *request)) {
            found = i;
            break;
        }
    }
    if (found < 0) return DISP_CHANGE_BADMODE;
    // Success only when the display really runs at that size. The stand-in does not change
    // the X server's resolution itself, so a mode the display offers but does not run now
    // is a failure, and the game opens windowed.
    SDL_DisplayMode current;
    if (SDL_GetCurrentDisplayMode(0, &current) != 0 || !sizeMatches(current, *request) ||
        !depthMatches(current, *request)) {
        return DISP_CHANGE_FAILED;
    }
    fullScreenMode = current;
    fullScreenActive = true;
    return DISP_CHANGE_SUCCESSFUL;
}

int ShowCursor(BOOL show)
{
    cursorCount += show ? 1 : -1;
    if (standinEnsureVideo()) SDL_ShowCursor(cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursorCount;
}

// ---------------------------------------------------------------- icon

HICON standinIconHandle()
{
    return reinterpret_cast<HICON>(&iconRecord);
}

SDL_Surface* standinIconSurface()
{
    if (iconSurface == nullptr) {
        iconSurface = SDL_CreateRGBSurfaceWithFormatFrom(
            const_cast<unsigned char*>(standinIconPixels()), STANDIN_ICON_SIZE,
            STANDIN_ICON_SIZE, 32, STANDIN_ICON_SIZE * 4, SDL_PIXELFORMAT_RGBA32);
    }
    return iconSurface;
}

// ---------------------------------------------------------------- time

DWORD GetTickCount(void)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    unsigned long long ms = static_cast<unsigned long long>(now.tv_sec) * 1000ull +
                            static_cast<unsigned long long>(now.tv_nsec) / 1000000ull;
    return static_cast<DWORD>(ms);  // modulo 2^32
}
