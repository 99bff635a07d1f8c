// The generated Data/ set as a whole: the six files by name, identical bytes from two builds,
// and the font texture's glyph grid (which glyph sits where, upright, clear of overdrawn edges).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/asset_files.h"
#include "tools/font_atlas.h"

namespace {

std::vector<AssetFile> BuildOrFail() {
  std::vector<AssetFile> files;
  std::string error;
  EXPECT_TRUE(BuildAssetFiles(DefaultFontDir(), files, error)) << error;
  return files;
}

TEST(AssetFiles, TwoBuildsGiveTheSameSixFilesByteForByte) {
  const std::vector<AssetFile> first = BuildOrFail();
  const std::vector<AssetFile> second = BuildOrFail();
  const std::vector<std::string> names{"Font.bmp",      "Image.bmp", "freeze.wav",
                                       "hourglass.wav", "Die.wav",   "Complete.wav"};
  ASSERT_EQ(first.size(), names.size());
  ASSERT_EQ(second.size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(first[i].name, names[i]);
    EXPECT_EQ(first[i].bytes, second[i].bytes) << names[i] << " differs between builds";
  }
}

TEST(AssetFiles, MissingFontFolderIsReported) {
  std::vector<AssetFile> files;
  std::string error;
  EXPECT_FALSE(BuildAssetFiles("/nonexistent-font-dir", files, error));
  EXPECT_NE(error.find("/nonexistent-font-dir"), std::string::npos) << error;
}

// Ink of one glyph cell, row 0 of the cell at the top of the picture.
struct GlyphInk {
  int pixels = 0;
  int firstRow = 16, lastRow = -1;
  int rowWidth[16] = {};
  bool column[16] = {};
};

class FontTexture : public testing::Test {
protected:
  static void SetUpTestSuite() {
    font = new Picture;
    std::string error;
    ASSERT_TRUE(BuildFontPicture(DefaultFontDir(), *font, error)) << error;
  }
  static void TearDownTestSuite() {
    delete font;
    font = nullptr;
  }

  static GlyphInk InkOf(int glyph) {
    GlyphInk ink;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        if (PixelAt(*font, (glyph % 16) * 16 + x, (glyph / 16) * 16 + y)[0] < 96)
          continue;
        ++ink.pixels;
        ++ink.rowWidth[y];
        ink.column[x] = true;
        ink.firstRow = std::min(ink.firstRow, y);
        ink.lastRow = std::max(ink.lastRow, y);
      }
    return ink;
  }

  static Picture *font;
};

Picture *FontTexture::font = nullptr;

// Byte c is glyph c − 32 in the display set and c + 96 in the plain set.
TEST_F(FontTexture, EveryPrintableAsciiCharacterHasInkInBothSetsAndSpaceHasNone) {
  for (int c = 33; c < 127; ++c) {
    EXPECT_GT(InkOf(c - 32).pixels, 2) << "display set, '" << static_cast<char>(c) << "'";
    EXPECT_GT(InkOf(c + 96).pixels, 2) << "plain set, '" << static_cast<char>(c) << "'";
  }
  EXPECT_EQ(InkOf(0).pixels, 0);
  EXPECT_EQ(InkOf(128).pixels, 0);
  EXPECT_EQ(InkOf(127 - 32).pixels, 0);
}

TEST_F(FontTexture, GlyphsStandUprightInBothSets) {
  // T is wide at the top and narrow at the bottom, L the other way round.
  for (int offset : {-32, 96}) {
    const GlyphInk t = InkOf('T' + offset), l = InkOf('L' + offset);
    EXPECT_GT(t.rowWidth[t.firstRow], t.rowWidth[t.lastRow] + 3) << "glyph " << 'T' + offset;
    EXPECT_GT(l.rowWidth[l.lastRow], l.rowWidth[l.firstRow] + 3) << "glyph " << 'L' + offset;
  }
}

TEST_F(FontTexture, InkStaysOffTheCellEdgesThatNeighboursCover) {
  for (int c = 33; c < 160; ++c) {
    // The plain set advances 15 pixels, so the next glyph covers column 15.
    EXPECT_FALSE(InkOf(c + 96).column[15]) << "plain set, byte " << c;
    // The display set is magnified, so linear filtering reaches one texel into the next cell.
    const GlyphInk display = InkOf(c - 32);
    if (display.pixels == 0)
      continue;
    EXPECT_FALSE(display.column[0] || display.column[15]) << "display set, byte " << c;
    EXPECT_GT(display.firstRow, 0) << "display set, byte " << c;
    EXPECT_LT(display.lastRow, 15) << "display set, byte " << c;
  }
}

} // namespace
