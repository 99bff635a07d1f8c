// What the SDL platform answers for the test controls: the SDL window's own state, its frame,
// whether a sound plays, and the desktop-scale rule. Linked into test programs only
// (zelu_platform_testing).
#include "platform/testing.h"
#include "platform/sdl/platform.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

#include <SDL_mixer.h>

#include <vector>

bool TestWindowFullscreen(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  return record != nullptr && (SDL_GetWindowFlags(SdlWindow(record)) & SDL_WINDOW_FULLSCREEN) != 0;
}

bool TestWindowVisible(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  return record != nullptr && record->visible &&
         (SDL_GetWindowFlags(SdlWindow(record)) & SDL_WINDOW_SHOWN) != 0;
}

void TestScreenSize(HWND window, int *width, int *height) {
  *width = *height = 0;
  if (WindowRecord *record = FindWindowRecord(window))
    SDL_GetWindowSize(SdlWindow(record), width, height);
}

float TestDesktopScaleFrom(const char *zeluScale, const char *gdkScale, int xftDpi) {
  return DesktopScaleFrom(zeluScale, gdkScale, xftDpi);
}

// The sound output is open only while sound.cpp holds it, on its one channel.
bool NativeSoundPlaying() {
  return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0 && Mix_Playing(-1) != 0;
}

void ResizeNativeWindow(HWND window, int screenWidth, int screenHeight) {
  if (WindowRecord *record = FindWindowRecord(window))
    SDL_SetWindowSize(SdlWindow(record), screenWidth, screenHeight);
}

// Leaves the pixel-store and read-buffer state as it found it.
std::vector<uint8_t> ReadNativeFrame(HWND window, int *width, int *height) {
  *width = *height = 0;
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr)
    return {};
  GLenum buffer = GL_COLOR_ATTACHMENT0;
  if (!ScaledSurfaceSize(width, height)) {
    SDL_GL_GetDrawableSize(SdlWindow(record), width, height);
    buffer = GL_BACK;
  }
  std::vector<uint8_t> pixels(static_cast<size_t>(*width) * static_cast<size_t>(*height) * 3);
  GLint packAlignment = 4, readBuffer = GL_BACK;
  glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
  glGetIntegerv(GL_READ_BUFFER, &readBuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(buffer);
  glReadPixels(0, 0, *width, *height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  glReadBuffer(static_cast<GLenum>(readBuffer));
  glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
  return pixels;
}
