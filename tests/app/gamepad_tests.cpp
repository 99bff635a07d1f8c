// The gamepad through the real WinMain: virtual pads (platform/testing.h) read by XInputGetState
// stand in for the keys they map to, attach and detach mid-game, and combine with the keyboard.
#include "tests/app/app_fixture.h"

#include "app/gamepad.h"
#include "app/window_proc.h"
#include "game/game_state.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The stick in the device's own terms (y growing downwards), as TestSetGamepadStick takes it.
const int Far = 30000;

struct StickCase {
  const char *name;
  int x, y;     // XInput's terms: y grows upwards
  int heldKey;  // the key the stick held before
  int expected; // the key it holds now
};

const StickCase stickCases[] = {
    {"AtRest", 0, 0, 0, 0},
    {"InsideTheDeadZone", StickDeadZone, -StickDeadZone, 0, 0},
    {"JustPastTheDeadZone", StickDeadZone + 1, 0, 0, VK_RIGHT},
    {"Up", 0, 20000, 0, VK_UP},
    {"Down", 0, -20000, 0, VK_DOWN},
    {"Left", -20000, 3000, 0, VK_LEFT},
    {"DiagonalTakesTheLargerAxis", 20000, -21000, 0, VK_DOWN},
    {"NearTheDiagonalKeepsTheHeldAxis", 20000, 24000, VK_RIGHT, VK_RIGHT},
    {"FarPastTheDiagonalChangesAxis", 20000, 26000, VK_RIGHT, VK_UP},
    {"NearTheDiagonalKeepsTheHeldVertical", -24000, -20000, VK_DOWN, VK_DOWN},
    {"FarPastTheDiagonalChangesToHorizontal", -26000, -20000, VK_DOWN, VK_LEFT},
    {"ReleasedToTheDeadZone", 100, -200, VK_UP, 0},
};

class StickKeys : public ::testing::TestWithParam<StickCase> {};

TEST_P(StickKeys, TheLargerAxisPastTheDeadZoneWithHysteresis) {
  const StickCase &c = GetParam();
  EXPECT_EQ(StickKey(c.x, c.y, c.heldKey), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, StickKeys, ::testing::ValuesIn(stickCases),
                         [](const ::testing::TestParamInfo<StickCase> &info) {
                           return std::string(info.param.name);
                         });

class GamepadTest : public AppTest {
protected:
  void SetUp() override {
    AppTest::SetUp();
    TestUseVirtualClock(1000000, 50);
    AppWindow.fullscreen = false;
  }
  int RunWinMain() {
    script.Arm();
    return WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW);
  }
  // Counts frames from here on without stepping.
  static void HoldTheGame() {
    GameState.framesPerStep = 1000;
    GameState.frameCounter = 1;
  }
  FrameScript script;
};

TEST_F(GamepadTest, DpadDownTurnsTheSnakeAtTheNextStep) {
  int pad = TestAttachGamepad();
  int rowBefore = -1, rowAfter = -1;
  Direction heading = Right;
  script.At(3, [&] {
    GameState.direction = Right;
    GameState.framesPerStep = 20;
    GameState.frameCounter = 18; // frames 3 and 4 count 18 and 19; frame 5 steps
    TestSetGamepadButtons(pad, XINPUT_GAMEPAD_DPAD_DOWN);
  });
  script.At(4, [&] {
    TestSetGamepadButtons(pad, 0); // a short press: the poll of frame 3 took it
    rowBefore = GameState.segmentY[0];
  });
  script.At(6, [&] {
    heading = GameState.direction;
    rowAfter = GameState.segmentY[0];
    TestQueueClose();
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(heading, Down);
  EXPECT_EQ(rowAfter, (rowBefore + 1) % GameState.grid.rows);
}

struct PadStickCase {
  const char *name;
  Direction heading;
  int x, y; // as the device reports it: y grows downwards
  int pendingTurn;
};

const PadStickCase padStickCases[] = {
    {"AtRest", Right, 0, 0, 0},
    {"InsideTheDeadZone", Right, 7000, 7000, 0},
    {"PastTheDeadZoneDown", Right, 0, Far, Down + 1},
    {"PastTheDeadZoneUp", Left, 3000, -Far, Up + 1},
    {"PastTheDeadZoneLeft", Up, -Far, 2000, Left + 1},
};

class GamepadStick : public GamepadTest, public ::testing::WithParamInterface<PadStickCase> {};

TEST_P(GamepadStick, SteersPastItsDeadZoneOnly) {
  const PadStickCase &c = GetParam();
  int pad = TestAttachGamepad();
  int pending = -1;
  script.At(3, [&] {
    HoldTheGame();
    GameState.direction = c.heading;
    GameState.pendingTurn = 0;
    TestSetGamepadStick(pad, c.x, c.y);
  });
  script.At(5, [&] {
    pending = GameState.pendingTurn;
    TestQueueClose();
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(pending, c.pendingTurn);
}

INSTANTIATE_TEST_SUITE_P(Table, GamepadStick, ::testing::ValuesIn(padStickCases),
                         [](const ::testing::TestParamInfo<PadStickCase> &info) {
                           return std::string(info.param.name);
                         });

struct RestartCase {
  const char *name;
  WORD button;
  bool restarts;
};

const RestartCase restartCases[] = {
    {"South", XINPUT_GAMEPAD_A, true},
    {"Start", XINPUT_GAMEPAD_START, true},
    {"East", XINPUT_GAMEPAD_B, false},
    {"West", XINPUT_GAMEPAD_X, false},
    {"Shoulder", XINPUT_GAMEPAD_LEFT_SHOULDER, false},
};

class GamepadRestart : public GamepadTest, public ::testing::WithParamInterface<RestartCase> {};

TEST_P(GamepadRestart, OnlySouthAndStartRestartAfterGameOver) {
  const RestartCase &c = GetParam();
  int pad = TestAttachGamepad();
  int score = -1;
  bool over = false;
  script.At(3, [&] {
    HoldTheGame();
    GameState.score = 7;
    GameState.gameOver = true;
    TestSetGamepadButtons(pad, c.button);
  });
  script.At(4, [&] {
    score = GameState.score;
    over = GameState.gameOver;
    TestQueueClose();
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(score, c.restarts ? 0 : 7);
  EXPECT_EQ(over, !c.restarts);
}

INSTANTIATE_TEST_SUITE_P(Buttons, GamepadRestart, ::testing::ValuesIn(restartCases),
                         [](const ::testing::TestParamInfo<RestartCase> &info) {
                           return std::string(info.param.name);
                         });

TEST_F(GamepadTest, BackEndsTheGameWithExitCodeZero) {
  int pad = TestAttachGamepad();
  script.At(3, [&] { TestSetGamepadButtons(pad, XINPUT_GAMEPAD_BACK); });
  // Only reached when Back did not end the game: the quit code tells it apart.
  script.At(12, [] { PostQuitMessage(7); });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(AppWindow.window, nullptr);
}

TEST_F(GamepadTest, NorthSwitchesTheDisplayModeOncePerPress) {
  int pad = TestAttachGamepad();
  int windowsBefore = 0, windowsHeld = 0, windowsAfter = 0;
  script.At(3, [&] {
    windowsBefore = TestCallCount("CreateWindowExA");
    TestSetGamepadButtons(pad, XINPUT_GAMEPAD_Y);
  });
  script.At(7, [&] {
    windowsHeld = TestCallCount("CreateWindowExA");
    TestSetGamepadButtons(pad, 0);
  });
  script.At(8, [&] { TestSetGamepadButtons(pad, XINPUT_GAMEPAD_Y); });
  script.At(10, [&] {
    windowsAfter = TestCallCount("CreateWindowExA");
    TestQueueClose();
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(windowsHeld - windowsBefore, 1); // held for four frames: one switch
  EXPECT_EQ(windowsAfter - windowsHeld, 1);  // pressed again: one more
}

TEST_F(GamepadTest, APadAttachedMidGameSteersAtOnce) {
  int pendingWithout = -1, pendingWith = -1;
  script.At(3, [&] {
    HoldTheGame();
    GameState.direction = Right;
  });
  script.At(4, [&] {
    pendingWithout = GameState.pendingTurn;
    int pad = TestAttachGamepad();
    TestSetGamepadButtons(pad, XINPUT_GAMEPAD_DPAD_DOWN);
  });
  script.At(5, [&] {
    pendingWith = GameState.pendingTurn;
    TestQueueClose();
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(pendingWithout, 0);
  EXPECT_EQ(pendingWith, Down + 1);
}

TEST_F(GamepadTest, APadDetachedMidGameLeavesTheKeyboardSteering) {
  int pad = TestAttachGamepad();
  TestSetGamepadButtons(pad, XINPUT_GAMEPAD_DPAD_UP | XINPUT_GAMEPAD_A);
  int pendingWithPad = -1, pendingAfter = -1;
  script.At(3, [&] {
    HoldTheGame();
    GameState.direction = Right;
  });
  script.At(4, [&] {
    pendingWithPad = GameState.pendingTurn;
    GameState.pendingTurn = 0;
    TestDetachGamepad(pad);
    TestQueueKey(VK_DOWN, true); // taken after frame 4: frame 5's poll sees it
  });
  script.At(6, [&] {
    pendingAfter = GameState.pendingTurn;
    TestQueueClose();
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(pendingWithPad, Up + 1);
  // Up, the pad's, would win over Down had it outlived the pad.
  EXPECT_EQ(pendingAfter, Down + 1);
}

TEST_F(GamepadTest, TheFirstConnectedPadSteers) {
  int first = TestAttachGamepad();
  int second = TestAttachGamepad();
  TestSetGamepadButtons(second, XINPUT_GAMEPAD_DPAD_UP);
  int pendingBoth = -1, pendingSecond = -1;
  script.At(3, [&] {
    HoldTheGame();
    GameState.direction = Right;
    TestSetGamepadButtons(first, XINPUT_GAMEPAD_DPAD_DOWN);
  });
  script.At(4, [&] {
    pendingBoth = GameState.pendingTurn;
    TestDetachGamepad(first);
  });
  script.At(5, [&] {
    pendingSecond = GameState.pendingTurn;
    TestQueueClose();
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(pendingBoth, Down + 1);
  EXPECT_EQ(pendingSecond, Up + 1);
}

TEST_F(GamepadTest, ReleasingAPadButtonKeepsTheSameKeyHeldOnTheKeyboard) {
  int pad = TestAttachGamepad();
  int pendingBoth = -1, pendingKeyboard = -1;
  script.At(3, [&] {
    HoldTheGame();
    GameState.direction = Right;
    TestQueueKey(VK_DOWN, true);
    TestSetGamepadButtons(pad, XINPUT_GAMEPAD_DPAD_DOWN);
  });
  script.At(4, [&] {
    pendingBoth = GameState.pendingTurn;
    GameState.pendingTurn = 0;
    TestSetGamepadButtons(pad, 0);
  });
  script.At(6, [&] {
    pendingKeyboard = GameState.pendingTurn;
    TestQueueClose();
  });
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(pendingBoth, Down + 1);
  EXPECT_EQ(pendingKeyboard, Down + 1);
}

} // namespace
