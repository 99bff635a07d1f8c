// Helpers that drive the rules in tests: a Hamiltonian cycle of the 14 x 12 torus, a whole game
// steered along it, and a comparison of two records.
#pragma once

#include "game/game_state.h"

#include <cstring>

// The cycle runs along row 0 from column 1 to 13, snakes down the rows between columns 1 and 13,
// and comes back up column 0. Cell index 0 is (1, 0); index 167 is (0, 0).
inline void CycleCell(int index, int *column, int *row) {
  index = ((index % 168) + 168) % 168;
  if (index >= 156) { // the way back up column 0, from row 11 to row 0
    *column = 0;
    *row = 11 - (index - 156);
    return;
  }
  *row = index / 13;
  int along = index % 13;
  *column = (*row % 2 == 0) ? 1 + along : 13 - along;
}

inline int CycleIndex(int column, int row) {
  for (int i = 0; i < 168; ++i) {
    int c, r;
    CycleCell(i, &c, &r);
    if (c == column && r == row)
      return i;
  }
  return -1;
}

inline Direction DirectionTowards(int column, int row, int toColumn, int toRow) {
  if (toColumn == column + 1)
    return Right;
  if (toColumn == column - 1)
    return Left;
  return toRow == row - 1 ? Up : Down;
}

// Steers the snake along the cycle until the game ends or `maxFrames` have passed; returns
// the number of frames run.
inline long DriveAlongCycle(long maxFrames) {
  long frames = 0;
  while (!GameState.gameOver && !GameState.completed && frames < maxFrames) {
    if (GameState.frameCounter == 0) {
      int column = GameState.segmentX[0], row = GameState.segmentY[0];
      int next = CycleIndex(column, row) + 1;
      int toColumn, toRow;
      CycleCell(next, &toColumn, &toRow);
      GameState.pendingTurn = DirectionTowards(column, row, toColumn, toRow) + 1;
    }
    AdvanceGame();
    ++frames;
  }
  return frames;
}

// Field by field, so that padding bytes play no part.
inline bool SameRecord(const GameStateRecord &a, const GameStateRecord &b) {
  return memcmp(&a.grid, &b.grid, sizeof a.grid) == 0 && a.length == b.length &&
         a.framesPerStep == b.framesPerStep &&
         memcmp(a.segmentX, b.segmentX, sizeof a.segmentX) == 0 &&
         memcmp(a.segmentY, b.segmentY, sizeof a.segmentY) == 0 && a.foodColumn == b.foodColumn &&
         a.foodRow == b.foodRow && a.foodKind == b.foodKind && a.direction == b.direction &&
         a.pendingTurn == b.pendingTurn && a.growthPhase == b.growthPhase && a.score == b.score &&
         a.frameCounter == b.frameCounter && a.gameOver == b.gameOver &&
         a.completed == b.completed && a.justAte == b.justAte;
}
