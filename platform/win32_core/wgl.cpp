// Rendering contexts over the platform's, for the pixel format that wingdi_dc.cpp sets:
// wglCreateContext, wglMakeCurrent, wglDeleteContext, wglGetProcAddress (WGL_EXT_swap_control),
// and SwapBuffers with the test controls' frame capture.
#include "platform/win32.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

#include <cstring>
#include <vector>

namespace {

struct ContextRecord {
  HGLRC handle;
  NativeContext *native;
  int pixelFormat;
};

struct ContextState {
  std::vector<ContextRecord> live;
  HGLRC current = nullptr;      // the thread's current context; null when none
  HWND currentWindow = nullptr; // the window it draws to
};

ContextState &Contexts() {
  static ContextState state;
  return state;
}

ContextRecord *FindContext(HGLRC context) {
  for (ContextRecord &record : Contexts().live) {
    if (record.handle == context && context != nullptr)
      return &record;
  }
  return nullptr;
}

void ReleaseCurrent() {
  ContextState &state = Contexts();
  ReleaseNativeContext();
  state.current = nullptr;
  state.currentWindow = nullptr;
}

// WGL_EXT_swap_control over the platform's swap interval of the current context.
BOOL WINAPI SwapIntervalExt(int interval) {
  if (Contexts().current == nullptr || interval < 0)
    return FALSE;
  return SetNativeSwapInterval(interval) ? TRUE : FALSE;
}

int WINAPI GetSwapIntervalExt() {
  return Contexts().current != nullptr ? NativeSwapInterval() : 0;
}

PROC AsProc(void (*function)()) {
  return reinterpret_cast<PROC>(function);
}

} // namespace

HGLRC WINAPI wglCreateContext(HDC dc) {
  if (HookFails(PlatformCall::wglCreateContext))
    return nullptr;
  WindowRecord *record = FindWindowByDc(dc);
  if (record == nullptr || record->pixelFormat == 0)
    return nullptr; // ERROR_INVALID_PIXEL_FORMAT
  // Win32 leaves the current context as it was.
  NativeContext *native = CreateNativeContext(record);
  if (native == nullptr)
    return nullptr;
  HGLRC handle = reinterpret_cast<HGLRC>(NewHandleValue());
  Contexts().live.push_back({handle, native, record->pixelFormat});
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
      !MakeNativeContextCurrent(window, record->native)) {
    ReleaseCurrent();
    return FALSE;
  }
  Contexts().current = context;
  Contexts().currentWindow = window->handle;
  return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context) {
  if (HookFails(PlatformCall::wglDeleteContext))
    return FALSE;
  ContextRecord *record = FindContext(context);
  if (record == nullptr)
    return FALSE;
  if (Contexts().current == context)
    ReleaseCurrent();
  DeleteNativeContext(record->native);
  std::vector<ContextRecord> &live = Contexts().live;
  live.erase(live.begin() + (record - live.data()));
  HookHeld(-1);
  return TRUE;
}

// As on Win32, extension functions come only with a current context; only the swap control is
// provided, and only where the platform has a swap interval.
PROC WINAPI wglGetProcAddress(LPCSTR name) {
  if (name == nullptr || Contexts().current == nullptr || !NativeOffersSwapInterval())
    return nullptr;
  if (strcmp(name, "wglSwapIntervalEXT") == 0)
    return AsProc(reinterpret_cast<void (*)()>(SwapIntervalExt));
  if (strcmp(name, "wglGetSwapIntervalEXT") == 0)
    return AsProc(reinterpret_cast<void (*)()>(GetSwapIntervalExt));
  return nullptr;
}

BOOL WINAPI SwapBuffers(HDC dc) {
  if (HookFails(PlatformCall::SwapBuffers))
    return FALSE;
  WindowRecord *window = FindWindowByDc(dc);
  if (window == nullptr || window->pixelFormat == 0)
    return FALSE;
  HWND handle = window->handle;
  bool current = Contexts().current != nullptr && Contexts().currentWindow == handle;
  if (current)
    HookFrameDrawn(handle);
  HookBeforeSwap();
  if ((window = FindWindowByDc(dc)) == nullptr) // the action may have closed the window
    return FALSE;
  PresentNativeWindow(window, current);
  HookFramePresented();
  return TRUE;
}

void ReleaseContextOn(HWND window) {
  if (Contexts().current != nullptr && Contexts().currentWindow == window)
    ReleaseCurrent();
}
