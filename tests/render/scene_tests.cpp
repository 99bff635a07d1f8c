// Whole frames read back from a real context: the sprite each segment and food shows and where,
// the grid lines, the text layer, the end screens, and a frame that steps the game.
#include "game/game_state.h"
#include "game/scene.h"
#include "gfx/render_state.h"
#include "tests/game/game_driver.h"
#include "tests/render/render_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// Atlas cells, row-major from t = 0.
enum Cell { HeadRight, HeadUp, HeadLeft, HeadDown, Body, Food0, HeadEating, Food2, Food1 };

class SceneTest : public RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    ASSERT_TRUE(InitRenderState());
    // A running game between two steps, so that the next frame only counts.
    RestartGame();
    GameState.frameCounter = 5;
  }
  Frame DrawAndRead() {
    EXPECT_TRUE(DrawFrame());
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    return ReadFrame();
  }
  void PlaceSnake(std::initializer_list<std::pair<int, int>> cells) {
    GameState.length = 0;
    for (const auto &cell : cells) {
      GameState.segmentX[GameState.length] = cell.first;
      GameState.segmentY[GameState.length] = cell.second;
      ++GameState.length;
    }
  }
  void PlaceFood(int column, int row, int kind) {
    GameState.foodColumn = column;
    GameState.foodRow = row;
    GameState.foodKind = kind;
  }
};

// The atlas cell that the quad of grid cell (column, row) shows, checked at the centres of its
// four quarters: the marked quarter at the top left, the cell's own colour in the other three.
::testing::AssertionResult ShowsSprite(const Frame &frame, int column, int row, int cell) {
  int x0 = 41 + 40 * column, y0 = 90 + 30 * row;
  struct Sample {
    int x, y;
    bool marked;
  } samples[] = {{x0 + 9, y0 + 7, true},
                 {x0 + 29, y0 + 7, false},
                 {x0 + 9, y0 + 21, false},
                 {x0 + 29, y0 + 21, false}};
  for (const Sample &sample : samples) {
    Rgb expected = AtlasColour(cell, sample.marked), seen = frame.At(sample.x, sample.y);
    if (!Near(seen, expected))
      return ::testing::AssertionFailure()
             << "grid cell (" << column << ", " << row << ") at (" << sample.x << ", " << sample.y
             << "): expected atlas cell " << cell << " " << expected << ", seen " << seen;
  }
  return ::testing::AssertionSuccess();
}

// The game's generator, replayed from `state`.
int ReplayNext(uint32_t *state) {
  *state = *state * 214013u + 2531011u;
  return static_cast<int>((*state >> 16) & 0x7FFF);
}

TEST_F(SceneTest, EachSegmentAndFoodShowsItsAtlasCellTheRightWayUp) {
  struct Case {
    Direction direction;
    bool justAte;
    int foodKind;
    Cell head, food;
  } cases[] = {
      {Right, false, 0, HeadRight, Food0},  {Up, false, 1, HeadUp, Food1},
      {Left, false, 2, HeadLeft, Food2},    {Down, false, 3, HeadDown, Food2},
      {Right, true, -1, HeadEating, Food2}, {Up, true, 7, HeadEating, Food2},
      {Left, true, 1, HeadEating, Food1},   {Down, true, 0, HeadEating, Food0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "direction " << c.direction << ", eating " << c.justAte
                                    << ", food kind " << c.foodKind);
    PlaceSnake({{4, 6}, {3, 6}, {3, 7}, {2, 7}});
    GameState.frameCounter = 5;
    GameState.direction = c.direction;
    GameState.justAte = c.justAte;
    PlaceFood(10, 2, c.foodKind);
    Frame frame = DrawAndRead();
    EXPECT_TRUE(ShowsSprite(frame, 4, 6, c.head));
    for (int i = 1; i < 4; ++i)
      EXPECT_TRUE(ShowsSprite(frame, GameState.segmentX[i], GameState.segmentY[i], Body));
    EXPECT_TRUE(ShowsSprite(frame, 10, 2, c.food));
  }
}

TEST_F(SceneTest, CellQuadsCoverTheirCellInsetLeftAndBelow) {
  PlaceSnake({{0, 0}});
  PlaceFood(13, 11, 1);
  Frame frame = DrawAndRead();
  // Pixel ranges covered: x from x0 to x1 - 1, y from y0 to y1 - 1.
  struct Quad {
    int x0, x1, y0, y1;
  } quads[] = {{41, 80, 90, 119}, {561, 600, 420, 449}};
  for (const Quad &quad : quads) {
    SCOPED_TRACE(quad.x0);
    int wrong = 0;
    for (int y = quad.y0 - 1; y <= quad.y1; ++y) {
      for (int x = quad.x0 - 1; x <= quad.x1; ++x) {
        bool inside = x >= quad.x0 && x < quad.x1 && y >= quad.y0 && y < quad.y1;
        if (inside != IsSpritePixel(frame.At(x, y)) && wrong++ < 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << frame.At(x, y);
      }
    }
    EXPECT_EQ(wrong, 0);
  }
  EXPECT_TRUE(ShowsSprite(frame, 0, 0, HeadRight));
  EXPECT_TRUE(ShowsSprite(frame, 13, 11, Food1));
}

TEST_F(SceneTest, TheHeadCoversTheBodyAndTheFoodCoversTheSnake) {
  // The tail stands on the head's cell, the food on a body cell.
  PlaceSnake({{7, 7}, {8, 7}, {8, 8}, {7, 8}, {7, 7}});
  GameState.direction = Up;
  PlaceFood(8, 8, 2);
  Frame frame = DrawAndRead();
  EXPECT_TRUE(ShowsSprite(frame, 7, 7, HeadUp));
  EXPECT_TRUE(ShowsSprite(frame, 8, 8, Food2));
  EXPECT_TRUE(ShowsSprite(frame, 8, 7, Body));
}

// Grey lines crossing a scan line: the position and grey level of each.
struct LineHit {
  int at;
  int grey;
};
std::vector<LineHit> GreyRuns(const Frame &frame, bool vertical, int fixed, int from, int to) {
  std::vector<LineHit> hits;
  for (int i = from; i <= to; ++i) {
    Rgb colour = vertical ? frame.At(fixed, i) : frame.At(i, fixed);
    if (colour.r > 0 && colour.r == colour.g && colour.g == colour.b)
      hits.push_back({i, colour.r});
  }
  return hits;
}

TEST_F(SceneTest, GridLinesLieOnTheCellEdgesInAlternatingGreys) {
  PlaceSnake({{6, 5}});
  PlaceFood(9, 10, 0);
  Frame frame = DrawAndRead();
  struct Group {
    const char *name;
    int count, first, spacing;
    bool vertical; // the lines are met along a scan line that crosses them
    int scanAt, scanFrom, scanTo;
    int extentFrom, extentTo; // where each line runs
  } groups[] = {
      {"horizontal", 13, 90, 30, true, 45, 60, 470, 40, 600},
      {"vertical", 15, 40, 40, false, 95, 10, 630, 90, 450},
  };
  for (const Group &group : groups) {
    SCOPED_TRACE(group.name);
    std::vector<LineHit> hits =
        GreyRuns(frame, group.vertical, group.scanAt, group.scanFrom, group.scanTo);
    ASSERT_EQ(hits.size(), static_cast<size_t>(group.count));
    for (int i = 0; i < group.count; ++i) {
      int edge = group.first + i * group.spacing;
      // A line on a pixel boundary lights one of the two pixels beside it.
      EXPECT_TRUE(hits[i].at == edge || hits[i].at == edge - 1)
          << "line " << i << " at " << hits[i].at;
      EXPECT_NEAR(hits[i].grey, i % 2 == 0 ? 128 : 102, 1) << "line " << i;
      // The whole line, end to end, and nothing beyond its ends.
      std::vector<LineHit> along =
          GreyRuns(frame, !group.vertical, hits[i].at, group.extentFrom - 5, group.extentTo + 5);
      ASSERT_FALSE(along.empty());
      EXPECT_LE(along.front().at, group.extentFrom) << "line " << i;
      EXPECT_GE(along.back().at, group.extentTo - 1) << "line " << i;
      EXPECT_GE(along.front().at, group.extentFrom - 1) << "line " << i;
      EXPECT_LE(along.back().at, group.extentTo) << "line " << i;
      // No gaps, but where a sprite quad lies over the line.
      for (int at = along.front().at; at <= along.back().at; ++at) {
        Rgb colour = group.vertical ? frame.At(at, hits[i].at) : frame.At(hits[i].at, at);
        EXPECT_TRUE((colour.r > 0 && colour.r == colour.b) || IsSpritePixel(colour))
            << "line " << i << " has a gap at " << at;
      }
    }
  }
  // The vertical lines come second: where an odd horizontal line (0.4) crosses the first vertical
  // one (0.5), and the first horizontal one crosses an odd vertical one, the vertical grey shows.
  std::vector<LineHit> rows = GreyRuns(frame, true, 45, 60, 470);
  std::vector<LineHit> columns = GreyRuns(frame, false, 95, 10, 630);
  ASSERT_EQ(rows.size(), 13u);
  ASSERT_EQ(columns.size(), 15u);
  EXPECT_NEAR(frame.At(columns[0].at, rows[1].at).r, 128, 1);
  EXPECT_NEAR(frame.At(columns[1].at, rows[0].at).r, 102, 1);
}

TEST_F(SceneTest, TextLayerShowsTitleCreditScoreAndSpeedInTheirColours) {
  struct Case {
    int score, framesPerStep;
    std::string scoreText, speedText;
  } cases[] = {
      {0, 20, "SCORE: ", "SPEED: 1"},
      {12, 18, "SCORE: 12", "SPEED: 3"},
      {166, 4, "SCORE: 166", "SPEED: 17"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.scoreText);
    GameState.score = c.score;
    GameState.framesPerStep = c.framesPerStep;
    GameState.frameCounter = 1;
    Frame frame = DrawAndRead();
    EXPECT_TRUE(ShowsText(frame, 247, 10, 0, "VELMORANTH", {255, 128, 255}));
    EXPECT_TRUE(ShowsText(frame, 200, 40, 0, "tolvaro quendix", {204, 0, 0}));
    EXPECT_TRUE(ShowsText(frame, 40, 20, 1, c.scoreText, {255, 255, 0}));
    EXPECT_TRUE(ShowsText(frame, 40, 50, 1, c.speedText, {255, 255, 0}));
    // Nothing follows either label.
    for (int y : {20, 50}) {
      int length = static_cast<int>((y == 20 ? c.scoreText : c.speedText).size()), px, py;
      GlyphSamplePoint(40, y, 1, length, &px, &py);
      EXPECT_EQ(frame.At(px, py), (Rgb{0, 0, 0})) << "after the label at y " << y;
    }
  }
}

TEST_F(SceneTest, EndScreensTakeThreeDrawsAFrameAndFreezeTheGame) {
  struct Case {
    bool completed, gameOver;
    std::string headline;
    int x;
  } cases[] = {
      {false, true, "GAME OVER", 260},
      {true, false, "CONGRATULATIONS!", 230},
      {true, true, "CONGRATULATIONS!", 230},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.headline + (c.gameOver && c.completed ? " (both flags)" : ""));
    PlaceSnake({{3, 3}, {2, 3}});
    GameState.justAte = true;
    GameState.frameCounter = 0; // a running game would step in this frame
    GameState.completed = c.completed;
    GameState.gameOver = c.gameOver;
    GameRandom::Seed(20240611);
    uint32_t replay = GameRandom::state;
    GameStateRecord before = GameState;
    std::vector<Frame> frames;
    for (int n = 0; n < 4; ++n) {
      int first = ReplayNext(&replay) % 255, second = ReplayNext(&replay) % 255,
          third = ReplayNext(&replay) % 255;
      Frame frame = DrawAndRead();
      EXPECT_EQ(GameRandom::state, replay) << "frame " << n;
      Rgb colour = {third, second, first};
      EXPECT_TRUE(ShowsText(frame, c.x, 55, 1, c.headline, colour)) << "frame " << n;
      EXPECT_TRUE(ShowsText(frame, 250, 70, 1, "PRESS SPACE", colour)) << "frame " << n;
      frames.push_back(frame);
    }
    EXPECT_TRUE(SameRecord(GameState, before));
    // The board, from the grid's top down, is the same picture in every frame: frozen, with the
    // eating head still showing.
    size_t boardBytes = static_cast<size_t>(FrameHeight - 90) * FrameWidth * 3;
    for (const Frame &frame : frames)
      EXPECT_TRUE(
          std::equal(frame.rgb.begin(), frame.rgb.begin() + boardBytes, frames[0].rgb.begin()));
    EXPECT_TRUE(ShowsSprite(frames.back(), 3, 3, HeadEating));
    GameState.completed = GameState.gameOver = false;
  }
}

TEST_F(SceneTest, AFrameThatStepsShowsTheOldScoreAndSpeedWithTheNewBoard) {
  struct Case {
    const char *name;
    int score;
    GrowthPhase growth;
    std::string scoreText, speedText;
    int scoreAfter, framesPerStepAfter, lengthAfter;
  } cases[] = {
      // The step reaches the food.
      {"eats", 9, Idle, "SCORE: 9", "SPEED: 1", 10, 20, 1},
      // The step grows the snake after a tenth food and speeds up.
      {"speeds up", 10, GrowNextStep, "SCORE: 10", "SPEED: 1", 10, 19, 2},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    RestartGame();
    PlaceSnake({{5, 5}});
    GameState.direction = Right;
    GameState.score = c.score;
    GameState.growthPhase = c.growth;
    PlaceFood(c.growth == Idle ? 6 : 11, c.growth == Idle ? 5 : 2, 1);
    ASSERT_EQ(GameState.frameCounter, 0);
    Frame frame = DrawAndRead();
    ASSERT_EQ(GameState.score, c.scoreAfter);
    ASSERT_EQ(GameState.framesPerStep, c.framesPerStepAfter);
    ASSERT_EQ(GameState.length, c.lengthAfter);
    EXPECT_TRUE(ShowsText(frame, 40, 20, 1, c.scoreText, {255, 255, 0}));
    EXPECT_TRUE(ShowsText(frame, 40, 50, 1, c.speedText, {255, 255, 0}));
    EXPECT_TRUE(ShowsSprite(frame, 6, 5, GameState.justAte ? HeadEating : HeadRight));
    EXPECT_TRUE(ShowsSprite(frame, GameState.foodColumn, GameState.foodRow,
                            GameState.foodKind == 0   ? Food0
                            : GameState.foodKind == 1 ? Food1
                                                      : Food2));
    if (c.lengthAfter == 1)
      EXPECT_FALSE(IsSpritePixel(frame.At(41 + 40 * 5 + 20, 90 + 30 * 5 + 15)));
    else
      EXPECT_TRUE(ShowsSprite(frame, 5, 5, Body));
  }
}

} // namespace
