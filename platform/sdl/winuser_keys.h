// Keyboard translation of the native user layer: SDL scancodes to Windows virtual-key codes, and
// virtual keys to the characters of WM_CHAR. Internal to platform/sdl.
#pragma once

#include "platform/win32.h"

#include <SDL.h>

// The Windows virtual-key code of a key; 0 for keys that have none here.
int VirtualKeyFromScancode(SDL_Scancode scancode);

// The character that TranslateMessage posts for a key-down (US layout, no dead keys); 0 when the
// key makes none. Digits with Shift are left out, since their symbols depend on the layout.
int CharacterFromVirtualKey(int virtualKey, bool shift, bool control);
