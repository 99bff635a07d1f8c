// Window device contexts and their pixel format: GetDC, ReleaseDC, ChoosePixelFormat and
// SetPixelFormat, and a window's device context going with the window. wgl.cpp makes rendering
// contexts for the format set here.
#include "platform/win32.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

namespace {

// Every window offers one pixel format: double-buffered RGBA with a depth buffer of at least 16
// bits (the attributes that its platform window was made with).
const int OnlyPixelFormat = 1;

} // namespace

HDC WINAPI GetDC(HWND window) {
  if (HookFails(PlatformCall::GetDC))
    return nullptr;
  // Only window DCs: the screen's (a null window) is not provided.
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr)
    return nullptr;
  // One device context per window, kept for its life, as with CS_OWNDC.
  if (record->dc == nullptr)
    record->dc = reinterpret_cast<HDC>(NewHandleValue());
  ++record->dcHeld;
  HookHeld(+1);
  return record->dc;
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
  if (HookFails(PlatformCall::ReleaseDC))
    return 0;
  WindowRecord *record = FindWindowRecord(window);
  if (record == nullptr || dc == nullptr || record->dc != dc || record->dcHeld == 0)
    return 0;
  --record->dcHeld;
  HookHeld(-1);
  return 1;
}

int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR *descriptor) {
  if (HookFails(PlatformCall::ChoosePixelFormat))
    return 0;
  if (FindWindowByDc(dc) == nullptr || descriptor == nullptr)
    return 0;
  return OnlyPixelFormat;
}

BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR * /*descriptor*/) {
  if (HookFails(PlatformCall::SetPixelFormat))
    return FALSE;
  WindowRecord *record = FindWindowByDc(dc);
  if (record == nullptr || format != OnlyPixelFormat)
    return FALSE;
  // A window's pixel format is set once for its life.
  if (record->pixelFormat != 0 && record->pixelFormat != format)
    return FALSE;
  record->pixelFormat = format;
  return TRUE;
}

void ForgetWindowDc(WindowRecord *record) {
  ReleaseContextOn(record->handle);
  HookHeld(-record->dcHeld);
  record->dcHeld = 0;
  record->dc = nullptr;
}
