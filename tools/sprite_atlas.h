// The sprite texture: a 3 × 3 atlas of snake and food sprites, 256 × 256 pixels.
#pragma once

#include "tools/bmp_writer.h"
#include "tools/sprite_paint.h"

constexpr int SpriteAtlasSize = 256;
// The texture-coordinate bounds of the three bands on either axis (single precision, as drawn).
constexpr float SpriteBandBounds[4] = {0.0f, 0.33f, 0.66f, 0.99f};
// A sprite is drawn as a 40 × 30 pixel quad; the painters work in those on-screen pixels, y down.
constexpr double SpriteWidth = 40.0;
constexpr double SpriteHeight = 30.0;

// Cells by t band (0 = first stored rows, shown at the top of a quad) and s band (left to right).
enum SpriteCell {
  HeadRight,
  HeadUp,
  HeadLeft, // t band 0
  HeadDown,
  Body,
  Food0, // t band 1
  HeadEating,
  Food2,
  Food1, // t band 2
};

// Paints every cell so that it looks right on screen: the smaller t is the top of a quad, so the
// cells appear upside down in the picture itself.
Picture BuildSpritePicture();

// Where the on-screen point of a cell lies in the picture (x right, y down from the picture top).
Point SpriteToPicture(SpriteCell cell, Point onScreen);
