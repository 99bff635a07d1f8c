// The game's rules over the process-wide GameState record.
#include "game/game_state.h"

#include "platform/win32.h"

GameStateRecord GameState = {
    {14, 12, 90, 40, 40, 30}, // grid
    1,                        // length
    20,                       // framesPerStep
    {},                       // segmentX
    {},                       // segmentY
    0,                        // foodColumn
    0,                        // foodRow
    0,                        // foodKind
    Right,                    // direction
    NoTurn,                   // pendingTurn
    Idle,                     // growthPhase
    0,                        // score
    0,                        // frameCounter
    false,                    // gameOver
    false,                    // completed
    false,                    // justAte
};

namespace GameRandom {

uint32_t state = 0;

void Seed(uint32_t value) {
  state = value;
}

int32_t Next() {
  state = state * 214013u + 2531011u;
  return static_cast<int32_t>((state >> 16) & 0x7FFF);
}

} // namespace GameRandom

namespace {

const int StartColumn = 6;
const int StartRow = 5;
const int StartFramesPerStep = 20;
const int MinFramesPerStep = 3;

// Three draws, the kind included, whatever the caller does with them.
void DrawFoodCell() {
  GameState.foodColumn = GameRandom::Next() % GameState.grid.columns;
  GameState.foodRow = GameRandom::Next() % GameState.grid.rows;
  GameState.foodKind = GameRandom::Next() % 3;
}

bool SegmentOn(int i, int column, int row) {
  return GameState.segmentX[i] == column && GameState.segmentY[i] == row;
}

void MoveHead() {
  GridGeometry &grid = GameState.grid;
  int32_t &x = GameState.segmentX[0];
  int32_t &y = GameState.segmentY[0];
  switch (GameState.direction) {
  case Right:
    x = (x + 1) % grid.columns;
    break;
  case Up:
    y = (y + grid.rows - 1) % grid.rows;
    break;
  case Left:
    x = (x + grid.columns - 1) % grid.columns;
    break;
  default:
    y = (y + 1) % grid.rows;
    break;
  }
}

void Grow() {
  GameState.length = GameState.length + 1;
  GameState.growthPhase = Idle;
  // The score is still that of the previous step's food, so each tenth food speeds up once.
  if (GameState.score % 10 == 0 && GameState.framesPerStep > MinFramesPerStep) {
    GameState.framesPerStep = GameState.framesPerStep - 1;
    PlaySoundA("Data/freeze.wav", nullptr, SND_ASYNC | SND_LOOP);
  }
}

} // namespace

void SeedFirstGame() {
  GameState.segmentX[0] = StartColumn;
  GameState.segmentY[0] = StartRow;
  GameRandom::Seed(GameSeed);
  DrawFoodCell();
}

namespace {

// Set once the first game of the process is seeded: a display-mode switch builds a new window
// and context, and a game in progress must come through it unchanged.
bool firstGameStarted = false;

} // namespace

void StartFirstGame() {
  if (firstGameStarted)
    return;
  SeedFirstGame();
  firstGameStarted = true;
}

void RestartGame() {
  GameState.gameOver = false;
  GameState.completed = false;
  GameState.segmentX[0] = StartColumn;
  GameState.segmentY[0] = StartRow;
  GameState.length = 1;
  GameState.direction = Right;
  GameState.pendingTurn = NoTurn;
  GameState.growthPhase = Idle;
  GameRandom::Seed(GameSeed);
  DrawFoodCell();
  GameState.score = 0;
  GameState.framesPerStep = StartFramesPerStep;
  GameState.frameCounter = 0;
  GameState.justAte = false;
}

void AdvanceGame() {
  // The counter is tested before it advances, so the first frame of a game steps at once.
  if (GameState.frameCounter % GameState.framesPerStep == 0)
    StepSnake();
  GameState.frameCounter = (GameState.frameCounter + 1) % GameState.framesPerStep;
}

void StepSnake() {
  GameState.justAte = false;
  if (GameState.pendingTurn > 0) {
    GameState.direction = static_cast<Direction>(GameState.pendingTurn - 1);
    GameState.pendingTurn = NoTurn;
  }
  if (GameState.growthPhase == GrowNextStep)
    Grow();
  // A snake that has just grown keeps its tail where it was for this step.
  for (int i = GameState.length - 1; i >= 1; --i) {
    GameState.segmentX[i] = GameState.segmentX[i - 1];
    GameState.segmentY[i] = GameState.segmentY[i - 1];
  }
  MoveHead();
  int headX = GameState.segmentX[0];
  int headY = GameState.segmentY[0];
  if (headX == GameState.foodColumn && headY == GameState.foodRow) {
    GameState.justAte = true;
    GameState.score = GameState.score + 1;
    GameState.growthPhase = PlacingFood;
    PlaySoundA("Data/hourglass.wav", nullptr, SND_ASYNC);
    PlaceFood();
  }
  // Every matching segment counts; in ordinary play only one can match.
  for (int i = 1; i < GameState.length; ++i) {
    if (SegmentOn(i, headX, headY)) {
      GameState.gameOver = true;
      PlaySoundA("Data/Die.wav", nullptr, SND_SYNC);
    }
  }
  int cells = GameState.grid.rows * GameState.grid.columns;
  if (GameState.length > cells - 2 && !GameState.completed) {
    PlaySoundA("Data/Complete.wav", nullptr, SND_SYNC);
    GameState.completed = true;
  }
}

void PlaceFood() {
  while (GameState.growthPhase != GrowNextStep) {
    GameState.growthPhase = GrowNextStep;
    DrawFoodCell();
    for (int i = 0; i < GameState.length; ++i) {
      if (SegmentOn(i, GameState.foodColumn, GameState.foodRow)) {
        GameState.growthPhase = PlacingFood;
        break;
      }
    }
  }
}
