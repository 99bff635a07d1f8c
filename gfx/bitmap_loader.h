// The bitmap file loader: turns a Windows bitmap file (12-byte core or 40-byte info header, with
// or without the file header) into packed 24-bit RGB rows that a texture upload takes as they are.
#pragma once

#include "platform/win32.h"

#include <cstdint>

// An image read from a bitmap file. `pixels` holds `height` rows of 3 x `width` bytes with
// nothing between them, each pixel red, green, blue; the first row is the bottom row of the
// picture, also for files stored top-down. `width` and `height` are always positive. The record
// and the pixel block are two malloc blocks owned by the caller, who frees the pixel block first,
// then the record.
struct RgbImage {
  int32_t width;
  int32_t height;
  unsigned char *pixels;
};

// Reads the image at `path`, or returns null: silently for a null path or a path that the C
// runtime cannot open and read as a file (a directory included), after a message box (caption
// "Error") for every other failure.
RgbImage *LoadBitmapImage(const char *path);

// Reads the bitmap file `name`, a narrow string, or a UTF-16 (WCHAR) string when `wideName` is
// true. Every failure shows its message box and returns null.
RgbImage *ReadBitmapFile(const void *name, bool wideName);
inline RgbImage *ReadBitmapFile(const char *name) {
  return ReadBitmapFile(name, false);
}

// The number of colour-table entries of a core or info header (at any alignment): a non-zero
// biClrUsed taken as its low 16 bits, else 2, 16 or 256 for 1, 4 or 8 bits, else 0.
WORD BitmapColorCount(const void *header);
