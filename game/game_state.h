// The game's single record and its rules: stepping, steering, food, growth, speed, death,
// completion and restart, with the one random generator that places the food.
#pragma once

#include <cstdint>

// The fixed layout of the playfield; the rules use only `columns` and `rows`, the pixel fields
// serve the drawing.
struct GridGeometry {
  int32_t columns;    // 14
  int32_t rows;       // 12
  int32_t top;        // pixel y of the grid's top edge (y grows downward)
  int32_t left;       // pixel x of the grid's left edge
  int32_t cellWidth;  // pixels
  int32_t cellHeight; // pixels
};

// Heading of the head.
enum Direction : int32_t { Right = 0, Up = 1, Left = 2, Down = 3 };

// A turn request: 0 for none, n from 1 to 4 for Direction n - 1.
enum PendingTurn : int32_t { NoTurn = 0 };

// Growth and food placement; PlacingFood exists only inside one step.
enum GrowthPhase : int32_t { Idle = 0, GrowNextStep = 1, PlacingFood = 5 };

const int MaxSegments = 200; // capacity of each segment array
const uint32_t GameSeed = 1453;

struct GameStateRecord {
  GridGeometry grid;
  int32_t length;                // segments in use, head included
  int32_t framesPerStep;         // 3 to 20; the speed shown is 21 - framesPerStep
  int32_t segmentX[MaxSegments]; // column of each segment; entry 0 is the head
  int32_t segmentY[MaxSegments]; // row of each segment
  int32_t foodColumn;
  int32_t foodRow;
  int32_t foodKind; // 0, 1 or 2: which food picture is drawn
  Direction direction;
  int32_t pendingTurn; // written by the main loop, taken at the next step
  GrowthPhase growthPhase;
  int32_t score;
  int32_t frameCounter; // 0 <= frameCounter < framesPerStep
  bool gameOver;
  bool completed;
  bool justAte; // the head reached the food at the last step
};

extern GameStateRecord GameState;

// The process's one random generator: a 32-bit linear congruential generator.
namespace GameRandom {
extern uint32_t state;
void Seed(uint32_t value);
// Returns bits 16 to 30 of the next state, 0 to 32767.
int32_t Next();
} // namespace GameRandom

// Head at column 6, row 5, a new random sequence and one food draw; nothing else changes.
void SeedFirstGame();
// The first call of the process seeds the first game (SeedFirstGame); later calls, from the
// rendering contexts that a display-mode switch builds, leave the game in progress as it is.
void StartFirstGame();
// Every field back to its initial value; segments beyond the head are left as they are.
void RestartGame();
// Counts one frame and performs a step when one is due.
void AdvanceGame();
void StepSnake();
// Draws food cells until one is free of the snake.
void PlaceFood();
