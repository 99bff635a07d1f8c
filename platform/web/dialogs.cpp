// Message boxes as the page's own question overlay: the game waits (an Asyncify yield) until
// the player answers, and the button chosen comes back as MessageBoxA's result.
#include "platform/win32.h"
#include "platform/win32_core/native_platform.h"

#include <emscripten.h>

namespace {

// Asks the page (Module.showMessageBox, which index.html provides) and waits for the answer:
// the index of the button chosen, 0 the default one. Pages without the overlay get the
// browser's own boxes.
// clang-format off
EM_ASYNC_JS(int, AskPage, (const char *caption, const char *text, int yesNo, int icon), {
  var captionText = UTF8ToString(caption);
  var bodyText = UTF8ToString(text);
  var buttons = yesNo ? [ "Yes", "No" ] : ["OK"];
  var kinds = [ "information", "error", "warning" ];
  if (typeof Module["showMessageBox"] === "function")
    return await Module["showMessageBox"](captionText, bodyText, buttons, kinds[icon] || kinds[0]);
  if (yesNo)
    return window.confirm(captionText + "\n\n" + bodyText) ? 0 : 1;
  window.alert(captionText + "\n\n" + bodyText);
  return 0;
});
// clang-format on

int IconKind(UINT icon) {
  switch (icon) {
  case MB_ICONERROR:
    return 1;
  case MB_ICONEXCLAMATION:
    return 2;
  default:
    return 0;
  }
}

} // namespace

// The page has one window and no owners.
int AskNativeQuestion(NativeWindow *, const char *caption, const char *text, bool yesNo,
                      UINT icon) {
  int chosen = AskPage(caption, text, yesNo ? 1 : 0, IconKind(icon));
  if (!yesNo)
    return IDOK;
  return chosen == 0 ? IDYES : IDNO;
}
