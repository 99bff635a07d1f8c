// MessageBoxA on the native platform: one real box on the X display, found and answered with
// xdotool, and scripted boxes recorded by the test controls.
#include "tests/platform/platform_fixture.h"

#include <cstdlib>
#include <thread>

namespace {

using MessageBoxes = PlatformTest;

TEST_F(MessageBoxes, ARealBoxShowsOverItsOwnerAndReturnsTheButtonPressed) {
  HWND owner = CreateClientWindow(kWindowedStyle, kWindowedExStyle, 320, 240, "zelu box owner");
  ASSERT_NE(owner, nullptr);
  ShowAndSettle(owner);
  const std::string caption = "Zelu platform box";
  // The box is modal: a second thread finds it by its caption and presses Return (Yes, the
  // default button).
  bool answered = false;
  std::thread user([&] {
    std::string id = FindXWindow(caption);
    if (id.empty())
      return;
    answered =
        system(("xdotool windowfocus --sync " + id + " && xdotool key --window " + id + " Return")
                   .c_str()) == 0;
  });
  int answer =
      MessageBoxA(owner, "Use windowed mode?", caption.c_str(), MB_YESNO | MB_ICONEXCLAMATION);
  user.join();
  EXPECT_TRUE(answered) << "no window named \"" << caption << "\" appeared";
  EXPECT_EQ(answer, IDYES);
  ASSERT_EQ(TestMessageBoxes().size(), 1u);
  const TestMessageBox &box = TestMessageBoxes()[0];
  EXPECT_EQ(box.owner, owner);
  EXPECT_EQ(box.text, "Use windowed mode?");
  EXPECT_EQ(box.caption, caption);
  EXPECT_EQ(box.flags, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
  EXPECT_TRUE(DestroyWindow(owner));
}

TEST_F(MessageBoxes, ScriptedBoxesAnswerInOrderThenByTheirButtons) {
  TestScriptMessageBoxes({IDNO});
  EXPECT_EQ(MessageBoxA(nullptr, "first", "ERROR", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "second", "ERROR", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
  EXPECT_EQ(MessageBoxA(nullptr, "third", "ERROR", MB_OK | MB_ICONERROR), IDOK);
  ASSERT_EQ(TestMessageBoxes().size(), 3u);
  EXPECT_EQ(TestMessageBoxes()[2].text, "third");
  EXPECT_EQ(TestMessageBoxes()[2].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

} // namespace
