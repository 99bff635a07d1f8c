// Message boxes over SDL's modal message box, and where SDL cannot show one, over the desktop's
// dialog programs and standard error (dialog_fallback.cpp).
#include "platform/win32.h"
#include "platform/sdl/dialog_fallback.h"
#include "platform/win32_core/native_platform.h"

#include <SDL.h>

namespace {

Uint32 BoxKind(UINT icon) {
  switch (icon) {
  case MB_ICONERROR:
    return SDL_MESSAGEBOX_ERROR;
  case MB_ICONEXCLAMATION:
    return SDL_MESSAGEBOX_WARNING;
  default:
    return SDL_MESSAGEBOX_INFORMATION;
  }
}

} // namespace

int AskNativeQuestion(NativeWindow *owner, const char *caption, const char *text, bool yesNo,
                      UINT icon) {
  const SDL_MessageBoxButtonData okButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK,
       "OK"}};
  const SDL_MessageBoxButtonData yesNoButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"}, {0, IDNO, "No"}};
  SDL_MessageBoxData box = {};
  box.flags = BoxKind(icon);
  box.window = reinterpret_cast<SDL_Window *>(owner);
  box.title = caption;
  box.message = text;
  box.numbuttons = yesNo ? 2 : 1;
  box.buttons = yesNo ? yesNoButtons : okButtons;
  int pressed = -1;
  // A box nobody sees must not decide for the player: Win32 would have shown it.
  if (SDL_ShowMessageBox(&box, &pressed) != 0)
    return AskWithoutSdl(caption, text, (yesNo ? MB_YESNO : MB_OK) | icon, SDL_GetError());
  if (pressed < 0) // closed without a button
    return yesNo ? IDNO : IDOK;
  return pressed;
}
