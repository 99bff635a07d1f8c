// Loader test support for the Windows build, under Wine. A hook sees each message box dialog
// right after its WM_INITDIALOG, records its caption and text, and destroys it before it is ever
// shown: a box that is shown and closed at once costs two seconds under Wine on a display without
// a window manager, and the loader does not look at the box's answer. ImageMagick, a Linux
// program, cannot be started from under Wine: a setup test has left its pictures in a folder.
#include "tests/gfx/build_support.h"

#include "platform/win32.h"

#include <cstdio>
#include <cstring>

namespace {

HHOOK hook = nullptr;
std::vector<RecordedBox> boxes;

// The id of the static control that holds a message box's text.
const int MessageTextId = 0xFFFF;

bool IsDialog(HWND window) {
  char className[32] = "";
  return GetClassNameA(window, className, sizeof className) > 0 && strcmp(className, "#32770") == 0;
}

LRESULT CALLBACK CatchMessageBox(int code, WPARAM wParam, LPARAM lParam) {
  const CWPRETSTRUCT *call = reinterpret_cast<const CWPRETSTRUCT *>(lParam);
  if (code == HC_ACTION && call->message == WM_INITDIALOG && IsDialog(call->hwnd)) {
    char caption[256] = "", text[1024] = "";
    GetWindowTextA(call->hwnd, caption, sizeof caption);
    GetDlgItemTextA(call->hwnd, MessageTextId, text, sizeof text);
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

bool ConversionIsRealGdi() {
  return true;
}

std::string SuitePath(const std::string &file) {
  return std::string(ZELU_BMPSUITE_DIR) + "/" + file;
}

// "g/pal8.bmp" was written as "g-pal8.bmp.rgb".
std::vector<uint8_t> ImageMagickPicture(const std::string &file) {
  std::string name = file;
  for (char &c : name)
    if (c == '/')
      c = '-';
  std::vector<uint8_t> picture;
  FILE *input = fopen((std::string(ZELU_REFERENCE_DIR) + "/" + name + ".rgb").c_str(), "rb");
  if (input == nullptr)
    return picture;
  uint8_t buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, input)) > 0)
    picture.insert(picture.end(), buffer, buffer + got);
  fclose(input);
  return picture;
}
