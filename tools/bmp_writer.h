// A picture in memory and its encoding as a 24-bit Windows bitmap file.
#pragma once

#include <cstdint>
#include <vector>

// Rows from the top of the picture down, each pixel three bytes: red, green, blue.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

Picture MakePicture(int width, int height);

// Pixel (x, y), y counted from the top of the picture.
inline std::uint8_t *PixelAt(Picture &picture, int x, int y) {
  return &picture.rgb[(static_cast<std::size_t>(y) * picture.width + x) * 3];
}

// The whole file: the 14-byte file header, a 40-byte info header, then the rows bottom-up as
// blue, green, red, each filled with zero bytes to a multiple of four.
std::vector<std::uint8_t> EncodeBmp24(const Picture &picture);
