// The rules of the game: the generator, stepping, steering, wrapping, food, growth, speed,
// death, completion and restart.
#include "game/game_state.h"
#include "tests/game/game_driver.h"

#include <gtest/gtest.h>

namespace {

// The record as the process starts, before any test changed it.
const GameStateRecord processStart = GameState;

class GameRules : public ::testing::Test {
protected:
  void SetUp() override {
    GameState = processStart;
    SeedFirstGame();
  }
};

TEST_F(GameRules, GeneratorAndFirstFoodFollowTheFixedSeed) {
  GameRandom::Seed(1453);
  EXPECT_EQ(4783, GameRandom::Next());
  EXPECT_EQ(27586, GameRandom::Next());
  EXPECT_EQ(25623, GameRandom::Next());

  SeedFirstGame();
  EXPECT_EQ(6, GameState.segmentX[0]);
  EXPECT_EQ(5, GameState.segmentY[0]);
  EXPECT_EQ(9, GameState.foodColumn);
  EXPECT_EQ(10, GameState.foodRow);
  EXPECT_EQ(0, GameState.foodKind);
  EXPECT_EQ(1, GameState.length);
  EXPECT_EQ(20, GameState.framesPerStep);
}

TEST_F(GameRules, FirstFrameStepsAtOnceAndNextStepComesFramesPerStepLater) {
  AdvanceGame();
  EXPECT_EQ(7, GameState.segmentX[0]);
  EXPECT_EQ(5, GameState.segmentY[0]);
  EXPECT_EQ(1, GameState.frameCounter);
  for (int frame = 2; frame <= 20; ++frame) {
    AdvanceGame();
    EXPECT_EQ(7, GameState.segmentX[0]) << "frame " << frame;
  }
  EXPECT_EQ(0, GameState.frameCounter);
  AdvanceGame(); // frame 21
  EXPECT_EQ(8, GameState.segmentX[0]);
}

TEST_F(GameRules, HeadWrapsAtAllFourEdges) {
  struct Case {
    Direction direction;
    int fromColumn, fromRow, toColumn, toRow;
  } cases[] = {
      {Right, 13, 4, 0, 4},
      {Up, 3, 0, 3, 11},
      {Left, 0, 7, 13, 7},
      {Down, 2, 11, 2, 0},
  };
  for (const Case &c : cases) {
    GameState.direction = c.direction;
    GameState.segmentX[0] = c.fromColumn;
    GameState.segmentY[0] = c.fromRow;
    GameState.foodColumn = 5; // away from every case's path
    GameState.foodRow = 5;
    StepSnake();
    EXPECT_EQ(c.toColumn, GameState.segmentX[0]) << "direction " << c.direction;
    EXPECT_EQ(c.toRow, GameState.segmentY[0]) << "direction " << c.direction;
  }
}

TEST_F(GameRules, OnlyTheLaterOfTwoTurnRequestsIsTaken) {
  GameState.pendingTurn = Up + 1;
  GameState.pendingTurn = Down + 1;
  StepSnake();
  EXPECT_EQ(Down, GameState.direction);
  EXPECT_EQ(6, GameState.segmentY[0] - 0); // row 5 + 1
  EXPECT_EQ(NoTurn, GameState.pendingTurn);
}

TEST_F(GameRules, FoodScoresAtOnceAndGrowsTheSnakeAtTheNextStep) {
  GameState.foodColumn = 7;
  GameState.foodRow = 5;
  StepSnake(); // reaches the food
  EXPECT_TRUE(GameState.justAte);
  EXPECT_EQ(1, GameState.score);
  EXPECT_EQ(1, GameState.length);
  EXPECT_EQ(GrowNextStep, GameState.growthPhase);
  bool onSnake = GameState.foodColumn == 7 && GameState.foodRow == 5;
  EXPECT_FALSE(onSnake);

  GameState.foodColumn = 0; // keep the next food out of the way
  GameState.foodRow = 0;
  StepSnake();
  EXPECT_FALSE(GameState.justAte);
  EXPECT_EQ(2, GameState.length);
  EXPECT_EQ(Idle, GameState.growthPhase);
  // The new tail stays where the old one was.
  EXPECT_EQ(8, GameState.segmentX[0]);
  EXPECT_EQ(7, GameState.segmentX[1]);
}

TEST_F(GameRules, FoodStraightAheadScoresInTwoSuccessiveSteps) {
  GameState.foodColumn = 7;
  GameState.foodRow = 5;
  StepSnake();
  GameState.foodColumn = 8; // the next food lands right ahead
  GameState.foodRow = 5;
  StepSnake();
  EXPECT_EQ(2, GameState.score);
  EXPECT_EQ(2, GameState.length);
  EXPECT_TRUE(GameState.justAte);
  GameState.foodColumn = 0;
  GameState.foodRow = 0;
  StepSnake();
  EXPECT_EQ(3, GameState.length);
}

TEST_F(GameRules, PlacedFoodNeverLandsOnTheSnake) {
  // A snake along the cycle leaves exactly one free cell: the food must find it.
  GameState.length = 167;
  for (int i = 0; i < 167; ++i)
    CycleCell(-i, &GameState.segmentX[i], &GameState.segmentY[i]);
  GameState.growthPhase = PlacingFood;
  PlaceFood();
  int freeColumn, freeRow;
  CycleCell(1, &freeColumn, &freeRow);
  EXPECT_EQ(freeColumn, GameState.foodColumn);
  EXPECT_EQ(freeRow, GameState.foodRow);
  EXPECT_EQ(GrowNextStep, GameState.growthPhase);
}

TEST_F(GameRules, HeadMayFollowTheTailButNotIntoATailThatStays) {
  // A square of four: the head enters the cell the tail leaves.
  int square[4][2] = {{5, 5}, {5, 6}, {6, 6}, {6, 5}};
  GameState.length = 4;
  for (int i = 0; i < 4; ++i) {
    GameState.segmentX[i] = square[i][0];
    GameState.segmentY[i] = square[i][1];
  }
  GameState.direction = Right; // from (5, 5) into (6, 5), the tail's cell
  GameState.foodColumn = 0;
  GameState.foodRow = 0;
  const GameStateRecord before = GameState;
  StepSnake();
  EXPECT_FALSE(GameState.gameOver);

  GameState = before;
  GameState.growthPhase = GrowNextStep; // the tail stays this time
  GameState.score = 1;
  StepSnake();
  EXPECT_TRUE(GameState.gameOver);
  EXPECT_EQ(5, GameState.length);
}

TEST_F(GameRules, SpeedRisesAtTheStepAfterEveryTenthFood) {
  struct Case {
    int score, framesBefore, framesAfter;
  } cases[] = {{10, 20, 19}, {11, 19, 19}, {19, 19, 19}, {20, 19, 18}, {160, 5, 4}, {170, 3, 3}};
  for (const Case &c : cases) {
    GameState = processStart;
    SeedFirstGame();
    GameState.score = c.score;
    GameState.framesPerStep = c.framesBefore;
    GameState.growthPhase = GrowNextStep;
    StepSnake();
    EXPECT_EQ(c.framesAfter, GameState.framesPerStep) << "score " << c.score;
  }
}

TEST_F(GameRules, SpeedUpCountsFromTheSameStep) {
  GameState.score = 10;
  GameState.growthPhase = GrowNextStep;
  AdvanceGame(); // steps and speeds up to 19 frames per step
  EXPECT_EQ(19, GameState.framesPerStep);
  int x = GameState.segmentX[0];
  for (int frame = 1; frame < 19; ++frame)
    AdvanceGame();
  EXPECT_EQ(x, GameState.segmentX[0]);
  AdvanceGame();
  EXPECT_EQ((x + 1) % 14, GameState.segmentX[0]);
}

TEST_F(GameRules, WholeGameAlongACycleCompletesAndThenStandsStill) {
  long frames = DriveAlongCycle(2000000);
  ASSERT_TRUE(GameState.completed) << "after " << frames << " frames";
  EXPECT_FALSE(GameState.gameOver);
  EXPECT_EQ(166, GameState.score);
  EXPECT_EQ(167, GameState.length);
  EXPECT_EQ(4, GameState.framesPerStep);
  // The body never crossed itself: every segment stands on its own cell.
  bool seen[14][12] = {};
  for (int i = 0; i < GameState.length; ++i) {
    EXPECT_FALSE(seen[GameState.segmentX[i]][GameState.segmentY[i]]) << "segment " << i;
    seen[GameState.segmentX[i]][GameState.segmentY[i]] = true;
  }
}

TEST_F(GameRules, RestartBringsEveryFieldBackAndLeavesOldSegments) {
  DriveAlongCycle(5000);
  GameState.gameOver = true;
  GameState.completed = true;
  GameState.justAte = true;
  GameState.pendingTurn = Up + 1;
  GameState.frameCounter = 3;
  int oldSecondX = GameState.segmentX[1], oldSecondY = GameState.segmentY[1];
  ASSERT_GT(GameState.length, 2);

  RestartGame();
  GameStateRecord expected = processStart;
  expected.segmentX[0] = 6;
  expected.segmentY[0] = 5;
  expected.foodColumn = 9;
  expected.foodRow = 10;
  expected.foodKind = 0;
  EXPECT_EQ(1, GameState.length);
  EXPECT_EQ(0, GameState.score);
  EXPECT_EQ(20, GameState.framesPerStep);
  EXPECT_EQ(0, GameState.frameCounter);
  EXPECT_EQ(Right, GameState.direction);
  EXPECT_EQ(NoTurn, GameState.pendingTurn);
  EXPECT_EQ(Idle, GameState.growthPhase);
  EXPECT_FALSE(GameState.gameOver || GameState.completed || GameState.justAte);
  EXPECT_EQ(oldSecondX, GameState.segmentX[1]);
  EXPECT_EQ(oldSecondY, GameState.segmentY[1]);
  // Apart from the old segments, the record is the first game's.
  for (int i = 1; i < MaxSegments; ++i) {
    expected.segmentX[i] = GameState.segmentX[i];
    expected.segmentY[i] = GameState.segmentY[i];
  }
  EXPECT_TRUE(SameRecord(expected, GameState));
  EXPECT_EQ(4783, (GameRandom::Seed(GameSeed), GameRandom::Next()));
}

} // namespace
