// The X11 desktop's resources that the layer reads beside SDL: the Xft.dpi setting.
#include "platform/sdl/platform.h"

#include <X11/Xlib.h>

#include <cstdlib>

int XftDpiResource() {
  Display *display = XOpenDisplay(nullptr);
  if (display == nullptr)
    return 0;
  const char *value = XGetDefault(display, "Xft", "dpi");
  int dpi = value != nullptr ? static_cast<int>(std::strtod(value, nullptr)) : 0;
  XCloseDisplay(display);
  return dpi;
}
