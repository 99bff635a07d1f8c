// zelu-screen-preview: draws mock game screens from the generated textures the way the game's
// OpenGL drawing shows them (quads, texture bands, linear filtering), to judge the assets as
// played. Usage: zelu-screen-preview OUTPUT_DIR [FONT_DIR]; writes screen_play.bmp and
// screen_end.bmp.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/asset_files.h"
#include "tools/bmp_writer.h"
#include "tools/font_atlas.h"
#include "tools/sprite_atlas.h"

namespace {

struct Rgbf {
  double r, g, b;
};

// The texture as OpenGL holds it: t = 0 is the picture's bottom row.
Rgbf SampleLinear(const Picture &texture, double s, double t) {
  const double x = s * texture.width - 0.5, y = t * texture.height - 0.5;
  const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  const double fx = x - x0, fy = y - y0;
  Rgbf sum{0, 0, 0};
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      const int tx = ((x0 + i) % texture.width + texture.width) % texture.width;
      const int stored = ((y0 + j) % texture.height + texture.height) % texture.height;
      const double w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
      const std::uint8_t *p =
          &texture
               .rgb[(static_cast<std::size_t>(texture.height - 1 - stored) * texture.width + tx) *
                    3];
      sum.r += w * p[0];
      sum.g += w * p[1];
      sum.b += w * p[2];
    }
  return sum;
}

// One textured quad: the top edge takes tTop, the bottom edge tBottom; colour modulates.
void DrawQuad(Picture &screen, const Picture &texture, double x0, double y0, double x1, double y1,
              double s0, double s1, double tTop, double tBottom, Rgbf colour) {
  for (int py = 0; py < screen.height; ++py) {
    const double cy = py + 0.5;
    if (cy < y0 || cy >= y1)
      continue;
    for (int px = 0; px < screen.width; ++px) {
      const double cx = px + 0.5;
      if (cx < x0 || cx >= x1)
        continue;
      const double s = s0 + (cx - x0) / (x1 - x0) * (s1 - s0);
      const double t = tTop + (cy - y0) / (y1 - y0) * (tBottom - tTop);
      const Rgbf texel = SampleLinear(texture, s, t);
      std::uint8_t *out = PixelAt(screen, px, py);
      out[0] = static_cast<std::uint8_t>(std::lround(texel.r * colour.r));
      out[1] = static_cast<std::uint8_t>(std::lround(texel.g * colour.g));
      out[2] = static_cast<std::uint8_t>(std::lround(texel.b * colour.b));
    }
  }
}

void PrintText(Picture &screen, const Picture &font, int x, int y, int set, const char *text,
               Rgbf colour) {
  const double sx = set == 0 ? 1.5 : 1.0, sy = set == 0 ? 2.0 : 1.0;
  double pen = x;
  for (const char *c = text; *c != '\0'; ++c) {
    const int glyph = static_cast<unsigned char>(*c) - 32 + 128 * set;
    if (glyph < 0 || glyph > 255)
      continue;
    const double cx = (glyph % 16) / 16.0, cy = (glyph / 16) / 16.0;
    DrawQuad(screen, font, pen, y, pen + 16 * sx, y + 16 * sy, cx, cx + 0.0625, 1 - cy,
             1 - cy - 0.0625, colour);
    pen += 15 * sx;
  }
}

void DrawGrid(Picture &screen) {
  for (int i = 0; i <= 12; ++i)
    for (int x = 40; x < 600; ++x) {
      std::uint8_t *p = PixelAt(screen, x, 90 + 30 * i);
      p[0] = p[1] = p[2] = i % 2 ? 102 : 128;
    }
  for (int i = 0; i <= 14; ++i)
    for (int y = 90; y < 450; ++y) {
      std::uint8_t *p = PixelAt(screen, 40 + 40 * i, y);
      p[0] = p[1] = p[2] = i % 2 ? 102 : 128;
    }
}

void DrawSprite(Picture &screen, const Picture &atlas, int column, int row, SpriteCell cell) {
  const int tBand = cell / 3, sBand = cell % 3;
  DrawQuad(screen, atlas, 40 + 40 * column + 1, 90 + 30 * row, 40 + 40 * (column + 1),
           90 + 30 * (row + 1) - 1, SpriteBandBounds[sBand], SpriteBandBounds[sBand + 1],
           SpriteBandBounds[tBand], SpriteBandBounds[tBand + 1], {1, 1, 1});
}

struct Segment {
  int column, row;
  SpriteCell cell;
};

// A long snake with turns heading right, and short ones showing the other heads, plus the foods.
const Segment Board[] = {
    {1, 9, Body},      {2, 9, Body},      {3, 9, Body},      {3, 8, Body},        {3, 7, Body},
    {4, 7, Body},      {5, 7, Body},      {6, 7, Body},      {6, 6, Body},        {6, 5, Body},
    {7, 5, Body},      {8, 5, HeadRight}, {2, 1, Body},      {2, 2, Body},        {2, 0, HeadUp},
    {12, 2, Body},     {13, 2, Body},     {11, 2, HeadLeft}, {11, 7, Body},       {11, 8, Body},
    {11, 9, HeadDown}, {5, 11, Body},     {4, 11, Body},     {3, 11, HeadEating}, {10, 5, Food0},
    {8, 10, Food1},    {13, 11, Food2},
};

bool WriteBmp(const std::string &path, const Picture &picture) {
  const std::vector<std::uint8_t> bytes = EncodeBmp24(picture);
  std::FILE *file = std::fopen(path.c_str(), "wb");
  if (file == nullptr)
    return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

Picture DrawScreen(const Picture &font, const Picture &atlas, bool ended) {
  Picture screen = MakePicture(640, 480);
  PrintText(screen, font, 247, 10, 0, "VELMORANTH", {1, 0.5, 1});
  PrintText(screen, font, 200, 40, 0, "tolvaro quendix", {0.8, 0, 0});
  PrintText(screen, font, 40, 20, 1, "SCORE: 12", {1, 1, 0});
  PrintText(screen, font, 40, 50, 1, "SPEED: 3", {1, 1, 0});
  if (ended) {
    PrintText(screen, font, 260, 55, 1, "GAME OVER", {0.35, 0.9, 0.8});
    PrintText(screen, font, 250, 70, 1, "PRESS SPACE", {0.35, 0.9, 0.8});
  }
  DrawGrid(screen);
  for (const Segment &segment : Board)
    DrawSprite(screen, atlas, segment.column, segment.row, segment.cell);
  return screen;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR [FONT_DIR]\n", argv[0]);
    return 2;
  }
  const std::string outputDir = argv[1];
  Picture font;
  std::string error;
  if (!BuildFontPicture(argc == 3 ? argv[2] : DefaultFontDir(), font, error)) {
    std::fprintf(stderr, "zelu-screen-preview: %s\n", error.c_str());
    return 1;
  }
  const Picture atlas = BuildSpritePicture();
  const bool ok = WriteBmp(outputDir + "/screen_play.bmp", DrawScreen(font, atlas, false)) &&
                  WriteBmp(outputDir + "/screen_end.bmp", DrawScreen(font, atlas, true));
  if (!ok)
    std::fprintf(stderr, "zelu-screen-preview: cannot write into %s\n", outputDir.c_str());
  return ok ? 0 : 1;
}
