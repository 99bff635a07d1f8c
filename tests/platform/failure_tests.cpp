// The failure controls on the window, display and wgl calls: an armed call fails the Win32 way,
// obtains or releases nothing, and the game's tear-down (with one retry of what it could not
// release) still leaves nothing held.
#include "tests/platform/platform_fixture.h"

#include <map>

namespace {

// The game's sequence, from the class to the first frame and back, with every call's outcome
// recorded under "Name#n" (the nth call of that function in the sequence).
class GameSequence {
public:
  void Open() {
    Call("LoadIconA", [] { return LoadIconA(nullptr, IDI_WINLOGO) != nullptr; }) &&
        Call("LoadCursorA", [] { return LoadCursorA(nullptr, IDC_ARROW) != nullptr; }) &&
        Call("RegisterClassA", [this] { return Register(); }) &&
        Call("ChangeDisplaySettingsA", [] { return ChangeToDesktopSize(); }) &&
        Call("AdjustWindowRectEx", [this] { return Adjust(); }) &&
        Call("CreateWindowExA", [this] { return Create(); }) &&
        Call("GetDC", [this] { return (dc = GetDC(window)) != nullptr; }) &&
        Call("ChoosePixelFormat",
             [this] { return (format = ChoosePixelFormat(dc, &GamePixelFormat())) != 0; }) &&
        Call("SetPixelFormat",
             [this] { return SetPixelFormat(dc, format, &GamePixelFormat()) != FALSE; }) &&
        Call("wglCreateContext", [this] { return (context = wglCreateContext(dc)) != nullptr; }) &&
        Call("wglMakeCurrent", [this] { return wglMakeCurrent(dc, context) != FALSE; }) &&
        Call("ShowWindow", [this] { return ShowWindow(window, SW_SHOW) == FALSE; }) &&
        Call("SetForegroundWindow", [this] { return SetForegroundWindow(window) != FALSE; }) &&
        Call("SetFocus", [this] { return SetFocus(window) == nullptr && GetFocus() == window; }) &&
        Call("SwapBuffers", [this] { return SwapBuffers(dc) != FALSE; });
  }

  // As the game's CloseGameWindow: every release is tried, and a handle is forgotten only once
  // it is released, so that a second close can try again.
  void Close() {
    Call("ChangeDisplaySettingsA", [] { return ChangeDisplaySettingsA(nullptr, 0) == 0; });
    if (context != nullptr) {
      Call("wglMakeCurrent", [] { return wglMakeCurrent(nullptr, nullptr) != FALSE; });
      if (Call("wglDeleteContext", [this] { return wglDeleteContext(context) != FALSE; }))
        context = nullptr;
    }
    if (dc != nullptr && Call("ReleaseDC", [this] { return ReleaseDC(window, dc) == 1; }))
      dc = nullptr;
    if (window != nullptr && Call("DestroyWindow", [this] { return DestroyWindow(window); }))
      window = nullptr;
    if (registered &&
        Call("UnregisterClassA", [] { return UnregisterClassA(TestClass, nullptr) != FALSE; }))
      registered = false;
  }

  struct Outcome {
    bool failed;
    int heldChange; // objects obtained (+) or released (-) by the call
  };
  std::map<std::string, Outcome> outcomes;
  std::vector<std::string> order;

private:
  template <class F> bool Call(const char *function, F call) {
    std::string label = std::string(function) + "#" + std::to_string(++calls[function]);
    int held = TestHandlesHeld();
    bool ok = call();
    outcomes[label] = {!ok, TestHandlesHeld() - held};
    order.push_back(label);
    return ok;
  }
  bool Register() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.lpszClassName = TestClass;
    registered = RegisterClassA(&windowClass) != 0;
    return registered;
  }
  static bool ChangeToDesktopSize() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_BITSPERPEL; // no size: the desktop's, which every display offers
    mode.dmBitsPerPel = 16;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
  }
  bool Adjust() {
    rect = {0, 0, 320, 240};
    bool ok = AdjustWindowRectEx(&rect, WindowedStyle, FALSE, WindowedExStyle) != FALSE;
    if (!ok) {
      EXPECT_EQ(rect.right, 320) << "a failed AdjustWindowRectEx leaves the rectangle";
    }
    return ok;
  }
  bool Create() {
    window = CreateWindowExA(WindowedExStyle, TestClass, "zelu failures", WindowedStyle, 0, 0,
                             rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                             nullptr, nullptr);
    return window != nullptr;
  }

  std::map<std::string, int> calls;
  bool registered = false;
  RECT rect = {};
  HWND window = nullptr;
  HDC dc = nullptr;
  int format = 0;
  HGLRC context = nullptr;
};

struct FailureCase {
  const char *function;
  int nth;               // which call of the sequence fails: 2 of wglMakeCurrent is the release
  const char *alsoFails; // a later call that fails because of it, as on Win32; or null
};

class ArmedFailure : public ::testing::TestWithParam<FailureCase> {
protected:
  void SetUp() override {
    RequireDisplay();
    TestReset();
  }
};

TEST_P(ArmedFailure, FailsTheWin32WayAndLeavesNothingBehind) {
  const FailureCase &c = GetParam();
  int heldAtStart = TestHandlesHeld();
  TestFailCall(c.function, c.nth);
  GameSequence game;
  game.Open();
  game.Close();
  std::string armed = std::string(c.function) + "#" + std::to_string(c.nth);
  ASSERT_EQ(game.outcomes.count(armed), 1u) << armed << " was never called";
  EXPECT_TRUE(game.outcomes[armed].failed) << armed;
  EXPECT_EQ(game.outcomes[armed].heldChange, 0) << "a failed call obtains and releases nothing";
  for (const std::string &label : game.order) {
    bool expected = label == armed || (c.alsoFails != nullptr && label == c.alsoFails);
    EXPECT_EQ(game.outcomes[label].failed, expected) << label;
  }
  // What a release could not take down, a second close does.
  game.Close();
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
  EXPECT_FALSE(TestDisplayModeChanged());
  EXPECT_EQ(GetFocus(), nullptr);
}

const FailureCase FailureCases[] = {
    {"LoadIconA", 1, nullptr},
    {"LoadCursorA", 1, nullptr},
    {"RegisterClassA", 1, nullptr},
    {"ChangeDisplaySettingsA", 1, nullptr},
    {"AdjustWindowRectEx", 1, nullptr},
    {"CreateWindowExA", 1, nullptr},
    {"GetDC", 1, nullptr},
    {"ChoosePixelFormat", 1, nullptr},
    {"SetPixelFormat", 1, nullptr},
    {"wglCreateContext", 1, nullptr},
    {"wglMakeCurrent", 1, nullptr},
    {"SetForegroundWindow", 1, nullptr},
    {"SetFocus", 1, nullptr},
    {"SwapBuffers", 1, nullptr},
    {"wglMakeCurrent", 2, nullptr},
    {"wglDeleteContext", 1, nullptr},
    {"ReleaseDC", 1, nullptr},
    // A class cannot go while a window of it is left.
    {"DestroyWindow", 1, "UnregisterClassA#1"},
    {"UnregisterClassA", 1, nullptr},
};
INSTANTIATE_TEST_SUITE_P(Calls, ArmedFailure, ::testing::ValuesIn(FailureCases),
                         [](const ::testing::TestParamInfo<FailureCase> &info) {
                           return std::string(info.param.function) + "_" +
                                  std::to_string(info.param.nth);
                         });

TEST(FailureCount, OnlyTheNthCallFailsAndEachCallIsCounted) {
  RequireDisplay();
  TestReset();
  TestFailCall("AdjustWindowRectEx", 2);
  RECT rect = {0, 0, 10, 10};
  EXPECT_TRUE(AdjustWindowRectEx(&rect, WS_POPUP, FALSE, 0));
  EXPECT_FALSE(AdjustWindowRectEx(&rect, WS_POPUP, FALSE, 0));
  EXPECT_TRUE(AdjustWindowRectEx(&rect, WS_POPUP, FALSE, 0));
  EXPECT_EQ(TestCallCount("AdjustWindowRectEx"), 3);
  TestReset();
  EXPECT_EQ(TestCallCount("AdjustWindowRectEx"), 0);
}

} // namespace
