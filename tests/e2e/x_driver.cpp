// x_driver.cpp: the X side of the end-to-end driver, over Xlib and XTest.
#include "x_driver.h"

#include <X11/Xlib.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

int lastXError = 0;

// Windows come and go while we look at them: remember the error and go on.
int rememberError(Display*, XErrorEvent* event)
{
    lastXError = event->error_code;
    return 0;
}

// The position of the lowest set bit of a colour mask, and how many bits it has.
void maskShape(unsigned long mask, int* shift, int* bits)
{
    *shift = 0;
    *bits = 0;
    if (mask == 0) return;
    while ((mask & 1) == 0) {
        mask >>= 1;
        ++*shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++*bits;
    }
}

uint8_t channel(unsigned long pixel, int shift, int bits)
{
    unsigned long value = (pixel >> shift) & ((1ul << bits) - 1);
    if (bits >= 8) return static_cast<uint8_t>(value >> (bits - 8));
    return static_cast<uint8_t>(value * 255 / ((1ul << bits) - 1));
}

} // namespace

unsigned long XDriver::atom(const char* name)
{
    return XInternAtom(display_, name, False);
}

long long nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool XDriver::open()
{
    close();
    XSetErrorHandler(rememberError);
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr) return false;
    int event, error, major, minor;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor)) {
        close();
        return false;
    }
    return true;
}

void XDriver::close()
{
    if (display_ != nullptr) XCloseDisplay(display_);
    display_ = nullptr;
}

int XDriver::lastError() const
{
    return lastXError;
}

std::string XDriver::titleOf(Window window)
{
    std::string title;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window, atom("_NET_WM_NAME"), 0, 1024, False,
                           atom("UTF8_STRING"), &type, &format, &count, &after, &data) == Success &&
        data != nullptr && format == 8) {
        title.assign(reinterpret_cast<char*>(data), count);
    }
    if (data != nullptr) XFree(data);
    if (!title.empty()) return title;
    char* name = nullptr;
    if (XFetchName(display_, window, &name) && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

void XDriver::collect(Window parent, const std::string& title, std::vector<Window>* found)
{
    Window root, up;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, parent, &root, &up, &children, &count)) return;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, children[i], &attributes)) continue;
        if (attributes.map_state == IsViewable && titleOf(children[i]) == title) {
            found->push_back(children[i]);
        }
        collect(children[i], title, found);
    }
    if (children != nullptr) XFree(children);
}

std::vector<Window> XDriver::windowsTitled(const std::string& title)
{
    std::vector<Window> found;
    if (display_ == nullptr) return found;
    collect(DefaultRootWindow(display_), title, &found);
    return found;
}

Window XDriver::findWindow(const std::string& title)
{
    std::vector<Window> found = windowsTitled(title);
    return found.empty() ? 0 : found.front();
}

bool XDriver::exists(Window window)
{
    XWindowAttributes attributes;
    return window != 0 && XGetWindowAttributes(display_, window, &attributes) != 0;
}

std::string XDriver::windowClass(Window window)
{
    XClassHint hint{};
    std::string result;
    if (XGetClassHint(display_, window, &hint)) {
        if (hint.res_class != nullptr) result = hint.res_class;
        if (hint.res_name != nullptr) XFree(hint.res_name);
        if (hint.res_class != nullptr) XFree(hint.res_class);
    }
    return result;
}

bool XDriver::geometry(Window window, WindowGeometry* out)
{
    XWindowAttributes attributes;
    if (window == 0 || !XGetWindowAttributes(display_, window, &attributes)) return false;
    int x = 0, y = 0;
    Window child;
    if (!XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y,
                               &child)) {
        return false;
    }
    out->x = x;
    out->y = y;
    out->width = attributes.width;
    out->height = attributes.height;
    out->viewable = attributes.map_state == IsViewable;
    return true;
}

bool XDriver::hasState(Window window, const char* stateName)
{
    Atom wanted = atom(stateName);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(display_, window, atom("_NET_WM_STATE"), 0, 64, False, XA_ATOM, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr && format == 32) {
        const Atom* states = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) found = found || states[i] == wanted;
    }
    if (data != nullptr) XFree(data);
    return found;
}

void XDriver::focus(Window window)
{
    WindowGeometry where;
    if (geometry(window, &where)) {
        XTestFakeMotionEvent(display_, -1, where.x + where.width / 2, where.y + where.height / 2,
                             CurrentTime);
    }
    XSetInputFocus(display_, window, RevertToPointerRoot, CurrentTime);
    XSync(display_, False);
}

void XDriver::pressKey(KeySym key)
{
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), True, CurrentTime);
    XSync(display_, False);
}

void XDriver::releaseKey(KeySym key)
{
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, key), False, CurrentTime);
    XSync(display_, False);
}

void XDriver::tapKey(KeySym key, int holdMs)
{
    pressKey(key);
    sleepMs(holdMs);
    releaseKey(key);
}

bool XDriver::screenshot(Window window, Shot* out)
{
    XWindowAttributes attributes;
    if (window == 0 || !XGetWindowAttributes(display_, window, &attributes) ||
        attributes.map_state != IsViewable) {
        return false;
    }
    XImage* image = XGetImage(display_, window, 0, 0, attributes.width, attributes.height,
                              AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    int redShift, redBits, greenShift, greenBits, blueShift, blueBits;
    maskShape(image->red_mask, &redShift, &redBits);
    maskShape(image->green_mask, &greenShift, &greenBits);
    maskShape(image->blue_mask, &blueShift, &blueBits);
    out->width = image->width;
    out->height = image->height;
    out->rgb.resize(static_cast<size_t>(out->width) * out->height * 3);
    uint8_t* to = out->rgb.data();
    bool plain = image->bits_per_pixel == 32 && image->byte_order == LSBFirst &&
                 image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 &&
                 image->blue_mask == 0xFF;
    for (int y = 0; y < image->height; ++y) {
        const uint8_t* row = reinterpret_cast<const uint8_t*>(image->data) +
                             static_cast<size_t>(y) * image->bytes_per_line;
        for (int x = 0; x < image->width; ++x, to += 3) {
            if (plain) {  // the usual 24-bit TrueColor layout, read straight
                to[0] = row[x * 4 + 2];
                to[1] = row[x * 4 + 1];
                to[2] = row[x * 4];
                continue;
            }
            unsigned long pixel = XGetPixel(image, x, y);
            to[0] = channel(pixel, redShift, redBits);
            to[1] = channel(pixel, greenShift, greenBits);
            to[2] = channel(pixel, blueShift, blueBits);
        }
    }
    XDestroyImage(image);
    return true;
}

void XDriver::sendClientMessage(Window target, Window about, unsigned long type, long mask, long l0,
                                long l1, long l2)
{
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = about;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    XSendEvent(display_, target, False, mask, &event);
    XSync(display_, False);
}

void XDriver::sendSwitchScreenMode(Window window)
{
    const long switchScreenMode = 0x0400 + 1;  // WM_USER + 1
    sendClientMessage(window, window, atom("SPHERE_SNAKE_MESSAGE"), NoEventMask,
                      switchScreenMode, 0, 0);
}

void XDriver::closeAsWindowManager(Window window)
{
    sendClientMessage(window, window, atom("WM_PROTOCOLS"), NoEventMask,
                      static_cast<long>(atom("WM_DELETE_WINDOW")), CurrentTime, 0);
}

void XDriver::minimise(Window window)
{
    XIconifyWindow(display_, window, DefaultScreen(display_));
    XSync(display_, False);
}

void XDriver::restore(Window window)
{
    // Source 2: a pager or another tool acting for the user.
    sendClientMessage(DefaultRootWindow(display_), window, atom("_NET_ACTIVE_WINDOW"),
                      SubstructureRedirectMask | SubstructureNotifyMask, 2, CurrentTime, 0);
    XMapWindow(display_, window);
    XSync(display_, False);
}

bool XDriver::waitForWindowManager(int timeoutMs)
{
    Window root = DefaultRootWindow(display_);
    Window probe = XCreateSimpleWindow(display_, root, 0, 0, 16, 16, 0, 0, 0);
    XStoreName(display_, probe, "window manager probe");
    long long end = nowMs() + timeoutMs;
    bool managed = false;
    while (!managed && nowMs() < end) {
        XMapWindow(display_, probe);  // without a manager yet this maps it at once
        XSync(display_, False);
        managed = waitFor(
            [&] {
                // Managed: shown, inside a frame of the manager rather than on the root.
                Window rootOut, parent;
                Window* children = nullptr;
                unsigned int count = 0;
                if (!XQueryTree(display_, probe, &rootOut, &parent, &children, &count)) {
                    return false;
                }
                if (children != nullptr) XFree(children);
                XWindowAttributes attributes;
                return parent != root && XGetWindowAttributes(display_, probe, &attributes) &&
                       attributes.map_state == IsViewable;
            },
            1000);
        if (!managed) {
            XUnmapWindow(display_, probe);
            XSync(display_, False);
        }
    }
    XDestroyWindow(display_, probe);
    XSync(display_, False);
    return managed;
}
