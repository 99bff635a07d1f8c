// Shared ground for the in-process tests of the application shell.
#include "tests/app/app_fixture.h"

#include "app/gamepad.h"
#include "app/window_proc.h"
#include "game/game_state.h"

#include <cstring>
#include <unistd.h>

void ExpectBoxes(const std::vector<ExpectedBox> &expected) {
  const std::vector<TestMessageBox> &boxes = TestMessageBoxes();
  ASSERT_EQ(boxes.size(), expected.size());
  for (size_t i = 0; i < boxes.size(); ++i) {
    SCOPED_TRACE("box " + std::to_string(i) + ": " + boxes[i].text);
    EXPECT_EQ(boxes[i].owner, nullptr);
    EXPECT_EQ(boxes[i].text, expected[i].text);
    EXPECT_EQ(boxes[i].caption, expected[i].caption);
    EXPECT_EQ(boxes[i].flags, expected[i].flags);
  }
}

void ResetAppRecords() {
  AppWindow = AppWindowRecord{nullptr, nullptr, nullptr, nullptr, true, true};
  std::memset(KeyState, 0, sizeof KeyState);
  Gamepad = PadRecord();
  RestartGame();
}

void AppTest::SetUp() {
  ASSERT_EQ(chdir(ZELU_REPO_ROOT), 0);
  TestReset();
  TestScriptMessageBoxes();
  TestRecordSounds();
  ResetAppRecords();
  heldAtStart = TestHandlesHeld();
}

void AppTest::TearDown() {
  // A failed test may leave the window open or the class registered; the next one starts clean.
  if (AppWindow.window != nullptr || AppWindow.renderingContext != nullptr)
    CloseGameWindow();
  UnregisterClassA("OpenGL", GetModuleHandleA(nullptr));
  TestReset();
  EXPECT_EQ(chdir(ZELU_REPO_ROOT), 0);
}

void AppTest::MoveToEmptyDirectory() {
  std::string pattern = ::testing::TempDir() + "zelu-no-data-XXXXXX";
  std::vector<char> path(pattern.begin(), pattern.end());
  path.push_back('\0');
  ASSERT_NE(mkdtemp(path.data()), nullptr);
  ASSERT_EQ(chdir(path.data()), 0);
}
