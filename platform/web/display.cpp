// The browser's fullscreen standing in for a display mode, and the pointer over the canvas.
#include "platform/win32.h"
#include "platform/web/platform.h"
#include "platform/win32_core/native_platform.h"

#include <emscripten.h>

namespace {

// Fullscreen follows only a key the player pressed this long ago at most (F1, held across a
// frame): browsers grant it during a gesture, and a page opened is none.
const double GestureMillis = 1000.0;

// The page's fullscreen, asked for the canvas's stage; browsers grant it only during a user's
// gesture (a key pressed moments ago), so the answer is known at once.
// clang-format off
EM_JS(int, RequestPageFullscreen, (), {
  var activation = navigator.userActivation;
  if (!activation || !activation.isActive)
    return 0;
  var stage = document.getElementById("stage") || Module["canvas"];
  if (!stage || !stage.requestFullscreen)
    return 0;
  stage.requestFullscreen().catch(function(){});
  return 1;
});
// clang-format on

// clang-format off
EM_JS(void, LeavePageFullscreen, (), {
  if (document.fullscreenElement)
    document.exitFullscreen().catch(function(){});
});
// clang-format on

// clang-format off
EM_JS(void, ShowPageCursor, (int visible), {
  if (Module["canvas"])
    Module["canvas"].style.cursor = visible ? "" : "none";
});
// clang-format on

} // namespace

// The page is there from the start; its input is heard from the first window on.
bool EnsureVideo() {
  ListenToPage();
  return true;
}

// The page's fullscreen has no size to ask for: a request names both.
bool NativeDesktopSize(int *, int *) {
  return false;
}

// Only a temporary mode, and only right after a key: a page may not keep the screen, nor take it
// unasked. The canvas keeps its size, which the page scales to the screen.
LONG EnterNativeDisplayMode(int, int, bool temporary) {
  if (!temporary || emscripten_get_now() - LastKeyDownMillis() > GestureMillis ||
      !RequestPageFullscreen())
    return DISP_CHANGE_BADMODE;
  return DISP_CHANGE_SUCCESSFUL;
}

void LeaveNativeDisplayMode() {
  LeavePageFullscreen();
}

void LeaveNativeFullscreen(NativeWindow *) {
  LeavePageFullscreen();
}

void ShowNativeCursor(bool visible) {
  ShowPageCursor(visible ? 1 : 0);
}
