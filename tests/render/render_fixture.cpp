// What the OpenGL tests share beyond the window: generated font and atlas bitmaps, the fixture
// that runs each test in a temporary folder with a fresh context, and checks of text in a frame.
#include "tests/render/render_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

// --- Generated bitmaps ------------------------------------------------------------------------

namespace {

void PutLittleEndian(std::string *out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

void WriteBitmap(const fs::path &path, int width, int height, const TexelPainter &paint) {
  int stride = (width * 3 + 3) / 4 * 4;
  std::string file;
  file += "BM";
  PutLittleEndian(&file, 54 + stride * height, 4);
  PutLittleEndian(&file, 0, 4);
  PutLittleEndian(&file, 54, 4);
  PutLittleEndian(&file, 40, 4);
  PutLittleEndian(&file, width, 4);
  PutLittleEndian(&file, height, 4);
  PutLittleEndian(&file, 1, 2);
  PutLittleEndian(&file, 24, 2);
  for (int i = 0; i < 6; ++i)
    PutLittleEndian(&file, 0, 4);
  for (int v = 0; v < height; ++v) {
    for (int u = 0; u < width; ++u) {
      Rgb colour = paint(u, v);
      file.push_back(static_cast<char>(colour.b));
      file.push_back(static_cast<char>(colour.g));
      file.push_back(static_cast<char>(colour.r));
    }
    file.append(stride - width * 3, '\0');
  }
  std::ofstream(path, std::ios::binary).write(file.data(), file.size());
}

std::vector<uint8_t> PaintedPixels(int width, int height, const TexelPainter &paint) {
  std::vector<uint8_t> pixels;
  for (int v = 0; v < height; ++v) {
    for (int u = 0; u < width; ++u) {
      Rgb colour = paint(u, v);
      pixels.insert(pixels.end(), {static_cast<uint8_t>(colour.r), static_cast<uint8_t>(colour.g),
                                   static_cast<uint8_t>(colour.b)});
    }
  }
  return pixels;
}

Rgb GlyphColour(int glyph, bool marked) {
  return {glyph, 255 - glyph, marked ? 128 : 255};
}

Rgb FontTexel(int u, int v) {
  int topRow = 255 - v; // rows of the picture, counted from its top
  int glyph = topRow / 16 * 16 + u / 16;
  return GlyphColour(glyph, u % 16 < 8 && topRow % 16 < 8);
}

Rgb AtlasColour(int cell, bool marked) {
  return {70 * (cell % 3), 70 * (cell / 3), marked ? 200 : 255};
}

TexelPainter AtlasPainter(int size) {
  return [size](int u, int v) {
    // Where the texel's centre falls among the cell bounds 0, 0.33, 0.66, 0.99.
    double s = (u + 0.5) / size / 0.33, t = (v + 0.5) / size / 0.33;
    int column = std::min(2, static_cast<int>(s)), row = std::min(2, static_cast<int>(t));
    bool marked = s - column < 0.5 && t - row < 0.5;
    return AtlasColour(row * 3 + column, marked);
  };
}

bool IsSpritePixel(const Rgb &colour) {
  return colour.b - std::max(colour.r, colour.g) >= 40;
}

// --- Fixture ----------------------------------------------------------------------------------

void RenderTest::SetUp() {
  std::random_device random;
  std::ostringstream name;
  name << "zelu-render-" << std::hex << random() << random();
  folder_ = fs::temp_directory_path() / name.str();
  fs::create_directories(folder_ / "Data");
  WriteBitmap(DataPath("Font.bmp"), 256, 256, FontTexel);
  WriteBitmap(DataPath("Image.bmp"), 128, 128, AtlasPainter(128));
  previousDirectory_ = fs::current_path();
  fs::current_path(folder_);
  ASSERT_TRUE(OpenGlWindow(&gl_));
}

void RenderTest::TearDown() {
  CloseGlWindow(&gl_);
  fs::current_path(previousDirectory_);
  std::error_code ignored;
  fs::remove_all(folder_, ignored);
}

void RenderTest::SwitchContext() {
  CloseGlWindow(&gl_);
  ASSERT_TRUE(OpenGlWindow(&gl_));
}

// --- Text -------------------------------------------------------------------------------------

void GlyphSamplePoint(int x, int y, int set, int k, int *px, int *py) {
  if (set == 0) {
    *px = static_cast<int>(std::floor(x + 22.5 * k)) + 17; // texel 11.5 of 16 across
    *py = y + 24;
  } else {
    *px = x + 15 * k + 11;
    *py = y + 12;
  }
}

int GlyphOf(unsigned char c, int set) {
  int glyph = c - 32 + 128 * set;
  return glyph >= 0 && glyph <= 255 ? glyph : -1;
}

::testing::AssertionResult ShowsText(const Frame &frame, int x, int y, int set,
                                     const std::string &text, const Rgb &colour) {
  for (size_t k = 0; k < text.size(); ++k) {
    Rgb glyph = GlyphColour(GlyphOf(static_cast<unsigned char>(text[k]), set));
    Rgb expected = {static_cast<int>(std::lround(glyph.r * colour.r / 255.0)),
                    static_cast<int>(std::lround(glyph.g * colour.g / 255.0)),
                    static_cast<int>(std::lround(glyph.b * colour.b / 255.0))};
    int px, py;
    GlyphSamplePoint(x, y, set, static_cast<int>(k), &px, &py);
    Rgb seen = frame.At(px, py);
    if (!Near(seen, expected))
      return ::testing::AssertionFailure()
             << "character " << k << " of \"" << text << "\" at (" << px << ", " << py
             << "): expected " << expected << ", seen " << seen;
  }
  return ::testing::AssertionSuccess();
}
