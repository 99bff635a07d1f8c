// The game window's procedure: turns window messages into the key table, the active flag, a quit
// request and a new projection. Nothing of the game happens here.
#pragma once

#include "platform/win32.h"

// One entry per virtual-key code: true from the key's WM_KEYDOWN to its WM_KEYUP. Lives for the
// whole process; a re-created window does not clear it.
extern bool KeyState[256];

LRESULT CALLBACK GameWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
