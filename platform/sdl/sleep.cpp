// The native build's sleep beneath waitable timers: the thread sleeps until the monotonic clock's
// due time.
#include "platform/win32_core/native_platform.h"

#include <cerrno>
#include <time.h>

void SleepUntilNanos(uint64_t due) {
  timespec until;
  until.tv_sec = static_cast<time_t>(due / 1000000000u);
  until.tv_nsec = static_cast<long>(due % 1000000000u);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}
