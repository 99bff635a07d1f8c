// The desktop's scale factor, by which Windows enlarges the windows of a program that does not
// declare DPI awareness (this one draws a fixed picture): ZELU_SCALE when set, else what the X11
// desktop says (GDK_SCALE, then the Xft.dpi resource), else 1.
#include "platform/win32_core/test_hooks.h"
#include "platform/sdl/platform.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const float LargestScale = 8;
const int StandardDpi = 96;

// Scale settings are honoured from 1 to 8; anything else (text, 0, a shrink) says nothing.
float ScaleOrNone(float scale) {
  return std::isfinite(scale) && scale >= 1 && scale <= LargestScale ? scale : 0;
}

float ParsedScale(const char *text) {
  if (text == nullptr || *text == 0)
    return 0;
  char *end = nullptr;
  float scale = std::strtof(text, &end);
  return *end == 0 ? ScaleOrNone(scale) : 0;
}

struct ScaleState {
  bool known = false;
  float scale = 1;
};

ScaleState &State() {
  static ScaleState state;
  return state;
}

} // namespace

float DesktopScaleFrom(const char *zeluScale, const char *gdkScale, int xftDpi) {
  if (float scale = ParsedScale(zeluScale))
    return scale;
  // GDK_SCALE is a whole factor; Xft.dpi goes in Windows' steps of a quarter (120 dpi is 125 %).
  if (float scale = ParsedScale(gdkScale))
    return std::floor(scale);
  if (float scale = ScaleOrNone(std::round(4.0f * xftDpi / StandardDpi) / 4))
    return scale;
  return 1;
}

float DesktopScale() {
  if (float tested = ScaleOrNone(HookDesktopScale()))
    return tested;
  ScaleState &state = State();
  if (!state.known) {
    // Elsewhere (Wayland, macOS) the system itself enlarges a window that does not ask for high
    // pixel density, as ours do not; SDL's window sizes are logical there already.
    const char *driver = SDL_GetCurrentVideoDriver();
    bool x11 = driver != nullptr && std::strcmp(driver, "x11") == 0;
    state.scale =
        DesktopScaleFrom(std::getenv("ZELU_SCALE"), x11 ? std::getenv("GDK_SCALE") : nullptr,
                         x11 ? XftDpiResource() : 0);
    state.known = driver != nullptr;
  }
  return state.scale;
}
