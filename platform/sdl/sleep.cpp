// The native build's sleep beneath waitable timers: the thread sleeps until the monotonic clock's
// due time.
#include "platform/win32_core/native_platform.h"

#include <cerrno>
#include <time.h>
#if __has_include(<sys/prctl.h>)
#include <sys/prctl.h>
#endif

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
