// The SDL side of the window records: the SDL window behind a record, and the changed display
// mode that a fullscreen window takes. Internal to platform/sdl.
#pragma once

#include "platform/win32.h"
#include "platform/win32_core/winuser_state.h"

#include <SDL.h>

// A record's platform window is an SDL window.
inline SDL_Window *SdlWindow(const WindowRecord *record) {
  return reinterpret_cast<SDL_Window *>(record->native);
}
inline SDL_Window *SdlWindowOf(HWND window) {
  return reinterpret_cast<SDL_Window *>(NativeWindowOf(window));
}
// The live window that SDL knows by `windowId`; null when none.
HWND WindowFromSdlId(Uint32 windowId);
// When a changed display mode is in force and has this size: true, with the display and mode.
bool ChangedModeOfSize(int width, int height, int *display, SDL_DisplayMode *mode);
