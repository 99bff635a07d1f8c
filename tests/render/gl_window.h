// A 640 x 480 window with an OpenGL context made through the same Win32 calls as the game, and
// the frame read back in the game's coordinates (y down from the top). Shared by the OpenGL
// tests and the scene benchmark.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct Rgb {
  int r, g, b;
};
bool operator==(const Rgb &a, const Rgb &b);
std::ostream &operator<<(std::ostream &out, const Rgb &colour);
// Within `tolerance` in every channel (rounding of colour products differs by a step or two).
bool Near(const Rgb &a, const Rgb &b, int tolerance = 2);

// --- Window and context -----------------------------------------------------------------------
struct GlWindow {
  HINSTANCE instance = nullptr;
  HWND window = nullptr;
  HDC deviceContext = nullptr;
  HGLRC renderingContext = nullptr;
};
// Registers a class, makes a hidden 640 x 480 popup window with a double-buffered RGBA format,
// makes a new context current and sets one unit per pixel, origin top-left, y downward.
bool OpenGlWindow(GlWindow *gl);
// Releases the context, the device context, the window and the class.
void CloseGlWindow(GlWindow *gl);

// --- Read-back --------------------------------------------------------------------------------
const int FrameWidth = 640;
const int FrameHeight = 480;
struct Frame {
  std::vector<uint8_t> rgb;   // GL's order: bottom row first
  Rgb At(int x, int y) const; // y counted from the top, as the game counts it
};
// The back buffer as drawn so far.
Frame ReadFrame();
// The translation part of the current modelview matrix (where the pen stands after text).
void ModelviewOffset(double *x, double *y);
// Writes the frame as a binary PPM picture, top row first; false when the file cannot be written.
bool WritePixmap(const Frame &frame, const std::string &path);
