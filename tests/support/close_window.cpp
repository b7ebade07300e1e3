// close_window TITLE: asks the top-level X window of that title to close, as a
// window manager's close box does (a WM_DELETE_WINDOW message).
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

namespace {

Window find_titled(Display* display, Window window, const char* title) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name) {
    bool match = strcmp(name, title) == 0;
    XFree(name);
    if (match) return window;
  }
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !found; ++i) found = find_titled(display, children[i], title);
    if (children) XFree(children);
  }
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: close_window TITLE\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 2;
  Window window = find_titled(display, DefaultRootWindow(display), argv[1]);
  if (!window) {
    fprintf(stderr, "close_window: no window titled %s\n", argv[1]);
    return 1;
  }
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XCloseDisplay(display);
  return 0;
}
