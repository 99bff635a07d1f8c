// The bitmap font on a real context: which pixels a text covers, which glyph each byte draws and
// which way up, the pen's advance, the set and byte limits, the null format, the cut-off of long
// texts, deleting the lists; and NumberLabel.
#include "gfx/glyph_text.h"
#include "gfx/render_state.h"
#include "tests/render/render_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace {

// --- NumberLabel ------------------------------------------------------------------------------

TEST(NumberLabel, LabelThenDigitsCutOffAtNineteenCharacters) {
  struct Case {
    const char *label;
    int32_t value;
    const char *text;
  } cases[] = {
      {"SCORE: ", 12, "SCORE: 12"},
      {"SPEED: ", 1, "SPEED: 1"},
      {"SCORE: ", 100, "SCORE: 100"},
      {"SCORE: ", 0, "SCORE: "},
      {"SCORE: ", -7, "SCORE: "},
      {"SCORE: ", INT32_MIN, "SCORE: "},
      {"", 90, "90"},
      {"", 0, ""},
      {"123456789", INT32_MAX, "1234567892147483647"}, // exactly 19
      {"ABCDEFGHIJKLMNO", 12345, "ABCDEFGHIJKLMNO1234"},
      {"ABCDEFGHIJKLMNOPQRS", 5, "ABCDEFGHIJKLMNOPQRS"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 5, "ABCDEFGHIJKLMNOPQRS"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.label) + " / " + std::to_string(c.value));
    memset(labelBuffer, '#', sizeof labelBuffer);
    char *text = NumberLabel(c.label, c.value);
    EXPECT_EQ(text, labelBuffer);
    EXPECT_STREQ(text, c.text);
  }
}

TEST(NumberLabel, EachCallOverwritesTheLast) {
  char *score = NumberLabel("SCORE: ", 4711);
  char *speed = NumberLabel("SPEED: ", 3);
  EXPECT_EQ(score, speed);
  EXPECT_STREQ(score, "SPEED: 3");
}

// --- Text on a context ------------------------------------------------------------------------

class GlyphTextTest : public RenderTest {
protected:
  void SetUp() override {
    RenderTest::SetUp();
    ASSERT_TRUE(InitRenderState());
    glBindTexture(GL_TEXTURE_2D, TextureNames[FontTexture]);
    glColor3f(1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  // Draws on a cleared buffer and reads it back; the pen position is kept for the test.
  Frame Draw(int x, int y, int set, const char *format, const std::string &argument = "") {
    glClear(GL_COLOR_BUFFER_BIT);
    PrintText(x, y, set, format, argument.c_str());
    ModelviewOffset(&penX, &penY);
    return ReadFrame();
  }
  double penX = 0, penY = 0;
};

bool IsBlack(const Rgb &colour) {
  return colour.r == 0 && colour.g == 0 && colour.b == 0;
}

TEST_F(GlyphTextTest, TextCoversExactlyItsGlyphSquares) {
  struct Case {
    int set, x, y;
    const char *text;
  } cases[] = {
      {1, 40, 20, "SCORE: 12"},   {1, 0, 0, "A"},     {1, 610, 464, "AB"}, {0, 200, 40, "tolvaro"},
      {0, 247, 10, "VELMORANTH"}, {0, 3, 440, "A B"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    Frame frame = Draw(c.x, c.y, c.set, "%s", c.text);
    int n = static_cast<int>(strlen(c.text));
    // The last square ends at x + 15 (n - 1) + 16, or x + 22.5 (n - 1) + 24 in set 0; a pixel
    // is covered when its centre lies inside.
    double right = c.set == 1 ? c.x + 15.0 * (n - 1) + 16 : c.x + 22.5 * (n - 1) + 24;
    int bottom = c.y + (c.set == 1 ? 16 : 32);
    int wrong = 0;
    for (int y = 0; y < FrameHeight; ++y) {
      for (int x = 0; x < FrameWidth; ++x) {
        bool inside = x >= c.x && x + 0.5 < right && y >= c.y && y < bottom;
        if (inside == IsBlack(frame.At(x, y)) && wrong++ < 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << frame.At(x, y)
                        << (inside ? " should be covered" : " should not be covered");
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(GlyphTextTest, EachByteDrawsItsGlyphTheRightWayUp) {
  struct Case {
    int set;
    unsigned char byte;
    int glyph; // column glyph % 16, row glyph / 16 of the font picture
  } cases[] = {
      {0, ' ', 0},   {0, 'A', 33},  {0, '~', 94},  {0, 159, 127}, {0, 160, 128},
      {1, ' ', 128}, {1, 'A', 161}, {1, '~', 222}, {1, 159, 255}, {1, 31, 127},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "set " << c.set << ", byte " << int(c.byte));
    char text[2] = {static_cast<char>(c.byte), '\0'};
    Frame frame = Draw(100, 200, c.set, "%s", text);
    int px, py;
    GlyphSamplePoint(100, 200, c.set, 0, &px, &py);
    EXPECT_EQ(frame.At(px, py), GlyphColour(c.glyph));
    // The marked top-left quarter of the cell shows at the square's top left.
    int scale = c.set == 0 ? 2 : 1;
    EXPECT_EQ(frame.At(100 + 3 * scale, 200 + 3 * scale), GlyphColour(c.glyph, true));
    EXPECT_EQ(frame.At(px, 200 + 3 * scale), GlyphColour(c.glyph));
  }
}

TEST_F(GlyphTextTest, FormatsItsArgumentsAndDrawsInTheCurrentColour) {
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(1.0f, 0.5f, 0.25f);
  PrintText(30, 60, 1, "%d:%s%c", 42, "Ab", '!');
  glColor3ub(255, 255, 0);
  PrintText(30, 100, 0, "%05d", 7);
  Frame frame = ReadFrame();
  EXPECT_TRUE(ShowsText(frame, 30, 60, 1, "42:Ab!", {255, 128, 64}));
  EXPECT_TRUE(ShowsText(frame, 30, 100, 0, "00007", {255, 255, 0}));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(GlyphTextTest, PenAdvancesPerByteAndLongTextsAreCutAt255) {
  struct Case {
    int set;
    std::string text;
    double advance; // per drawn byte
    int drawn;
  } cases[] = {
      {1, "SPEED: 17", 15.0, 9},
      {0, "VELMORANTH", 22.5, 10},
      {1, std::string(300, 'W'), 15.0, 255},
      {0, std::string(256, 'w'), 22.5, 255},
      {1,
       "A\xa0\xff"
       "B",
       15.0, 2}, // bytes from 160 up name no glyph in set 1
      {0,
       "\x01"
       "A\x1f",
       22.5, 1}, // nor bytes below 32 in set 0
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text.substr(0, 12));
    Draw(5, 7, c.set, "%s", c.text);
    EXPECT_DOUBLE_EQ(penX, 5 + c.advance * c.drawn);
    EXPECT_DOUBLE_EQ(penY, 7);
  }
}

TEST_F(GlyphTextTest, BytesOutsideTheSetDrawNothing) {
  struct Case {
    int set;
    const char *withStrays, *without;
  } cases[] = {
      {1,
       "A\xa0"
       "B\xff",
       "AB"},
      {1,
       "\xc8\xc8"
       "CD",
       "CD"},
      {0,
       "A\x1f"
       "B",
       "AB"},
      {0,
       "\x01\x02"
       "CD\x10",
       "CD"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.without);
    Frame expected = Draw(50, 150, c.set, "%s", c.without);
    Frame seen = Draw(50, 150, c.set, "%s", c.withStrays);
    EXPECT_TRUE(seen.rgb == expected.rgb);
    EXPECT_TRUE(ShowsText(seen, 50, 150, c.set, c.without, {255, 255, 255}));
  }
}

TEST_F(GlyphTextTest, SetsAboveOneDrawAsSetOne) {
  Frame setOne = Draw(60, 300, 1, "%s", "SET 1?");
  for (int set : {2, 3, 255, INT_MAX}) {
    SCOPED_TRACE(set);
    EXPECT_TRUE(Draw(60, 300, set, "%s", "SET 1?").rgb == setOne.rgb);
    EXPECT_DOUBLE_EQ(penX, 60 + 15.0 * 6);
  }
  EXPECT_TRUE(ShowsText(setOne, 60, 300, 1, "SET 1?", {255, 255, 255}));
}

TEST_F(GlyphTextTest, NullFormatDrawsNothingAndTouchesNoState) {
  glEnable(GL_TEXTURE_2D);
  glLoadIdentity();
  glTranslated(3.0, 4.0, 0.0);
  glListBase(77);
  glClear(GL_COLOR_BUFFER_BIT);
  PrintText(10, 10, 1, nullptr);
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  double x, y;
  ModelviewOffset(&x, &y);
  EXPECT_EQ(x, 3.0);
  EXPECT_EQ(y, 4.0);
  GLint listBase = 0;
  glGetIntegerv(GL_LIST_BASE, &listBase);
  EXPECT_EQ(listBase, 77);
  Frame frame = ReadFrame();
  EXPECT_TRUE(
      std::all_of(frame.rgb.begin(), frame.rgb.end(), [](uint8_t byte) { return byte == 0; }));
}

TEST_F(GlyphTextTest, DeletingTheListsIsHarmlessWithoutListsOrContext) {
  GLuint built = glyphListBase;
  // No context current: nothing to delete here, and the lists of a context are left alone.
  wglMakeCurrent(nullptr, nullptr);
  DeleteGlyphLists();
  ASSERT_TRUE(wglMakeCurrent(gl_.deviceContext, gl_.renderingContext));
  EXPECT_TRUE(glIsList(built));
  EXPECT_TRUE(glIsList(built + 255));

  DeleteGlyphLists();
  EXPECT_FALSE(glIsList(built));
  EXPECT_FALSE(glIsList(built + 255));
  EXPECT_EQ(glyphListBase, 0u);

  // With none built, lists that others made under the same numbers stay.
  GLuint others = glGenLists(256);
  glNewList(others, GL_COMPILE);
  glEndList();
  DeleteGlyphLists();
  EXPECT_TRUE(glIsList(others));
}

} // namespace
