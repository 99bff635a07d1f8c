// The test controls that need no particular platform: armed failures, scripted message boxes,
// recorded sounds, the virtual clock, queued input and frame capture. Linked into test programs
// only, with the platform's window queries (its test_queries.cpp); before main it installs the
// hook table through which the platform calls consult it (test_hooks.h).
#include "platform/testing.h"
#include "platform/win32_core/test_hooks.h"
#include "platform/win32_core/winuser_state.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <type_traits>
#include <vector>

namespace {

const int CallCount = static_cast<int>(PlatformCall::Count);

const char *const CallNames[] = {
#define ZELU_PLATFORM_CALL_NAME(name) #name,
    ZELU_PLATFORM_CALLS(ZELU_PLATFORM_CALL_NAME)
#undef ZELU_PLATFORM_CALL_NAME
};
static_assert(sizeof CallNames / sizeof CallNames[0] == CallCount, "one name per call");

// A name that no platform call carries is a mistake in the test: it would arm nothing.
int CallIndex(const char *function) {
  for (int i = 0; i < CallCount; ++i)
    if (std::strcmp(CallNames[i], function) == 0)
      return i;
  std::fprintf(stderr, "platform/testing.h: no platform call named \"%s\" can fail\n", function);
  std::abort();
}

// One queued test input (TestQueueKey ... TestQueueClose in platform/testing.h).
struct TestInput {
  enum Kind { Key, SysKey, Minimize, Restore, FocusLoss, Resize, Close } kind;
  int virtualKey; // Key, SysKey
  bool down;      // Key, SysKey
  bool alt;       // SysKey
  int width;      // Resize
  int height;     // Resize
};

struct ArmedFailure {
  int call;   // a PlatformCall
  int atCall; // the call count at which the call fails
};

struct EmptyQueueAction {
  long atEmptyQueue; // the count of empty queues at which it runs
  void (*action)(void *);
  void *context;
};

struct TestControls {
  int callCounts[CallCount] = {};
  std::vector<ArmedFailure> failures;
  bool boxesScripted = false;
  std::vector<int> boxAnswers;
  size_t nextBoxAnswer = 0;
  std::vector<TestMessageBox> boxes;
  bool soundsRecorded = false;
  std::vector<TestSound> sounds;
  bool clockVirtual = false;
  uint64_t clockMicros = 0;
  uint64_t clockStepMicros = 0;
  DWORD timeGetTimeOffset = 0;
  int64_t counterFrequency = 10000000;
  bool noPerformanceCounter = false;
  uint64_t waitLatenessMicros = 0;
  uint64_t waitedMicros = 0;
  bool noHighResolutionTimer = false;
  std::deque<TestInput> input;
  long emptyQueues = 0;
  std::vector<EmptyQueueAction> emptyQueueActions;
  bool captureFrames = false;
  std::vector<uint8_t> lastFrame;
  int lastFrameWidth = 0;
  int lastFrameHeight = 0;
  float desktopScale = 0; // 0: the desktop's own
  int framesPresented = 0;
  void (*swapAction)(int, void *) = nullptr;
  void *swapContext = nullptr;
  void (*presentedAction)(int, void *) = nullptr;
  void *presentedContext = nullptr;
};

// Not part of the controls: objects stay held across a reset.
int heldObjects = 0;

TestControls &Controls() {
  static TestControls controls;
  return controls;
}

} // namespace

void TestReset() {
  Controls() = TestControls();
  ClearMessageQueue();
  ForgetUnusedClasses();
  RestoreDisplayAndCursor();
  DetachNativeTestGamepads();
}

void TestFailCall(const char *function, int nth) {
  TestControls &c = Controls();
  int call = CallIndex(function);
  c.failures.push_back({call, c.callCounts[call] + nth});
}

int TestCallCount(const char *function) {
  return Controls().callCounts[CallIndex(function)];
}

void TestScriptMessageBoxes(const std::vector<int> &answers) {
  TestControls &c = Controls();
  c.boxesScripted = true;
  c.boxAnswers = answers;
  c.nextBoxAnswer = 0;
}

const std::vector<TestMessageBox> &TestMessageBoxes() {
  return Controls().boxes;
}

void TestRecordSounds() {
  Controls().soundsRecorded = true;
}

const std::vector<TestSound> &TestSounds() {
  return Controls().sounds;
}

bool TestSoundPlaying() {
  return NativeSoundPlaying();
}

void TestUseVirtualClock(uint64_t startMicros, uint64_t stepMicros) {
  TestControls &c = Controls();
  c.clockVirtual = true;
  c.clockMicros = startMicros;
  c.clockStepMicros = stepMicros;
}

void TestSetClockMicros(uint64_t micros) {
  Controls().clockMicros = micros;
}

void TestAdvanceClockMicros(uint64_t micros) {
  Controls().clockMicros += micros;
}

uint64_t TestClockMicros() {
  return Controls().clockMicros;
}

void TestSetTimeGetTime(DWORD millis) {
  TestControls &c = Controls();
  c.timeGetTimeOffset = millis - static_cast<DWORD>(c.clockMicros / 1000);
}

void TestSetCounterFrequency(int64_t countsPerSecond) {
  Controls().counterFrequency = countsPerSecond;
}

void TestSetNoPerformanceCounter(bool absent) {
  Controls().noPerformanceCounter = absent;
}

void TestSetWaitLatenessMicros(uint64_t micros) {
  Controls().waitLatenessMicros = micros;
}

uint64_t TestWaitedMicros() {
  return Controls().waitedMicros;
}

void TestSetNoHighResolutionTimer(bool absent) {
  Controls().noHighResolutionTimer = absent;
}

int TestHandlesHeld() {
  return heldObjects;
}

void TestQueueKey(int virtualKey, bool down) {
  Controls().input.push_back({TestInput::Key, virtualKey, down, false, 0, 0});
}

void TestQueueSysKey(int virtualKey, bool down, bool alt) {
  Controls().input.push_back({TestInput::SysKey, virtualKey, down, alt, 0, 0});
}

void TestQueueMinimize() {
  Controls().input.push_back({TestInput::Minimize, 0, false, false, 0, 0});
}

void TestQueueRestore() {
  Controls().input.push_back({TestInput::Restore, 0, false, false, 0, 0});
}

void TestQueueFocusLoss() {
  Controls().input.push_back({TestInput::FocusLoss, 0, false, false, 0, 0});
}

void TestQueueResize(int width, int height) {
  Controls().input.push_back({TestInput::Resize, 0, false, false, width, height});
}

void TestQueueClose() {
  Controls().input.push_back({TestInput::Close, 0, false, false, 0, 0});
}

void TestAtEmptyQueue(int nth, void (*action)(void *), void *context) {
  TestControls &c = Controls();
  c.emptyQueueActions.push_back({c.emptyQueues + nth, action, context});
}

void TestCaptureFrames(bool on) {
  Controls().captureFrames = on;
}

int TestFramesPresented() {
  return Controls().framesPresented;
}

std::vector<uint8_t> TestLastFrame(int *width, int *height) {
  *width = Controls().lastFrameWidth;
  *height = Controls().lastFrameHeight;
  return Controls().lastFrame;
}

void TestOnSwap(void (*action)(int frame, void *), void *context) {
  Controls().swapAction = action;
  Controls().swapContext = context;
}

void TestOnPresented(void (*action)(int frame, void *), void *context) {
  Controls().presentedAction = action;
  Controls().presentedContext = context;
}

bool TestWindowExists(HWND window) {
  return FindWindowRecord(window) != nullptr;
}

void TestClientSize(HWND window, int *width, int *height) {
  TestScreenSize(window, width, height);
  if (WindowRecord *record = FindWindowRecord(window)) {
    *width = LogicalPixels(*record, *width);
    *height = LogicalPixels(*record, *height);
  }
}

void TestSetDesktopScale(float scale) {
  Controls().desktopScale = scale;
}

bool TestCursorVisible() {
  return CursorDisplayCount() >= 0;
}

bool TestDisplayModeChanged() {
  return DisplayModeChanged();
}

namespace {

bool CallFails(PlatformCall platformCall) {
  TestControls &c = Controls();
  int call = static_cast<int>(platformCall);
  int count = ++c.callCounts[call];
  for (size_t i = 0; i < c.failures.size(); ++i) {
    if (c.failures[i].atCall == count && c.failures[i].call == call) {
      c.failures.erase(c.failures.begin() + static_cast<long>(i));
      return true;
    }
  }
  return false;
}

bool PlaySoundHook(LPCSTR name, DWORD flags) {
  TestControls &c = Controls();
  c.sounds.push_back({name ? name : "", flags});
  return c.soundsRecorded;
}

bool VirtualMicros(uint64_t *micros) {
  TestControls &c = Controls();
  if (!c.clockVirtual)
    return false;
  c.clockMicros += c.clockStepMicros;
  *micros = c.clockMicros;
  return true;
}

bool ClockIsVirtual() {
  return Controls().clockVirtual;
}

uint64_t VirtualNow() {
  return Controls().clockMicros;
}

void WaitVirtual(uint64_t dueMicros) {
  TestControls &c = Controls();
  uint64_t end = (dueMicros > c.clockMicros ? dueMicros : c.clockMicros) + c.waitLatenessMicros;
  c.waitedMicros += end - c.clockMicros;
  c.clockMicros = end;
}

bool NoHighResolutionTimer() {
  return Controls().noHighResolutionTimer;
}

DWORD TimeGetTimeOffset() {
  return Controls().timeGetTimeOffset;
}

bool NoPerformanceCounter() {
  return Controls().noPerformanceCounter;
}

int64_t CounterFrequency() {
  return Controls().counterFrequency;
}

void ObjectsHeld(int delta) {
  heldObjects += delta;
}

void QueueFoundEmpty() {
  TestControls &c = Controls();
  ++c.emptyQueues;
  std::vector<EmptyQueueAction> due;
  for (size_t i = c.emptyQueueActions.size(); i-- > 0;) {
    if (c.emptyQueueActions[i].atEmptyQueue <= c.emptyQueues) {
      due.insert(due.begin(), c.emptyQueueActions[i]);
      c.emptyQueueActions.erase(c.emptyQueueActions.begin() + static_cast<long>(i));
    }
  }
  // The actions may arm new ones, so they run once the list is settled.
  for (const EmptyQueueAction &entry : due)
    entry.action(entry.context);
}

void FrameDrawn(HWND window) {
  TestControls &c = Controls();
  if (c.captureFrames)
    c.lastFrame = ReadNativeFrame(window, &c.lastFrameWidth, &c.lastFrameHeight);
}

void BeforeSwap() {
  TestControls &c = Controls();
  if (c.swapAction != nullptr)
    c.swapAction(c.framesPresented + 1, c.swapContext);
}

void FramePresented() {
  TestControls &c = Controls();
  ++c.framesPresented;
  if (c.presentedAction != nullptr)
    c.presentedAction(c.framesPresented, c.presentedContext);
}

bool MessageBoxHook(HWND owner, LPCSTR text, LPCSTR caption, UINT type, int *answer) {
  TestControls &c = Controls();
  c.boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
  if (!c.boxesScripted)
    return false;
  if (c.nextBoxAnswer < c.boxAnswers.size())
    *answer = c.boxAnswers[c.nextBoxAnswer++];
  else
    *answer = (type & 0xF) == MB_YESNO ? IDNO : IDOK;
  return true;
}

// The window that queued input goes to: keys to the focus (system keys, as on Win32, to the
// active window when nothing has the focus), the rest to the game's window. False while no
// window exists, so the input waits for one.
bool InputTarget(const TestInput &input, HWND *window) {
  if (NewestWindow() == nullptr)
    return false;
  if (input.kind == TestInput::Key)
    *window = FocusWindow();
  else if (input.kind == TestInput::SysKey)
    *window = FocusWindow() != nullptr ? FocusWindow() : ActiveWindow();
  else
    *window = ActiveWindow() != nullptr ? ActiveWindow() : NewestWindow();
  return true;
}

void InputToMessages(const TestInput &input, HWND window) {
  switch (input.kind) {
  case TestInput::Key:
    return KeyMessageInput(window, input.virtualKey, input.down, false, false);
  case TestInput::SysKey:
    return KeyMessageInput(window, input.virtualKey, input.down, true, input.alt);
  case TestInput::Minimize:
    return MinimizeInput(window);
  case TestInput::Restore:
    return RestoreInput(window);
  case TestInput::FocusLoss:
    return FocusLostInput(window);
  case TestInput::Resize:
    if (WindowRecord *record = FindWindowRecord(window))
      ResizeNativeWindow(window, ScreenPixels(*record, input.width),
                         ScreenPixels(*record, input.height));
    return ResizeInput(window, input.width, input.height);
  case TestInput::Close:
    return CloseInput(window);
  }
}

bool TakeInput() {
  std::deque<TestInput> &queue = Controls().input;
  HWND window = nullptr;
  if (queue.empty() || !InputTarget(queue.front(), &window))
    return false;
  TestInput input = queue.front();
  queue.pop_front();
  if (window != nullptr)
    InputToMessages(input, window);
  return true;
}

float DesktopScaleHook() {
  return Controls().desktopScale;
}

// Filled field by field, by name: every field is a function pointer, and one left null would
// crash the first call that consults it, so the table is checked whole when it is installed.
PlatformHooks FilledHooks() {
  PlatformHooks hooks = {};
  hooks.callFails = CallFails;
  hooks.objectsHeld = ObjectsHeld;
  hooks.messageBox = MessageBoxHook;
  hooks.playSound = PlaySoundHook;
  hooks.virtualMicros = VirtualMicros;
  hooks.clockIsVirtual = ClockIsVirtual;
  hooks.virtualNow = VirtualNow;
  hooks.waitVirtual = WaitVirtual;
  hooks.noHighResolutionTimer = NoHighResolutionTimer;
  hooks.timeGetTimeOffset = TimeGetTimeOffset;
  hooks.noPerformanceCounter = NoPerformanceCounter;
  hooks.counterFrequency = CounterFrequency;
  hooks.takeInput = TakeInput;
  hooks.queueFoundEmpty = QueueFoundEmpty;
  hooks.frameDrawn = FrameDrawn;
  hooks.beforeSwap = BeforeSwap;
  hooks.framePresented = FramePresented;
  hooks.desktopScale = DesktopScaleHook;
  return hooks;
}

using AnyHook = void (*)();
static_assert(std::is_trivially_copyable<PlatformHooks>::value &&
                  sizeof(PlatformHooks) % sizeof(AnyHook) == 0,
              "the hook table holds function pointers only");

const PlatformHooks &CheckedHooks() {
  static const PlatformHooks hooks = FilledHooks();
  AnyHook fields[sizeof(PlatformHooks) / sizeof(AnyHook)];
  std::memcpy(fields, &hooks, sizeof hooks);
  for (size_t i = 0; i < sizeof fields / sizeof fields[0]; ++i) {
    if (fields[i] == nullptr) {
      std::fprintf(stderr, "test_controls.cpp: field %zu of PlatformHooks is not filled\n", i);
      std::abort();
    }
  }
  return hooks;
}

// Linking the controls is what installs them: before main, so that objects are counted from
// the first one.
[[maybe_unused]] const bool hooksInstalled = (platformHooks = &CheckedHooks(), true);

} // namespace
