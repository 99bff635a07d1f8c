// The window procedure of the class "OpenGL": key table, activity, quit requests and resizing.
#include "app/window_proc.h"

#include "app/game_window.h"

bool KeyState[256];

namespace {

// Another program may post any key code; codes beyond the table are ignored.
void SetKey(WPARAM virtualKey, bool down) {
  if (virtualKey < sizeof KeyState)
    KeyState[virtualKey] = down;
}

} // namespace

LRESULT CALLBACK GameWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
  case WM_ACTIVATE:
    // The high word is the minimized state; the kind of activation does not matter.
    AppWindow.active = HIWORD(wParam) == 0;
    return 0;
  case WM_SYSCOMMAND:
    // No screen saver and no monitor power-down while the game runs.
    if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
      return 0;
    break;
  case WM_CLOSE:
    PostQuitMessage(0);
    return 0;
  case WM_KEYDOWN:
    SetKey(wParam, true);
    return 0;
  case WM_KEYUP:
    SetKey(wParam, false);
    return 0;
  case WM_SIZE:
    ResizeScene(LOWORD(lParam), HIWORD(lParam));
    return 0;
  }
  return DefWindowProcA(hWnd, message, wParam, lParam);
}
