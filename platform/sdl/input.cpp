// Input over SDL: its keyboard and window events, turned into the window messages that Win32
// would post.
#include "platform/win32.h"
#include "platform/sdl/platform.h"
#include "platform/sdl/input_keys.h"
#include "platform/win32_core/winuser_state.h"

namespace {

// A new size on the screen: the program sees it divided by the window's scale, as on Windows.
void ScreenResizeInput(HWND window, int width, int height) {
  if (WindowRecord *record = FindWindowRecord(window))
    ResizeInput(window, LogicalPixels(*record, width), LogicalPixels(*record, height));
}

void WindowEventInput(const SDL_WindowEvent &event) {
  HWND window = WindowFromSdlId(event.windowID);
  switch (event.event) {
  case SDL_WINDOWEVENT_FOCUS_GAINED:
    return FocusGainedInput(window);
  case SDL_WINDOWEVENT_FOCUS_LOST:
    return FocusLostInput(window);
  case SDL_WINDOWEVENT_MINIMIZED:
    return MinimizeInput(window);
  case SDL_WINDOWEVENT_RESTORED:
    return RestoreInput(window);
  case SDL_WINDOWEVENT_SIZE_CHANGED:
    return ScreenResizeInput(window, event.data1, event.data2);
  case SDL_WINDOWEVENT_CLOSE:
    return CloseInput(window);
  default:
    return;
  }
}

void KeyEventInput(const SDL_KeyboardEvent &event) {
  HWND window = WindowFromSdlId(event.windowID);
  if (window == nullptr)
    window = FocusWindow();
  int virtualKey = VirtualKeyFromScancode(event.keysym.scancode);
  if (window == nullptr || virtualKey == 0)
    return;
  KeyInput(window, virtualKey, event.state == SDL_PRESSED, (event.keysym.mod & KMOD_ALT) != 0,
           (event.keysym.mod & KMOD_CTRL) != 0);
}

} // namespace

bool TakePlatformInput() {
  SDL_Event event;
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || SDL_PollEvent(&event) == 0)
    return false;
  if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP)
    KeyEventInput(event.key);
  else if (event.type == SDL_WINDOWEVENT)
    WindowEventInput(event.window);
  return true;
}
