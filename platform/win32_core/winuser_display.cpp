// Display-mode changes and the cursor's display count: ChangeDisplaySettingsA and ShowCursor. The
// platform only enters and leaves a mode and shows or hides its pointer.
#include "platform/win32.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

namespace {

struct DisplayState {
  bool modeChanged = false;
  int modeWidth = 0;
  int modeHeight = 0;
  int cursorCount = 0; // ShowCursor's display count: the cursor shows while it is 0 or more
};

DisplayState &Display() {
  static DisplayState state;
  return state;
}

// The size that a request asks for; a field that it does not name keeps the desktop's value.
bool RequestedSize(const DEVMODEA &request, int *width, int *height) {
  bool named = (request.dmFields & DM_PELSWIDTH) && (request.dmFields & DM_PELSHEIGHT);
  if (!named && !NativeDesktopSize(width, height))
    return false;
  if (request.dmFields & DM_PELSWIDTH)
    *width = static_cast<int>(request.dmPelsWidth);
  if (request.dmFields & DM_PELSHEIGHT)
    *height = static_cast<int>(request.dmPelsHeight);
  return true;
}

} // namespace

LONG WINAPI ChangeDisplaySettingsA(DEVMODEA *mode, DWORD flags) {
  if (HookFails(PlatformCall::ChangeDisplaySettingsA))
    return DISP_CHANGE_FAILED;
  DisplayState &state = Display();
  if (mode == nullptr) {
    // Back to the desktop: fullscreen windows become plain windows of their size.
    state.modeChanged = false;
    LeaveFullscreenWindows();
    LeaveNativeDisplayMode();
    return DISP_CHANGE_SUCCESSFUL;
  }
  if (!EnsureVideo())
    return DISP_CHANGE_FAILED;
  int width = 0, height = 0;
  if (!RequestedSize(*mode, &width, &height))
    return DISP_CHANGE_BADMODE;
  LONG result = EnterNativeDisplayMode(width, height, (flags & CDS_FULLSCREEN) != 0);
  if (result != DISP_CHANGE_SUCCESSFUL)
    return result;
  state.modeChanged = true;
  state.modeWidth = width;
  state.modeHeight = height;
  return DISP_CHANGE_SUCCESSFUL;
}

int WINAPI ShowCursor(BOOL show) {
  DisplayState &state = Display();
  state.cursorCount += show ? 1 : -1;
  ShowNativeCursor(state.cursorCount >= 0);
  return state.cursorCount;
}

bool FullscreenModeFits(int width, int height) {
  const DisplayState &state = Display();
  return state.modeChanged && state.modeWidth == width && state.modeHeight == height;
}

bool DisplayModeChanged() {
  return Display().modeChanged;
}

int CursorDisplayCount() {
  return Display().cursorCount;
}

void RestoreDisplayAndCursor() {
  Display().modeChanged = false;
  LeaveFullscreenWindows();
  LeaveNativeDisplayMode();
  Display().cursorCount = 0;
  ShowNativeCursor(true);
}
