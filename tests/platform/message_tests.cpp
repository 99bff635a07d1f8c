// The native message queue: posted messages and the quit request, input turned into window
// messages (from the test controls' queue and from real X events), TranslateMessage,
// DispatchMessageA and DefWindowProcA.
#include "tests/platform/platform_fixture.h"

namespace {

LPARAM Size(int width, int height) {
  return static_cast<LPARAM>(height) << 16 | width;
}

const LPARAM KeyDownParam = 0x00000001; // repeat 1
const LPARAM Repeat = 0x40000001;       // the key was down before
const LPARAM KeyUpParam = 0xC0000001;   // going up
const LPARAM AltDown = 0x20000001;      // with Alt
const WPARAM Minimized = 0x10000;       // WM_ACTIVATE's high word

// A message as PeekMessageA gave it; `toWindow` false for thread messages (WM_QUIT).
struct Taken {
  bool toWindow;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Taken &other) const {
    return toWindow == other.toWindow && message == other.message && wParam == other.wParam &&
           lParam == other.lParam;
  }
};

void PrintTo(const Taken &t, std::ostream *out) {
  *out << "{0x" << std::hex << t.message << ", 0x" << t.wParam << ", 0x" << t.lParam << std::dec
       << (t.toWindow ? "}" : ", thread}");
}

class Messages : public PlatformTest {
protected:
  void OpenWindow() {
    window = CreateClientWindow(WindowedStyle, WindowedExStyle, 640, 480, "zelu messages");
    ASSERT_NE(window, nullptr);
    ShowAndSettle(window);
  }
  void TearDown() override {
    if (TestWindowExists(window))
      DestroyWindow(window);
    PlatformTest::TearDown();
  }
  // Takes and dispatches everything waiting, as the game's loop does.
  std::vector<Taken> Take() {
    std::vector<Taken> taken;
    for (const MSG &msg : DrainMessages()) {
      EXPECT_TRUE(msg.hwnd == nullptr || msg.hwnd == window) << "a message for another window";
      taken.push_back({msg.hwnd != nullptr, msg.message, msg.wParam, msg.lParam});
    }
    return taken;
  }
  HWND window = nullptr;
};

struct InputCase {
  const char *name;
  void (*queue)();
  std::vector<Taken> expected;
};

class QueuedInput : public Messages, public ::testing::WithParamInterface<InputCase> {};

TEST_P(QueuedInput, BecomesTheWindowSystemsMessages) {
  OpenWindow();
  GetParam().queue();
  EXPECT_EQ(Take(), GetParam().expected);
}

const InputCase InputCases[] = {
    {"KeyDownRepeatUp",
     [] {
       TestQueueKey(VK_LEFT, true);
       TestQueueKey(VK_LEFT, true);
       TestQueueKey(VK_LEFT, false);
     },
     {{true, WM_KEYDOWN, VK_LEFT, KeyDownParam},
      {true, WM_KEYDOWN, VK_LEFT, Repeat},
      {true, WM_KEYUP, VK_LEFT, KeyUpParam}}},
    {"LetterMakesItsCharacterBeforeTheNextInput",
     [] {
       TestQueueKey('A', true);
       TestQueueKey('A', false);
     },
     {{true, WM_KEYDOWN, 'A', KeyDownParam},
      {true, WM_CHAR, 'a', KeyDownParam},
      {true, WM_KEYUP, 'A', KeyUpParam}}},
    {"ShiftedLetter",
     [] {
       TestQueueKey(VK_SHIFT, true);
       TestQueueKey('A', true);
     },
     {{true, WM_KEYDOWN, VK_SHIFT, KeyDownParam},
      {true, WM_KEYDOWN, 'A', KeyDownParam},
      {true, WM_CHAR, 'A', KeyDownParam}}},
    {"F10IsASystemKey",
     [] {
       TestQueueSysKey(VK_F10, true, false);
       TestQueueSysKey(VK_F10, false, false);
     },
     {{true, WM_SYSKEYDOWN, VK_F10, KeyDownParam}, {true, WM_SYSKEYUP, VK_F10, KeyUpParam}}},
    {"AltLetterMakesASystemCharacter",
     [] { TestQueueSysKey('X', true, true); },
     {{true, WM_SYSKEYDOWN, 'X', AltDown}, {true, WM_SYSCHAR, 'x', AltDown}}},
    {"AltF4Closes",
     [] { TestQueueSysKey(VK_F4, true, true); },
     {{true, WM_SYSKEYDOWN, VK_F4, AltDown}, {false, WM_QUIT, 0, 0}}},
    {"F4WithoutAltDoesNotClose",
     [] { TestQueueSysKey(VK_F4, true, false); },
     {{true, WM_SYSKEYDOWN, VK_F4, KeyDownParam}}},
    {"CloseButton",
     [] { TestQueueClose(); },
     {{true, WM_SYSCOMMAND, SC_CLOSE, 0}, {false, WM_QUIT, 0, 0}}},
    {"Minimize",
     [] { TestQueueMinimize(); },
     {{true, WM_ACTIVATE, Minimized | WA_INACTIVE, 0}, {true, WM_SIZE, SIZE_MINIMIZED, 0}}},
    {"MinimizeAndRestore",
     [] {
       TestQueueMinimize();
       TestQueueRestore();
     },
     {{true, WM_ACTIVATE, Minimized | WA_INACTIVE, 0},
      {true, WM_SIZE, SIZE_MINIMIZED, 0},
      {true, WM_ACTIVATE, WA_ACTIVE, 0},
      {true, WM_SIZE, SIZE_RESTORED, Size(640, 480)}}},
    {"MinimizedWindowGetsNoKeys",
     [] {
       TestQueueMinimize();
       TestQueueKey(VK_UP, true);
     },
     {{true, WM_ACTIVATE, Minimized | WA_INACTIVE, 0}, {true, WM_SIZE, SIZE_MINIMIZED, 0}}},
    {"FocusLoss", [] { TestQueueFocusLoss(); }, {{true, WM_ACTIVATE, WA_INACTIVE, 0}}},
    {"KeyReleasedWithoutFocusIsLost",
     [] {
       TestQueueFocusLoss();
       TestQueueKey(VK_SPACE, false);
       TestQueueRestore();
       TestQueueKey(VK_SPACE, true);
     },
     {{true, WM_ACTIVATE, WA_INACTIVE, 0},
      {true, WM_ACTIVATE, WA_ACTIVE, 0},
      {true, WM_KEYDOWN, VK_SPACE, KeyDownParam},
      {true, WM_CHAR, ' ', KeyDownParam}}},
    {"Resize", [] { TestQueueResize(800, 600); }, {{true, WM_SIZE, SIZE_RESTORED, Size(800, 600)}}},
};
INSTANTIATE_TEST_SUITE_P(Input, QueuedInput, ::testing::ValuesIn(InputCases),
                         [](const ::testing::TestParamInfo<InputCase> &info) {
                           return std::string(info.param.name);
                         });

TEST_F(Messages, CloseAndAltF4ReachTheProcedureAsWmClose) {
  OpenWindow();
  auto messagesOf = [](const std::vector<Delivered> &delivered) {
    std::vector<UINT> messages;
    for (const Delivered &d : delivered)
      messages.push_back(d.message);
    return messages;
  };
  TestQueueClose();
  Take();
  EXPECT_EQ(messagesOf(TakeDelivered()), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE}));
  TestQueueSysKey(VK_F4, true, true);
  Take();
  EXPECT_EQ(messagesOf(TakeDelivered()),
            (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCOMMAND, WM_CLOSE}));
  EXPECT_TRUE(TestWindowExists(window)) << "the procedure, not DefWindowProcA, had WM_CLOSE";
}

TEST_F(Messages, FocusLossAndMinimiseTakeTheFocusAndRestoreGivesItBack) {
  OpenWindow();
  ASSERT_EQ(GetFocus(), window);
  TestQueueFocusLoss();
  Take();
  EXPECT_EQ(GetFocus(), nullptr);
  TestQueueRestore();
  Take();
  EXPECT_EQ(GetFocus(), window);
  TestQueueMinimize();
  Take();
  EXPECT_EQ(GetFocus(), nullptr);
  TestQueueRestore();
  Take();
  EXPECT_EQ(GetFocus(), window);
}

TEST_F(Messages, QueuedResizeChangesTheRealClientArea) {
  OpenWindow();
  TestQueueResize(320, 200);
  Take();
  int width = 0, height = 0;
  TestClientSize(window, &width, &height);
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 200);
  // The X server's own report of the new size makes no second WM_SIZE.
  TakeDelivered();
  PumpUntil([] { return false; }, 200);
  for (const Delivered &d : TakeDelivered())
    EXPECT_NE(d.message, static_cast<UINT>(WM_SIZE));
}

TEST_F(Messages, InputQueuedBeforeAnyWindowWaitsForOne) {
  TestQueueKey(VK_ESCAPE, true);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  window = CreateClientWindow(WindowedStyle, WindowedExStyle, 640, 480);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(window);
  std::vector<Taken> taken = Take();
  ASSERT_FALSE(taken.empty());
  EXPECT_EQ(taken[0], (Taken{true, WM_KEYDOWN, VK_ESCAPE, KeyDownParam}));
}

TEST_F(Messages, QuitCarriesItsCodeAndComesOnce) {
  PostQuitMessage(7);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "left by PM_NOREMOVE";
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, PostedMessagesFirstThenTheQuitThenInput) {
  OpenWindow();
  TestQueueKey(VK_LEFT, true);
  PostQuitMessage(3);
  MSG keyB = {window, WM_KEYDOWN, 'B', KeyDownParam, 0, {0, 0}};
  EXPECT_TRUE(TranslateMessage(&keyB)); // posts WM_CHAR 'b'
  EXPECT_EQ(Take(), (std::vector<Taken>{{true, WM_CHAR, 'b', KeyDownParam},
                                        {false, WM_QUIT, 3, 0},
                                        {true, WM_KEYDOWN, VK_LEFT, KeyDownParam}}));
}

TEST_F(Messages, FiltersLeaveOtherMessagesWaiting) {
  OpenWindow();
  TestQueueKey(VK_UP, true);
  TestQueueKey(VK_UP, false);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(0x4444), 0, 0, PM_REMOVE))
      << "no messages for a window that does not exist";
  ASSERT_TRUE(PeekMessageA(&msg, window, WM_KEYUP, WM_KEYUP, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYUP));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_UP));
}

// The display mode's switch destroys the game's window and makes another: keys and a close
// request taken in for the old one go to the new one, the rest of its input goes with it.
TEST_F(Messages, KeysAndCloseForADestroyedWindowGoToTheWindowThatHasTheFocusNext) {
  OpenWindow();
  TestQueueKey(VK_LEFT, false);
  TestQueueMinimize();
  TestQueueClose();
  MSG msg;
  // A look for a message that never comes takes in all the input, and leaves it.
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_CHAR, WM_CHAR, PM_NOREMOVE));
  DestroyWindow(window);
  window = CreateClientWindow(WindowedStyle, WindowedExStyle, 640, 480);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(window);
  TakeDelivered();
  std::vector<Taken> taken = Take();
  auto has = [&](UINT message, WPARAM wParam) {
    for (const Taken &t : taken)
      if (t.toWindow && t.message == message && t.wParam == wParam)
        return true;
    return false;
  };
  EXPECT_TRUE(has(WM_KEYUP, VK_LEFT));
  EXPECT_TRUE(has(WM_SYSCOMMAND, SC_CLOSE));
  EXPECT_FALSE(has(WM_SIZE, SIZE_MINIMIZED)) << "the old window's minimising is not the new one's";
  EXPECT_TRUE(TestWindowExists(window)) << "the procedure had WM_CLOSE";
}

struct CharacterCase {
  int virtualKey;
  int modifier;  // 0, VK_SHIFT or VK_CONTROL, held while the key goes down
  int character; // 0: none
};

TEST_F(Messages, TranslateMessagePostsTheKeysCharacter) {
  OpenWindow();
  const CharacterCase cases[] = {
      {'Q', 0, 'q'},      {'Q', VK_SHIFT, 'Q'}, {'C', VK_CONTROL, 3}, {'7', 0, '7'},
      {VK_SPACE, 0, ' '}, {VK_RETURN, 0, '\r'}, {VK_ESCAPE, 0, 0x1B}, {VK_BACK, 0, '\b'},
      {VK_LEFT, 0, 0},    {VK_F1, 0, 0},        {VK_SHIFT, 0, 0},
  };
  for (const CharacterCase &c : cases) {
    if (c.modifier != 0)
      TestQueueKey(c.modifier, true);
    TestQueueKey(c.virtualKey, true);
    TestQueueKey(c.virtualKey, false);
    if (c.modifier != 0)
      TestQueueKey(c.modifier, false);
    std::vector<Taken> taken = Take();
    std::vector<Taken> characters;
    for (const Taken &t : taken) {
      if (t.message == WM_CHAR)
        characters.push_back(t);
    }
    std::vector<Taken> expected;
    if (c.character != 0)
      expected.push_back({true, WM_CHAR, static_cast<WPARAM>(c.character), KeyDownParam});
    EXPECT_EQ(characters, expected)
        << "key 0x" << std::hex << c.virtualKey << " with 0x" << c.modifier;
  }
  MSG size = {window, WM_SIZE, SIZE_RESTORED, Size(1, 1), 0, {0, 0}};
  EXPECT_FALSE(TranslateMessage(&size));
  EXPECT_TRUE(Take().empty());
}

LRESULT CALLBACK AnsweringProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RecordingProc(window, message, wParam, lParam);
  return message == WM_KEYDOWN ? 42 : 0;
}

TEST_F(Messages, DispatchCallsTheWindowsProcedureAndReturnsItsAnswer) {
  WNDCLASSA answering = {};
  answering.lpfnWndProc = AnsweringProc;
  answering.lpszClassName = "ZeluAnswering";
  ASSERT_NE(RegisterClassA(&answering), 0);
  HWND other = CreateWindowExA(0, "ZeluAnswering", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  TakeDelivered();
  MSG key = {other, WM_KEYDOWN, 'K', KeyDownParam, 0, {0, 0}};
  EXPECT_EQ(DispatchMessageA(&key), 42);
  EXPECT_EQ(TakeDelivered(), (std::vector<Delivered>{{other, WM_KEYDOWN, 'K', KeyDownParam}}));
  MSG quit = {nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
  EXPECT_EQ(DispatchMessageA(&quit), 0);
  EXPECT_TRUE(TakeDelivered().empty()) << "a thread message has no procedure";
  EXPECT_TRUE(DestroyWindow(other));
  EXPECT_TRUE(UnregisterClassA("ZeluAnswering", nullptr));
}

TEST_F(Messages, DefWindowProcFocusesOnActivationDestroysOnCloseAndIgnoresTheRest) {
  OpenWindow();
  EXPECT_EQ(DefWindowProcA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
  EXPECT_EQ(DefWindowProcA(window, WM_KEYDOWN, VK_F4, AltDown), 0) << "not a system key";
  EXPECT_EQ(DefWindowProcA(window, WM_SYSKEYDOWN, VK_F4, KeyDownParam), 0) << "no Alt";
  EXPECT_TRUE(TakeDelivered().empty());
  EXPECT_TRUE(TestWindowExists(window));
  // The focus follows an activation that reaches DefWindowProcA, unless it is minimised.
  SetFocus(nullptr);
  EXPECT_EQ(DefWindowProcA(window, WM_ACTIVATE, 0x10000 | WA_ACTIVE, 0), 0);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(DefWindowProcA(window, WM_ACTIVATE, WA_CLICKACTIVE, 0), 0);
  EXPECT_EQ(GetFocus(), window);
  EXPECT_EQ(DefWindowProcA(window, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(TestWindowExists(window)) << "Win32's default for WM_CLOSE destroys the window";
}

void PostQuitFive(void *) {
  PostQuitMessage(5);
}

void ArmNext(void *context) {
  TestAtEmptyQueue(1, PostQuitFive, context);
}

// Only a look that could take a message lets a frame run: one that leaves the messages where they
// are counts no empty queue.
TEST_F(Messages, ActionsRunAtTheNthEmptyQueueAndTheirInputComesNext) {
  MSG msg;
  TestAtEmptyQueue(3, PostQuitFive, nullptr);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the action runs, then FALSE";
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 5u);

  // An action may arm the next one.
  TestAtEmptyQueue(1, ArmNext, nullptr);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "each action ran once";
}

TEST_F(Messages, TestResetEmptiesTheQueue) {
  OpenWindow();
  PostQuitMessage(1);
  TestQueueKey(VK_UP, true);
  TestReset();
  EXPECT_TRUE(Take().empty());
}

} // namespace

namespace {

// The X root window's id, from xwininfo's "Window id: 0x... (the root window)".
std::string RootWindow() {
  std::string info = RunXTool("xwininfo -root");
  size_t at = info.find("Window id: ");
  if (at == std::string::npos)
    return std::string();
  return info.substr(at + 11, info.find(' ', at + 11) - (at + 11));
}

// Real X input, sent with xdotool to the real window.
class RealInput : public Messages {
protected:
  void SetUp() override {
    Messages::SetUp();
    OpenWindow();
    xid = FindXWindow("zelu messages");
    ASSERT_FALSE(xid.empty());
  }
  // Runs xdotool, then takes messages until `message` has reached the procedure.
  std::vector<Delivered> SendUntil(const std::string &arguments, UINT message) {
    std::vector<Delivered> got;
    int status = -1;
    std::string output = RunXTool("xdotool " + arguments, &status);
    EXPECT_EQ(status, 0) << arguments << ": " << output;
    PumpUntil([&] {
      for (const Delivered &d : TakeDelivered())
        got.push_back(d);
      for (const Delivered &d : got) {
        if (d.message == message)
          return true;
      }
      return false;
    });
    return got;
  }
  std::string xid;
};

TEST_F(RealInput, KeysBecomeKeyMessages) {
  std::vector<Delivered> got = SendUntil("key --delay 0 Left", WM_KEYUP);
  EXPECT_EQ(got, (std::vector<Delivered>{{window, WM_KEYDOWN, VK_LEFT, KeyDownParam},
                                         {window, WM_KEYUP, VK_LEFT, KeyUpParam}}));
}

TEST_F(RealInput, AltF4BecomesWmClose) {
  std::vector<Delivered> got = SendUntil("key --delay 0 alt+F4", WM_CLOSE);
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(got[0], (Delivered{window, WM_SYSKEYDOWN, VK_MENU, AltDown}));
  EXPECT_EQ(got[1], (Delivered{window, WM_SYSKEYDOWN, VK_F4, AltDown}));
  EXPECT_EQ(got[2], (Delivered{window, WM_SYSCOMMAND, SC_CLOSE, 0}));
  EXPECT_EQ(got[3], (Delivered{window, WM_CLOSE, 0, 0}));
}

TEST_F(RealInput, AResizeBecomesWmSize) {
  std::vector<Delivered> got = SendUntil("windowsize --sync " + xid + " 500 400", WM_SIZE);
  EXPECT_EQ(got, (std::vector<Delivered>{{window, WM_SIZE, SIZE_RESTORED, Size(500, 400)}}));
  int width = 0, height = 0;
  TestClientSize(window, &width, &height);
  EXPECT_EQ(width, 500);
  EXPECT_EQ(height, 400);
}

TEST_F(RealInput, FocusLossIsAnInactiveActivation) {
  std::string root = RootWindow();
  ASSERT_FALSE(root.empty());
  std::vector<Delivered> got = SendUntil("windowfocus " + root, WM_ACTIVATE);
  EXPECT_EQ(got, (std::vector<Delivered>{{window, WM_ACTIVATE, WA_INACTIVE, 0}}));
  EXPECT_EQ(GetFocus(), nullptr);
  got = SendUntil("windowfocus " + xid, WM_ACTIVATE);
  EXPECT_EQ(got, (std::vector<Delivered>{{window, WM_ACTIVATE, WA_ACTIVE, 0}}));
  EXPECT_EQ(GetFocus(), window);
}

} // namespace
