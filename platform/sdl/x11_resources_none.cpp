// Systems without X11 have no X resources to read.
#include "platform/sdl/sdl_window.h"

int XftDpiResource() {
  return 0;
}
