// Message boxes over SDL's modal message box.
#include "platform/win32.h"
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
  if (SDL_ShowMessageBox(&box, &pressed) != 0)
    return 0;
  if (pressed < 0) // closed without a button
    return yesNo ? IDNO : IDOK;
  return pressed;
}
