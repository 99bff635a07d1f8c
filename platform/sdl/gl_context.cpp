// OpenGL rendering contexts over SDL's, made for the window's pixel format, and presenting a
// window's frame (through its offscreen surface when it is scaled).
#include "platform/win32.h"
#include "platform/sdl/platform.h"
#include "platform/win32_core/native_platform.h"

namespace {

SDL_GLContext AsGl(NativeContext *context) {
  return static_cast<SDL_GLContext>(context);
}

} // namespace

void ReleaseNativeContext() {
  if (SDL_GL_GetCurrentContext() != nullptr)
    SDL_GL_MakeCurrent(nullptr, nullptr);
}

NativeContext *CreateNativeContext(WindowRecord *window) {
  // SDL makes a new context current; Win32 leaves the current one as it was.
  SDL_Window *previousWindow = SDL_GL_GetCurrentWindow();
  SDL_GLContext previous = SDL_GL_GetCurrentContext();
  SDL_GLContext gl = SDL_GL_CreateContext(SdlWindow(window));
  if (previous != nullptr)
    SDL_GL_MakeCurrent(previousWindow, previous);
  else
    ReleaseNativeContext();
  return static_cast<NativeContext *>(gl);
}

bool MakeNativeContextCurrent(WindowRecord *window, NativeContext *context) {
  if (SDL_GL_MakeCurrent(SdlWindow(window), AsGl(context)) != 0)
    return false;
  // No wait for the display's refresh: the game paces its own frames.
  SDL_GL_SetSwapInterval(0);
  BindWindowSurface(window);
  return true;
}

void DeleteNativeContext(NativeContext *context) {
  ForgetContextSurface(AsGl(context));
  SDL_GL_DeleteContext(AsGl(context));
}

void PresentNativeWindow(WindowRecord *window, bool current) {
  if (current)
    PresentScaledSurface(window);
  SDL_GL_SwapWindow(SdlWindow(window));
}

bool NativeOffersSwapInterval() {
  return true;
}

bool SetNativeSwapInterval(int interval) {
  return SDL_GL_SetSwapInterval(interval) == 0;
}

int NativeSwapInterval() {
  return SDL_GL_GetSwapInterval();
}
