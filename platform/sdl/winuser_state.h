// The window records that the window, message, display and wgl parts of the native user layer
// share. Internal to platform/sdl.
#pragma once

#include "platform/win32.h"

#include <SDL.h>

#include <string>

// One window. An HWND is the address of its record; handles are checked against the live list
// before use, so a stale or foreign handle is refused instead of followed.
struct WindowRecord {
  SDL_Window *sdl = nullptr; // null only while CreateWindowExA builds the record
  WNDPROC procedure = nullptr;
  std::string className;
  DWORD style = 0;
  DWORD exStyle = 0;
  bool visible = false;
  bool minimized = false;
  bool destroying = false; // DestroyWindow is sending its messages
};

// The live record behind `window`; null for a handle that names no live window.
WindowRecord *FindWindowRecord(HWND window);
// The live window that SDL knows by `windowId`; null when none.
HWND WindowFromSdlId(Uint32 windowId);
// The window that keeps the keyboard focus; null when none has it.
HWND FocusWindow();
void SetFocusWindow(HWND window);
