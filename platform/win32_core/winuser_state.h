// What the window, class, message, display and wgl parts of the user layer share: the window
// records, activation and focus, the thread's message queue and the display mode. What the
// platform underneath provides to them is native_platform.h. Internal to platform/.
#pragma once

#include "platform/win32.h"
#include "platform/win32_core/native_platform.h"

#include <cmath>
#include <string>

// One window. Handles (windows, device contexts, rendering contexts) are numbers that are never
// reused in a process, checked against the live records before use, so a stale or foreign handle
// is refused instead of followed. A record may vanish during any call of a window procedure
// (the procedure may destroy its window): look it up again after every send.
struct WindowRecord {
  HWND handle = nullptr;
  NativeWindow *native = nullptr;
  WNDPROC procedure = nullptr;
  std::string className;
  DWORD style = 0;
  DWORD exStyle = 0;
  int clientWidth = 0;  // the client size last reported with WM_SIZE (or created), in logical
  int clientHeight = 0; // pixels: the window is `scale` times larger on the screen
  float scale = 1;      // the desktop's factor for a plain window; 1 in a changed display mode
  bool visible = false;
  bool minimized = false;
  bool sizeSent = false;   // WM_SIZE went out since creation
  bool destroying = false; // DestroyWindow is sending its messages
  bool fullscreen = false; // a WS_POPUP window in the changed display mode
  HDC dc = nullptr;        // the window's own device context, made by the first GetDC
  int dcHeld = 0;          // GetDC calls not yet released
  int pixelFormat = 0;     // set once by SetPixelFormat
};

// Logical pixels (what the program sees) to the window's pixels on the screen, and back.
inline int ScreenPixels(const WindowRecord &record, int logical) {
  return static_cast<int>(std::lround(logical * record.scale));
}
inline int LogicalPixels(const WindowRecord &record, int screen) {
  return static_cast<int>(std::lround(screen / record.scale));
}

// WM_SIZE's lParam: the client width in the low word, the height in the high word.
inline LPARAM SizeParam(int width, int height) {
  return static_cast<LPARAM>((static_cast<DWORD>(height) & 0xFFFF) << 16 |
                             (static_cast<DWORD>(width) & 0xFFFF));
}

// --- Handles and records (winuser_window.cpp) -------------------------------------------------
// A fresh handle value: a multiple of 4, as Win32's are, never 0 and never reused.
uintptr_t NewHandleValue();
// The live record behind `window`; null for a handle that names no live window.
WindowRecord *FindWindowRecord(HWND window);
// The live window whose device context is `dc`; null when none.
WindowRecord *FindWindowByDc(HDC dc);
// The live window over this platform window; null when none.
HWND WindowFromNative(const NativeWindow *native);
// The platform window behind `window`, for owned message boxes; null when none.
NativeWindow *NativeWindowOf(HWND window);
// Whether a live window belongs to the named class.
bool ClassHasWindows(const std::string &className);
// The most recently created live window; null when none exists.
HWND NewestWindow();
// Activation and keyboard focus as the window system sees them; null when none of our windows.
HWND FocusWindow();
HWND ActiveWindow();
// Changes activation and focus as input from the window system does, without sending anything:
// the messages for it go through the queue.
void SetActivationState(HWND active, HWND focus);
// Activates the window and gives it the keyboard focus, sending what SetFocus sends.
void TakeKeyboardFocus(HWND window);
// DestroyWindow without the test controls' failures, for the layer's own use (a refused
// WM_CREATE, DefWindowProcA's WM_CLOSE).
BOOL DestroyWindowNow(HWND window);
// Takes every fullscreen window back to a plain one (the desktop mode returns).
void LeaveFullscreenWindows();
// WM_ACTIVATE's wParam: the state in the low word, 1 in the high word while the window is
// minimised.
WPARAM ActivateParam(WORD state, HWND window);

// --- Classes (winuser_class.cpp) --------------------------------------------------------------
// The procedure of a registered class; null when no such class is registered.
WNDPROC ClassProcedure(const char *className);
// Whether windows of the named class show the stock application icon (their class asked for it,
// or for no icon); the platform shows the game's own icon for it.
bool ClassShowsApplicationIcon(const char *className);
// The class's registered name (as registered, whatever the case asked for).
std::string ClassName(const char *className);
// The frame that the styles imply around the client area, as AdjustWindowRectEx adds it.
RECT FrameInsets(DWORD style, BOOL menu, DWORD exStyle);

// --- Messages (winuser_messages.cpp) ----------------------------------------------------------
// Input from the window system, queued as the messages it becomes (the platform's events and the
// test controls' queue both come this way). A key goes to `window` as WM_KEYDOWN/UP, or as
// WM_SYSKEYDOWN/UP when it is a system key (Alt, F10, or any key with Alt but not Ctrl); the rest
// change the window's state as the input would.
void KeyInput(HWND window, int virtualKey, bool down, bool alt, bool control);
// A key message as it is asked for: WM_SYSKEYDOWN/UP when `system`, bit 29 when `alt`.
void KeyMessageInput(HWND window, int virtualKey, bool down, bool system, bool alt);
void FocusGainedInput(HWND window);
void FocusLostInput(HWND window);
void MinimizeInput(HWND window);
void RestoreInput(HWND window);
void ResizeInput(HWND window, int width, int height); // a new client size, in logical pixels
void CloseInput(HWND window);
// Calls the window's procedure at once, as Win32 does for the messages it sends; 0 when the
// window is gone.
LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Drops the queued messages of a window that is being destroyed; its keys and close requests are
// kept for the window that has the focus when they are taken.
void ForgetMessagesFor(HWND window);

// --- Display mode and cursor (winuser_display.cpp) --------------------------------------------
// Whether a changed display mode is in force and has this size.
bool FullscreenModeFits(int width, int height);

// --- Device and rendering contexts (wingdi_dc.cpp, wgl.cpp) -----------------------------------
// Called when a window goes away: its device context dies with it, and a context current on it
// stops being current.
void ForgetWindowDc(WindowRecord *record);
// A rendering context current on the window stops being current.
void ReleaseContextOn(HWND window);
