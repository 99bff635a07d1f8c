// Shared by the native platform tests: a window procedure shaped like the game's that records
// what reaches it, the game's window sequence, and helpers that look at the real X display.
#pragma once

#include "platform/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// One message as a window procedure received it.
struct Delivered {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
bool operator==(const Delivered &a, const Delivered &b);
void PrintTo(const Delivered &delivered, std::ostream *out);

// Every message that reached RecordingProc since the last TakeDelivered, oldest first.
std::vector<Delivered> TakeDelivered();

// Handles messages as the game's procedure does (WM_ACTIVATE, WM_KEYDOWN/UP, WM_SIZE and the
// screen-saver commands swallowed, WM_CLOSE posts the quit) and records each one first.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

extern const char TestClass[];

// The game's styles: fullscreen popup, or the overlapped window.
const DWORD WindowedStyle = WS_OVERLAPPEDWINDOW;
const DWORD WindowedExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
const DWORD PopupStyle = WS_POPUP;
const DWORD PopupExStyle = WS_EX_APPWINDOW;

// Creates a window of TestClass as the game does: the client rectangle grown by
// AdjustWindowRectEx, then a window of that outer size at the screen's origin.
HWND CreateClientWindow(DWORD style, DWORD exStyle, int clientWidth, int clientHeight,
                        const char *title = "zelu platform test");

// Shows the window, brings it forward and gives it the focus, as the game does, then takes the
// messages that the window system sends on its own until it has been quiet for a while.
void ShowAndSettle(HWND window);

// Takes and dispatches messages for up to `timeoutMillis`, until `done` holds; true if it did.
bool PumpUntil(const std::function<bool()> &done, int timeoutMillis = 15000);
// Takes every waiting message (dispatching it) and returns them, oldest first.
std::vector<MSG> DrainMessages();

// Fails the test at once (not a skip) when no X display is set: `make test` always gives one.
void RequireDisplay();

// The game's rendering sequence on a window: GetDC, ChoosePixelFormat, SetPixelFormat,
// wglCreateContext, wglMakeCurrent; and its tear-down in the game's order.
struct GlWindow {
  HWND window = nullptr;
  HDC dc = nullptr;
  HGLRC context = nullptr;
};
GlWindow OpenGlWindow(DWORD style, DWORD exStyle, int width, int height);
void CloseGlWindow(GlWindow *gl);
const PIXELFORMATDESCRIPTOR &GamePixelFormat();

// A fixture with the test controls reset, TestClass registered and, at the end, every window
// of the test gone, the class unregistered and no object left held.
class PlatformTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  int heldAtStart = 0;
};

// The real X display, through the command-line tools. RunXTool runs one (a connection that the
// busy server refuses is tried again) and returns its output, stdout and stderr, trimmed;
// `status` receives its exit status.
std::string RunXTool(const std::string &command, int *status = nullptr);
// The X window whose title is `title` (polling for a few seconds); empty when none appears.
std::string FindXWindow(const std::string &title);
struct XGeometry {
  int x = -1, y = -1, width = 0, height = 0;
  bool viewable = false;
};
XGeometry XWindowGeometry(const std::string &windowId);
