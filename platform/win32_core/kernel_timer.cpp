// Waitable timers over the monotonic clock: a wait sleeps until the due time (SleepUntilNanos, the
// platform's), or, on the test controls' virtual clock, moves that clock on to it.
#include "platform/win32_core/kernel_timer.h"
#include "platform/win32_core/native_platform.h"
#include "platform/win32_core/test_hooks.h"

#include <set>
#include <time.h>

namespace {

struct Timer {
  bool set;        // due until a wait ends
  bool virtualDue; // due on the virtual clock (in microseconds) rather than the monotonic one
  uint64_t due;    // nanoseconds of CLOCK_MONOTONIC, or virtual microseconds
};

std::set<Timer *> &LiveTimers() {
  static std::set<Timer *> timers;
  return timers;
}

Timer *FindTimer(HANDLE handle) {
  auto found = LiveTimers().find(static_cast<Timer *>(handle));
  return found == LiveTimers().end() ? nullptr : *found;
}

} // namespace

uint64_t MonotonicNanos() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

HANDLE WINAPI CreateWaitableTimerExW(LPSECURITY_ATTRIBUTES security, LPCWSTR name, DWORD flags,
                                     DWORD) {
  if (HookFails(PlatformCall::CreateWaitableTimerExW) || security != nullptr || name != nullptr)
    return nullptr;
  // Systems before Windows 10 1803 refuse the high-resolution flag; the controls can act as one.
  if ((flags & ~static_cast<DWORD>(CREATE_WAITABLE_TIMER_HIGH_RESOLUTION)) != 0 ||
      ((flags & CREATE_WAITABLE_TIMER_HIGH_RESOLUTION) && HookNoHighResolutionTimer()))
    return nullptr;
  Timer *timer = new Timer{false, false, 0};
  LiveTimers().insert(timer);
  HookHeld(+1);
  return timer;
}

BOOL WINAPI SetWaitableTimer(HANDLE handle, const LARGE_INTEGER *dueTime, LONG period,
                             PTIMERAPCROUTINE completion, LPVOID, BOOL) {
  Timer *timer = FindTimer(handle);
  if (HookFails(PlatformCall::SetWaitableTimer) || timer == nullptr || dueTime == nullptr ||
      dueTime->QuadPart > 0 || period != 0 || completion != nullptr)
    return FALSE;
  uint64_t hundredsOfNanos = static_cast<uint64_t>(-dueTime->QuadPart);
  timer->set = true;
  timer->virtualDue = HookClockIsVirtual();
  if (timer->virtualDue)
    timer->due = HookVirtualNow() + (hundredsOfNanos + 9) / 10;
  else
    timer->due = MonotonicNanos() + hundredsOfNanos * 100;
  return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  Timer *timer = FindTimer(handle);
  if (HookFails(PlatformCall::WaitForSingleObject) || timer == nullptr ||
      (!timer->set && milliseconds == INFINITE))
    return WAIT_FAILED;
  bool virtualClock = HookClockIsVirtual();
  if (virtualClock != timer->virtualDue && timer->set)
    return WAIT_FAILED; // set on one clock, waited for on the other
  uint64_t now = virtualClock ? HookVirtualNow() : MonotonicNanos();
  uint64_t unit = virtualClock ? 1000u : 1000000u; // per millisecond
  uint64_t limit = milliseconds == INFINITE ? UINT64_MAX : now + milliseconds * unit;
  bool due = timer->set && timer->due <= limit;
  uint64_t until = due ? timer->due : limit;
  if (virtualClock)
    HookWaitVirtual(until);
  else if (until > now)
    SleepUntilNanos(until);
  if (!due)
    return WAIT_TIMEOUT;
  timer->set = false;
  return WAIT_OBJECT_0;
}

bool ReleaseTimer(HANDLE handle) {
  Timer *timer = FindTimer(handle);
  if (timer == nullptr)
    return false;
  LiveTimers().erase(timer);
  delete timer;
  HookHeld(-1);
  return true;
}
