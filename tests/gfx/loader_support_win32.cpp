// Loader test support for the Windows build. A hook sees each message box dialog right after its
// WM_INITDIALOG, records its caption and text, and destroys it before it is ever shown: a box
// that is shown and closed at once costs two seconds under Wine on a display without a window
// manager, and the loader does not look at the box's answer.
#include "tests/gfx/loader_test_support.h"

#include "platform/win32.h"

#include <cstring>

namespace {

HHOOK hook = nullptr;
std::vector<RecordedBox> boxes;

// The id of the static control that holds a message box's text.
const int kMessageTextId = 0xFFFF;

bool IsDialog(HWND window) {
  char className[32] = "";
  return GetClassNameA(window, className, sizeof className) > 0 && strcmp(className, "#32770") == 0;
}

LRESULT CALLBACK CatchMessageBox(int code, WPARAM wParam, LPARAM lParam) {
  const CWPRETSTRUCT *call = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
  if (code == HC_ACTION && call->message == WM_INITDIALOG && IsDialog(call->hwnd)) {
    char caption[256] = "", text[1024] = "";
    GetWindowTextA(call->hwnd, caption, sizeof caption);
    GetDlgItemTextA(call->hwnd, kMessageTextId, text, sizeof text);
    boxes.push_back({text, caption});
    DestroyWindow(call->hwnd);
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

} // namespace

void StartRecordingBoxes() {
  if (hook == nullptr)
    hook = SetWindowsHookExA(WH_CALLWNDPROCRET, CatchMessageBox, nullptr, GetCurrentThreadId());
  boxes.clear();
}

std::vector<RecordedBox> RecordedBoxes() {
  return boxes;
}

long PlatformObjectsHeld() {
  DWORD handles = 0;
  GetProcessHandleCount(GetCurrentProcess(), &handles);
  return static_cast<long>(handles + GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}
