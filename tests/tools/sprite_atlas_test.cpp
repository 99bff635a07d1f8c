// The sprite atlas as the game shows it: each head faces its way on screen (the atlas is read
// with the smaller t at the top of a quad), the body meets every cell edge, foods keep clear of
// them, and nothing is drawn in the strip the game never shows.
#include <cmath>

#include <gtest/gtest.h>

#include "tools/sprite_atlas.h"

namespace {

struct Rgb8 {
  int r, g, b;
};

class SpriteAtlas : public testing::Test {
protected:
  static void SetUpTestSuite() { atlas = new Picture(BuildSpritePicture()); }
  static void TearDownTestSuite() {
    delete atlas;
    atlas = nullptr;
  }

  static Rgb8 OnScreen(SpriteCell cell, Point p) {
    const Point at = SpriteToPicture(cell, p);
    const std::uint8_t *px = PixelAt(*atlas, static_cast<int>(at.x), static_cast<int>(at.y));
    return {px[0], px[1], px[2]};
  }

  // The mean on-screen position of the pixels of a cell that pass a colour test.
  template <typename Test> static Point Centroid(SpriteCell cell, Test test) {
    double sx = 0, sy = 0;
    int n = 0;
    for (double y = 0.5; y < SpriteHeight; y += 0.5)
      for (double x = 0.5; x < SpriteWidth; x += 0.5)
        if (test(OnScreen(cell, {x, y}))) {
          sx += x;
          sy += y;
          ++n;
        }
    EXPECT_GT(n, 0) << "no such pixel in cell " << cell;
    return n ? Point{sx / n, sy / n} : Point{SpriteWidth / 2, SpriteHeight / 2};
  }

  static Picture *atlas;
};

Picture *SpriteAtlas::atlas = nullptr;

bool IsEyeWhite(Rgb8 c) {
  return c.r > 200 && c.g > 200 && c.b > 180;
}
bool IsTongue(Rgb8 c) {
  return c.r > 150 && c.g < 80 && c.b < 100;
}
bool IsBlack(Rgb8 c) {
  return c.r + c.g + c.b < 24;
}

struct Facing {
  SpriteCell cell;
  double dx, dy; // on screen, y down
};

TEST_F(SpriteAtlas, EachHeadLooksAndPokesItsTongueTheWayItFacesOnScreen) {
  const Facing heads[] = {{HeadRight, 1, 0}, {HeadUp, 0, -1}, {HeadLeft, -1, 0}, {HeadDown, 0, 1}};
  for (const Facing &h : heads) {
    SCOPED_TRACE(h.cell);
    const Point eyes = Centroid(h.cell, IsEyeWhite);
    const Point tongue = Centroid(h.cell, IsTongue);
    const double eyesAhead = (eyes.x - 20) * h.dx + (eyes.y - 15) * h.dy;
    const double tongueAhead = (tongue.x - 20) * h.dx + (tongue.y - 15) * h.dy;
    EXPECT_GT(tongueAhead, 8.0);
    EXPECT_GT(tongueAhead, eyesAhead);
    // The two eyes sit side by side across the facing direction.
    EXPECT_LT(std::fabs((eyes.x - 20) * h.dy) + std::fabs((eyes.y - 15) * h.dx), 1.0);
  }
}

TEST_F(SpriteAtlas, EatingHeadHasItsEyesAboveItsMouth) {
  const Point eyes = Centroid(HeadEating, IsEyeWhite);
  EXPECT_LT(eyes.y, 12.0);
  EXPECT_FALSE(IsBlack(OnScreen(HeadEating, {20.0, 22.0})));
  const Rgb8 mouth = OnScreen(HeadEating, {20.0, 17.0});
  EXPECT_GT(mouth.r, mouth.g + 40) << "the open mouth shows red inside";
}

TEST_F(SpriteAtlas, BodyAndEatingHeadMeetAllFourEdgesSoChainsJoin) {
  const Point edgeMiddles[] = {{0.5, 15.0}, {39.5, 15.0}, {20.0, 0.5}, {20.0, 29.5}};
  for (SpriteCell cell : {Body, HeadEating})
    for (const Point &p : edgeMiddles)
      EXPECT_FALSE(IsBlack(OnScreen(cell, p))) << "cell " << cell << " at " << p.x << "," << p.y;
}

TEST_F(SpriteAtlas, HeadsMeetTheEdgeBehindThemAndFoodsKeepClearOfAllEdges) {
  EXPECT_FALSE(IsBlack(OnScreen(HeadRight, {0.5, 15.0})));
  EXPECT_FALSE(IsBlack(OnScreen(HeadLeft, {39.5, 15.0})));
  EXPECT_FALSE(IsBlack(OnScreen(HeadUp, {20.0, 29.5})));
  EXPECT_FALSE(IsBlack(OnScreen(HeadDown, {20.0, 0.5})));
  for (SpriteCell food : {Food0, Food1, Food2}) {
    for (double x = 0.25; x < SpriteWidth; x += 0.5) {
      EXPECT_TRUE(IsBlack(OnScreen(food, {x, 0.25}))) << food << " top at " << x;
      EXPECT_TRUE(IsBlack(OnScreen(food, {x, 29.75}))) << food << " bottom at " << x;
    }
    for (double y = 0.25; y < SpriteHeight; y += 0.5) {
      EXPECT_TRUE(IsBlack(OnScreen(food, {0.25, y}))) << food << " left at " << y;
      EXPECT_TRUE(IsBlack(OnScreen(food, {39.75, y}))) << food << " right at " << y;
    }
  }
}

TEST_F(SpriteAtlas, FoodsDifferInColour) {
  const auto mean = [](SpriteCell cell) {
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (double y = 0.5; y < SpriteHeight; y += 1.0)
      for (double x = 0.5; x < SpriteWidth; x += 1.0) {
        const Rgb8 c = OnScreen(cell, {x, y});
        if (IsBlack(c))
          continue;
        r += c.r, g += c.g, b += c.b, ++n;
      }
    return Rgb8{static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
  };
  const Rgb8 apple = mean(Food0), banana = mean(Food1), grapes = mean(Food2);
  EXPECT_GT(apple.r, apple.g + 80);   // red
  EXPECT_GT(banana.g, banana.b + 80); // yellow
  EXPECT_GT(banana.r, banana.b + 80);
  EXPECT_GT(grapes.b, grapes.g + 40); // purple
}

TEST_F(SpriteAtlas, StripBeyondTheLastBandIsBlack) {
  // s or t from 0.99 to 1: the last two or three columns and the first rows of the picture.
  for (int i = 0; i < SpriteAtlasSize; ++i)
    for (int k = 0; k < 2; ++k) {
      const std::uint8_t *column = PixelAt(*atlas, SpriteAtlasSize - 1 - k, i);
      const std::uint8_t *row = PixelAt(*atlas, i, k);
      EXPECT_EQ(column[0] + column[1] + column[2], 0) << "column " << SpriteAtlasSize - 1 - k;
      EXPECT_EQ(row[0] + row[1] + row[2], 0) << "picture row " << k;
    }
}

} // namespace
