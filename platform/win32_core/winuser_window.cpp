// Window records over the platform's windows: creation hidden until shown, activation and keyboard
// focus, and the messages that Win32 sends to the window procedure during these calls.
#include "platform/win32.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct WindowList {
  std::vector<std::unique_ptr<WindowRecord>> live; // in order of creation
  HWND active = nullptr;
  HWND focus = nullptr;
  uintptr_t nextHandle = 0x10000;
};

WindowList &Windows() {
  static WindowList windows;
  return windows;
}

// Moves the keyboard focus, with WM_KILLFOCUS to the window losing it and WM_SETFOCUS to the
// one gaining it.
void MoveFocus(HWND window) {
  HWND previous = Windows().focus;
  if (previous == window)
    return;
  Windows().focus = window;
  if (FindWindowRecord(previous) != nullptr)
    SendToWindow(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
  if (FindWindowRecord(window) != nullptr)
    SendToWindow(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
}

// Makes `window` the active window (null: none), with WM_ACTIVATE to both sides. The focus
// follows only through DefWindowProcA, as on Win32.
void Activate(HWND window) {
  HWND previous = Windows().active;
  if (previous == window)
    return;
  Windows().active = window;
  if (FindWindowRecord(previous) != nullptr)
    SendToWindow(previous, WM_ACTIVATE, ActivateParam(WA_INACTIVE, previous),
                 reinterpret_cast<LPARAM>(window));
  if (FindWindowRecord(window) != nullptr)
    SendToWindow(window, WM_ACTIVATE, ActivateParam(WA_ACTIVE, window),
                 reinterpret_cast<LPARAM>(previous));
}

void SendSize(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr)
    return;
  record->sizeSent = true;
  SendToWindow(window, WM_SIZE, SIZE_RESTORED,
               SizeParam(record->clientWidth, record->clientHeight));
}

// A new window's record: its client area is the outer size less the frame that its styles imply.
// A popup that covers a changed display mode is what a fullscreen game is on Win32.
std::unique_ptr<WindowRecord> NewRecord(const char *className, DWORD style, DWORD exStyle,
                                        int width, int height, bool menu) {
  auto record = std::make_unique<WindowRecord>();
  record->handle = reinterpret_cast<HWND>(NewHandleValue());
  record->procedure = ClassProcedure(className);
  record->className = ClassName(className);
  record->style = style;
  record->exStyle = exStyle;
  RECT insets = FrameInsets(style, menu, exStyle);
  record->clientWidth = std::max(0, width - insets.left - insets.right);
  record->clientHeight = std::max(0, height - insets.top - insets.bottom);
  record->fullscreen =
      (style & WS_POPUP) && FullscreenModeFits(record->clientWidth, record->clientHeight);
  // A program that is not DPI-aware sees logical pixels; a changed display mode is real pixels.
  record->scale = record->fullscreen ? 1 : PlainWindowScale();
  return record;
}

// Removes a window without sending anything: its surface, its queued messages, its record.
void DiscardWindow(HWND window) {
  WindowList &windows = Windows();
  for (size_t i = 0; i < windows.live.size(); ++i) {
    WindowRecord *record = windows.live[i].get();
    if (record->handle != window)
      continue;
    ForgetWindowDc(record);
    ForgetMessagesFor(window);
    DestroyNativeWindow(record->native);
    windows.live.erase(windows.live.begin() + static_cast<long>(i));
    HookHeld(-1);
    break;
  }
  if (windows.active == window)
    windows.active = nullptr;
  if (windows.focus == window)
    windows.focus = nullptr;
}

} // namespace

WPARAM ActivateParam(WORD state, HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  WORD minimized = record != nullptr && record->minimized ? 1 : 0;
  return static_cast<WPARAM>(minimized) << 16 | state;
}

uintptr_t NewHandleValue() {
  Windows().nextHandle += 4;
  return Windows().nextHandle;
}

WindowRecord *FindWindowRecord(HWND window) {
  if (window == nullptr)
    return nullptr;
  for (const std::unique_ptr<WindowRecord> &record : Windows().live) {
    if (record->handle == window)
      return record.get();
  }
  return nullptr;
}

WindowRecord *FindWindowByDc(HDC dc) {
  if (dc == nullptr)
    return nullptr;
  for (const std::unique_ptr<WindowRecord> &record : Windows().live) {
    if (record->dc == dc)
      return record.get();
  }
  return nullptr;
}

HWND WindowFromNative(const NativeWindow *native) {
  for (const std::unique_ptr<WindowRecord> &record : Windows().live) {
    if (record->native == native && native != nullptr)
      return record->handle;
  }
  return nullptr;
}

NativeWindow *NativeWindowOf(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  return record == nullptr ? nullptr : record->native;
}

bool ClassHasWindows(const std::string &className) {
  for (const std::unique_ptr<WindowRecord> &record : Windows().live) {
    if (record->className == className)
      return true;
  }
  return false;
}

HWND NewestWindow() {
  return Windows().live.empty() ? nullptr : Windows().live.back()->handle;
}

HWND FocusWindow() {
  return FindWindowRecord(Windows().focus) ? Windows().focus : nullptr;
}

HWND ActiveWindow() {
  return FindWindowRecord(Windows().active) ? Windows().active : nullptr;
}

void SetActivationState(HWND active, HWND focus) {
  Windows().active = active;
  Windows().focus = focus;
}

void TakeKeyboardFocus(HWND window) {
  // Focusing a window of an inactive top-level window activates it first.
  Activate(window);
  MoveFocus(window);
  WindowRecord *record = FindWindowRecord(window);
  if (record != nullptr && record->visible)
    FocusNativeWindow(record->native);
}

void LeaveFullscreenWindows() {
  for (const std::unique_ptr<WindowRecord> &record : Windows().live) {
    if (record->fullscreen)
      LeaveNativeFullscreen(record->native);
    record->fullscreen = false;
  }
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE /*instance*/, LPVOID /*param*/) {
  if (HookFails(PlatformCall::CreateWindowExA))
    return nullptr;
  // Only top-level windows: the game makes no child windows.
  if (ClassProcedure(className) == nullptr || parent != nullptr || (style & WS_CHILD) ||
      !EnsureVideo())
    return nullptr;
  std::unique_ptr<WindowRecord> record =
      NewRecord(className, style, exStyle, width, height, menu != nullptr);
  record->native = CreateNativeWindow(*record, windowName, x, y);
  if (record->native == nullptr)
    return nullptr;
  HWND window = record->handle;
  Windows().live.push_back(std::move(record));
  HookHeld(+1);
  if (SendToWindow(window, WM_CREATE, 0, 0) == -1) {
    DestroyWindowNow(window);
    return nullptr;
  }
  // Popups hear their size at once; overlapped windows when first shown.
  WindowRecord *created = FindWindowRecord(window);
  if (created != nullptr && (created->style & WS_POPUP))
    SendSize(window);
  return FindWindowRecord(window) != nullptr ? window : nullptr;
}

BOOL WINAPI ShowWindow(HWND window, int command) {
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr)
    return FALSE;
  BOOL wasVisible = record->visible ? TRUE : FALSE;
  if (command == SW_HIDE) {
    if (!wasVisible)
      return FALSE;
    SendToWindow(window, WM_SHOWWINDOW, FALSE, 0);
    if ((record = FindWindowRecord(window)) == nullptr)
      return TRUE;
    record->visible = false;
    ShowNativeWindow(record->native, false);
    if (Windows().focus == window)
      MoveFocus(nullptr);
    if (Windows().active == window)
      Activate(nullptr);
    return TRUE;
  }
  if (!wasVisible) {
    SendToWindow(window, WM_SHOWWINDOW, TRUE, 0);
    if ((record = FindWindowRecord(window)) == nullptr)
      return FALSE;
    record->visible = true;
    ShowNativeWindow(record->native, true);
  }
  Activate(window);
  record = FindWindowRecord(window);
  if (record != nullptr && !record->sizeSent)
    SendSize(window);
  return wasVisible;
}

BOOL WINAPI SetForegroundWindow(HWND window) {
  if (HookFails(PlatformCall::SetForegroundWindow))
    return FALSE;
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr)
    return FALSE;
  RaiseNativeWindow(record->native);
  Activate(window);
  return TRUE;
}

HWND WINAPI SetFocus(HWND window) {
  if (HookFails(PlatformCall::SetFocus))
    return nullptr;
  HWND previous = FocusWindow();
  if (window == nullptr) {
    MoveFocus(nullptr);
    return previous;
  }
  if (FindWindowRecord(window) == nullptr)
    return nullptr; // ERROR_INVALID_WINDOW_HANDLE
  TakeKeyboardFocus(window);
  return previous;
}

HWND WINAPI GetFocus(void) {
  return FocusWindow();
}

BOOL WINAPI DestroyWindow(HWND window) {
  if (HookFails(PlatformCall::DestroyWindow))
    return FALSE;
  return DestroyWindowNow(window);
}

BOOL DestroyWindowNow(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr || record->destroying)
    return FALSE;
  record->destroying = true;
  if (record->visible) {
    record->visible = false;
    ShowNativeWindow(record->native, false);
  }
  if (Windows().active == window)
    Activate(nullptr);
  if (Windows().focus == window)
    MoveFocus(nullptr);
  SendToWindow(window, WM_DESTROY, 0, 0);
  DiscardWindow(window);
  return TRUE;
}
