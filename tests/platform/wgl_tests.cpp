// Device contexts, pixel formats and rendering contexts of the native platform: the game's
// sequence twice in one process, fixed-function drawing read back at SwapBuffers, and the rules
// of the wgl calls.
#include "tests/platform/platform_fixture.h"

#include <SDL.h>

#include <cstdlib>

namespace {

using Contexts = PlatformTest;

struct Rgb {
  int r, g, b;
};

// The pixel at window coordinates (x, y), y down, of a frame stored bottom row first.
Rgb PixelAt(const std::vector<uint8_t> &frame, int width, int height, int x, int y) {
  size_t at = (static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) + x) * 3;
  return {frame[at], frame[at + 1], frame[at + 2]};
}

void ExpectColour(Rgb got, Rgb want, const char *what) {
  EXPECT_LE(std::abs(got.r - want.r), 2) << what;
  EXPECT_LE(std::abs(got.g - want.g), 2) << what;
  EXPECT_LE(std::abs(got.b - want.b), 2) << what;
}

// One unit per pixel, origin top-left, y down: the projection the game sets.
void PixelProjection(int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void Quad(int left, int top, int right, int bottom) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2i(left, top);
  glTexCoord2f(1, 0);
  glVertex2i(right, top);
  glTexCoord2f(1, 1);
  glVertex2i(right, bottom);
  glTexCoord2f(0, 1);
  glVertex2i(left, bottom);
  glEnd();
}

void ClearAndSwap(HDC dc, float red, float green, float blue) {
  glClearColor(red, green, blue, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  EXPECT_TRUE(SwapBuffers(dc));
}

TEST_F(Contexts, TheGamesSequenceRunsTwiceWithFreshObjectsEachTime) {
  const DWORD styles[][2] = {{PopupStyle, PopupExStyle}, {WindowedStyle, WindowedExStyle}};
  for (const DWORD *style : styles) {
    GlWindow gl = OpenGlWindow(style[0], style[1], 640, 480);
    ASSERT_NE(gl.context, nullptr);
    EXPECT_EQ(TestHandlesHeld(), heldAtStart + 3) << "window, device context, context";
    ShowWindow(gl.window, SW_SHOW);
    SetForegroundWindow(gl.window);
    SetFocus(gl.window);
    ASSERT_NE(glGetString(GL_VERSION), nullptr);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640) << "the drawable is the client area";
    EXPECT_EQ(viewport[3], 480);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    EXPECT_EQ(texture, 1u) << "a new context starts its names afresh";
    EXPECT_EQ(glGenLists(256), 1u);
    CloseGlWindow(&gl);
    EXPECT_EQ(glGetString(GL_VERSION), nullptr) << "nothing is current any more";
    EXPECT_TRUE(UnregisterClassA(TestClass, GetModuleHandleA(nullptr)));
    WNDCLASSA again = {};
    again.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    again.lpfnWndProc = RecordingProc;
    again.lpszClassName = TestClass;
    EXPECT_NE(RegisterClassA(&again), 0);
    EXPECT_EQ(TestHandlesHeld(), heldAtStart);
  }
}

// On red: a green quad from a display list called through a list base and a byte string, and
// an orange texel modulated by white on a quad at (300, 300)-(340, 330).
void DrawTestScene() {
  PixelProjection(640, 480);
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  GLuint lists = glGenLists(2);
  glNewList(lists + 1, GL_COMPILE);
  glColor3ub(0, 255, 0);
  Quad(100, 100, 200, 150);
  glEndList();
  glListBase(lists);
  glCallLists(1, GL_UNSIGNED_BYTE, "\x01");
  const uint8_t orange[3] = {255, 128, 0};
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, orange);
  glEnable(GL_TEXTURE_2D);
  glColor3f(1, 1, 1);
  Quad(300, 300, 340, 330);
  glDisable(GL_TEXTURE_2D);
}

TEST_F(Contexts, FixedFunctionDrawingIsReadBackAtSwapBuffers) {
  GlWindow gl = OpenGlWindow(WindowedStyle, WindowedExStyle, 640, 480);
  ShowWindow(gl.window, SW_SHOW);
  DrawTestScene();
  glPixelStorei(GL_PACK_ALIGNMENT, 8);

  TestCaptureFrames(true);
  ASSERT_TRUE(SwapBuffers(gl.dc));
  int width = 0, height = 0;
  std::vector<uint8_t> frame = TestLastFrame(&width, &height);
  ASSERT_EQ(width, 640);
  ASSERT_EQ(height, 480);
  ASSERT_EQ(frame.size(), 640u * 480u * 3u);
  ExpectColour(PixelAt(frame, width, height, 5, 5), {255, 0, 0}, "top-left background");
  ExpectColour(PixelAt(frame, width, height, 150, 125), {0, 255, 0}, "list quad");
  ExpectColour(PixelAt(frame, width, height, 99, 125), {255, 0, 0}, "left of the list quad");
  ExpectColour(PixelAt(frame, width, height, 320, 315), {255, 128, 0}, "textured quad");
  GLint packAlignment = 0;
  glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
  EXPECT_EQ(packAlignment, 8) << "the capture leaves the pixel-store state alone";
  CloseGlWindow(&gl);
}

// The swap action's frames as they are, the presented action's negated: the order shows which
// ran first.
struct SwapLog {
  std::vector<int> frames;
};

TEST_F(Contexts, SwapAndPresentedActionsNumberFramesAndCaptureCanBeSwitchedOff) {
  GlWindow gl = OpenGlWindow(PopupStyle, PopupExStyle, 64, 32);
  ShowWindow(gl.window, SW_SHOW);
  SwapLog log;
  TestOnSwap(
      [](int frame, void *context) { static_cast<SwapLog *>(context)->frames.push_back(frame); },
      &log);
  TestOnPresented(
      [](int frame, void *context) { static_cast<SwapLog *>(context)->frames.push_back(-frame); },
      &log);
  TestCaptureFrames(true);
  ClearAndSwap(gl.dc, 0, 0, 1);
  ClearAndSwap(gl.dc, 0, 1, 0);
  TestCaptureFrames(false);
  ClearAndSwap(gl.dc, 1, 1, 1);
  EXPECT_EQ(log.frames, (std::vector<int>{1, -1, 2, -2, 3, -3}));
  EXPECT_EQ(TestFramesPresented(), 3);
  int width = 0, height = 0;
  std::vector<uint8_t> frame = TestLastFrame(&width, &height);
  ASSERT_EQ(width, 64);
  ASSERT_EQ(height, 32);
  ExpectColour(PixelAt(frame, width, height, 10, 10), {0, 255, 0}, "the last captured frame");
  TestOnSwap(nullptr, nullptr);
  ClearAndSwap(gl.dc, 0, 0, 0);
  EXPECT_EQ(log.frames.size(), 7u) << "the swap action was removed";
  EXPECT_EQ(log.frames.back(), -4);
  EXPECT_FALSE(SwapBuffers(reinterpret_cast<HDC>(0x5555)));
  EXPECT_EQ(TestFramesPresented(), 4) << "a refused swap presents nothing";
  EXPECT_EQ(log.frames.size(), 7u) << "nor runs the presented action";
  TestOnPresented(nullptr, nullptr);
  ClearAndSwap(gl.dc, 0, 0, 0);
  EXPECT_EQ(log.frames.size(), 7u) << "the presented action was removed";
  TestReset();
  EXPECT_EQ(TestFramesPresented(), 0);
  EXPECT_TRUE(TestLastFrame(&width, &height).empty());
  CloseGlWindow(&gl);
}

TEST_F(Contexts, PixelFormatIsSetOnceAndNeededForAContext) {
  HWND window = CreateClientWindow(PopupStyle, PopupExStyle, 32, 32);
  HDC dc = GetDC(window);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDC(window), dc) << "the window keeps its own device context";
  EXPECT_EQ(wglCreateContext(dc), nullptr) << "no pixel format yet";
  EXPECT_EQ(ChoosePixelFormat(dc, nullptr), 0);
  int format = ChoosePixelFormat(dc, &GamePixelFormat());
  EXPECT_FALSE(SetPixelFormat(dc, format + 1, &GamePixelFormat())) << "no such format";
  EXPECT_TRUE(SetPixelFormat(dc, format, &GamePixelFormat()));
  EXPECT_TRUE(SetPixelFormat(dc, format, &GamePixelFormat())) << "the same one again";
  EXPECT_EQ(ReleaseDC(window, reinterpret_cast<HDC>(0x5555)), 0) << "not this window's";
  EXPECT_EQ(ReleaseDC(window, dc), 1);
  EXPECT_EQ(ReleaseDC(window, dc), 1);
  EXPECT_EQ(ReleaseDC(window, dc), 0) << "more releases than GetDC calls";
  EXPECT_TRUE(DestroyWindow(window));
}

TEST_F(Contexts, CreatingAContextLeavesTheCurrentOneCurrent) {
  GlWindow first = OpenGlWindow(PopupStyle, PopupExStyle, 32, 32);
  glClearColor(0.25f, 0.5f, 0.75f, 1);
  HGLRC second = wglCreateContext(first.dc);
  ASSERT_NE(second, nullptr);
  GLfloat clear[4] = {};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_FLOAT_EQ(clear[1], 0.5f) << "still the first context";
  EXPECT_TRUE(wglMakeCurrent(first.dc, second));
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_FLOAT_EQ(clear[1], 0.0f) << "the second context has its own state";
  EXPECT_TRUE(wglDeleteContext(second));
  EXPECT_EQ(glGetString(GL_VERSION), nullptr) << "deleting the current context ends it";
  EXPECT_FALSE(wglMakeCurrent(first.dc, second)) << "deleted";
  EXPECT_FALSE(wglDeleteContext(second));
  EXPECT_TRUE(wglMakeCurrent(first.dc, first.context));
  EXPECT_FALSE(wglMakeCurrent(reinterpret_cast<HDC>(0x5555), first.context));
  EXPECT_EQ(glGetString(GL_VERSION), nullptr) << "a failed wglMakeCurrent leaves none current";
  CloseGlWindow(&first);
}

// WGL_EXT_swap_control over SDL's interval, as wglGetProcAddress gives it: only while a context
// is current, and nothing for names it does not provide.
TEST_F(Contexts, SwapControlIsOfferedOnlyWithACurrentContext) {
  typedef BOOL(WINAPI * SetInterval)(int);
  typedef int(WINAPI * GetInterval)(void);
  EXPECT_EQ(wglGetProcAddress("wglSwapIntervalEXT"), nullptr) << "no context is current";
  GlWindow gl = OpenGlWindow(PopupStyle, PopupExStyle, 32, 32);
  PROC set = wglGetProcAddress("wglSwapIntervalEXT");
  PROC get = wglGetProcAddress("wglGetSwapIntervalEXT");
  ASSERT_NE(set, nullptr);
  ASSERT_NE(get, nullptr);
  EXPECT_EQ(wglGetProcAddress("wglChoosePixelFormatARB"), nullptr);
  EXPECT_EQ(wglGetProcAddress(nullptr), nullptr);
  // The answers are SDL's: a display without swap control refuses any change and reads 0.
  BOOL accepted = reinterpret_cast<SetInterval>(reinterpret_cast<void (*)()>(set))(0);
  EXPECT_EQ(accepted != FALSE, SDL_GL_SetSwapInterval(0) == 0);
  EXPECT_EQ(reinterpret_cast<GetInterval>(reinterpret_cast<void (*)()>(get))(),
            SDL_GL_GetSwapInterval());
  EXPECT_EQ(SDL_GL_GetSwapInterval(), 0);
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_EQ(wglGetProcAddress("wglGetSwapIntervalEXT"), nullptr) << "none current again";
  EXPECT_TRUE(wglMakeCurrent(gl.dc, gl.context));
  CloseGlWindow(&gl);
}

TEST_F(Contexts, AContextOutlivesItsWindow) {
  GlWindow gl = OpenGlWindow(PopupStyle, PopupExStyle, 32, 32);
  EXPECT_TRUE(DestroyWindow(gl.window));
  EXPECT_EQ(TestHandlesHeld(), heldAtStart + 1) << "the device context went with the window";
  EXPECT_EQ(glGetString(GL_VERSION), nullptr);
  EXPECT_FALSE(SwapBuffers(gl.dc));
  EXPECT_TRUE(wglDeleteContext(gl.context));
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
  GlWindow next = OpenGlWindow(PopupStyle, PopupExStyle, 32, 32);
  EXPECT_NE(glGetString(GL_VERSION), nullptr);
  CloseGlWindow(&next);
}

} // namespace
