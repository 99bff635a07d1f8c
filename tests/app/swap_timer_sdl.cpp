// The swap timer of the native build: the platform's SwapBuffers calls back into the test
// controls, and Escape is queued as the window system would deliver it.
#include "tests/app/swap_timer.h"

#include "platform/testing.h"

namespace {

std::vector<SwapClock::time_point> *recorded;
size_t wanted;

void OnSwap(int, void *) {
  recorded->push_back(SwapClock::now());
  if (recorded->size() == wanted)
    TestQueueKey(VK_ESCAPE, true);
}

} // namespace

bool TimeSwaps(std::vector<SwapClock::time_point> *times, size_t frames) {
  recorded = times;
  wanted = frames;
  TestOnSwap(OnSwap, nullptr);
  return true;
}
