// The loader's pictures: every stored format of the conversion table, with the 12- and the
// 40-byte header, with and without the file header, odd widths, top-down rows, bit fields and
// run-length data. The same tests run against the real GDI in the Windows build.
#include "tests/gfx/loader_test_helpers.h"

#include "platform/win32.h"

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<uint32_t>>;

// A colour table whose entries all differ and none of which is black.
std::vector<uint32_t> Palette(int entries) {
  std::vector<uint32_t> colors;
  for (uint32_t i = 0; i < static_cast<uint32_t>(entries); ++i)
    colors.push_back(((i * 37 + 11) & 0xFF) << 16 | ((i * 91 + 5) & 0xFF) << 8 | (255 - i));
  return colors;
}

// Colours of colour-table indices, row by row.
Rows ColoursOf(const std::vector<uint32_t> &palette, const Rows &indices) {
  Rows colors = indices;
  for (std::vector<uint32_t> &row : colors)
    for (uint32_t &value : row)
      value = value < palette.size() ? palette[value] : 0;
  return colors;
}

struct ConversionCase {
  const char *name;
  uint16_t bitCount;
  uint32_t compression;
  std::vector<uint32_t> colors;
  std::vector<uint32_t> masks;
  Rows stored;   // pixel values of the stored rows, 5 wide, the first stored row first
  Rows expected; // 0xRRGGBB, in the same order
  bool core;     // whether OS/2's 12-byte header can hold the format too
};

std::vector<ConversionCase> ConversionCases() {
  const std::vector<uint32_t> two = {0x123456, 0xFEDCBA}, sixteen = Palette(16), all = Palette(256);
  const Rows bits1 = {{1, 0, 1, 1, 0}, {0, 0, 0, 1, 1}},
             bits4 = {{0, 15, 7, 8, 1}, {3, 12, 5, 10, 14}},
             bits8 = {{0, 255, 128, 17, 200}, {1, 2, 254, 99, 64}};
  const Rows rgb = {{0x1E140A, 0xFFFFFF, 0x000000, 0x123456, 0xABCDEF},
                    {0x808080, 0x010203, 0xFF0000, 0x00FF00, 0x0000FF}};
  return {
      {"1 bit", 1, BI_RGB, two, {}, bits1, ColoursOf(two, bits1), true},
      {"4 bits", 4, BI_RGB, sixteen, {}, bits4, ColoursOf(sixteen, bits4), true},
      {"8 bits", 8, BI_RGB, all, {}, bits8, ColoursOf(all, bits8), true},
      {"24 bits", 24, BI_RGB, {}, {}, rgb, rgb, true},
      // The fourth byte is dropped, whatever it holds.
      {"32 bits",
       32,
       BI_RGB,
       {},
       {},
       {{0xFF1E140A, 0x00FFFFFF, 0x80000000, 0x01123456, 0x7FABCDEF},
        {0x00808080, 0xFF010203, 0x00FF0000, 0x0000FF00, 0x000000FF}},
       rgb,
       false},
      // Five bits a channel, the top bit unused; 5-bit v widens to (v << 3) | (v >> 2).
      {"16 bits",
       16,
       BI_RGB,
       {},
       {},
       {{0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x8000}, {0x4210, 0x0421, 0x2D6B, 0xFFFF, 0x0010}},
       {{0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x000000},
        {0x848484, 0x080808, 0x5A5A5A, 0xFFFFFF, 0x000084}},
       false},
      {"16 bits with 5-6-5 bit fields",
       16,
       BI_BITFIELDS,
       {},
       {0xF800, 0x07E0, 0x001F},
       {{0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0000}, {0x0841, 0x8410, 0x0020, 0x7BEF, 0x1234}},
       {{0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x000000},
        {0x080808, 0x848284, 0x000400, 0x7B7D7B, 0x1045A5}},
       false},
      {"16 bits with 4-4-4 bit fields",
       16,
       BI_BITFIELDS,
       {},
       {0x0F00, 0x00F0, 0x000F},
       {{0x0F00, 0x00F0, 0x000F, 0x0123, 0xFFFF}, {0x0000, 0x0FFF, 0x0A5C, 0x1111, 0x0777}},
       {{0xFF0000, 0x00FF00, 0x0000FF, 0x112233, 0xFFFFFF},
        {0x000000, 0xFFFFFF, 0xAA55CC, 0x111111, 0x777777}},
       false},
      // Masks in an unusual order, the low byte unused.
      {"32 bits with bit fields",
       32,
       BI_BITFIELDS,
       {},
       {0x0000FF00, 0x00FF0000, 0xFF000000},
       {{0x332211FF, 0x000000FF, 0xFFFFFF00, 0x0000FF00, 0x00FF0000},
        {0xFF000000, 0x01020300, 0x80808099, 0x12345678, 0xABCDEF00}},
       {{0x112233, 0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00},
        {0x0000FF, 0x030201, 0x808080, 0x563412, 0xEFCDAB}},
       false},
  };
}

struct HeaderVariant {
  const char *name;
  uint32_t headerSize;
  bool fileHeader;
};

const HeaderVariant Variants[] = {{"info header in a file", 40, true},
                                  {"bare info header", 40, false},
                                  {"core header in a file", 12, true},
                                  {"bare core header", 12, false}};

class Conversion : public LoaderTest {};

TEST_F(Conversion, EveryStoredFormatComesOutAsRgbRowsWithoutFiller) {
  for (const ConversionCase &c : ConversionCases()) {
    for (const HeaderVariant &variant : Variants) {
      if (variant.headerSize == 12 && !c.core)
        continue;
      SCOPED_TRACE(std::string(c.name) + ", " + variant.name);
      BitmapFixture fixture;
      fixture.headerSize = variant.headerSize;
      fixture.fileHeader = variant.fileHeader;
      fixture.width = 5;
      fixture.height = 2;
      fixture.bitCount = c.bitCount;
      fixture.compression = c.compression;
      fixture.colors = c.colors;
      fixture.masks = c.masks;
      fixture.pixels = StoredRows(c.bitCount, c.stored);
      LoadOutcome out = LoadBytes("conversion.bmp", BitmapBytes(fixture));
      ASSERT_TRUE(out.loaded) << (out.boxes.empty() ? "" : out.boxes[0].text);
      EXPECT_EQ(out.width, 5);
      EXPECT_EQ(out.height, 2);
      EXPECT_EQ(out.pixels, RgbBytes(c.expected)); // 30 bytes: two rows of 15
      EXPECT_TRUE(out.boxes.empty());
    }
  }
}

// Top-down files come out with a positive height and the bottom row of the picture first.
TEST_F(Conversion, TopDownRowsComeOutBottomRowFirst) {
  const Rows topFirst = {{0xFF0000, 0x00FF00, 0x0000FF},
                         {0x111111, 0x222222, 0x333333},
                         {0xABCDEF, 0x123456, 0x000001}};
  const Rows bottomFirst = {topFirst[2], topFirst[1], topFirst[0]};
  const std::vector<uint32_t> palette = {0xFF0000, 0x00FF00, 0x0000FF, 0x111111, 0x222222,
                                         0x333333, 0xABCDEF, 0x123456, 0x000001};
  const Rows indices = {{0, 1, 2}, {3, 4, 5}, {6, 7, 8}};
  for (int bitCount : {8, 24}) {
    for (bool fileHeader : {true, false}) {
      SCOPED_TRACE(std::to_string(bitCount) + " bits, file header " + std::to_string(fileHeader));
      BitmapFixture fixture;
      fixture.fileHeader = fileHeader;
      fixture.width = 3;
      fixture.height = -3;
      fixture.bitCount = static_cast<uint16_t>(bitCount);
      if (bitCount == 8)
        fixture.colors = palette;
      fixture.clrUsed = bitCount == 8 ? 9 : 0;
      fixture.pixels = StoredRows(bitCount, bitCount == 8 ? indices : topFirst);
      LoadOutcome out = LoadBytes("topdown.bmp", BitmapBytes(fixture));
      ASSERT_TRUE(out.loaded);
      EXPECT_EQ(out.height, 3);
      EXPECT_EQ(out.pixels, RgbBytes(bottomFirst));
    }
  }
}

// Without a file header the pixels start right behind the colour table that biClrUsed sizes;
// with one they start at bfOffBits, wherever that is.
TEST_F(Conversion, PixelsStartBehindTheTableOrAtTheFilesOffset) {
  const std::vector<uint32_t> palette = Palette(16);
  const Rows indices = {{15, 0, 7}, {1, 2, 3}};
  BitmapFixture fixture;
  fixture.width = 3;
  fixture.height = 2;
  fixture.bitCount = 8;
  fixture.clrUsed = 16;
  fixture.colors = palette;
  fixture.pixels = StoredRows(8, indices);
  fixture.fileHeader = false;
  LoadOutcome bare = LoadBytes("table16.bmp", BitmapBytes(fixture));
  EXPECT_EQ(bare.pixels, RgbBytes(ColoursOf(palette, indices)));
  fixture.fileHeader = true;
  fixture.pixelOffset = 14 + 40 + 64 + 100; // 100 bytes of 0xEE between table and pixels
  LoadOutcome gap = LoadBytes("gap.bmp", BitmapBytes(fixture));
  EXPECT_EQ(gap.pixels, RgbBytes(ColoursOf(palette, indices)));
}

// An index beyond the colour table gives black.
TEST_F(Conversion, IndexBeyondTheColourTableGivesBlack) {
  const std::vector<uint32_t> palette = {0x102030, 0x405060, 0x708090};
  BitmapFixture fixture;
  fixture.width = 4;
  fixture.height = 1;
  fixture.bitCount = 4;
  fixture.clrUsed = 3;
  fixture.colors = palette;
  fixture.pixels = StoredRows(4, {{2, 3, 15, 0}});
  LoadOutcome out = LoadBytes("index.bmp", BitmapBytes(fixture));
  EXPECT_EQ(out.pixels, RgbBytes({{0x708090, 0, 0, 0x102030}}));
}

BitmapFixture RunLengthFixture(uint16_t bitCount, int width, int height,
                               const std::vector<uint8_t> &data) {
  BitmapFixture fixture;
  fixture.width = width;
  fixture.height = height;
  fixture.bitCount = bitCount;
  fixture.compression = bitCount == 8 ? BI_RLE8 : BI_RLE4;
  fixture.colors = Palette(bitCount == 8 ? 256 : 16);
  fixture.sizeImage = static_cast<uint32_t>(data.size());
  fixture.pixels = data;
  return fixture;
}

const uint32_t X = 0xFFFFFFFF; // a pixel the data leaves unset

// Encoded runs, absolute runs with and without their padding, delta, end of line and end of
// bitmap; unset pixels are black, and pixels past the end of a row are dropped.
TEST_F(Conversion, RunLengthDataWithEveryEscape) {
  struct Case {
    const char *name;
    uint16_t bitCount;
    int width;
    std::vector<uint8_t> data;
    Rows expected; // colour-table indices, bottom row first; X for unset
  };
  const Case cases[] = {
      {"RLE8",
       8,
       6,
       {0x03, 0x05, 0x00, 0x03, 0x07, 0x08, 0x09, 0x00, 0x00, 0x00, // run, odd absolute, EOL
        0x02, 0x0A, 0x00, 0x02, 0x01, 0x01,                         // run, delta (1, 1)
        0x01, 0x0B, 0x00, 0x00,                                     // run, EOL
        0x00, 0x04, 0x0C, 0x0D, 0x0E, 0x0F, 0x00, 0x01},            // even absolute, EOB
       {{5, 5, 5, 7, 8, 9}, {10, 10, X, X, X, X}, {X, X, X, 11, X, X}, {12, 13, 14, 15, X, X}}},
      {"RLE4",
       4,
       8,
       {0x04, 0x12, 0x00, 0x03, 0x34, 0x50, 0x00, 0x00,       // run of two nibbles, absolute
        0x00, 0x05, 0x67, 0x89, 0xA0, 0x00, 0x00, 0x02, 0x02, // padded absolute, delta (2, 1)
        0x01, 0x01, 0xB0, 0x00, 0x01},                        // single pixel, EOB
       {{1, 2, 1, 2, 3, 4, 5, X}, {6, 7, 8, 9, 10, X, X, X}, {X, X, X, X, X, X, X, 11}}},
      {"RLE8 runs past the row end",
       8,
       4,
       {0x06, 0x03, 0x01, 0x04, 0x00, 0x00, 0x00, 0x03, 0x01, 0x02, 0x03, 0x00, 0x02, 0x09, 0x00,
        0x01},
       {{3, 3, 3, 3}, {1, 2, 3, 9}}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    int height = static_cast<int>(c.expected.size());
    BitmapFixture fixture = RunLengthFixture(c.bitCount, c.width, height, c.data);
    Rows expected = ColoursOf(fixture.colors, c.expected); // X is past every table: black
    LoadOutcome out = LoadBytes("rle.bmp", BitmapBytes(fixture));
    ASSERT_TRUE(out.loaded) << (out.boxes.empty() ? "" : out.boxes[0].text);
    EXPECT_EQ(out.width, c.width);
    EXPECT_EQ(out.height, height);
    EXPECT_EQ(out.pixels, RgbBytes(expected));
  }
}

// Run-length data is read no further than the file holds, whatever its biSizeImage says. (How
// data cut short by a smaller biSizeImage comes out differs between GDIs: see the native tests.)
TEST_F(Conversion, RunLengthDataStopsAtTheFileEnd) {
  const std::vector<uint8_t> data = {0x01, 0x01, 0x01, 0x02, 0x01, 0x03,
                                     0x01, 0x04, 0x01, 0x05, 0x00, 0x01};
  for (uint32_t sizeImage : {12u, 13u, 0x7FFFFFFFu}) {
    SCOPED_TRACE("biSizeImage " + std::to_string(sizeImage));
    BitmapFixture fixture = RunLengthFixture(8, 8, 1, data);
    fixture.sizeImage = sizeImage;
    LoadOutcome out = LoadBytes("rlesize.bmp", BitmapBytes(fixture));
    ASSERT_TRUE(out.loaded);
    EXPECT_EQ(out.pixels, RgbBytes(ColoursOf(fixture.colors, {{1, 2, 3, 4, 5, X, X, X}})));
  }
}

} // namespace
