// The frame function: the text layer, the end screens, the grid, the snake and the food, drawn
// from scratch every frame; the game advances in the middle of it.
#include "game/scene.h"

#include "game/game_state.h"
#include "gfx/glyph_text.h"
#include "gfx/render_state.h"
#include "platform/win32.h"

namespace {

// The nine cells of the sprite atlas, numbered row by row from t = 0: cell n spans s from
// AtlasBound[n % 3] to AtlasBound[n % 3 + 1] and t from AtlasBound[n / 3] to AtlasBound[n / 3 + 1].
// The four heads come first, in Direction order.
enum SpriteCell {
  HeadRight = 0,
  HeadUp = 1,
  HeadLeft = 2,
  HeadDown = 3,
  Body = 4,
  Food0 = 5,
  HeadEating = 6,
  Food2 = 7,
  Food1 = 8,
};

// Not exact thirds: the strip from 0.99 to 1 is never addressed on either axis.
const float AtlasBound[4] = {0.0f, 0.33f, 0.66f, 0.99f};

// The quad of grid cell (column, row) with the atlas cell on it, smaller t on the top edge. It
// is inset by one pixel on the left and at the bottom, where the grid lines fall.
void EmitSpriteQuad(int32_t column, int32_t row, SpriteCell cell) {
  const GridGeometry &grid = GameState.grid;
  int32_t x0 = grid.left + grid.cellWidth * column + 1;
  int32_t x1 = grid.left + grid.cellWidth * (column + 1);
  int32_t y0 = grid.top + grid.cellHeight * row;
  int32_t y1 = grid.top + grid.cellHeight * (row + 1) - 1;
  float sFrom = AtlasBound[cell % 3], sTo = AtlasBound[cell % 3 + 1];
  float tFrom = AtlasBound[cell / 3], tTo = AtlasBound[cell / 3 + 1];
  glTexCoord2f(sFrom, tFrom);
  glVertex2d(x0, y0);
  glTexCoord2f(sTo, tFrom);
  glVertex2d(x1, y0);
  glTexCoord2f(sTo, tTo);
  glVertex2d(x1, y1);
  glTexCoord2f(sFrom, tTo);
  glVertex2d(x0, y1);
}

// The picture of segment `index`: an eating head whatever its heading, a head that faces its
// direction, or the body.
SpriteCell SegmentSprite(int32_t index) {
  if (index != 0)
    return Body;
  if (GameState.justAte)
    return HeadEating;
  switch (GameState.direction) {
  case Right:
    return HeadRight;
  case Up:
    return HeadUp;
  case Left:
    return HeadLeft;
  case Down:
    return HeadDown;
  }
  return Body;
}

SpriteCell FoodSprite(int32_t kind) {
  if (kind == 0)
    return Food0;
  if (kind == 1)
    return Food1;
  return Food2;
}

// Title, credit, score and speed. Each label is drawn before the next one is built: both live in
// the one label buffer.
void DrawTextLayer() {
  glColor3f(1.0f, 0.5f, 1.0f);
  PrintText(247, 10, 0, "VELMORANTH");
  glColor3f(0.8f, 0.0f, 0.0f);
  PrintText(200, 40, 0, "tolvaro quendix");
  glColor3ub(255, 255, 0);
  PrintText(40, 20, 1, "%s", NumberLabel("SCORE: ", GameState.score));
  PrintText(40, 50, 1, "%s", NumberLabel("SPEED: ", 21 - GameState.framesPerStep));
}

// A new colour every frame from three draws: the third is red, the second green, the first blue.
void SetEndScreenColour() {
  int32_t first = GameRandom::Next() % 255;
  int32_t second = GameRandom::Next() % 255;
  int32_t third = GameRandom::Next() % 255;
  glColor3ub(static_cast<GLubyte>(third), static_cast<GLubyte>(second),
             static_cast<GLubyte>(first));
}

// The end-screen text when the game has ended (completion wins over a death in the same step);
// otherwise the game advances by one frame.
void DrawEndScreenOrAdvance() {
  if (GameState.completed) {
    SetEndScreenColour();
    PrintText(230, 55, 1, "CONGRATULATIONS!");
    PrintText(250, 70, 1, "PRESS SPACE");
  } else if (GameState.gameOver) {
    SetEndScreenColour();
    PrintText(260, 55, 1, "GAME OVER");
    PrintText(250, 70, 1, "PRESS SPACE");
  } else {
    AdvanceGame();
  }
}

// Alternating greys by index within each group, the first line the lighter one.
void SetLineGrey(int32_t index) {
  if (index % 2 == 1)
    glColor3f(0.4f, 0.4f, 0.4f);
  else
    glColor3f(0.5f, 0.5f, 0.5f);
}

// The horizontal lines from top to bottom, then the vertical ones from left to right, all in one
// batch: they share the identity matrix, and the software renderers pay per batch, not per line.
void DrawGrid() {
  const GridGeometry &grid = GameState.grid;
  int32_t right = grid.left + grid.columns * grid.cellWidth;
  int32_t bottom = grid.top + grid.rows * grid.cellHeight;
  glLoadIdentity();
  glBegin(GL_LINES);
  for (int32_t i = 0; i <= grid.rows; ++i) {
    SetLineGrey(i);
    int32_t y = grid.top + i * grid.cellHeight;
    glVertex2i(grid.left, y);
    glVertex2i(right, y);
  }
  for (int32_t i = 0; i <= grid.columns; ++i) {
    SetLineGrey(i);
    int32_t x = grid.left + i * grid.cellWidth;
    glVertex2i(x, grid.top);
    glVertex2i(x, bottom);
  }
  glEnd();
}

// The snake from the tail to the head, then the food, as one batch of sprite quads: each quad
// covers the ones before it on its cell, so the head covers a body segment and the food either.
void DrawBoard() {
  glLoadIdentity();
  glEnable(GL_TEXTURE_2D);
  glColor3f(1.0f, 1.0f, 1.0f);
  glBindTexture(GL_TEXTURE_2D, TextureNames[SpriteTexture]);
  glBegin(GL_QUADS);
  for (int32_t i = GameState.length - 1; i >= 0; --i)
    EmitSpriteQuad(GameState.segmentX[i], GameState.segmentY[i], SegmentSprite(i));
  EmitSpriteQuad(GameState.foodColumn, GameState.foodRow, FoodSprite(GameState.foodKind));
  glEnd();
}

} // namespace

bool DrawFrame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glBindTexture(GL_TEXTURE_2D, TextureNames[FontTexture]);
  DrawTextLayer();
  DrawEndScreenOrAdvance();
  DrawGrid();
  DrawBoard();
  glDisable(GL_TEXTURE_2D);
  return true;
}
