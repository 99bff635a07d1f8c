// The game's icon: the snake's head from the sprite art, drawn on a transparent square at any
// size, and its encodings for desktops (PNG), Windows (.ico) and the native window (32-bit BMP).
#pragma once

#include <cstdint>
#include <vector>

#include "tools/asset_files.h"

// Rows from the top down, each pixel four bytes: red, green, blue, alpha (not premultiplied).
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

// The head facing right with its tongue out, filling the square but for a thin margin.
RgbaPicture BuildIconPicture(int size);

std::vector<std::uint8_t> EncodePng(const RgbaPicture &picture);
// A Windows icon holding every picture: those of 256 pixels as PNG, smaller ones as 32-bit
// bitmaps with their AND mask, as Windows XP and later read them.
std::vector<std::uint8_t> EncodeIco(const std::vector<RgbaPicture> &pictures);
// A bitmap file with a BITMAPV4HEADER whose bit fields include alpha, which SDL_LoadBMP reads
// with its transparency.
std::vector<std::uint8_t> EncodeBmp32(const RgbaPicture &picture);

// The icon files by name: zelu-line-48.png, -64, -128 and -256 for the desktop's icon theme,
// -192 and -512 for the browser build's web app manifest,
// zelu-line.ico (16 to 256 pixels) for the Windows executable, zelu-line-64.bmp for the native
// window. The same code always gives the same bytes.
std::vector<AssetFile> BuildIconFiles();
