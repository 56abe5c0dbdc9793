#include "tests/common/x11_close.hpp"

#include <X11/Xlib.h>

bool send_close_request(unsigned long window) {
    Display* dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) return false;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, window, False, NoEventMask, &ev);
    XCloseDisplay(dpy);
    return true;
}
