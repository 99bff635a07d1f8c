// Rendering contexts over the page's one WebGL context with the fixed-function emulation, and
// presenting, which hands the frame to the browser.
#include "platform/win32.h"
#include "platform/web/platform.h"
#include "platform/win32_core/native_platform.h"

#include <emscripten.h>

// A rendering context: a tag for the page's one WebGL context.
struct NativeContext {
  int unused;
};

namespace {

// clang-format off
EM_JS(void, TellPageFramePresented, (), {
  if (typeof Module["onFramePresented"] === "function") Module["onFramePresented"]();
});
// clang-format on

// The page's WebGL context is made once and shared by every HGLRC: the emulation of the fixed
// function pipeline belongs to one context. What a context owns goes when the last one does.
struct ContextState {
  int live = 0;
  NativeContext *current = nullptr;
  bool made = false;
};

ContextState &Contexts() {
  static ContextState state;
  return state;
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

NativeContext *CreateNativeContext(WindowRecord *) {
  ContextState &state = Contexts();
  if (!state.made && !(state.made = MakePageContext() != 0))
    return nullptr;
  ++state.live;
  return new NativeContext{0};
}

// The page has one canvas, which every window draws to.
bool MakeNativeContextCurrent(WindowRecord *, NativeContext *context) {
  Contexts().current = context;
  return true;
}

void ReleaseNativeContext() {
  Contexts().current = nullptr;
}

void DeleteNativeContext(NativeContext *context) {
  ContextState &state = Contexts();
  delete context;
  if (--state.live == 0) {
    DeletePageTextures();
    ForgetDisplayLists();
  }
}

// The canvas keeps the size it was made with: the page never resizes a window.
void FitWindowSurface(WindowRecord *) {}

// The browser shows what was drawn when the program yields; the yield is also where the page's
// input comes in, so the loop's own wait that follows keeps the frame's pace.
void PresentNativeWindow(WindowRecord *, bool) {
  // The page says "Playing." only once a frame is on the canvas.
  static bool told = false;
  if (!told) {
    told = true;
    TellPageFramePresented();
  }
  YieldToPage();
}

// The browser presents at its own moments: there is no swap interval to choose.
bool NativeOffersSwapInterval() {
  return false;
}

bool SetNativeSwapInterval(int) {
  return false;
}

int NativeSwapInterval() {
  return 0;
}
