// Window records and the keyboard focus of the native user layer.
#include "platform/win32.h"
#include "platform/sdl/test_hooks.h"
#include "platform/sdl/winuser_state.h"

#include <algorithm>
#include <vector>

namespace {

struct WindowList {
  std::vector<WindowRecord *> live;
  HWND focus = nullptr;
};

WindowList &Windows() {
  static WindowList windows;
  return windows;
}

HWND HandleOf(WindowRecord *record) {
  return reinterpret_cast<HWND>(record);
}

} // namespace

WindowRecord *FindWindowRecord(HWND window) {
  if (window == nullptr)
    return nullptr;
  std::vector<WindowRecord *> &live = Windows().live;
  auto found = std::find(live.begin(), live.end(), reinterpret_cast<WindowRecord *>(window));
  return found == live.end() ? nullptr : *found;
}

HWND WindowFromSdlId(Uint32 windowId) {
  for (WindowRecord *record : Windows().live) {
    if (record->sdl != nullptr && SDL_GetWindowID(record->sdl) == windowId)
      return HandleOf(record);
  }
  return nullptr;
}

HWND FocusWindow() {
  return FindWindowRecord(Windows().focus) ? Windows().focus : nullptr;
}

void SetFocusWindow(HWND window) {
  Windows().focus = window;
}

HWND WINAPI GetFocus(void) {
  return FocusWindow();
}
