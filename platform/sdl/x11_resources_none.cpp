// Systems without X11 have no X resources to read.
#include "platform/sdl/platform.h"

int XftDpiResource() {
  return 0;
}
