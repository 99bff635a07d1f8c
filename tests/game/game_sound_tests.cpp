// The sounds the rules ask for, in order, with their flags (recorded by the platform).
#include "game/game_state.h"
#include "platform/testing.h"
#include "tests/game/game_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const GameStateRecord processStart = GameState;

class GameSounds : public ::testing::Test {
protected:
  void SetUp() override {
    TestReset();
    TestRecordSounds();
    GameState = processStart;
    SeedFirstGame();
  }
  void TearDown() override { TestReset(); }

  static std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const TestSound &sound : TestSounds())
      names.push_back(sound.name + "/" + std::to_string(sound.flags));
    return names;
  }
};

const std::string Freeze = "Data/freeze.wav/9";
const std::string Hourglass = "Data/hourglass.wav/1";
const std::string Die = "Data/Die.wav/0";
const std::string Complete = "Data/Complete.wav/0";

TEST_F(GameSounds, FoodPlaysTheBlipAsynchronously) {
  GameState.foodColumn = 7;
  GameState.foodRow = 5;
  StepSnake();
  EXPECT_EQ(std::vector<std::string>{Hourglass}, Names());
}

TEST_F(GameSounds, SpeedUpLoopsAndFoodInTheSameStepReplacesIt) {
  GameState.score = 10;
  GameState.growthPhase = GrowNextStep;
  GameState.foodColumn = 7; // straight ahead
  GameState.foodRow = 5;
  StepSnake();
  EXPECT_EQ(19, GameState.framesPerStep);
  EXPECT_EQ((std::vector<std::string>{Freeze, Hourglass}), Names());
}

TEST_F(GameSounds, CollisionAndCompletionInOneStepPlayDeathThenCompletion) {
  // A snake of 166 laid backwards along the cycle behind a head at cycle cell 0, (1, 0); it
  // grows to 167 in this step and the head turns down into the body at (1, 1).
  GameState.length = 166;
  for (int i = 0; i < 166; ++i)
    CycleCell(-i, &GameState.segmentX[i], &GameState.segmentY[i]);
  GameState.growthPhase = GrowNextStep;
  GameState.score = 1;
  GameState.direction = Down;
  GameState.foodColumn = 2; // the one free cell ahead of the head, not on its way
  GameState.foodRow = 0;
  StepSnake();
  EXPECT_TRUE(GameState.gameOver);
  EXPECT_TRUE(GameState.completed);
  EXPECT_EQ((std::vector<std::string>{Die, Complete}), Names());
}

TEST_F(GameSounds, WholeGamePlaysSixteenSpeedUpsAndOneCompletion) {
  DriveAlongCycle(2000000);
  ASSERT_TRUE(GameState.completed);
  int freezes = 0, blips = 0, completions = 0, deaths = 0;
  for (const std::string &name : Names()) {
    freezes += name == Freeze;
    blips += name == Hourglass;
    completions += name == Complete;
    deaths += name == Die;
  }
  EXPECT_EQ(16, freezes);
  EXPECT_EQ(166, blips);
  EXPECT_EQ(1, completions);
  EXPECT_EQ(0, deaths);
  EXPECT_EQ(Complete, Names().back());
}

TEST_F(GameSounds, RestartPlaysNothing) {
  RestartGame();
  EXPECT_TRUE(TestSounds().empty());
}

} // namespace
