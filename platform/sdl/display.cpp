// SDL's video subsystem, the display modes it enters and leaves, and its pointer.
#include "platform/win32.h"
#include "platform/sdl/platform.h"
#include "platform/win32_core/native_platform.h"

#include <cstdlib>
#include <cstring>

namespace {

// A busy X server may refuse a connection for a moment (its listen queue is full); SDL then
// falls back to a driver that shows nothing. Video starts again a few times before giving up.
const int VideoAttempts = 10;
const Uint32 VideoRetryMillis = 50;

struct DisplayState {
  bool videoReady = false;
  int modeDisplay = 0; // the display and mode last entered, which fullscreen windows take
  SDL_DisplayMode mode = {};
  bool cursorShown = true; // as ShowCursor last asked, applied once video runs
};

DisplayState &Display() {
  static DisplayState state;
  return state;
}

void ApplyCursor() {
  if (Display().videoReady)
    SDL_ShowCursor(Display().cursorShown ? SDL_ENABLE : SDL_DISABLE);
}

// The first mode of any display with this size; depth does not matter (current displays have
// no 16-bit modes).
bool FindMode(int width, int height, int *display, SDL_DisplayMode *mode) {
  for (int d = 0; d < SDL_GetNumVideoDisplays(); ++d) {
    for (int i = 0; i < SDL_GetNumDisplayModes(d); ++i) {
      if (SDL_GetDisplayMode(d, i, mode) == 0 && mode->w == width && mode->h == height) {
        *display = d;
        return true;
      }
    }
  }
  return false;
}

// Whether SDL runs on a driver that shows windows: its headless drivers only when asked for.
bool ShowsWindows() {
  const char *driver = SDL_GetCurrentVideoDriver();
  const char *asked = getenv("SDL_VIDEODRIVER");
  if (driver == nullptr)
    return false;
  if (asked != nullptr && *asked != 0)
    return true;
  return strcmp(driver, "offscreen") != 0 && strcmp(driver, "dummy") != 0;
}

bool StartVideo() {
  for (int attempt = 0; attempt < VideoAttempts; ++attempt) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
      if (ShowsWindows())
        return true;
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    SDL_Delay(VideoRetryMillis);
  }
  return false;
}

} // namespace

bool EnsureVideo() {
  DisplayState &state = Display();
  if (state.videoReady)
    return true;
  // Ctrl+C and SIGTERM keep ending the process; minimising on focus loss is the program's choice
  // on Win32, not the system's; closing the last window is no quit request.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (!StartVideo())
    return false;
  // Loaded once for the process: SDL would unload OpenGL with the last window, under contexts
  // that Win32 lets outlive their window.
  if (SDL_GL_LoadLibrary(nullptr) != 0) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  SDL_StopTextInput();
  for (Uint32 type : {SDL_TEXTINPUT, SDL_TEXTEDITING, SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN,
                      SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL})
    SDL_EventState(type, SDL_IGNORE);
  state.videoReady = true;
  ApplyCursor();
  return true;
}

bool NativeDesktopSize(int *width, int *height) {
  SDL_DisplayMode desktop = {};
  SDL_GetDesktopDisplayMode(0, &desktop);
  *width = desktop.w;
  *height = desktop.h;
  return true;
}

// Any mode of the size will do; the windows made in it take it when they go fullscreen.
LONG EnterNativeDisplayMode(int width, int height, bool /*temporary*/) {
  int display = 0;
  SDL_DisplayMode found = {};
  if (!FindMode(width, height, &display, &found))
    return DISP_CHANGE_BADMODE;
  Display().modeDisplay = display;
  Display().mode = found;
  return DISP_CHANGE_SUCCESSFUL;
}

// SDL gives the desktop its mode back as each fullscreen window leaves fullscreen.
void LeaveNativeDisplayMode() {}

void ShowNativeCursor(bool visible) {
  Display().cursorShown = visible;
  ApplyCursor();
}

void EnteredMode(int *display, SDL_DisplayMode *mode) {
  *display = Display().modeDisplay;
  *mode = Display().mode;
}
