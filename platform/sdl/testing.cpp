// The test controls: armed failures, scripted message boxes, recorded sounds, the virtual clock,
// queued input, frame capture and window state. The platform calls consult them through
// test_hooks.h.
#include "platform/testing.h"
#include "platform/sdl/test_hooks.h"
#include "platform/sdl/winuser_state.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace {

struct ArmedFailure {
  std::string function;
  int atCall; // the call count at which the call fails
};

struct EmptyQueueAction {
  long atEmptyQueue; // the count of empty queues at which it runs
  void (*action)(void *);
  void *context;
};

struct TestControls {
  std::map<std::string, int> callCounts;
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
  int framesPresented = 0;
  void (*swapAction)(int, void *) = nullptr;
  void *swapContext = nullptr;
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
  ForceDesktopScale(0);
}

void TestFailCall(const char *function, int nth) {
  TestControls &c = Controls();
  c.failures.push_back({function, c.callCounts[function] + nth});
}

int TestCallCount(const char *function) {
  auto found = Controls().callCounts.find(function);
  return found == Controls().callCounts.end() ? 0 : found->second;
}

bool TestHookFails(const char *function) {
  TestControls &c = Controls();
  int count = ++c.callCounts[function];
  for (size_t i = 0; i < c.failures.size(); ++i) {
    if (c.failures[i].atCall == count && c.failures[i].function == function) {
      c.failures.erase(c.failures.begin() + static_cast<long>(i));
      return true;
    }
  }
  return false;
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

void TestHookRecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  Controls().boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
}

bool TestHookScriptedBox(UINT type, int *answer) {
  TestControls &c = Controls();
  if (!c.boxesScripted)
    return false;
  if (c.nextBoxAnswer < c.boxAnswers.size())
    *answer = c.boxAnswers[c.nextBoxAnswer++];
  else
    *answer = (type & 0xF) == MB_YESNO ? IDNO : IDOK;
  return true;
}

void TestRecordSounds() {
  Controls().soundsRecorded = true;
}

const std::vector<TestSound> &TestSounds() {
  return Controls().sounds;
}

bool TestSoundPlaying() {
  return SoundIsPlaying();
}

bool TestHookRecordSound(LPCSTR name, DWORD flags) {
  TestControls &c = Controls();
  c.sounds.push_back({name ? name : "", flags});
  return c.soundsRecorded;
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

bool TestHookVirtualMicros(uint64_t *micros) {
  TestControls &c = Controls();
  if (!c.clockVirtual)
    return false;
  c.clockMicros += c.clockStepMicros;
  *micros = c.clockMicros;
  return true;
}

bool TestHookClockIsVirtual() {
  return Controls().clockVirtual;
}

uint64_t TestHookVirtualNow() {
  return Controls().clockMicros;
}

void TestHookWaitVirtual(uint64_t dueMicros) {
  TestControls &c = Controls();
  uint64_t end = (dueMicros > c.clockMicros ? dueMicros : c.clockMicros) + c.waitLatenessMicros;
  c.waitedMicros += end - c.clockMicros;
  c.clockMicros = end;
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

bool TestHookNoHighResolutionTimer() {
  return Controls().noHighResolutionTimer;
}

DWORD TestHookTimeGetTimeOffset() {
  return Controls().timeGetTimeOffset;
}

bool TestHookNoPerformanceCounter() {
  return Controls().noPerformanceCounter;
}

int64_t TestHookCounterFrequency() {
  return Controls().counterFrequency;
}

void TestHookHeld(int delta) {
  heldObjects += delta;
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

bool TestHookPeekInput(TestInput *input) {
  if (Controls().input.empty())
    return false;
  *input = Controls().input.front();
  return true;
}

void TestHookDropInput() {
  if (!Controls().input.empty())
    Controls().input.pop_front();
}

void TestHookQueueFoundEmpty() {
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

bool TestHookCapturingFrames() {
  return Controls().captureFrames;
}

void TestHookStoreFrame(std::vector<uint8_t> pixels, int width, int height) {
  TestControls &c = Controls();
  c.lastFrame = std::move(pixels);
  c.lastFrameWidth = width;
  c.lastFrameHeight = height;
}

void TestHookBeforeSwap() {
  TestControls &c = Controls();
  if (c.swapAction != nullptr)
    c.swapAction(c.framesPresented + 1, c.swapContext);
}

void TestHookFramePresented() {
  ++Controls().framesPresented;
}

bool TestWindowExists(HWND window) {
  return FindWindowRecord(window) != nullptr;
}

bool TestWindowFullscreen(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  return record != nullptr && (SDL_GetWindowFlags(record->sdl) & SDL_WINDOW_FULLSCREEN) != 0;
}

bool TestWindowVisible(HWND window) {
  WindowRecord *record = FindWindowRecord(window);
  return record != nullptr && record->visible &&
         (SDL_GetWindowFlags(record->sdl) & SDL_WINDOW_SHOWN) != 0;
}

void TestClientSize(HWND window, int *width, int *height) {
  TestScreenSize(window, width, height);
  if (WindowRecord *record = FindWindowRecord(window)) {
    *width = LogicalPixels(*record, *width);
    *height = LogicalPixels(*record, *height);
  }
}

void TestScreenSize(HWND window, int *width, int *height) {
  *width = *height = 0;
  if (WindowRecord *record = FindWindowRecord(window))
    SDL_GetWindowSize(record->sdl, width, height);
}

void TestSetDesktopScale(float scale) {
  ForceDesktopScale(scale);
}

float TestDesktopScaleFrom(const char *zeluScale, const char *gdkScale, int xftDpi) {
  return DesktopScaleFrom(zeluScale, gdkScale, xftDpi);
}

bool TestCursorVisible() {
  return CursorDisplayCount() >= 0;
}

bool TestDisplayModeChanged() {
  return DisplayModeChanged();
}
