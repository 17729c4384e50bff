// x_windows.cpp: finding a top-level X window by its caption.
#include "x_windows.h"

#include <X11/Xatom.h>

std::string xWindowTitle(Display* dpy, Window window)
{
    std::string title;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    const Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    if (XGetWindowProperty(dpy, window, netName, 0, 1024, False, AnyPropertyType, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        if (!title.empty()) return title;
    }
    char* name = nullptr;
    if (XFetchName(dpy, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

Window findXWindow(Display* dpy, Window parent, const char* title, bool viewableOnly)
{
    if (xWindowTitle(dpy, parent) == title) {
        XWindowAttributes attributes;
        if (!viewableOnly || (XGetWindowAttributes(dpy, parent, &attributes) &&
                              attributes.map_state == IsViewable))
            return parent;
    }
    Window root, up;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(dpy, parent, &root, &up, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i)
        found = findXWindow(dpy, children[i], title, viewableOnly);
    if (children) XFree(children);
    return found;
}
