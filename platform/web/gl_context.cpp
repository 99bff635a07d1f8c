// Rendering contexts over the page's one WebGL context, drawn on by our GL subset (gl_subset.cpp),
// and presenting, which draws what the frame gathered.
#include "platform/win32.h"
#include "platform/web/gl_subset_calls.h"
#include "platform/web/platform.h"
#include "platform/win32_core/native_platform.h"

#include <emscripten.h>
#include <emscripten/html5.h>

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

// The page's WebGL context is made once and shared by every HGLRC: the GL subset's state belongs
// to one context. What a context owns goes when the last one does.
struct ContextState {
  int live = 0;
  NativeContext *current = nullptr;
  bool made = false;
};

ContextState &Contexts() {
  static ContextState state;
  return state;
}

// Double-buffered RGB with a depth buffer, no antialiasing: what the pixel format promises. The
// page may have made the canvas's context already (index.html), with the same attributes; then
// this gets that one.
bool MakePageContext() {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = EM_FALSE;
  attributes.depth = EM_TRUE;
  attributes.stencil = EM_FALSE;
  attributes.antialias = EM_FALSE;
  attributes.preserveDrawingBuffer = EM_FALSE;
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#canvas", &attributes);
  if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS)
    return false;
  PrepareGlSubset();
  return true;
}

// The page's context, made at the first call that finds none; false while it cannot be made.
bool EnsurePageContext() {
  ContextState &state = Contexts();
  if (!state.made)
    state.made = MakePageContext();
  return state.made;
}

} // namespace

// The page's first WebGL context takes long to make (the browser starts its GL then), and its
// shaders long to compile. Made before the game's question, the context is there when the game
// opens its window, and the shaders compile while the player reads.
void MakePageContextEarly() {
  EnsurePageContext();
}

bool WebContextIsCurrent() {
  return Contexts().current != nullptr;
}

NativeContext *CreateNativeContext(WindowRecord *) {
  if (!EnsurePageContext())
    return nullptr;
  ContextState &state = Contexts();
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
  if (--state.live == 0)
    ForgetGlSubset();
}

// The canvas keeps the size it was made with: the page never resizes a window.
void FitWindowSurface(WindowRecord *) {}

// The browser shows what was drawn when the program next yields to it, in the frame's wait at the
// display's next frame: of the frames drawn before it, the page shows the last.
void PresentNativeWindow(WindowRecord *, bool) {
  FlushGlSubset();
  // The page says "Playing." only once a frame is on the canvas.
  static bool told = false;
  if (!told) {
    told = true;
    TellPageFramePresented();
  }
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
