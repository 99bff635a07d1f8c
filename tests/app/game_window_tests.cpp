// OpenGameWindow, CloseGameWindow and ResizeScene on the native platform: the window that
// results in each mode, every failing step with its message and what is left held, the
// fullscreen question, and the projection.
#include "tests/app/app_fixture.h"

#include "app/game_window.h"
#include "game/game_state.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include <unistd.h>

namespace {

const char *const Title = "Zelu's Line Tutorial";
const char *const Question = "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. "
                             "Use Windowed Mode Instead?";
const UINT Exclamation = MB_OK | MB_ICONEXCLAMATION;
// A failing class unregistration marks where CloseGameWindow ran among the boxes.
const ExpectedBox CloseMarker = {"Could Not Unregister Class.", "SHUTDOWN ERROR",
                                 MB_OK | MB_ICONINFORMATION};

void ExpectNothingHeld(const AppWindowRecord &w) {
  EXPECT_EQ(w.instance, nullptr);
  EXPECT_EQ(w.window, nullptr);
  EXPECT_EQ(w.deviceContext, nullptr);
  EXPECT_EQ(w.renderingContext, nullptr);
}

void ExpectProjection(int width, int height) {
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[0], 0);
  EXPECT_EQ(viewport[1], 0);
  EXPECT_EQ(viewport[2], width);
  EXPECT_EQ(viewport[3], height);
  GLint mode;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  GLdouble modelview[16], projection[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  // glOrtho(0, width, height, 0, -1, 1): pixel (x, y) lands at (2x/width - 1, 1 - 2y/height).
  const double ortho[16] = {2.0 / width, 0, 0, 0, 0, -2.0 / height, 0, 0, 0, 0, -1, 0, -1, 1, 0, 1};
  for (int i = 0; i < 16; ++i) {
    EXPECT_DOUBLE_EQ(modelview[i], i % 5 == 0 ? 1.0 : 0.0) << i;
    EXPECT_NEAR(projection[i], ortho[i], 1e-6) << i;
  }
}

class GameWindowModes : public AppTest, public ::testing::WithParamInterface<bool> {};

TEST_P(GameWindowModes, OpensShownFocusedAndCurrentThenClosesClean) {
  bool fullscreen = GetParam();
  ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, fullscreen));
  ExpectBoxes({});
  HWND window = AppWindow.window;
  EXPECT_NE(AppWindow.instance, nullptr);
  EXPECT_NE(AppWindow.deviceContext, nullptr);
  EXPECT_NE(AppWindow.renderingContext, nullptr);
  EXPECT_EQ(AppWindow.fullscreen, fullscreen);
  EXPECT_TRUE(TestWindowExists(window));
  EXPECT_TRUE(TestWindowVisible(window));
  EXPECT_EQ(GetFocus(), window);
  EXPECT_EQ(TestWindowFullscreen(window), fullscreen);
  EXPECT_EQ(TestDisplayModeChanged(), fullscreen);
  EXPECT_EQ(TestCursorVisible(), !fullscreen);
  int width = 0, height = 0;
  TestClientSize(window, &width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  ExpectProjection(640, 480);

  CloseGameWindow();
  ExpectBoxes({});
  ExpectNothingHeld(AppWindow);
  EXPECT_FALSE(TestWindowExists(window));
  EXPECT_FALSE(TestDisplayModeChanged());
  EXPECT_TRUE(TestCursorVisible());
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
  EXPECT_EQ(TestCallCount("ChangeDisplaySettingsA"), fullscreen ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, GameWindowModes, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &info) {
                           return std::string(info.param ? "Fullscreen" : "Windowed");
                         });

// A failing step of OpenGameWindow; `call` null stands for a missing Data/ folder.
struct OpenFailure {
  const char *call;
  const char *text;
  UINT flags;
  bool closesFirst;
};

const OpenFailure openFailures[] = {
    {"RegisterClassA", "Failed To Register The Window Class.", Exclamation, false},
    {"CreateWindowExA", "Window Creation Error.", Exclamation, true},
    {"GetDC", "Can't Create A GL Device Context.", Exclamation, true},
    {"ChoosePixelFormat", "Can't Find A Suitable PixelFormat.", Exclamation, true},
    {"SetPixelFormat", "Can't Set The PixelFormat.", Exclamation, true},
    {"wglCreateContext", "Can't Create A GL Rendering Context.", Exclamation, true},
    {"wglMakeCurrent", "Can't Activate The GL Rendering Context.", Exclamation, true},
    {nullptr, "Initialization Failed.", Exclamation, true},
};

class OpenFailures : public AppTest,
                     public ::testing::WithParamInterface<std::tuple<OpenFailure, bool>> {};

TEST_P(OpenFailures, TellTheUserAfterTakingEverythingDown) {
  const OpenFailure &f = std::get<0>(GetParam());
  bool fullscreen = std::get<1>(GetParam());
  if (f.call != nullptr)
    TestFailCall(f.call);
  else
    MoveToEmptyDirectory();
  TestFailCall("UnregisterClassA");

  EXPECT_FALSE(OpenGameWindow(Title, 640, 480, 16, fullscreen));
  std::vector<ExpectedBox> expected;
  if (f.closesFirst)
    expected.push_back(CloseMarker);
  expected.push_back({f.text, "ERROR", f.flags});
  ExpectBoxes(expected);
  EXPECT_EQ(AppWindow.window, nullptr);
  EXPECT_EQ(AppWindow.deviceContext, nullptr);
  EXPECT_EQ(AppWindow.renderingContext, nullptr);
  EXPECT_EQ(AppWindow.fullscreen, fullscreen);
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
  EXPECT_FALSE(TestDisplayModeChanged());
  EXPECT_TRUE(TestCursorVisible());
}

INSTANTIATE_TEST_SUITE_P(Steps, OpenFailures,
                         ::testing::Combine(::testing::ValuesIn(openFailures), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<std::tuple<OpenFailure, bool>> &info) {
                           const char *call = std::get<0>(info.param).call;
                           return std::string(call ? call : "MissingData") +
                                  (std::get<1>(info.param) ? "Fullscreen" : "Windowed");
                         });

// After a failure once the window existed, the class is gone too: the next opening registers it
// afresh without a complaint.
TEST_F(AppTest, FailedOpeningsLeaveNothingForTheNextOne) {
  for (const OpenFailure &f : openFailures) {
    if (f.call == nullptr || !f.closesFirst)
      continue;
    SCOPED_TRACE(f.call);
    TestReset();
    TestScriptMessageBoxes();
    TestFailCall(f.call);
    EXPECT_FALSE(OpenGameWindow(Title, 640, 480, 16, true));
    ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, true));
    ExpectBoxes({{f.text, "ERROR", f.flags}});
    CloseGameWindow();
    EXPECT_EQ(TestHandlesHeld(), heldAtStart);
  }
}

TEST_F(AppTest, RefusedFullscreenAnsweredYesOpensWindowed) {
  TestFailCall("ChangeDisplaySettingsA");
  TestScriptMessageBoxes({IDYES});
  ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, true));
  ExpectBoxes({{Question, "Zelu GL", MB_YESNO | MB_ICONEXCLAMATION}});
  EXPECT_FALSE(AppWindow.fullscreen);
  EXPECT_FALSE(TestWindowFullscreen(AppWindow.window));
  EXPECT_FALSE(TestDisplayModeChanged());
  EXPECT_TRUE(TestCursorVisible());
  int width = 0, height = 0;
  TestClientSize(AppWindow.window, &width, &height);
  EXPECT_EQ(width, 640);
  EXPECT_EQ(height, 480);
  // Windowed now, so the close leaves the display mode alone.
  CloseGameWindow();
  EXPECT_EQ(TestCallCount("ChangeDisplaySettingsA"), 1);
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
}

TEST_F(AppTest, RefusedFullscreenAnsweredNoClosesWithTheClassStillRegistered) {
  TestFailCall("ChangeDisplaySettingsA");
  TestScriptMessageBoxes({IDNO});
  EXPECT_FALSE(OpenGameWindow(Title, 640, 480, 16, true));
  ExpectBoxes({{Question, "Zelu GL", MB_YESNO | MB_ICONEXCLAMATION},
               {"Program Will Now Close.", "ERROR", MB_OK | MB_ICONERROR}});
  EXPECT_TRUE(AppWindow.fullscreen);
  EXPECT_EQ(TestCallCount("CreateWindowExA"), 0);
  EXPECT_EQ(TestCallCount("UnregisterClassA"), 0);
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
  EXPECT_TRUE(UnregisterClassA("OpenGL", GetModuleHandleA(nullptr)));
}

// A failing release of CloseGameWindow: the boxes it leads to, and how to release afterwards
// what it left behind.
struct CloseFailure {
  const char *call;
  std::vector<std::string> texts;
  void (*release)(const AppWindowRecord &held);
};

const CloseFailure closeFailures[] = {
    {"wglMakeCurrent", {"Release Of DC And RC Failed."}, [](const AppWindowRecord &) {}},
    {"wglDeleteContext",
     {"Release Rendering Context Failed."},
     [](const AppWindowRecord &held) { wglDeleteContext(held.renderingContext); }},
    {"ReleaseDC", {"Release Device Context Failed."}, [](const AppWindowRecord &) {}},
    // A class cannot be unregistered while a window of it exists.
    {"DestroyWindow",
     {"Could Not Release hWnd.", "Could Not Unregister Class."},
     [](const AppWindowRecord &held) {
       DestroyWindow(held.window);
       UnregisterClassA("OpenGL", held.instance);
     }},
    {"UnregisterClassA",
     {"Could Not Unregister Class."},
     [](const AppWindowRecord &held) { UnregisterClassA("OpenGL", held.instance); }},
};

class CloseFailures : public AppTest, public ::testing::WithParamInterface<CloseFailure> {};

TEST_P(CloseFailures, AreReportedAndTheTearDownGoesOn) {
  const CloseFailure &f = GetParam();
  ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, false));
  AppWindowRecord held = AppWindow;
  TestFailCall(f.call);
  CloseGameWindow();
  std::vector<ExpectedBox> expected;
  for (const std::string &text : f.texts)
    expected.push_back({text, "SHUTDOWN ERROR", MB_OK | MB_ICONINFORMATION});
  ExpectBoxes(expected);
  ExpectNothingHeld(AppWindow);
  EXPECT_EQ(TestCallCount("wglDeleteContext"), 1);
  EXPECT_EQ(TestCallCount("ReleaseDC"), 1);
  EXPECT_EQ(TestCallCount("DestroyWindow"), 1);
  EXPECT_EQ(TestCallCount("UnregisterClassA"), 1);
  f.release(held);
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
}

INSTANTIATE_TEST_SUITE_P(Steps, CloseFailures, ::testing::ValuesIn(closeFailures),
                         [](const ::testing::TestParamInfo<CloseFailure> &info) {
                           return std::string(info.param.call);
                         });

// The first opening of the process starts the first game, a second one (F1) keeps the game; the
// failed opening before them, without its images, starts nothing.
TEST_F(AppTest, OnlyTheFirstSuccessfulOpeningStartsTheFirstGame) {
  GameState.segmentX[0] = 2;
  GameState.segmentY[0] = 9;
  GameRandom::Seed(77);
  MoveToEmptyDirectory();
  EXPECT_FALSE(OpenGameWindow(Title, 640, 480, 16, false));
  ASSERT_EQ(chdir(ZELU_REPO_ROOT), 0);
  EXPECT_EQ(GameState.segmentX[0], 2);
  EXPECT_EQ(GameRandom::state, 77u);

  ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, false));
  EXPECT_EQ(GameState.segmentX[0], 6);
  EXPECT_EQ(GameState.segmentY[0], 5);
  EXPECT_EQ(GameState.foodColumn, 9);
  EXPECT_EQ(GameState.foodRow, 10);
  CloseGameWindow();

  GameState.segmentX[0] = 2;
  GameRandom::Seed(77);
  ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, false));
  EXPECT_EQ(GameState.segmentX[0], 2);
  EXPECT_EQ(GameRandom::state, 77u);
  CloseGameWindow();
  ExpectBoxes({{"Initialization Failed.", "ERROR", Exclamation}});
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
}

TEST_F(AppTest, CloseWithNothingHeldOnlyRestoresTheModeAndUnregisters) {
  CloseGameWindow();
  EXPECT_EQ(TestCallCount("ChangeDisplaySettingsA"), 1);
  EXPECT_EQ(TestCallCount("wglMakeCurrent"), 0);
  EXPECT_EQ(TestCallCount("wglDeleteContext"), 0);
  EXPECT_EQ(TestCallCount("ReleaseDC"), 0);
  EXPECT_EQ(TestCallCount("DestroyWindow"), 0);
  EXPECT_EQ(TestCallCount("UnregisterClassA"), 1);
  AppWindow.fullscreen = false;
  CloseGameWindow();
  EXPECT_EQ(TestCallCount("ChangeDisplaySettingsA"), 1);
  EXPECT_EQ(TestCallCount("UnregisterClassA"), 2);
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
}

TEST_F(AppTest, ResizeSceneMapsOneUnitToOnePixel) {
  ASSERT_TRUE(OpenGameWindow(Title, 640, 480, 16, false));
  struct Size {
    int width, height, viewWidth, viewHeight;
  };
  const Size sizes[] = {{320, 240, 320, 240}, {800, 0, 800, 1}, {1, 1, 1, 1}, {640, 480, 640, 480}};
  for (const Size &s : sizes) {
    SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height));
    // Stale matrices, and the projection selected: ResizeScene starts both afresh and leaves the
    // modelview matrix selected.
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 0);
    glMatrixMode(GL_PROJECTION);
    glTranslatef(3, 4, 0);
    ResizeScene(s.width, s.height);
    ExpectProjection(s.viewWidth, s.viewHeight);
  }
  // A width of 0 stays 0 (the projection call then refuses a zero-wide volume).
  ResizeScene(0, 0);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 0);
  EXPECT_EQ(viewport[3], 1);
  CloseGameWindow();
}

} // namespace
