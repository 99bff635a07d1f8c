// Time given to the page: the yield through which the browser presents, delivers input and runs
// timers, and the sleep beneath waitable timers, which yields instead of spinning.
#include "platform/web/platform.h"
#include "platform/win32_core/kernel_timer.h"
#include "platform/win32_core/native_platform.h"

#include <emscripten.h>

namespace {

double lastYield = 0.0;

} // namespace

void YieldToPage() {
  lastYield = emscripten_get_now();
  emscripten_sleep(0);
  lastYield = emscripten_get_now();
}

double LastYieldMillis() {
  return lastYield;
}

// The frame's wait gives the page its time rather than spinning through it: the page's timers may
// wake the game late but never early, and less than a millisecond left is waited out here.
void SleepUntilNanos(uint64_t due) {
  for (;;) {
    uint64_t nanos = MonotonicNanos();
    if (nanos >= due)
      return;
    unsigned wholeMillis = static_cast<unsigned>((due - nanos) / 1000000u);
    if (wholeMillis > 0) {
      lastYield = emscripten_get_now();
      emscripten_sleep(wholeMillis);
      lastYield = emscripten_get_now();
    }
  }
}
