// Only the first rendering context of the process starts a game, and the render state itself
// never touches it. A program of its own, so that its StartFirstGame is the process's first in
// both builds (the Windows build runs all tests of a program in one process).
#include "game/game_state.h"
#include "gfx/glyph_text.h"
#include "gfx/render_state.h"
#include "tests/game/game_driver.h"
#include "tests/render/render_fixture.h"

#include <gtest/gtest.h>

namespace {

using FirstContextTest = RenderTest;

TEST_F(FirstContextTest, FirstStartSeedsTheGameAndASecondContextLeavesItBitForBit) {
  // Disturb the fields the seeding writes, so that a missing seed shows.
  GameState.segmentX[0] = 2;
  GameState.segmentY[0] = 9;
  GameRandom::Seed(77);
  ASSERT_TRUE(InitRenderState());
  EXPECT_EQ(GameState.segmentX[0], 2);
  EXPECT_EQ(GameState.segmentY[0], 9);
  EXPECT_EQ(GameRandom::state, 77u);

  StartFirstGame();
  uint32_t randomAfterStart = GameRandom::state;
  EXPECT_EQ(GameState.segmentX[0], 6);
  EXPECT_EQ(GameState.segmentY[0], 5);
  EXPECT_EQ(GameState.foodColumn, 9);
  EXPECT_EQ(GameState.foodRow, 10);
  EXPECT_EQ(GameState.foodKind, 0);
  // A fresh seed and exactly one food draw of three values.
  GameRandom::Seed(GameSeed);
  for (int draw = 0; draw < 3; ++draw)
    GameRandom::Next();
  EXPECT_EQ(randomAfterStart, GameRandom::state);

  // The first steps of the game, then a switch between two of them as the game window makes
  // it: a second seeding would put the head back on (6, 5) and the food on (9, 10) again.
  DriveAlongCycle(20 * 3 + 4);
  GameStateRecord before = GameState;
  uint32_t randomBefore = GameRandom::state;
  ASSERT_NE(before.segmentX[0], 6);
  DeleteGlyphLists();
  SwitchContext();
  ASSERT_TRUE(InitRenderState());
  StartFirstGame();
  EXPECT_TRUE(SameRecord(GameState, before));
  EXPECT_EQ(GameRandom::state, randomBefore);
}

} // namespace
