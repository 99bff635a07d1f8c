// The committed Data/ images on a real context: sizes that OpenGL 1.1 accepts, glyphs in the cells
// where the font layout puts them, a whole frame of a game in progress, which is also written out
// as a picture when ZELU_FRAME_PICTURE names a file (the README's screenshot comes from it), and
// the first frame of a game, which the browser test compares with the browser build's.
#include "game/game_state.h"
#include "game/scene.h"
#include "gfx/glyph_text.h"
#include "gfx/render_state.h"
#include "tests/game/game_driver.h"
#include "tests/render/gl_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

class RealDataTest : public ::testing::Test {
protected:
  void SetUp() override {
    previousDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(ZELU_SOURCE_DIR);
    ASSERT_TRUE(OpenGlWindow(&gl_));
    ASSERT_TRUE(InitRenderState());
  }
  void TearDown() override {
    CloseGlWindow(&gl_);
    std::filesystem::current_path(previousDirectory_);
  }
  GlWindow gl_;

private:
  std::filesystem::path previousDirectory_;
};

GLint LevelParameter(GLuint name, GLenum parameter) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint value = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
  return value;
}

bool PowerOfTwo(GLint value) {
  return value > 0 && (value & (value - 1)) == 0;
}

TEST_F(RealDataTest, ImagesHaveSizesThatOpenGl11Accepts) {
  EXPECT_EQ(LevelParameter(TextureNames[FontTexture], GL_TEXTURE_WIDTH), 256);
  EXPECT_EQ(LevelParameter(TextureNames[FontTexture], GL_TEXTURE_HEIGHT), 256);
  EXPECT_TRUE(PowerOfTwo(LevelParameter(TextureNames[SpriteTexture], GL_TEXTURE_WIDTH)));
  EXPECT_TRUE(PowerOfTwo(LevelParameter(TextureNames[SpriteTexture], GL_TEXTURE_HEIGHT)));
}

TEST_F(RealDataTest, EveryPrintableByteHasAGlyphInBothSetsAndSpacesAreBlank) {
  std::vector<uint8_t> font(256 * 256 * 3);
  glBindTexture(GL_TEXTURE_2D, TextureNames[FontTexture]);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, font.data());
  for (int set = 0; set < 2; ++set) {
    for (int byte = 32; byte < 127; ++byte) {
      // Glyph g's cell: column g mod 16, row g div 16 counted from the top of the picture, whose
      // top row is the texture's last.
      int glyph = byte - 32 + 128 * set, lit = 0;
      for (int row = 0; row < 16; ++row) {
        int v = 255 - (glyph / 16 * 16 + row);
        for (int u = glyph % 16 * 16; u < glyph % 16 * 16 + 16; ++u)
          lit += font[(static_cast<size_t>(v) * 256 + u) * 3] > 128;
      }
      EXPECT_EQ(lit > 0, byte != ' ') << "set " << set << ", byte '" << char(byte) << "'";
    }
  }
}

// Whether any pixel of the rectangle is lit.
bool AnyLit(const Frame &frame, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (frame.At(x, y).r + frame.At(x, y).g + frame.At(x, y).b > 96)
        return true;
  return false;
}

TEST_F(RealDataTest, AGameInProgressDrawsAWholeFrame) {
  // Thirty foods in, the head heading right along a row in the lower half, between two steps
  // (so that the frame drawn does not step).
  RestartGame();
  while (GameState.score < 30 || GameState.segmentX[0] != 9 || GameState.segmentY[0] < 4 ||
         GameState.segmentY[0] % 2 != 0 || GameState.frameCounter != 9) {
    DriveAlongCycle(1);
    ASSERT_FALSE(GameState.gameOver || GameState.completed);
  }
  GameStateRecord game = GameState;
  ASSERT_TRUE(DrawFrame());
  Frame frame = ReadFrame();
  ASSERT_EQ(GameState.frameCounter, (game.frameCounter + 1) % game.framesPerStep);

  EXPECT_TRUE(AnyLit(frame, 247, 10, 247 + 225, 42)) << "title";
  EXPECT_TRUE(AnyLit(frame, 40, 20, 40 + 15 * 9, 36)) << "score";
  for (int i = 0; i < game.length; ++i) {
    int x0 = 41 + 40 * game.segmentX[i], y0 = 90 + 30 * game.segmentY[i];
    EXPECT_TRUE(AnyLit(frame, x0, y0, x0 + 39, y0 + 29)) << "segment " << i;
  }
  int foodX = 41 + 40 * game.foodColumn, foodY = 90 + 30 * game.foodRow;
  EXPECT_TRUE(AnyLit(frame, foodX, foodY, foodX + 39, foodY + 29)) << "food";

  if (const char *picture = std::getenv("ZELU_FRAME_PICTURE")) {
    EXPECT_TRUE(WritePixmap(frame, picture)) << picture;
  }
}

// The first frame of a game, as the player sees it before the second step: the browser test
// compares the browser build's own first frame with this one, which it writes out as a picture
// when ZELU_FIRST_FRAME_PICTURE names a file.
TEST_F(RealDataTest, TheFirstFrameOfAGameShowsTheHeadOneStepOnAndTheFood) {
  RestartGame();
  ASSERT_TRUE(DrawFrame());
  Frame frame = ReadFrame();
  EXPECT_TRUE(AnyLit(frame, 247, 10, 247 + 225, 42)) << "title";
  for (int column = 0; column < 14; ++column) {
    for (int row = 0; row < 12; ++row) {
      int x0 = 41 + 40 * column, y0 = 91 + 30 * row;
      bool occupied = (column == 7 && row == 5) || (column == 9 && row == 10);
      EXPECT_EQ(AnyLit(frame, x0 + 3, y0 + 3, x0 + 36, y0 + 26), occupied)
          << "cell " << column << ", " << row;
    }
  }
  if (const char *picture = std::getenv("ZELU_FIRST_FRAME_PICTURE")) {
    EXPECT_TRUE(WritePixmap(frame, picture)) << picture;
  }
}

} // namespace
