// The desktop session's part in the display-scale tests: the X server's resource database, which
// xrdb sets on a real desktop. Apart from the tests, whose names meet Xlib's.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>

bool SetDesktopResources(const char *resources) {
  Display *display = XOpenDisplay(nullptr);
  if (display == nullptr)
    return false;
  XChangeProperty(display, DefaultRootWindow(display),
                  XInternAtom(display, "RESOURCE_MANAGER", False), XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char *>(resources),
                  static_cast<int>(std::strlen(resources)));
  // The connection stays open, as a desktop session's does: a server that loses its last client
  // starts afresh and forgets its resources.
  XSync(display, False);
  return true;
}
