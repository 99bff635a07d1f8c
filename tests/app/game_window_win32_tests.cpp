// OpenGameWindow and CloseGameWindow against the real Win32 (Windows build, under Wine here): the
// window that results and what a close leaves, the same properties the native tests check
// through the test controls, asked of Windows itself.
#include "app/game_window.h"
#include "gfx/glyph_text.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

namespace {

const char *const Title = "Zelu's Line Tutorial";

class GameWindowWin32 : public ::testing::Test {
protected:
  void SetUp() override {
    AppWindow = AppWindowRecord{nullptr, nullptr, nullptr, nullptr, true, true};
  }
  void TearDown() override {
    if (AppWindow.window != nullptr)
      CloseGameWindow();
  }
};

// Windowed, since a fullscreen request on a display without the mode would ask a real question.
TEST_F(GameWindowWin32, WindowedWindowHasTheExactClientAreaAtTheScreenOrigin) {
  ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, false));
  HWND window = AppWindow.window;
  RECT client, outer;
  ASSERT_TRUE(GetClientRect(window, &client));
  EXPECT_EQ(client.right - client.left, 640);
  EXPECT_EQ(client.bottom - client.top, 480);
  ASSERT_TRUE(GetWindowRect(window, &outer));
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetFocus(), window);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & WS_OVERLAPPEDWINDOW,
            static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, "OpenGL");
  EXPECT_EQ(GetClassLongA(window, GCL_STYLE),
            static_cast<DWORD>(CS_HREDRAW | CS_VREDRAW | CS_OWNDC));
  EXPECT_EQ(wglGetCurrentContext(), AppWindow.renderingContext);
  EXPECT_EQ(wglGetCurrentDC(), AppWindow.deviceContext);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 640);
  EXPECT_EQ(viewport[3], 480);
  PIXELFORMATDESCRIPTOR format;
  ASSERT_NE(DescribePixelFormat(AppWindow.deviceContext, GetPixelFormat(AppWindow.deviceContext),
                                sizeof format, &format),
            0);
  EXPECT_TRUE(format.dwFlags & PFD_DOUBLEBUFFER);
  EXPECT_GE(format.cDepthBits, 16);

  CloseGameWindow();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  EXPECT_EQ(AppWindow.window, nullptr);
  EXPECT_EQ(AppWindow.deviceContext, nullptr);
  EXPECT_EQ(AppWindow.renderingContext, nullptr);
  WNDCLASSA registered;
  EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), "OpenGL", &registered));
}

TEST_F(GameWindowWin32, ClosingAndOpeningAgainGivesAFreshWindowAndContext) {
  ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, false));
  HWND first = AppWindow.window;
  CloseGameWindow();
  ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, false));
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(IsWindow(AppWindow.window));
  EXPECT_EQ(wglGetCurrentContext(), AppWindow.renderingContext);
  // The new context has its own glyph lists.
  EXPECT_TRUE(glIsList(glyphListBase));
  EXPECT_TRUE(glIsList(glyphListBase + 255));
}

} // namespace
