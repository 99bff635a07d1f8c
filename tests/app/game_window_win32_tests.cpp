// OpenGameWindow and CloseGameWindow against the real Win32 (Windows build, under Wine here): the
// window that results and what a close leaves, the same properties the native tests check
// through the test controls, asked of Windows itself.
#include "app/game_window.h"
#include "gfx/glyph_text.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <algorithm>

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
TEST_F(GameWindowWin32, WindowedWindowFramesTheClientAreaAtTheScreenOrigin) {
  ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, false));
  HWND window = AppWindow.window;
  RECT client, outer;
  ASSERT_TRUE(GetClientRect(window, &client));
  ASSERT_TRUE(GetWindowRect(window, &outer));
  EXPECT_EQ(outer.left, 0);
  EXPECT_EQ(outer.top, 0);
  // The frame around a 640 x 480 client area, unless the system holds a window to the screen's
  // size (on a 640 x 480 desktop): then the client area is what remains of the largest window.
  RECT framed = {0, 0, 640, 480};
  AdjustWindowRectEx(&framed, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);
  int width = std::min<int>(framed.right - framed.left, GetSystemMetrics(SM_CXMAXTRACK));
  int height = std::min<int>(framed.bottom - framed.top, GetSystemMetrics(SM_CYMAXTRACK));
  EXPECT_EQ(outer.right - outer.left, width);
  EXPECT_EQ(outer.bottom - outer.top, height);
  EXPECT_EQ(client.right - client.left, 640 - (framed.right - framed.left - width));
  EXPECT_EQ(client.bottom - client.top, 480 - (framed.bottom - framed.top - height));
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

// The swap interval of the current context, through WGL_EXT_swap_control; -1 without it.
int CurrentSwapInterval() {
  typedef int(WINAPI * GetSwapIntervalCall)(void);
  PROC found = wglGetProcAddress("wglGetSwapIntervalEXT");
  if (found == nullptr)
    return -1;
  return reinterpret_cast<GetSwapIntervalCall>(reinterpret_cast<void (*)()>(found))();
}

// WGL's default interval is 1: a driver that honours it would hold every frame to the display's
// refresh. Wine offers the extension, so every context the game makes must answer 0.
TEST_F(GameWindowWin32, SwapsNeverWaitForTheDisplayInAnyWindowTheGameMakes) {
  for (int opening = 0; opening < 2; ++opening) {
    ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, false));
    EXPECT_EQ(CurrentSwapInterval(), 0) << "opening " << opening;
    // Each new context starts from the default again; the game's first frame must not wait.
    EXPECT_TRUE(SwapBuffers(AppWindow.deviceContext));
    EXPECT_EQ(CurrentSwapInterval(), 0) << "opening " << opening << ", after a swap";
    CloseGameWindow();
  }
}

} // namespace
