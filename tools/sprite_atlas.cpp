// Rasterises the sprite painters into the atlas. Every texel is painted by the cell that holds
// its centre, averaged over a box about one screen pixel wide: the texture is shrunk about
// twofold on screen, so this prefilter is what keeps the sprites smooth under linear filtering.
#include "tools/sprite_atlas.h"

#include <algorithm>
#include <cmath>

#include "tools/sprite_designs.h"

namespace {

using Painter = Colour (*)(Point);

// By t band, then s band, as SpriteCell numbers them.
const Painter CellPainters[9] = {
    PaintHeadRight, PaintHeadUp,     PaintHeadLeft, PaintHeadDown, PaintBody,
    PaintApple,     PaintHeadEating, PaintGrapes,   PaintBanana,
};

constexpr int SamplesPerAxis = 8;
constexpr double FootprintPixels = 0.85;

// The band holding texture coordinate c, or 3 for the unused strip at the far end.
int BandOf(double c) {
  int band = 0;
  while (band < 3 && c >= SpriteBandBounds[band + 1])
    ++band;
  return band;
}

double BandFraction(double c, int band) {
  return (c - SpriteBandBounds[band]) / (SpriteBandBounds[band + 1] - SpriteBandBounds[band]);
}

Colour AverageAround(Painter painter, Point centre) {
  Colour sum{0, 0, 0};
  for (int j = 0; j < SamplesPerAxis; ++j)
    for (int i = 0; i < SamplesPerAxis; ++i) {
      const double dx = ((i + 0.5) / SamplesPerAxis - 0.5) * FootprintPixels;
      const double dy = ((j + 0.5) / SamplesPerAxis - 0.5) * FootprintPixels;
      const Colour c = painter({centre.x + dx, centre.y + dy});
      sum.r += c.r;
      sum.g += c.g;
      sum.b += c.b;
    }
  constexpr double n = SamplesPerAxis * SamplesPerAxis;
  return {sum.r / n, sum.g / n, sum.b / n};
}

std::uint8_t ToByte(double value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

} // namespace

Picture BuildSpritePicture() {
  Picture picture = MakePicture(SpriteAtlasSize, SpriteAtlasSize);
  for (int y = 0; y < SpriteAtlasSize; ++y) {
    // The picture's bottom row is stored first and is t = 0.
    const double t = (SpriteAtlasSize - 1 - y + 0.5) / SpriteAtlasSize;
    const int tBand = BandOf(t);
    for (int x = 0; x < SpriteAtlasSize; ++x) {
      const double s = (x + 0.5) / SpriteAtlasSize;
      const int sBand = BandOf(s);
      if (tBand == 3 || sBand == 3)
        continue; // never shown: stays black
      const Point onScreen{BandFraction(s, sBand) * SpriteWidth,
                           BandFraction(t, tBand) * SpriteHeight};
      const Colour c = AverageAround(CellPainters[tBand * 3 + sBand], onScreen);
      std::uint8_t *pixel = PixelAt(picture, x, y);
      pixel[0] = ToByte(c.r);
      pixel[1] = ToByte(c.g);
      pixel[2] = ToByte(c.b);
    }
  }
  return picture;
}

Point SpriteToPicture(SpriteCell cell, Point onScreen) {
  const int tBand = cell / 3, sBand = cell % 3;
  const double s =
      SpriteBandBounds[sBand] +
      onScreen.x / SpriteWidth * (SpriteBandBounds[sBand + 1] - SpriteBandBounds[sBand]);
  const double t =
      SpriteBandBounds[tBand] +
      onScreen.y / SpriteHeight * (SpriteBandBounds[tBand + 1] - SpriteBandBounds[tBand]);
  return {s * SpriteAtlasSize, (1.0 - t) * SpriteAtlasSize};
}
