// The page as the window system: the canvas is the one platform window, the page's keyboard,
// focus and visibility are its input, and the browser's fullscreen stands in for a display mode.
#include "platform/win32.h"
#include "platform/web/platform.h"
#include "platform/win32_core/kernel_timer.h"
#include "platform/win32_core/winuser_state.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <deque>

// The native window tag of the canvas; the page has one canvas, so one window shows at a time.
struct NativeWindow {
  int unused;
};

namespace {

const char Canvas[] = "#canvas";
// Input waits for the page: events arrive only while the program yields to the browser, which
// the frame's SwapBuffers does. When no frame presents (a minimised game), the empty queue yields
// at this interval instead.
const double YieldIntervalMillis = 12.0;
// Fullscreen follows only a key the player pressed this long ago at most (F1, held across a
// frame): browsers grant it during a gesture, and a page opened is none.
const double GestureMillis = 1000.0;

struct PageInput {
  enum Kind { Key, FocusGained, FocusLost, Hidden, Shown } kind;
  int virtualKey;
  bool down;
  bool alt;
  bool control;
};

struct PageState {
  NativeWindow canvasWindow = {0};
  bool canvasTaken = false;
  bool listening = false;
  std::deque<PageInput> input;
  double lastYield = 0.0;
  double lastKeyDown = -1e9;
  bool modeChanged = false;
  int modeWidth = 0;
  int modeHeight = 0;
  int cursorCount = 0; // ShowCursor's display count: the cursor shows while it is 0 or more
};

PageState &Page() {
  static PageState state;
  return state;
}

// Browsers give the keys Windows' virtual-key codes in keyCode for the keys that matter here.
int VirtualKeyOf(const EmscriptenKeyboardEvent *event) {
  unsigned long code = event->keyCode;
  return code > 0 && code < 256 ? static_cast<int>(code) : 0;
}

// Keys that the browser would act on (scrolling, help, search) belong to the game; with Ctrl or
// Meta, and F5, F11 and F12, they stay the browser's.
bool KeepFromBrowser(const EmscriptenKeyboardEvent *event, int virtualKey) {
  if (event->ctrlKey || event->metaKey)
    return false;
  return virtualKey != VK_F5 && virtualKey != VK_F11 && virtualKey != VK_F12;
}

EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent *event, void *) {
  int virtualKey = VirtualKeyOf(event);
  if (virtualKey == 0)
    return EM_FALSE;
  if (eventType == EMSCRIPTEN_EVENT_KEYDOWN)
    Page().lastKeyDown = emscripten_get_now();
  Page().input.push_back({PageInput::Key, virtualKey, eventType == EMSCRIPTEN_EVENT_KEYDOWN,
                          event->altKey != 0, event->ctrlKey != 0});
  return KeepFromBrowser(event, virtualKey) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnFocus(int eventType, const EmscriptenFocusEvent *, void *) {
  Page().input.push_back(
      {eventType == EMSCRIPTEN_EVENT_FOCUS ? PageInput::FocusGained : PageInput::FocusLost, 0,
       false, false, false});
  return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent *event, void *) {
  Page().input.push_back(
      {event->hidden ? PageInput::Hidden : PageInput::Shown, 0, false, false, false});
  return EM_FALSE;
}

void Listen() {
  if (Page().listening)
    return;
  Page().listening = true;
  const char *target = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(target, nullptr, EM_FALSE, OnKey);
  emscripten_set_keyup_callback(target, nullptr, EM_FALSE, OnKey);
  emscripten_set_focus_callback(target, nullptr, EM_FALSE, OnFocus);
  emscripten_set_blur_callback(target, nullptr, EM_FALSE, OnFocus);
  emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, OnVisibility);
}

void Deliver(const PageInput &input, HWND window) {
  switch (input.kind) {
  case PageInput::Key: {
    // Alt combinations (but not AltGr, which is Ctrl+Alt), Alt itself and F10 are system keys.
    bool system =
        input.virtualKey == VK_F10 || input.virtualKey == VK_MENU || (input.alt && !input.control);
    return KeyInput(window, input.virtualKey, input.down, system, input.alt);
  }
  case PageInput::FocusGained:
    return FocusGainedInput(window);
  case PageInput::FocusLost:
    return FocusLostInput(window);
  case PageInput::Hidden:
    return MinimizeInput(window);
  case PageInput::Shown:
    return RestoreInput(window);
  }
}

// The page's fullscreen, asked for the canvas's stage; browsers grant it only during a user's
// gesture (a key pressed moments ago), so the answer is known at once.
// clang-format off
EM_JS(int, RequestPageFullscreen, (), {
  var activation = navigator.userActivation;
  if (!activation || !activation.isActive)
    return 0;
  var stage = document.getElementById("stage") || Module["canvas"];
  if (!stage || !stage.requestFullscreen)
    return 0;
  stage.requestFullscreen().catch(function(){});
  return 1;
});
// clang-format on

// clang-format off
EM_JS(void, LeavePageFullscreen, (), {
  if (document.fullscreenElement)
    document.exitFullscreen().catch(function(){});
});
// clang-format on

// clang-format off
EM_JS(void, ShowPageCursor, (int visible), {
  if (Module["canvas"])
    Module["canvas"].style.cursor = visible ? "" : "none";
});
// clang-format on

} // namespace

namespace {

bool EnterPageFullscreen() {
  return emscripten_get_now() - Page().lastKeyDown <= GestureMillis && RequestPageFullscreen();
}

} // namespace

bool EnsureVideo() {
  Listen();
  return true;
}

NativeWindow *CreateNativeWindow(const WindowRecord &record, const char *, int, int) {
  PageState &page = Page();
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

void LeaveNativeFullscreen(NativeWindow *) {
  LeavePageFullscreen();
}

// The page scales the canvas to fit; the program always sees the canvas's own pixels.
float PlainWindowScale() {
  return 1;
}

// The canvas keeps the size it was made with: the page never resizes a window.
void FitWindowSurface(WindowRecord *) {}

bool TakePlatformInput() {
  PageState &page = Page();
  if (page.input.empty() && emscripten_get_now() - page.lastYield >= YieldIntervalMillis)
    YieldToPage();
  while (!page.input.empty()) {
    PageInput input = page.input.front();
    page.input.pop_front();
    HWND window = FocusWindow() != nullptr ? FocusWindow() : NewestWindow();
    if (input.kind != PageInput::Key && ActiveWindow() == nullptr && NewestWindow() != nullptr)
      window = NewestWindow();
    if (window == nullptr)
      continue; // no window to take it: dropped, as the window system drops it
    Deliver(input, window);
    return true;
  }
  return false;
}

void YieldToPage() {
  Page().lastYield = emscripten_get_now();
  emscripten_sleep(0);
  Page().lastYield = emscripten_get_now();
}

// The frame's wait gives the page its time rather than spinning through it: the page's timers may
// wake the game late but never early, and less than a millisecond left is waited out here.
void SleepUntilNanos(uint64_t due) {
  for (;;) {
    uint64_t nanos = MonotonicNanos();
    if (nanos >= due)
      return;
    unsigned wholeMillis = static_cast<unsigned>((due - nanos) / 1000000u);
    if (wholeMillis > 0) {
      Page().lastYield = emscripten_get_now();
      emscripten_sleep(wholeMillis);
      Page().lastYield = emscripten_get_now();
    }
  }
}

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA *mode, DWORD flags) {
  PageState &page = Page();
  if (mode == nullptr) {
    page.modeChanged = false;
    LeaveFullscreenWindows();
    LeavePageFullscreen();
    return DISP_CHANGE_SUCCESSFUL;
  }
  if (!(flags & CDS_FULLSCREEN) || !(mode->dmFields & DM_PELSWIDTH) ||
      !(mode->dmFields & DM_PELSHEIGHT))
    return DISP_CHANGE_BADMODE;
  if (!EnterPageFullscreen())
    return DISP_CHANGE_BADMODE;
  page.modeChanged = true;
  page.modeWidth = static_cast<int>(mode->dmPelsWidth);
  page.modeHeight = static_cast<int>(mode->dmPelsHeight);
  return DISP_CHANGE_SUCCESSFUL;
}

bool FullscreenModeFits(int width, int height) {
  const PageState &page = Page();
  return page.modeChanged && page.modeWidth == width && page.modeHeight == height;
}

bool DisplayModeChanged() {
  return Page().modeChanged;
}

int WINAPI ShowCursor(BOOL show) {
  PageState &page = Page();
  page.cursorCount += show ? 1 : -1;
  ShowPageCursor(page.cursorCount >= 0);
  return page.cursorCount;
}
