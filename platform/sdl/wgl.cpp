// OpenGL rendering contexts over SDL's, for the pixel format that wingdi_dc.cpp sets, and
// SwapBuffers with the test controls' frame capture.
#include "platform/win32.h"
#include "platform/sdl/sdl_window.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

#include <vector>

namespace {

struct ContextRecord {
  HGLRC handle;
  SDL_GLContext gl;
  int pixelFormat;
};

std::vector<ContextRecord> &Contexts() {
  static std::vector<ContextRecord> contexts;
  return contexts;
}

ContextRecord *FindContext(HGLRC context) {
  for (ContextRecord &record : Contexts()) {
    if (record.handle == context && context != nullptr)
      return &record;
  }
  return nullptr;
}

void ReleaseCurrent() {
  if (SDL_GL_GetCurrentContext() != nullptr)
    SDL_GL_MakeCurrent(nullptr, nullptr);
}

// Reads the back buffer of the current context, the picture that the program drew (a scaled
// window's offscreen surface, at the logical size): RGB, rows packed, bottom row first. Leaves the
// pixel-store and read-buffer state as it found it.
void CaptureBackBuffer(SDL_Window *window) {
  int width = 0, height = 0;
  GLenum buffer = GL_COLOR_ATTACHMENT0;
  if (!ScaledSurfaceSize(&width, &height)) {
    SDL_GL_GetDrawableSize(window, &width, &height);
    buffer = GL_BACK;
  }
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  GLint packAlignment = 4, readBuffer = GL_BACK;
  glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
  glGetIntegerv(GL_READ_BUFFER, &readBuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(buffer);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  glReadBuffer(static_cast<GLenum>(readBuffer));
  glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
  HookStoreFrame(std::move(pixels), width, height);
}

// WGL_EXT_swap_control over SDL's swap interval of the current context.
BOOL WINAPI SwapIntervalExt(int interval) {
  return SDL_GL_SetSwapInterval(interval) == 0 ? TRUE : FALSE;
}

int WINAPI GetSwapIntervalExt() {
  return SDL_GL_GetSwapInterval();
}

} // namespace

HGLRC WINAPI wglCreateContext(HDC dc) {
  if (HookFails(PlatformCall::wglCreateContext))
    return nullptr;
  WindowRecord *record = FindWindowByDc(dc);
  if (record == nullptr || record->pixelFormat == 0)
    return nullptr; // ERROR_INVALID_PIXEL_FORMAT
  // SDL makes a new context current; Win32 leaves the current one as it was.
  SDL_Window *previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previous = SDL_GL_GetCurrentContext();
  SDL_GLContext gl = SDL_GL_CreateContext(SdlWindow(record));
  if (previous != nullptr)
    SDL_GL_MakeCurrent(previousWindow, previous);
  else
    ReleaseCurrent();
  if (gl == nullptr)
    return nullptr;
  HGLRC handle = reinterpret_cast<HGLRC>(NewHandleValue());
  Contexts().push_back({handle, gl, record->pixelFormat});
  HookHeld(+1);
  return handle;
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context) {
  // On any failure the thread is left with no current context, as on Win32.
  if (HookFails(PlatformCall::wglMakeCurrent)) {
    ReleaseCurrent();
    return FALSE;
  }
  if (context == nullptr) {
    ReleaseCurrent(); // the device context is ignored
    return TRUE;
  }
  ContextRecord *record = FindContext(context);
  WindowRecord *window = FindWindowByDc(dc);
  if (record == nullptr || window == nullptr || window->pixelFormat != record->pixelFormat ||
      SDL_GL_MakeCurrent(SdlWindow(window), record->gl) != 0) {
    ReleaseCurrent();
    return FALSE;
  }
  // No wait for the display's refresh: the game paces its own frames.
  SDL_GL_SetSwapInterval(0);
  BindWindowSurface(window);
  return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context) {
  if (HookFails(PlatformCall::wglDeleteContext))
    return FALSE;
  ContextRecord *record = FindContext(context);
  if (record == nullptr)
    return FALSE;
  if (SDL_GL_GetCurrentContext() == record->gl)
    ReleaseCurrent();
  ForgetContextSurface(record->gl);
  SDL_GL_DeleteContext(record->gl);
  Contexts().erase(Contexts().begin() + (record - Contexts().data()));
  HookHeld(-1);
  return TRUE;
}

PROC WINAPI wglGetProcAddress(LPCSTR name) {
  if (name == nullptr || SDL_GL_GetCurrentContext() == nullptr)
    return nullptr;
  if (SDL_strcmp(name, "wglSwapIntervalEXT") == 0)
    return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(SwapIntervalExt));
  if (SDL_strcmp(name, "wglGetSwapIntervalEXT") == 0)
    return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(GetSwapIntervalExt));
  return nullptr;
}

BOOL WINAPI SwapBuffers(HDC dc) {
  if (HookFails(PlatformCall::SwapBuffers))
    return FALSE;
  WindowRecord *window = FindWindowByDc(dc);
  if (window == nullptr || window->pixelFormat == 0)
    return FALSE;
  bool current =
      SDL_GL_GetCurrentContext() != nullptr && SDL_GL_GetCurrentWindow() == SdlWindow(window);
  if (current && HookCapturingFrames())
    CaptureBackBuffer(SdlWindow(window));
  HookBeforeSwap();
  if ((window = FindWindowByDc(dc)) == nullptr) // the action may have closed the window
    return FALSE;
  if (current)
    PresentScaledSurface(window);
  SDL_GL_SwapWindow(SdlWindow(window));
  HookFramePresented();
  return TRUE;
}

void ForgetWindowSurface(WindowRecord *record) {
  if (SDL_GL_GetCurrentContext() != nullptr && SDL_GL_GetCurrentWindow() == SdlWindow(record))
    ReleaseCurrent();
  HookHeld(-record->dcHeld);
  record->dcHeld = 0;
  record->dc = nullptr;
}
