// Keyboard translation of the native user layer: SDL scancodes to Windows virtual-key codes.
// Internal to platform/sdl.
#pragma once

#include "platform/win32.h"

#include <SDL.h>

// The Windows virtual-key code of a key; 0 for keys that have none here.
int VirtualKeyFromScancode(SDL_Scancode scancode);
