// The page's input: its keyboard, focus and visibility, queued as they arrive while the program
// yields, and turned into window messages one at a time.
#include "platform/win32.h"
#include "platform/web/platform.h"
#include "platform/win32_core/winuser_state.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <vector>

namespace {

// Input waits for the page: events arrive only while the program yields to the browser, which
// the frame's wait for a display frame does. When the program has not yielded for this long (a
// flood of messages), the empty queue yields instead.
const double YieldIntervalMillis = 12.0;

struct PageInput {
  enum Kind { Key, FocusGained, FocusLost, Hidden, Shown } kind;
  int virtualKey;
  bool down;
  bool alt;
  bool control;
};

struct InputState {
  bool listening = false;
  std::vector<PageInput> input;
  double lastKeyDown = -1e9;
};

InputState &Input() {
  static InputState state;
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
    Input().lastKeyDown = emscripten_get_now();
  Input().input.push_back({PageInput::Key, virtualKey, eventType == EMSCRIPTEN_EVENT_KEYDOWN,
                           event->altKey != 0, event->ctrlKey != 0});
  return KeepFromBrowser(event, virtualKey) ? EM_TRUE : EM_FALSE;
}

EM_BOOL OnFocus(int eventType, const EmscriptenFocusEvent *, void *) {
  Input().input.push_back(
      {eventType == EMSCRIPTEN_EVENT_FOCUS ? PageInput::FocusGained : PageInput::FocusLost, 0,
       false, false, false});
  return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent *event, void *) {
  Input().input.push_back(
      {event->hidden ? PageInput::Hidden : PageInput::Shown, 0, false, false, false});
  return EM_FALSE;
}

void Deliver(const PageInput &input, HWND window) {
  switch (input.kind) {
  case PageInput::Key:
    return KeyInput(window, input.virtualKey, input.down, input.alt, input.control);
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

} // namespace

void ListenToPage() {
  if (Input().listening)
    return;
  Input().listening = true;
  const char *target = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(target, nullptr, EM_FALSE, OnKey);
  emscripten_set_keyup_callback(target, nullptr, EM_FALSE, OnKey);
  emscripten_set_focus_callback(target, nullptr, EM_FALSE, OnFocus);
  emscripten_set_blur_callback(target, nullptr, EM_FALSE, OnFocus);
  emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, OnVisibility);
}

double LastKeyDownMillis() {
  return Input().lastKeyDown;
}

bool TakePlatformInput() {
  std::vector<PageInput> &queue = Input().input;
  if (queue.empty() && emscripten_get_now() - LastYieldMillis() >= YieldIntervalMillis)
    YieldToPage();
  while (!queue.empty()) {
    PageInput input = queue.front();
    queue.erase(queue.begin());
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
