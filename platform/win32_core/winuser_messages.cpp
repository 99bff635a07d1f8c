// The thread's message queue: posted messages, the quit request, and the platform's input turned
// into window messages; PeekMessageA, TranslateMessage, DispatchMessageA, DefWindowProcA and
// PostQuitMessage.
#include "platform/win32.h"
#include "platform/win32_core/native_platform.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

#include <vector>

namespace {

// Key-message lParam bits: repeat count 1, Alt held, key down before, key going up.
const LPARAM RepeatOnce = 1;
const LPARAM AltDown = LPARAM(1) << 29;
const LPARAM WasDown = LPARAM(1) << 30;
const LPARAM GoingUp = LPARAM(1) << 31;

struct MessageQueue {
  std::vector<MSG> posted;
  std::vector<MSG> input; // window-system input already turned into messages
  bool quitPending = false;
  int quitCode = 0;
  bool keyDown[256] = {};
};

MessageQueue &Queue() {
  static MessageQueue queue;
  return queue;
}

// A message's time: milliseconds of the monotonic clock (not timeGetTime, whose readings step the
// test controls' virtual clock).
DWORD MessageTime() {
  return static_cast<DWORD>(MonotonicNanos() / 1000000u);
}

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg = {};
  msg.hwnd = window;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  msg.time = MessageTime();
  return msg;
}

void QueueInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Queue().input.push_back(MakeMessage(window, message, wParam, lParam));
}

// The character that TranslateMessage posts for a key-down (US layout, no dead keys); 0 when the
// key makes none. Digits with Shift are left out, since their symbols depend on the layout.
int CharacterFromVirtualKey(int virtualKey, bool shift, bool control) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') {
    if (control)
      return virtualKey - 'A' + 1; // Ctrl+A is 1, as on Win32
    return shift ? virtualKey : virtualKey - 'A' + 'a';
  }
  if (virtualKey >= '0' && virtualKey <= '9' && !shift && !control)
    return virtualKey;
  switch (virtualKey) {
  case VK_BACK:
  case VK_TAB:
  case VK_RETURN:
  case VK_ESCAPE:
  case VK_SPACE:
    return virtualKey; // their characters have the key's own code
  default:
    return 0;
  }
}

bool Matches(const MSG &msg, HWND window, UINT filterMin, UINT filterMax) {
  if (window != nullptr && msg.hwnd != window)
    return false;
  return (filterMin == 0 && filterMax == 0) ||
         (msg.message >= filterMin && msg.message <= filterMax);
}

bool TakeFrom(std::vector<MSG> &queue, LPMSG msg, HWND window, UINT filterMin, UINT filterMax,
              bool remove) {
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (!Matches(*it, window, filterMin, filterMax))
      continue;
    *msg = *it;
    if (remove)
      queue.erase(it);
    return true;
  }
  return false;
}

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
         message == WM_SYSKEYUP;
}

bool FollowsTheFocus(const MSG &msg) {
  return IsKeyMessage(msg.message) || (msg.message == WM_SYSCOMMAND && msg.wParam == SC_CLOSE);
}

// Posted messages first, then the quit request (whatever the filter), then input.
bool FindMessage(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, bool remove) {
  MessageQueue &queue = Queue();
  if (TakeFrom(queue.posted, msg, window, filterMin, filterMax, remove))
    return true;
  if (queue.quitPending) {
    *msg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
    queue.quitPending = !remove;
    return true;
  }
  // Keys and close requests whose window was destroyed go to the window with the focus now.
  for (MSG &msg : queue.input)
    if (msg.hwnd == nullptr)
      msg.hwnd = FocusWindow();
  // The test controls' queued input comes before the platform's own.
  do {
    if (TakeFrom(queue.input, msg, window, filterMin, filterMax, remove))
      return true;
  } while (HookTakeInput() || TakePlatformInput());
  return false;
}

void PostMessageToQueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Queue().posted.push_back(MakeMessage(window, message, wParam, lParam));
}

} // namespace

void KeyInput(HWND window, int virtualKey, bool down, bool alt, bool control) {
  // Alt combinations (but not AltGr, which is Ctrl+Alt), Alt itself and F10 are system keys.
  bool system = virtualKey == VK_F10 || virtualKey == VK_MENU || (alt && !control);
  KeyMessageInput(window, virtualKey, down, system, alt);
}

void KeyMessageInput(HWND window, int virtualKey, bool down, bool system, bool alt) {
  bool &wasDown = Queue().keyDown[virtualKey & 0xFF];
  LPARAM lParam =
      RepeatOnce | (alt ? AltDown : 0) | (wasDown || !down ? WasDown : 0) | (down ? 0 : GoingUp);
  wasDown = down;
  UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  QueueInput(window, message, static_cast<WPARAM>(virtualKey), lParam);
}

// The window gains activation and the keyboard focus (a click, a task switch back).
void FocusGainedInput(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr || (ActiveWindow() == window && FocusWindow() == window))
    return;
  SetActivationState(window, window);
  QueueInput(window, WM_ACTIVATE, ActivateParam(WA_ACTIVE, window), 0);
}

// Another program takes the focus: the window stays as it is, only inactive.
void FocusLostInput(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr || (ActiveWindow() != window && FocusWindow() != window))
    return;
  SetActivationState(nullptr, nullptr);
  QueueInput(window, WM_ACTIVATE, ActivateParam(WA_INACTIVE, window), 0);
}

void MinimizeInput(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr || record->minimized)
    return;
  record->minimized = true;
  SetActivationState(nullptr, nullptr);
  QueueInput(window, WM_ACTIVATE, ActivateParam(WA_INACTIVE, window), 0);
  QueueInput(window, WM_SIZE, SIZE_MINIMIZED, 0);
}

// Restoring a minimised window; for a window that is not minimised, a reactivation.
void RestoreInput(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr)
    return;
  if (!record->minimized) {
    FocusGainedInput(window);
    return;
  }
  record->minimized = false;
  SetActivationState(window, window);
  QueueInput(window, WM_ACTIVATE, ActivateParam(WA_ACTIVE, window), 0);
  QueueInput(window, WM_SIZE, SIZE_RESTORED, SizeParam(record->clientWidth, record->clientHeight));
}

// A new client size, in logical pixels.
void ResizeInput(HWND window, int width, int height) {
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr || record->minimized ||
      (record->clientWidth == width && record->clientHeight == height))
    return;
  record->clientWidth = width;
  record->clientHeight = height;
  FitWindowSurface(record);
  QueueInput(window, WM_SIZE, SIZE_RESTORED, SizeParam(width, height));
}

void CloseInput(HWND window) {
  if (FindWindowRecord(window) != nullptr)
    QueueInput(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeMsg) {
  if (msg == nullptr)
    return FALSE;
  bool remove = (removeMsg & PM_REMOVE) != 0;
  if (FindMessage(msg, window, filterMin, filterMax, remove))
    return TRUE;
  // Tests act here, between the empty queue and the frame that it lets run (a look that leaves
  // messages in the queue lets none run); what they queue comes out of the next call.
  if (remove)
    HookQueueFoundEmpty();
  return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG *msg) {
  if (msg == nullptr)
    return FALSE;
  if (!IsKeyMessage(msg->message))
    return FALSE;
  if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
    const bool *keyDown = Queue().keyDown;
    int character = CharacterFromVirtualKey(static_cast<int>(msg->wParam), keyDown[VK_SHIFT],
                                            keyDown[VK_CONTROL]);
    if (character != 0)
      PostMessageToQueue(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                         static_cast<WPARAM>(character), msg->lParam);
  }
  return TRUE; // key messages count as translated, whether or not they make a character
}

LRESULT WINAPI DispatchMessageA(const MSG *msg) {
  if (msg == nullptr || FindWindowRecord(msg->hwnd) == nullptr)
    return 0;
  return SendToWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr)
    return 0;
  switch (message) {
  case WM_SYSCOMMAND:
    switch (wParam & 0xFFF0) {
    case SC_CLOSE:
      SendToWindow(window, WM_CLOSE, 0, 0);
      break;
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_RESTORE:
      NativeSystemCommand(record->native, wParam & 0xFFF0);
      break;
    }
    return 0;
  case WM_SYSKEYDOWN:
    if (wParam == VK_F4 && (lParam & AltDown))
      SendToWindow(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  case WM_CLOSE:
    DestroyWindowNow(window);
    return 0;
  case WM_ACTIVATE:
    // An active window that is not minimised takes the keyboard focus.
    if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0 && FocusWindow() != window)
      TakeKeyboardFocus(window);
    return 0;
  default:
    return 0;
  }
}

void WINAPI PostQuitMessage(int exitCode) {
  Queue().quitPending = true;
  Queue().quitCode = exitCode;
}

LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr || record->procedure == nullptr)
    return 0;
  return record->procedure(window, message, wParam, lParam);
}

// The window's posted messages and input go with it, but for its keys and close requests: the
// display mode's switch makes the window anew, and those were meant for the game, whichever window
// shows it (a key's release lost would leave the key held). They go to the window that has the
// focus when they are taken, as keys that come after the switch do.
void ForgetMessagesFor(HWND window) {
  for (std::vector<MSG> *queue : {&Queue().posted, &Queue().input}) {
    for (auto it = queue->begin(); it != queue->end();) {
      if (it->hwnd != window) {
        ++it;
      } else if (queue == &Queue().input && FollowsTheFocus(*it)) {
        it->hwnd = nullptr;
        ++it;
      } else {
        it = queue->erase(it);
      }
    }
  }
}

void ClearMessageQueue() {
  Queue() = MessageQueue();
}
