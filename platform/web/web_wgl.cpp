// Rendering contexts over the page's one WebGL context, drawn on by our GL subset, and
// SwapBuffers, which draws what the frame gathered.
#include "platform/win32.h"
#include "platform/web/gl_subset_calls.h"
#include "platform/web/web_platform.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <vector>

namespace {

// The page's WebGL context is made once and shared by every HGLRC: the GL subset's state belongs
// to one context. What a context owns goes when the last one does.
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
bool MakePageContext() {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_TRUE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  attributes.preserveDrawingBuffer = EM_FALSE;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#canvas", &attributes);
  return context > 0 && emscripten_webgl_make_context_current(context) == EMSCRIPTEN_RESULT_SUCCESS;
}

} // namespace

// The page's first WebGL context takes long to make (the browser starts its GL then), longer than
// the rest of the game's start. Asked for once the page has painted what the game shows first
// (its question), it is made while the player reads, and the game's own request gets it at once.
// clang-format off
EM_JS(void, AskForPageContextSoon, (), {
  requestAnimationFrame(function() {
    setTimeout(function() {
      var canvas = Module["canvas"];
      if (canvas)
        canvas.getContext("webgl", {alpha : false, depth : true, stencil : false,
                                    antialias : false, preserveDrawingBuffer : false});
    }, 0);
  });
});
// clang-format on

void WarmPageContext() {
  AskForPageContextSoon();
}

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
  if (!state.made && !(state.made = MakePageContext()))
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
  if (state.live.empty())
    ForgetGlSubset();
  HookHeld(-1);
  return TRUE;
}

// The browser shows what was drawn when the program next yields to it, in the frame's wait at the
// display's next frame: of the frames drawn before it, the page shows the last.
BOOL WINAPI SwapBuffers(HDC dc) {
  WindowRecord *window = FindWindowByDc(dc);
  if (window == nullptr || window->pixelFormat == 0)
    return FALSE;
  FlushGlSubset();
  return TRUE;
}

void ForgetWindowSurface(WindowRecord *record) {
  HookHeld(-record->dcHeld);
  record->dcHeld = 0;
  record->dc = nullptr;
}
