// Systems without X11 have no X resources to read.
#include "platform/sdl/winuser_state.h"

int XftDpiResource() {
  return 0;
}
