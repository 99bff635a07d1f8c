// GameWindowProc on its own, in both builds: what each message writes into the key table and
// the active flag, and the quit request of WM_CLOSE.
#include "app/game_window.h"
#include "app/window_proc.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class WindowProcTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::memset(KeyState, 0, sizeof KeyState);
    AppWindow.active = true;
  }
  static LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    return GameWindowProc(nullptr, message, wParam, lParam);
  }
  static std::vector<bool> Table() { return std::vector<bool>(KeyState, KeyState + 256); }
};

TEST_F(WindowProcTest, KeyDownAndUpWriteOnlyTheirOwnEntry) {
  const WPARAM codes[] = {0, VK_ESCAPE, VK_SPACE, VK_LEFT, VK_DOWN, VK_F1, 255};
  for (WPARAM code : codes) {
    SCOPED_TRACE(code);
    std::vector<bool> expected = Table();
    expected[code] = true;
    EXPECT_EQ(Send(WM_KEYDOWN, code), 0);
    EXPECT_EQ(Table(), expected);
    // Auto-repeat sends more key-downs; the entry just stays down.
    EXPECT_EQ(Send(WM_KEYDOWN, code, 0x40000000), 0);
    EXPECT_EQ(Table(), expected);
  }
  for (WPARAM code : codes) {
    SCOPED_TRACE(code);
    std::vector<bool> expected = Table();
    expected[code] = false;
    EXPECT_EQ(Send(WM_KEYUP, code), 0);
    EXPECT_EQ(Table(), expected);
  }
}

TEST_F(WindowProcTest, KeyCodesBeyondTheTableWriteNothing) {
  KeyState[VK_SPACE] = true;
  KeyState[255] = true;
  std::vector<bool> before = Table();
  const WPARAM codes[] = {256, 257, 0x1FF, 0xFFFF, 0x10020, ~WPARAM(0)};
  for (WPARAM code : codes) {
    SCOPED_TRACE(code);
    Send(WM_KEYDOWN, code);
    Send(WM_KEYUP, code);
    EXPECT_EQ(Table(), before);
  }
}

TEST_F(WindowProcTest, SystemKeysNeverReachTheTable) {
  Send(WM_SYSKEYDOWN, VK_F10);
  Send(WM_SYSKEYDOWN, 'X', 0x20000000); // with Alt held
  Send(WM_SYSKEYDOWN, VK_MENU, 0x20000000);
  EXPECT_EQ(Table(), std::vector<bool>(256, false));
}

TEST_F(WindowProcTest, ActiveFollowsTheMinimizedStateAlone) {
  struct Case {
    WORD state;
    WORD minimized;
    bool active;
  };
  const Case cases[] = {{WA_INACTIVE, 1, false},     {WA_ACTIVE, 0, true},
                        {WA_ACTIVE, 1, false},       {WA_INACTIVE, 0, true},
                        {WA_CLICKACTIVE, 0, true},   {WA_CLICKACTIVE, 0xFFFF, false},
                        {WA_INACTIVE, 0x8000, false}};
  for (const Case &c : cases) {
    AppWindow.active = !c.active;
    WPARAM wParam = (static_cast<WPARAM>(c.minimized) << 16) | c.state;
    EXPECT_EQ(Send(WM_ACTIVATE, wParam), 0);
    EXPECT_EQ(AppWindow.active, c.active) << c.state << " " << c.minimized;
  }
}

TEST_F(WindowProcTest, CloseAsksToQuitWithCodeZero) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
  }
  EXPECT_EQ(Send(WM_CLOSE, 0), 0);
  bool quit = false;
  for (int i = 0; i < 100 && !quit && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i)
    quit = message.message == WM_QUIT;
  ASSERT_TRUE(quit);
  EXPECT_EQ(message.wParam, 0u);
  // One request per WM_CLOSE.
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    EXPECT_NE(message.message, static_cast<UINT>(WM_QUIT));
}

} // namespace
