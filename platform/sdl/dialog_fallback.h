// What a message box does when SDL cannot show it: the box goes to standard error, then to the
// first of the desktop's own dialog programs that shows it. Internal to platform/sdl.
#pragma once

#include "platform/win32.h"

// Writes the box (`caption`, `text`, its buttons) and SDL's `reason` to standard error, then asks
// zenity, kdialog (first on a KDE desktop) or xmessage, as found on the PATH, where there is an X
// or Wayland display; returns the button
// chosen (IDYES, IDNO or IDOK), or the box's default button (IDYES or IDOK) when none of them
// could show it. `type` is MessageBoxA's: MB_YESNO or MB_OK, with its icon.
int AskWithoutSdl(const char *caption, const char *text, UINT type, const char *reason);
