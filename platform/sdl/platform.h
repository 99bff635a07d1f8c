// The SDL side of the window records: the SDL window behind a record, the changed display mode
// that a fullscreen window takes, the desktop's scale and scaled windows' offscreen surfaces.
// Internal to platform/sdl.
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
// The display and SDL mode that the changed display mode entered, for a fullscreen window.
void EnteredMode(int *display, SDL_DisplayMode *mode);

// --- Desktop scale (desktop_scale.cpp, x11_resources.cpp) -------------------------------------
// The factor by which plain windows are larger on the screen than the program sees them; known
// once video runs.
float DesktopScale();
// The factor that the settings give: ZELU_SCALE's and GDK_SCALE's texts (null when unset) and the
// Xft.dpi resource (0 when unset).
float DesktopScaleFrom(const char *zeluScale, const char *gdkScale, int xftDpi);
// The X11 desktop's Xft.dpi resource; 0 when it has none or there is no X11 display.
int XftDpiResource();

// --- Scaled windows' offscreen surfaces (scaled_surface.cpp) ------------------------------------
// With the window's context current: drawing goes to an offscreen surface of the window's logical
// client size when the window is scaled, else to the window itself. (FitWindowSurface, called by
// the shared window code, is here too.)
void BindWindowSurface(WindowRecord *window);
// The size of the offscreen surface that the current context draws to; false when it draws to
// its window.
bool ScaledSurfaceSize(int *width, int *height);
// Enlarges the current offscreen surface onto the window's back buffer, if there is one.
void PresentScaledSurface(WindowRecord *window);
// Forgets the surface of a context that is being deleted (its objects go with it).
void ForgetContextSurface(SDL_GLContext context);
