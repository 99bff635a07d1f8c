// Rendering contexts over the page's one WebGL context with the fixed-function emulation, and
// SwapBuffers, which hands the frame to the browser.
#include "platform/win32.h"
#include "platform/web/web_platform.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

#include <emscripten.h>

#include <vector>

namespace {

// The page's WebGL context is made once and shared by every HGLRC: the emulation of the fixed
// function pipeline belongs to one context. What a context owns goes when the last one does.
struct ContextState {
  std::vector<HGLRC> live;
  HGLRC current = nullptr;
  bool made = false;
};

ContextState &Contexts() {
  static ContextState state;
  return state;
}

bool IsLive(HGLRC context) {
  for (HGLRC live : Contexts().live) {
    if (live == context && context != nullptr)
      return true;
  }
  return false;
}

// Double-buffered RGB with a depth buffer, no antialiasing: what the pixel format promises.
// clang-format off
EM_JS(int, MakePageContext, (), {
  var canvas = Module["canvas"];
  if (!canvas)
    return 0;
  var attributes = {
    alpha : false,
    depth : true,
    stencil : false,
    antialias : false,
    preserveDrawingBuffer : false
  };
  return Browser.createContext(canvas, true, true, attributes) ? 1 : 0;
});
// clang-format on

// Textures die with their context; the emulation keeps them in GL.textures.
// clang-format off
EM_JS(void, DeletePageTextures, (), {
  if (typeof GLctx === "undefined" || !GL.textures)
    return;
  for (var name = 1; name < GL.textures.length; ++name) {
    if (GL.textures[name]) {
      GLctx.deleteTexture(GL.textures[name]);
      GL.textures[name] = null;
    }
  }
});
// clang-format on

} // namespace

bool WebContextIsCurrent() {
  return Contexts().current != nullptr;
}

HGLRC WINAPI wglCreateContext(HDC dc) {
  if (HookFails(PlatformCall::wglCreateContext))
    return nullptr;
  WindowRecord *record = FindWindowByDc(dc);
  if (record == nullptr || record->pixelFormat == 0)
    return nullptr; // ERROR_INVALID_PIXEL_FORMAT
  ContextState &state = Contexts();
  if (!state.made && !(state.made = MakePageContext() != 0))
    return nullptr;
  HGLRC handle = reinterpret_cast<HGLRC>(NewHandleValue());
  state.live.push_back(handle);
  HookHeld(+1);
  return handle;
}

BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context) {
  ContextState &state = Contexts();
  // On any failure the thread is left with no current context, as on Win32.
  state.current = nullptr;
  if (context == nullptr)
    return TRUE; // the device context is ignored
  WindowRecord *window = FindWindowByDc(dc);
  if (!IsLive(context) || window == nullptr || window->pixelFormat == 0)
    return FALSE;
  state.current = context;
  return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC context) {
  ContextState &state = Contexts();
  if (!IsLive(context))
    return FALSE;
  if (state.current == context)
    state.current = nullptr;
  for (size_t i = 0; i < state.live.size(); ++i) {
    if (state.live[i] == context) {
      state.live.erase(state.live.begin() + static_cast<long>(i));
      break;
    }
  }
  if (state.live.empty()) {
    DeletePageTextures();
    ForgetDisplayLists();
  }
  HookHeld(-1);
  return TRUE;
}

// The browser presents at its own moments and has no swap interval to choose: no extensions.
PROC WINAPI wglGetProcAddress(LPCSTR) {
  return nullptr;
}

// The browser shows what was drawn when the program yields; the yield is also where the page's
// input comes in, so the loop's own wait that follows keeps the frame's pace.
BOOL WINAPI SwapBuffers(HDC dc) {
  WindowRecord *window = FindWindowByDc(dc);
  if (window == nullptr || window->pixelFormat == 0)
    return FALSE;
  YieldToPage();
  return TRUE;
}

void ForgetWindowSurface(WindowRecord *record) {
  HookHeld(-record->dcHeld);
  record->dcHeld = 0;
  record->dc = nullptr;
}
