// remote_message.cpp: X11 client messages from other programs, read from SDL's system events.
#include "shell/standin/remote_message.h"
#include "shell/standin/standin_internal.h"

#include <SDL_syswm.h>

unsigned long standinXWindowOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
    return static_cast<unsigned long>(info.info.x11.window);
}

bool standinReadRemoteMessage(const SDL_Event& event, HWND* window, UINT* message,
                              WPARAM* wParam, LPARAM* lParam)
{
    const SDL_SysWMmsg* wm = event.syswm.msg;
    if (wm == nullptr || wm->subsystem != SDL_SYSWM_X11) return false;
    const XEvent& x = wm->msg.x11.event;
    if (x.type != ClientMessage || x.xclient.format != 32) return false;
    StandinWindow* target = standinWindowFromX(x.xclient.window);
    if (target == nullptr) return false;
    // Looked up, not created: when nobody has made the atom yet, this message is not ours.
    static Atom ours = None;
    if (ours == None) ours = XInternAtom(x.xclient.display, STANDIN_MESSAGE_ATOM, True);
    if (ours == None || x.xclient.message_type != ours) return false;
    long number = x.xclient.data.l[0];
    if (number < WM_USER || number > STANDIN_MESSAGE_LAST) return false;
    *window = reinterpret_cast<HWND>(target);
    *message = static_cast<UINT>(number);
    *wParam = static_cast<WPARAM>(x.xclient.data.l[1]);
    *lParam = static_cast<LPARAM>(x.xclient.data.l[2]);
    return true;
}
