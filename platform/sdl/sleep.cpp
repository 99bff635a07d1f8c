// The native build's clock and sleep beneath waitable timers: CLOCK_MONOTONIC, and the thread
// sleeps until its due time.
#include "platform/win32_core/native_platform.h"

#include <cerrno>
#include <time.h>
#if __has_include(<sys/prctl.h>)
#include <sys/prctl.h>
#endif

uint64_t MonotonicNanos() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

void SleepUntilNanos(uint64_t due) {
#ifdef PR_SET_TIMERSLACK
  // Linux lets a sleep end up to 50 us late by default, which the frame's wait would spin out;
  // the timers here are the high-resolution kind, so the sleeping thread asks for none.
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
  timespec until;
  until.tv_sec = static_cast<time_t>(due / 1000000000u);
  until.tv_nsec = static_cast<long>(due % 1000000000u);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}
