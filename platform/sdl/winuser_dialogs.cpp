// Message boxes over SDL's modal message box, and where SDL cannot show one, over the desktop's
// dialog programs and standard error (dialog_fallback.cpp).
#include "platform/win32.h"
#include "platform/sdl/dialog_fallback.h"
#include "platform/sdl/sdl_window.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

#include <SDL.h>

namespace {

Uint32 BoxKind(UINT type) {
  switch (type & 0xF0) {
  case MB_ICONERROR:
    return SDL_MESSAGEBOX_ERROR;
  case MB_ICONEXCLAMATION:
    return SDL_MESSAGEBOX_WARNING;
  default:
    return SDL_MESSAGEBOX_INFORMATION;
  }
}

} // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  int answer;
  if (HookScriptedBox(owner, text, caption, type, &answer))
    return answer;
  if (HookFails(PlatformCall::MessageBoxA))
    return 0;
  bool yesNo = (type & 0xF) == MB_YESNO;
  const SDL_MessageBoxButtonData okButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
       "OK"}};
  const SDL_MessageBoxButtonData yesNoButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"}, {0, IDNO, "No"}};
  SDL_MessageBoxData box = {};
  box.flags = BoxKind(type);
  box.window = SdlWindowOf(owner); // null (no parent) for an unknown or null owner
  box.title = caption ? caption : "Error";
  box.message = text ? text : "";
  box.numbuttons = yesNo ? 2 : 1;
  box.buttons = yesNo ? yesNoButtons : okButtons;
  int pressed = -1;
  // A box nobody sees must not decide for the player: Win32 would have shown it.
  if (SDL_ShowMessageBox(&box, &pressed) != 0)
    return AskWithoutSdl(box.title, box.message, type, SDL_GetError());
  if (pressed < 0) // closed without a button
    return yesNo ? IDNO : IDOK;
  return pressed;
}
