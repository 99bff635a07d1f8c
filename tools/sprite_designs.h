// The painters of the nine sprites: each gives the colour of one on-screen point of its
// 40 × 30 sprite (x right, y down), black where nothing is drawn.
#pragma once

#include "tools/sprite_paint.h"

Colour PaintHeadRight(Point p);
Colour PaintHeadUp(Point p);
Colour PaintHeadLeft(Point p);
Colour PaintHeadDown(Point p);
Colour PaintHeadEating(Point p);
Colour PaintBody(Point p);

Colour PaintApple(Point p);
Colour PaintBanana(Point p);
Colour PaintGrapes(Point p);
