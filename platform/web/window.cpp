// The page as the window system's windows: the canvas is the one platform window.
#include "platform/win32.h"
#include "platform/web/platform.h"
#include "platform/win32_core/winuser_state.h"

#include <emscripten/html5.h>

// The native window tag of the canvas; the page has one canvas, so one window shows at a time.
struct NativeWindow {
  int unused;
};

namespace {

const char Canvas[] = "#canvas";

struct CanvasState {
  NativeWindow canvasWindow = {0};
  bool canvasTaken = false;
};

CanvasState &Page() {
  static CanvasState state;
  return state;
}

} // namespace

NativeWindow *CreateNativeWindow(const WindowRecord &record, const char *, int, int) {
  CanvasState &page = Page();
  if (page.canvasTaken)
    return nullptr; // one canvas, one window
  page.canvasTaken = true;
  emscripten_set_canvas_element_size(Canvas, record.clientWidth > 0 ? record.clientWidth : 1,
                                     record.clientHeight > 0 ? record.clientHeight : 1);
  return &page.canvasWindow;
}

void DestroyNativeWindow(NativeWindow *native) {
  if (native == &Page().canvasWindow)
    Page().canvasTaken = false;
}

// The canvas is always on the page; showing, raising and focusing change nothing there.
void ShowNativeWindow(NativeWindow *, bool) {}
void RaiseNativeWindow(NativeWindow *) {}
void FocusNativeWindow(NativeWindow *) {}
void NativeSystemCommand(NativeWindow *, WPARAM) {}

// The page scales the canvas to fit; the program always sees the canvas's own pixels.
float PlainWindowScale() {
  return 1;
}
