// Window classes, windows and message boxes of the native platform on a real X display: the
// client area the styles give, visibility, the messages sent during creation, showing, focus and
// destruction, and one real message box answered with xdotool.
#include "tests/platform/platform_fixture.h"

#include <thread>

namespace {

using Windows = PlatformTest;

Delivered Sent(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return {window, message, wParam, lParam};
}

LPARAM Size(int width, int height) {
  return static_cast<LPARAM>(height) << 16 | width;
}

TEST_F(Windows, AClassNameRegistersOnceWhateverItsCase) {
  WNDCLASSA other = {};
  other.lpfnWndProc = RecordingProc;
  other.lpszClassName = "ZELUPLATFORMTEST";
  EXPECT_EQ(RegisterClassA(&other), 0) << "the fixture's class, in capitals";
  other.lpszClassName = "ZeluOther";
  ATOM atom = RegisterClassA(&other);
  EXPECT_NE(atom, 0);
  EXPECT_EQ(RegisterClassA(&other), 0);
  EXPECT_TRUE(UnregisterClassA("zeluother", nullptr));
  EXPECT_FALSE(UnregisterClassA("ZeluOther", nullptr)) << "already gone";
  EXPECT_NE(RegisterClassA(&other), 0) << "free again";
  EXPECT_TRUE(UnregisterClassA("ZeluOther", nullptr));
}

// The atom that RegisterClassA returns names the class as its string does; any other value is a
// string, wherever it lies (a 32-bit build's static data may lie below 0x10000).
TEST_F(Windows, AClassAtomNamesItsClass) {
  WNDCLASSA other = {};
  other.lpfnWndProc = RecordingProc;
  other.lpszClassName = "ZeluAtomClass";
  ATOM atom = RegisterClassA(&other);
  ASSERT_NE(atom, 0);
  HWND window = CreateWindowExA(0, MAKEINTATOM(atom), "atom", WS_POPUP, 0, 0, 40, 30, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(UnregisterClassA(MAKEINTATOM(atom), nullptr)) << "its window is alive";
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(UnregisterClassA(MAKEINTATOM(atom), nullptr));
  EXPECT_FALSE(UnregisterClassA("ZeluAtomClass", nullptr)) << "the atom named the same class";
}

TEST_F(Windows, AClassWithALiveWindowStaysRegistered) {
  HWND window = CreateClientWindow(WindowedStyle, WindowedExStyle, 200, 100);
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(UnregisterClassA(TestClass, GetModuleHandleA(nullptr)));
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_TRUE(UnregisterClassA(TestClass, GetModuleHandleA(nullptr)));
  EXPECT_EQ(CreateClientWindow(WindowedStyle, WindowedExStyle, 200, 100), nullptr)
      << "no class, no window";
}

TEST_F(Windows, SystemIconAndCursorComeWithoutAModule) {
  EXPECT_NE(LoadIconA(nullptr, IDI_WINLOGO), nullptr);
  EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
  EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), IDI_WINLOGO), nullptr)
      << "the program has no icon resources of its own";
}

struct ClientCase {
  const char *name;
  DWORD style;
  DWORD exStyle;
  int width;
  int height;
  bool framed; // whether the styles imply a frame around the client area
};

class ClientArea : public PlatformTest, public ::testing::WithParamInterface<ClientCase> {};

TEST_P(ClientArea, IsExactlyTheSizeAskedForAndHiddenUntilShown) {
  const ClientCase &c = GetParam();
  RECT rect = {0, 0, c.width, c.height};
  ASSERT_TRUE(AdjustWindowRectEx(&rect, c.style, FALSE, c.exStyle));
  bool grew = rect.left < 0 && rect.top < 0 && rect.right > c.width && rect.bottom > c.height;
  EXPECT_EQ(grew, c.framed) << rect.left << "," << rect.top << "," << rect.right << ","
                            << rect.bottom;

  std::string title = std::string("zelu client ") + c.name;
  HWND window = CreateClientWindow(c.style, c.exStyle, c.width, c.height, title.c_str());
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(TestWindowVisible(window));
  std::string id = FindXWindow(title);
  ASSERT_FALSE(id.empty());
  EXPECT_FALSE(XWindowGeometry(id).viewable) << "created hidden";

  EXPECT_FALSE(ShowWindow(window, SW_SHOW)) << "was hidden";
  EXPECT_TRUE(ShowWindow(window, SW_SHOW)) << "was visible";
  EXPECT_TRUE(TestWindowVisible(window));
  int width = 0, height = 0;
  TestClientSize(window, &width, &height);
  EXPECT_EQ(width, c.width);
  EXPECT_EQ(height, c.height);
  XGeometry geometry = XWindowGeometry(id);
  EXPECT_TRUE(geometry.viewable);
  EXPECT_EQ(geometry.width, c.width);
  EXPECT_EQ(geometry.height, c.height);
  EXPECT_FALSE(TestWindowFullscreen(window)) << "no display mode was changed";
  EXPECT_TRUE(DestroyWindow(window));
}

const ClientCase ClientCases[] = {
    {"overlapped", WindowedStyle, WindowedExStyle, 640, 480, true},
    {"popup", PopupStyle, PopupExStyle, 640, 480, false},
    {"caption", WS_CAPTION | WS_SYSMENU, 0, 320, 200, true},
    {"bordered", WS_POPUP | WS_BORDER, 0, 123, 77, true},
};
INSTANTIATE_TEST_SUITE_P(Styles, ClientArea, ::testing::ValuesIn(ClientCases),
                         [](const ::testing::TestParamInfo<ClientCase> &info) {
                           return std::string(info.param.name);
                         });

TEST_F(Windows, TheGamesSequenceSendsItsMessagesDuringTheCalls) {
  EXPECT_EQ(GetFocus(), nullptr);
  HWND window = CreateClientWindow(WindowedStyle, WindowedExStyle, 640, 480);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TakeDelivered(), std::vector<Delivered>{Sent(window, WM_CREATE)});
  ShowWindow(window, SW_SHOW);
  // Overlapped windows hear their size when first shown; the procedure keeps WM_ACTIVATE to
  // itself, so the focus has not moved yet.
  EXPECT_EQ(TakeDelivered(),
            (std::vector<Delivered>{Sent(window, WM_SHOWWINDOW, TRUE),
                                    Sent(window, WM_ACTIVATE, WA_ACTIVE),
                                    Sent(window, WM_SIZE, SIZE_RESTORED, Size(640, 480))}));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(SetForegroundWindow(window));
  EXPECT_TRUE(TakeDelivered().empty()) << "already in front";
  EXPECT_EQ(SetFocus(window), nullptr) << "no window had the focus";
  EXPECT_EQ(TakeDelivered(), std::vector<Delivered>{Sent(window, WM_SETFOCUS)});
  EXPECT_EQ(GetFocus(), window);

  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(TakeDelivered(),
            (std::vector<Delivered>{Sent(window, WM_ACTIVATE, WA_INACTIVE),
                                    Sent(window, WM_KILLFOCUS), Sent(window, WM_DESTROY)}));
  EXPECT_EQ(GetFocus(), nullptr);
  for (const MSG &msg : DrainMessages())
    EXPECT_NE(msg.hwnd, window) << "message 0x" << std::hex << msg.message;
}

TEST_F(Windows, APopupHearsItsSizeWhenCreated) {
  HWND window = CreateClientWindow(PopupStyle, PopupExStyle, 320, 240);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(TakeDelivered(),
            (std::vector<Delivered>{Sent(window, WM_CREATE),
                                    Sent(window, WM_SIZE, SIZE_RESTORED, Size(320, 240))}));
  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(TakeDelivered(), (std::vector<Delivered>{Sent(window, WM_SHOWWINDOW, TRUE),
                                                     Sent(window, WM_ACTIVATE, WA_ACTIVE)}));
  EXPECT_TRUE(DestroyWindow(window));
}

TEST_F(Windows, FocusMovesBetweenWindowsAndCanBeRemoved) {
  HWND first = CreateClientWindow(WindowedStyle, WindowedExStyle, 200, 100, "zelu first");
  HWND second = CreateClientWindow(WindowedStyle, WindowedExStyle, 200, 100, "zelu second");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  SetFocus(first);
  TakeDelivered();
  // Focusing the other window activates it first.
  EXPECT_EQ(SetFocus(second), first);
  EXPECT_EQ(TakeDelivered(),
            (std::vector<Delivered>{
                Sent(first, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(second)),
                Sent(second, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(first)),
                Sent(first, WM_KILLFOCUS, reinterpret_cast<WPARAM>(second)),
                Sent(second, WM_SETFOCUS, reinterpret_cast<WPARAM>(first))}));
  EXPECT_EQ(GetFocus(), second);
  EXPECT_EQ(SetFocus(nullptr), second);
  EXPECT_EQ(TakeDelivered(), std::vector<Delivered>{Sent(second, WM_KILLFOCUS)});
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_TRUE(DestroyWindow(first));
  EXPECT_TRUE(DestroyWindow(second));
}

LRESULT CALLBACK RefusingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RecordingProc(window, message, wParam, lParam);
  return message == WM_CREATE ? -1 : 0;
}

TEST_F(Windows, AProcedureThatRefusesWmCreateFailsTheCreation) {
  WNDCLASSA refusing = {};
  refusing.lpfnWndProc = RefusingProc;
  refusing.lpszClassName = "ZeluRefusing";
  ASSERT_NE(RegisterClassA(&refusing), 0);
  HWND window = CreateWindowExA(0, "ZeluRefusing", "refused", WS_POPUP, 0, 0, 50, 50, nullptr,
                                nullptr, nullptr, nullptr);
  EXPECT_EQ(window, nullptr);
  std::vector<Delivered> got = TakeDelivered();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].message, static_cast<UINT>(WM_CREATE));
  EXPECT_EQ(got[1].message, static_cast<UINT>(WM_DESTROY));
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
  EXPECT_TRUE(UnregisterClassA("ZeluRefusing", nullptr)) << "no window of it is left";
}

TEST_F(Windows, ADestroyedWindowsHandleIsRefusedEverywhere) {
  HWND window = CreateClientWindow(WindowedStyle, WindowedExStyle, 100, 100);
  ASSERT_TRUE(DestroyWindow(window));
  TakeDelivered();
  EXPECT_FALSE(TestWindowExists(window));
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_FALSE(ShowWindow(window, SW_SHOW));
  EXPECT_FALSE(SetForegroundWindow(window));
  EXPECT_EQ(SetFocus(window), nullptr);
  EXPECT_EQ(GetDC(window), nullptr);
  MSG msg = {window, WM_KEYDOWN, VK_SPACE, 0, 0, {0, 0}};
  EXPECT_EQ(DispatchMessageA(&msg), 0);
  EXPECT_TRUE(TakeDelivered().empty()) << "nothing reached the old procedure";
}

// A procedure that destroys its own window in the middle of a call that sends it messages.
LRESULT CALLBACK SelfDestroyingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RecordingProc(window, message, wParam, lParam);
  if (message == WM_SHOWWINDOW || message == WM_SETFOCUS)
    DestroyWindow(window);
  return 0;
}

TEST_F(Windows, AWindowDestroyedByItsOwnProcedureEndsTheCallCleanly) {
  WNDCLASSA selfDestroying = {};
  selfDestroying.lpfnWndProc = SelfDestroyingProc;
  selfDestroying.lpszClassName = "ZeluSelfDestroying";
  ASSERT_NE(RegisterClassA(&selfDestroying), 0);
  for (int step = 0; step < 2; ++step) {
    HWND window = CreateWindowExA(0, "ZeluSelfDestroying", "gone", WS_OVERLAPPEDWINDOW, 0, 0, 80,
                                  80, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    if (step == 0)
      ShowWindow(window, SW_SHOW); // destroyed by WM_SHOWWINDOW
    else
      SetFocus(window); // destroyed by WM_SETFOCUS
    EXPECT_FALSE(TestWindowExists(window));
    EXPECT_EQ(GetFocus(), nullptr);
    std::vector<Delivered> got = TakeDelivered();
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back().message, static_cast<UINT>(WM_DESTROY));
  }
  EXPECT_EQ(TestHandlesHeld(), heldAtStart);
  EXPECT_TRUE(UnregisterClassA("ZeluSelfDestroying", nullptr));
}

using MessageBoxes = PlatformTest;

TEST_F(MessageBoxes, ARealBoxShowsOverItsOwnerAndReturnsTheButtonPressed) {
  HWND owner = CreateClientWindow(WindowedStyle, WindowedExStyle, 320, 240, "zelu box owner");
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
    int focused = -1, pressed = -1;
    RunXTool("xdotool windowfocus --sync " + id, &focused);
    RunXTool("xdotool key --window " + id + " Return", &pressed);
    answered = focused == 0 && pressed == 0;
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
