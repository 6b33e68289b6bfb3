// XCloseButton: the WM_DELETE_WINDOW message through Xlib.
#include "support/XCloseButton.h"

#include <X11/Xlib.h>

#include <cstring>

namespace {

// Depth-first search of the window tree under `window` for the name.
Window findByName(Display* display, Window window, const std::string& name)
{
    char* found = nullptr;
    if (XFetchName(display, window, &found) != 0 && found != nullptr) {
        const bool same = name == found;
        XFree(found);
        if (same)
            return window;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0)
        return 0;
    Window match = 0;
    for (unsigned i = 0; i < count && match == 0; ++i)
        match = findByName(display, children[i], name);
    if (children != nullptr)
        XFree(children);
    return match;
}

}  // namespace

bool XCloseButton::press(const std::string& name)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    const Window window = findByName(display, DefaultRootWindow(display), name);
    if (window != 0) {
        XEvent event;
        std::memset(&event, 0, sizeof event);
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] =
            static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
        XSync(display, False);
    }
    XCloseDisplay(display);
    return window != 0;
}
