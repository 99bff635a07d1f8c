// Small bitmap files built by the tests: any header size, with or without the file header, a
// colour table, bit masks and stored rows packed from pixel values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BitmapFixture {
  uint32_t headerSize = 40; // 12 writes a core header; other sizes an info header of that size
  bool fileHeader = true;
  int32_t width = 1;
  int32_t height = 1; // a core header stores the low 16 bits of width and height
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
  uint32_t clrUsed = 0;
  std::vector<uint32_t> masks;  // written right behind the header
  std::vector<uint32_t> colors; // 0xRRGGBB each; 3 bytes in a core header, 4 in an info header
  std::vector<uint8_t> pixels;  // the stored pixels, as written
  int64_t pixelOffset = -1;     // bfOffBits; -1: right behind the colour table
};

// The bytes of the file.
std::vector<uint8_t> BitmapBytes(const BitmapFixture &fixture);

// Stored rows from pixel values (colour-table indices, or 16-bit values, or 0xRRGGBB for 24 bits,
// or 32-bit values), the first row first: the leftmost pixel in the high bits of a byte, multi-
// byte values little-endian, each row filled up to a multiple of four bytes.
std::vector<uint8_t> StoredRows(int bitCount, const std::vector<std::vector<uint32_t>> &rows);

// Writes `bytes` to the file at `path`; false when that fails.
bool WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes);

// Makes the directory at `path` (it may exist already); false when there is none afterwards.
bool MakeDirectory(const std::string &path);

// Packed RGB bytes from rows of 0xRRGGBB values.
std::vector<uint8_t> RgbBytes(const std::vector<std::vector<uint32_t>> &rows);
