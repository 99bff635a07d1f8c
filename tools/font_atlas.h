// The font texture: a 256 × 256 picture of 16 × 16 glyph cells, rasterised with FreeType.
#pragma once

#include <string>

#include "tools/bmp_writer.h"

constexpr int FontCellSize = 16;
constexpr int FontGridSize = 16;

// Rows 0 to 7 hold the display set (byte c is glyph c − 32, shown stretched 1.5 × 2), rows 8 to
// 15 the plain set (byte c is glyph c + 96, shown at 16 × 16 with a 15-pixel advance). Bytes 128
// to 159 carry their Windows-1252 characters where the face has them. Grey levels on black,
// row 0 at the top. Returns false with a message when a face cannot be loaded.
bool BuildFontPicture(const std::string &fontDir, Picture &picture, std::string &error);

// The Unicode character of a byte of the Windows-1252 code page, 0 where it has none.
unsigned Cp1252ToUnicode(unsigned byte);
