// What only the native platform's test controls can see of InitRenderState: which image files
// were opened, which message boxes were asked for, and that nothing is left held after a failure.
#include "gfx/render_state.h"
#include "platform/testing.h"
#include "tests/render/render_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

GLuint NextTextureName() {
  GLuint name = 0;
  glGenTextures(1, &name);
  return name;
}

using RenderNativeTest = RenderTest;

TEST_F(RenderNativeTest, AFailedImageStopsTheLoadBeforeAnyTextureName) {
  struct Case {
    const char *name;
    const char *remove;      // file taken away, or null
    const char *failingCall; // second call of it fails (the sprite image's), or null
    int filesOpened;         // CreateFileA calls: the loader opens a file after probing it
    const char *message;     // the loader's own message box, or null
  } cases[] = {
      {"font missing", "Font.bmp", nullptr, 0, nullptr},
      {"sprites missing", "Image.bmp", nullptr, 1, nullptr},
      {"sprites unconvertible", nullptr, "SetDIBits", 2, "Image file conversion error."},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::path away;
    if (c.remove != nullptr) {
      away = DataPath(c.remove).string() + ".away";
      std::filesystem::rename(DataPath(c.remove), away);
    }
    TestReset();
    TestScriptMessageBoxes();
    if (c.failingCall != nullptr)
      TestFailCall(c.failingCall, 2);
    int held = TestHandlesHeld();
    GLuint before = NextTextureName();

    EXPECT_FALSE(InitRenderState());
    EXPECT_EQ(TestCallCount("CreateFileA"), c.filesOpened);
    EXPECT_EQ(NextTextureName(), before + 1) << "texture names were made";
    EXPECT_EQ(TestHandlesHeld(), held);
    ASSERT_EQ(TestMessageBoxes().size(), c.message != nullptr ? 1u : 0u);
    if (c.message != nullptr) {
      EXPECT_EQ(TestMessageBoxes()[0].text, c.message);
    }
    if (c.remove != nullptr)
      std::filesystem::rename(away, DataPath(c.remove));
  }
  // With both files in place the same count sees both opened, once each.
  TestReset();
  EXPECT_TRUE(InitRenderState());
  EXPECT_EQ(TestCallCount("CreateFileA"), 2);
}

} // namespace
