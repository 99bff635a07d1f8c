// XInputGetState natively, over SDL's virtual pads (platform/testing.h): XInput's arguments, its
// layout and units (y upwards), its packet number, and pads that come and go.
#include "platform/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class XInputTest : public ::testing::Test {
protected:
  void SetUp() override { TestReset(); }
  void TearDown() override { TestReset(); }
};

XINPUT_STATE Untouched() {
  XINPUT_STATE state;
  std::memset(&state, 0xA5, sizeof state);
  return state;
}

TEST_F(XInputTest, RefusesBadArgumentsAndAnswersNotConnectedWithoutAPad) {
  XINPUT_STATE state = Untouched();
  EXPECT_EQ(XInputGetState(XUSER_MAX_COUNT, &state), static_cast<DWORD>(ERROR_BAD_ARGUMENTS));
  EXPECT_EQ(XInputGetState(0, nullptr), static_cast<DWORD>(ERROR_BAD_ARGUMENTS));
  for (DWORD user = 0; user < XUSER_MAX_COUNT; ++user)
    EXPECT_EQ(XInputGetState(user, &state), static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));
  EXPECT_EQ(state.Gamepad.wButtons, 0xA5A5);
  EXPECT_EQ(state.dwPacketNumber, 0xA5A5A5A5u);
}

struct StickCase {
  int x, y;           // as the device reports them: y grows downwards
  SHORT readX, readY; // as XInput reports them: y grows upwards
};

TEST_F(XInputTest, ReportsButtonsAndTheStickInXInputsUnits) {
  int pad = TestAttachGamepad();
  const WORD buttons = XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_BACK | XINPUT_GAMEPAD_DPAD_LEFT |
                       XINPUT_GAMEPAD_Y | XINPUT_GAMEPAD_START;
  TestSetGamepadButtons(pad, buttons);
  const StickCase cases[] = {{0, 0, 0, 0},
                             {32767, 32767, 32767, -32767},
                             {-32768, -32768, -32768, 32767},
                             {1000, -20000, 1000, 20000}};
  for (const StickCase &c : cases) {
    TestSetGamepadStick(pad, c.x, c.y);
    XINPUT_STATE state = Untouched();
    ASSERT_EQ(XInputGetState(0, &state), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(state.Gamepad.wButtons, buttons);
    EXPECT_EQ(state.Gamepad.sThumbLX, c.readX) << c.x << ", " << c.y;
    EXPECT_EQ(state.Gamepad.sThumbLY, c.readY) << c.x << ", " << c.y;
    EXPECT_EQ(state.Gamepad.sThumbRX, 0);
    EXPECT_EQ(state.Gamepad.bLeftTrigger, 0);
  }
}

TEST_F(XInputTest, ThePacketNumberChangesWithTheStateOnly) {
  int pad = TestAttachGamepad();
  XINPUT_STATE first = Untouched(), same = Untouched(), changed = Untouched();
  ASSERT_EQ(XInputGetState(0, &first), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(XInputGetState(0, &same), static_cast<DWORD>(ERROR_SUCCESS));
  TestSetGamepadButtons(pad, XINPUT_GAMEPAD_B);
  ASSERT_EQ(XInputGetState(0, &changed), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(same.dwPacketNumber, first.dwPacketNumber);
  EXPECT_NE(changed.dwPacketNumber, first.dwPacketNumber);
}

TEST_F(XInputTest, PadsTakeTheFreeUserIndicesAsTheyComeAndGo) {
  XINPUT_STATE state;
  int first = TestAttachGamepad();
  int second = TestAttachGamepad();
  TestSetGamepadButtons(second, XINPUT_GAMEPAD_X);
  ASSERT_EQ(XInputGetState(1, &state), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(state.Gamepad.wButtons, XINPUT_GAMEPAD_X);
  TestDetachGamepad(first);
  EXPECT_EQ(XInputGetState(0, &state), static_cast<DWORD>(ERROR_DEVICE_NOT_CONNECTED));
  ASSERT_EQ(XInputGetState(1, &state), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(state.Gamepad.wButtons, XINPUT_GAMEPAD_X);
  int third = TestAttachGamepad();
  TestSetGamepadButtons(third, XINPUT_GAMEPAD_DPAD_UP);
  ASSERT_EQ(XInputGetState(0, &state), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(state.Gamepad.wButtons, XINPUT_GAMEPAD_DPAD_UP);
}

} // namespace
