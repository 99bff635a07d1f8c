// What the OpenGL tests share beyond the window: generated font and atlas bitmaps with
// recognisable cells in a temporary Data/ folder, a fixture that runs each test there with a
// fresh context, and checks of text and sprites in a frame.
#pragma once

#include "platform/win32.h"
#include "tests/render/gl_window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// --- Generated bitmaps ------------------------------------------------------------------------
// Colour of texel (u, v) of an image, v = 0 being the first stored row (texture t near 0).
using TexelPainter = std::function<Rgb(int u, int v)>;
// Writes a 24-bit bitmap with a file header, rows stored first to last.
void WriteBitmap(const std::filesystem::path &path, int width, int height,
                 const TexelPainter &paint);
// The bytes of such an image as the loader returns them (packed RGB rows, first stored first).
std::vector<uint8_t> PaintedPixels(int width, int height, const TexelPainter &paint);

// The test font (256 x 256): glyph g is (g, 255 - g, 255), with the top-left quarter of its cell,
// as the picture shows it, marked by a blue of 128.
Rgb FontTexel(int u, int v);
Rgb GlyphColour(int glyph, bool marked = false);

// The test atlas (any size): cell n of the nine (row-major from t = 0, bounds 0, 0.33, 0.66, 0.99)
// is red 70 * (n % 3), green 70 * (n / 3), blue 255, with the quarter at its smaller s and t (the
// quad's top-left corner on screen) marked by a blue of 200. Blue always exceeds red and green by
// 60 or more, also where filtering mixes cells, so sprite pixels never pass for grey or black.
TexelPainter AtlasPainter(int size);
Rgb AtlasColour(int cell, bool marked);
bool IsSpritePixel(const Rgb &colour);

// --- Fixture ----------------------------------------------------------------------------------
// Each test runs in a fresh temporary folder holding Data/Font.bmp (the test font) and
// Data/Image.bmp (the test atlas, 128 x 128) as its working directory, with a window and a
// current context. Tests may rewrite or remove the files before calling InitRenderState.
class RenderTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  std::filesystem::path DataPath(const char *name) const { return folder_ / "Data" / name; }
  // Closes the window and its context and opens new ones, as a display-mode switch does.
  void SwitchContext();
  GlWindow gl_;

private:
  std::filesystem::path folder_;
  std::filesystem::path previousDirectory_;
};

// Pixel position of a point inside glyph k of a text drawn at (x, y) in `set` (0 or 1): in the
// unmarked bottom-right quarter of the glyph, clear of the next glyph's square.
void GlyphSamplePoint(int x, int y, int set, int k, int *px, int *py);
// The glyph that byte c selects in `set`, or -1 for none.
int GlyphOf(unsigned char c, int set);
// Whether `text` stands at (x, y) in `set`, drawn in `colour` with the test font.
::testing::AssertionResult ShowsText(const Frame &frame, int x, int y, int set,
                                     const std::string &text, const Rgb &colour);
