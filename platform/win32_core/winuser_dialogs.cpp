// Message boxes: MessageBoxA over the platform's question, with the test controls' scripted
// answers.
#include "platform/win32.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  int answer;
  if (HookScriptedBox(owner, text, caption, type, &answer))
    return answer;
  if (HookFails(PlatformCall::MessageBoxA))
    return 0;
  // An unknown or null owner asks without one; a box without a caption is captioned "Error".
  return AskNativeQuestion(NativeWindowOf(owner), caption ? caption : "Error", text ? text : "",
                           (type & 0xF) == MB_YESNO, type & 0xF0);
}
