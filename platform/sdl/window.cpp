// The platform windows of the native build: SDL windows with OpenGL, made hidden, fullscreen in
// the changed display mode when their record is.
#include "platform/sdl/platform.h"

#include <algorithm>
#include <cstddef>

// The game's icon, a BMP embedded by platform/sdl/CMakeLists.txt.
extern const unsigned char AppIconBitmap[];
extern const std::size_t AppIconBitmapSize;

namespace {

// The game's icon as SDL takes it, read once from the embedded bitmap; null if unreadable.
SDL_Surface *AppIcon() {
  static SDL_Surface *icon =
      SDL_LoadBMP_RW(SDL_RWFromConstMem(AppIconBitmap, static_cast<int>(AppIconBitmapSize)), 1);
  return icon;
}

NativeWindow *AsNative(SDL_Window *window) {
  return reinterpret_cast<NativeWindow *>(window);
}

SDL_Window *AsSdl(NativeWindow *native) {
  return reinterpret_cast<SDL_Window *>(native);
}

// The SDL window for a new record: hidden, with OpenGL, fullscreen when the record is.
SDL_Window *CreateSdlWindow(const WindowRecord &record, const char *title, int x, int y,
                            int display, const SDL_DisplayMode &mode) {
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL;
  if (record.fullscreen)
    flags |= SDL_WINDOW_FULLSCREEN;
  if ((record.style & WS_CAPTION) != WS_CAPTION)
    flags |= SDL_WINDOW_BORDERLESS;
  if (record.style & WS_THICKFRAME)
    flags |= SDL_WINDOW_RESIZABLE;
  if (record.fullscreen)
    x = y = static_cast<int>(SDL_WINDOWPOS_UNDEFINED_DISPLAY(display));
  else
    x = ScreenPixels(record, x), y = ScreenPixels(record, y);
  // X11 places a new window's frame, not its client area, at the position asked for (north-west
  // gravity), so the outer top-left corner lands where Win32 would put it.
  int width = std::max(1, ScreenPixels(record, record.clientWidth));
  int height = std::max(1, ScreenPixels(record, record.clientHeight));
  SDL_Window *window = SDL_CreateWindow(title != nullptr ? title : "", x, y, width, height, flags);
  if (window != nullptr && record.fullscreen)
    SDL_SetWindowDisplayMode(window, &mode);
  return window;
}

// The pixel format of every window: double-buffered RGB with at least a 16-bit depth buffer.
// No profile is asked for: SDL's default context is the one with the fixed-function pipeline
// on every system (a compatibility profile, or legacy OpenGL), and an explicit compatibility
// request is refused where only OpenGL ES or WebGL exists. X11 fixes the visual when the window
// is made, so this comes before SDL_CreateWindow.
void SetSurfaceAttributes() {
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
}

} // namespace

NativeWindow *CreateNativeWindow(const WindowRecord &record, const char *title, int x, int y) {
  if (!EnsureVideo())
    return nullptr;
  int display = 0;
  SDL_DisplayMode mode = {};
  if (record.fullscreen)
    EnteredMode(&display, &mode);
  SetSurfaceAttributes();
  SDL_Window *window = CreateSdlWindow(record, title, x, y, display, mode);
  // The stock application icon is the game's own here; other icons are not provided.
  if (window != nullptr && AppIcon() != nullptr &&
      ClassShowsApplicationIcon(record.className.c_str()))
    SDL_SetWindowIcon(window, AppIcon());
  return AsNative(window);
}

void DestroyNativeWindow(NativeWindow *native) {
  SDL_DestroyWindow(AsSdl(native));
}

void ShowNativeWindow(NativeWindow *native, bool visible) {
  if (visible)
    SDL_ShowWindow(AsSdl(native));
  else
    SDL_HideWindow(AsSdl(native));
}

void RaiseNativeWindow(NativeWindow *native) {
  SDL_RaiseWindow(AsSdl(native));
}

void FocusNativeWindow(NativeWindow *native) {
  SDL_SetWindowInputFocus(AsSdl(native));
}

void LeaveNativeFullscreen(NativeWindow *native) {
  SDL_SetWindowFullscreen(AsSdl(native), 0);
}

void NativeSystemCommand(NativeWindow *native, WPARAM command) {
  if (command == SC_MINIMIZE)
    SDL_MinimizeWindow(AsSdl(native));
  else if (command == SC_MAXIMIZE)
    SDL_MaximizeWindow(AsSdl(native));
  else if (command == SC_RESTORE)
    SDL_RestoreWindow(AsSdl(native));
}

HWND WindowFromSdlId(Uint32 windowId) {
  return WindowFromNative(AsNative(SDL_GetWindowFromID(windowId)));
}

float PlainWindowScale() {
  return DesktopScale();
}
