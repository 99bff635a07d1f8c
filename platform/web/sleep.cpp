// Time given to the page, and the page's clock. The yield through which the browser delivers
// input and runs timers; and the clock and the sleep beneath waitable timers, paced by the
// display's frames: the game's clock stands still while a frame runs and moves on by whole 10 ms
// frames when the game waits, as far as the display's latest frame has come. At each display
// frame the game runs the frames that real time has made due, and the page shows the last drawn.
#include "platform/web/platform.h"
#include "platform/win32_core/native_platform.h"

#include <emscripten.h>

#include <cmath>

namespace {

// The game's frame: the clock's step.
const uint64_t FrameNanos = 10000000;
// After a stall (a hidden page, a long pause, a busy machine) the game goes on from this long
// before the display's time instead of running every frame it missed: six frames at most, and
// still every frame on a display of 30 Hz.
const uint64_t CatchUpNanos = 50000000;
// A page hidden while the game waits for a display frame gets none: a timer wakes the game then,
// so that it still hears of its page.
const double HiddenWakeMillis = 100.0;

double lastYield = 0.0;

struct PageClock {
  bool started;
  uint64_t gameNanos;    // the game's clock
  uint64_t displayNanos; // the time of the latest display frame (or hidden page's wake)
};

PageClock Clock = {false, 0, 0};

uint64_t ToNanos(double millis) {
  return static_cast<uint64_t>(std::llround(millis * 1e6));
}

// Resolves at the display's next frame with its time; a hidden page has no display frames, and a
// timer of `millis` (at least HiddenWakeMillis while it shows) wakes it with the time then.
// clang-format off
EM_ASYNC_JS(double, WaitForDisplayFrame, (double millis, double hiddenWakeMillis), {
  return await new Promise(function(resolve) {
    var timer = 0;
    var frame = 0;
    function wake(time) {
      clearTimeout(timer);
      cancelAnimationFrame(frame);
      resolve(time);
    }
    if (!document.hidden)
      frame = requestAnimationFrame(wake);
    timer = setTimeout(function() { wake(performance.now()); },
                       document.hidden ? millis : Math.max(millis, hiddenWakeMillis));
  });
});
// clang-format on

void StartClock() {
  if (Clock.started)
    return;
  Clock.started = true;
  Clock.gameNanos = Clock.displayNanos = ToNanos(emscripten_get_now());
}

} // namespace

void YieldToPage() {
  lastYield = emscripten_get_now();
  emscripten_sleep(0);
  lastYield = emscripten_get_now();
}

double LastYieldMillis() {
  return lastYield;
}

uint64_t MonotonicNanos() {
  StartClock();
  return Clock.gameNanos;
}

// A wait ends at the end of the game frame it falls in, so that a frame's wait never needs to
// spin out a remainder: the clock moves only here, and a spin on it would never end.
void SleepUntilNanos(uint64_t due) {
  StartClock();
  if (due <= Clock.gameNanos)
    return;
  uint64_t until =
      Clock.gameNanos + (due - Clock.gameNanos + FrameNanos - 1) / FrameNanos * FrameNanos;
  while (until > Clock.displayNanos) {
    double time = WaitForDisplayFrame(static_cast<double>(until - Clock.displayNanos) / 1e6,
                                      HiddenWakeMillis);
    lastYield = emscripten_get_now();
    uint64_t now = ToNanos(time);
    if (now > Clock.displayNanos)
      Clock.displayNanos = now;
    if (Clock.displayNanos > until + CatchUpNanos)
      until = Clock.displayNanos - CatchUpNanos;
  }
  Clock.gameNanos = until;
}
