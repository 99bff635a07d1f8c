// The textures, glyph lists and fixed state that InitRenderState leaves in a context, its
// failures on missing images, and a display-mode switch that must leave the game as it was.
#include "game/game_state.h"
#include "gfx/glyph_text.h"
#include "gfx/render_state.h"
#include "tests/game/game_driver.h"
#include "tests/render/render_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

GLint TextureParameter(GLuint name, GLenum parameter) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint value = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
  return value;
}

GLint LevelParameter(GLuint name, GLenum parameter) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint value = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
  return value;
}

std::vector<uint8_t> TextureBytes(GLuint name, int width, int height) {
  std::vector<uint8_t> bytes(static_cast<size_t>(width) * height * 3);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, bytes.data());
  return bytes;
}

// The next texture name this context hands out: names come in sequence, so a gap shows names
// that someone else made in between.
GLuint NextTextureName() {
  GLuint name = 0;
  glGenTextures(1, &name);
  return name;
}

// Everything InitRenderState leaves in the current context, checked in one place so that a
// switched context is held to the same standard as the first.
void ExpectPreparedContext(int atlasWidth, int atlasHeight) {
  struct Expected {
    GLuint name;
    int width, height;
  } textures[2] = {{TextureNames[FontTexture], 256, 256},
                   {TextureNames[SpriteTexture], atlasWidth, atlasHeight}};
  EXPECT_NE(TextureNames[FontTexture], TextureNames[SpriteTexture]);
  for (const Expected &texture : textures) {
    SCOPED_TRACE(texture.name);
    EXPECT_TRUE(glIsTexture(texture.name));
    EXPECT_EQ(LevelParameter(texture.name, GL_TEXTURE_WIDTH), texture.width);
    EXPECT_EQ(LevelParameter(texture.name, GL_TEXTURE_HEIGHT), texture.height);
    EXPECT_EQ(TextureParameter(texture.name, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(TextureParameter(texture.name, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
  }
  ASSERT_NE(glyphListBase, 0u);
  for (GLuint glyph = 0; glyph < 256; ++glyph)
    ASSERT_TRUE(glIsList(glyphListBase + glyph)) << "glyph " << glyph;

  GLint shadeModel = 0, lineHint = 0, blendSource = 0, blendDestination = 0;
  GLfloat clearColour[4] = {};
  GLdouble clearDepth = 0;
  glGetIntegerv(GL_SHADE_MODEL, &shadeModel);
  glGetIntegerv(GL_LINE_SMOOTH_HINT, &lineHint);
  glGetIntegerv(GL_BLEND_SRC, &blendSource);
  glGetIntegerv(GL_BLEND_DST, &blendDestination);
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
  glGetDoublev(GL_DEPTH_CLEAR_VALUE, &clearDepth);
  EXPECT_EQ(shadeModel, GL_SMOOTH);
  EXPECT_EQ(lineHint, GL_NICEST);
  EXPECT_EQ(blendSource, GL_SRC_ALPHA);
  EXPECT_EQ(blendDestination, GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_FLOAT_EQ(clearColour[0] + clearColour[1] + clearColour[2], 0.0f);
  EXPECT_FLOAT_EQ(clearColour[3], 0.5f);
  EXPECT_DOUBLE_EQ(clearDepth, 1.0);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  for (GLenum off : {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_LINE_SMOOTH})
    EXPECT_FALSE(glIsEnabled(off)) << "capability 0x" << std::hex << off;
}

using RenderStateTest = RenderTest;

TEST_F(RenderStateTest, PreparesBothTexturesTheGlyphListsAndTheFixedState) {
  ASSERT_TRUE(InitRenderState());
  // The glyph lists were compiled with the font bound, and it stays bound.
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), TextureNames[FontTexture]);
  ExpectPreparedContext(128, 128);
}

TEST_F(RenderStateTest, TexturesHoldTheImagesExactlyWhateverTheirWidth) {
  // Rows of 66 and 30 pixels are 198 and 90 bytes: not multiples of 4.
  const int spriteWidth = 66, spriteHeight = 30;
  TexelPainter sprites = [](int u, int v) { return Rgb{u * 3, v * 8, (u * v) % 256}; };
  WriteBitmap(DataPath("Image.bmp"), spriteWidth, spriteHeight, sprites);
  ASSERT_TRUE(LoadSpriteTextures());
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), TextureNames[SpriteTexture]);
  EXPECT_EQ(TextureBytes(TextureNames[FontTexture], 256, 256), PaintedPixels(256, 256, FontTexel));
  EXPECT_EQ(TextureBytes(TextureNames[SpriteTexture], spriteWidth, spriteHeight),
            PaintedPixels(spriteWidth, spriteHeight, sprites));
}

TEST_F(RenderStateTest, AMissingImageFailsWithoutMakingTextureNames) {
  for (const char *missing : {"Font.bmp", "Image.bmp"}) {
    SCOPED_TRACE(missing);
    std::filesystem::path moved = DataPath(missing).string() + ".away";
    std::filesystem::rename(DataPath(missing), moved);
    TextureNames[FontTexture] = 901;
    TextureNames[SpriteTexture] = 902;
    GLuint before = NextTextureName();
    EXPECT_FALSE(InitRenderState());
    EXPECT_EQ(NextTextureName(), before + 1);
    EXPECT_EQ(TextureNames[FontTexture], 901u);
    EXPECT_EQ(TextureNames[SpriteTexture], 902u);
    // Nothing else was done: no lists, none of the fixed state.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    std::filesystem::rename(moved, DataPath(missing));
  }
}

TEST_F(RenderStateTest, ASwitchRebuildsTheContextAndLeavesTheGameAsItWas) {
  ASSERT_TRUE(InitRenderState());
  // A game in progress: grown, sped up, between two steps, with a turn waiting.
  RestartGame();
  while (GameState.score < 12)
    DriveAlongCycle(1);
  DriveAlongCycle(7);
  GameState.pendingTurn = Up + 1;
  ASSERT_FALSE(GameState.gameOver);
  ASSERT_NE(GameState.frameCounter, 0);
  GameStateRecord before = GameState;
  uint32_t randomBefore = GameRandom::state;

  DeleteGlyphLists();
  SwitchContext();
  ASSERT_TRUE(InitRenderState());

  EXPECT_TRUE(SameRecord(GameState, before));
  EXPECT_EQ(GameRandom::state, randomBefore);
  ExpectPreparedContext(128, 128);
}

} // namespace
