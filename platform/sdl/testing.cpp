// The test controls: armed failures, scripted message boxes, recorded sounds and the virtual
// clock. The platform calls consult them through test_hooks.h.
#include "platform/testing.h"
#include "platform/sdl/test_hooks.h"

#include <map>
#include <string>
#include <vector>

namespace {

struct ArmedFailure {
  std::string function;
  int atCall; // the call count at which the call fails
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

DWORD TestHookTimeGetTimeOffset() {
  return Controls().timeGetTimeOffset;
}

bool TestHookNoPerformanceCounter() {
  return Controls().noPerformanceCounter;
}

int64_t TestHookCounterFrequency() {
  return Controls().counterFrequency;
}

void TestHookHeld(int delta) { heldObjects += delta; }

int TestHandlesHeld() { return heldObjects; }
