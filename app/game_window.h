// The game's one window and everything bound to it: the window class, the fullscreen display
// mode, the pixel format, the OpenGL rendering context and the pixel-for-pixel projection.
#pragma once

#include "platform/win32.h"

// A null handle means that nothing is held.
struct AppWindowRecord {
  HINSTANCE instance;     // GetModuleHandleA(NULL), taken by every OpenGameWindow
  HWND window;            // the game window
  HDC deviceContext;      // the window's private device context; frames are presented on it
  HGLRC renderingContext; // the OpenGL context created on deviceContext
  bool fullscreen;        // the window runs in the changed display mode; true at start
  bool active;            // false while the window is minimized; written by GameWindowProc only
};

extern AppWindowRecord AppWindow;

// Registers the class, enters the display mode (or offers windowed mode), creates and shows the
// window, makes its rendering context current, sets the projection, runs InitRenderState and,
// the first time in the process, starts the first game (StartFirstGame).
// False after telling the user; what was built by then has been taken down again, except the
// class after a refused fullscreen mode.
bool OpenGameWindow(const char *title, int width, int height, int bits, bool fullscreen);
// Takes down whatever AppWindow holds; a failing release is reported and the tear-down goes on.
void CloseGameWindow();
// Viewport and orthographic projection of one unit per pixel, origin at the client area's
// top-left corner, y downwards. A height of 0 is taken as 1.
void ResizeScene(int width, int height);
