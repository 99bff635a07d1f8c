// The swap timer of the native build: the platform's SwapBuffers calls back into the test
// controls, and Escape is queued as the window system would deliver it.
#include "bench/swap_timer.h"

#include "platform/testing.h"

#include <sys/resource.h>

namespace {

SwapRecord *recorded;
size_t wanted;

void OnSwap(int, void *) {
  if (NoteSwap(recorded, wanted))
    TestQueueKey(VK_ESCAPE, true);
}

void OnPresented(int, void *) {
  NotePresented(recorded);
}

double Seconds(const timeval &t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

} // namespace

bool TimeSwaps(SwapRecord *record, size_t frames) {
  recorded = record;
  wanted = frames;
  TestOnSwap(OnSwap, nullptr);
  TestOnPresented(OnPresented, nullptr);
  return true;
}

double ProcessCpuSeconds() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

bool DenySleeps() {
  // The high-resolution timer, then the ordinary one the game asks for instead.
  TestFailCall("CreateWaitableTimerExW", 1);
  TestFailCall("CreateWaitableTimerExW", 2);
  return true;
}
