// The frame's wait: a sleep on a waitable timer that ends a margin before the frame's end, then a
// spin on the frame clock. The margin follows how late the timer has woken of late.
#include "app/frame_wait.h"

#include "app/frame_clock.h"

#include <algorithm>
#include <cmath>

FrameWaitRecord FrameWait;

namespace {

// Where a wake's lateness is not known yet: enough for a 1 ms timer resolution.
const double FirstWakeMarginMillis = 2.0;
// A late wake widens the margin at once to one and a half times its lateness plus the floor...
const double WakeLatenessShare = 1.5;
const double WakeMarginFloorMillis = 0.05;
// ...and every frame narrows it by this share, down to the floor, so that one late wake keeps
// it wide for a second or so.
const double WakeMarginShrink = 0.97;
// The most of a frame ever spun. Wakes later than this come from a machine too busy for a spin
// to help: its frames come late either way, and a spinning core would take time from drawing.
const double WakeMarginCeilingMillis = 4.0;

// Sleeps on the timer for `millis`; false when the timer could not be used.
bool SleepFor(double millis) {
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(std::llround(millis * 10000.0)); // 100 ns units, relative
  if (!SetWaitableTimer(FrameWait.timer, &due, 0, nullptr, nullptr, FALSE))
    return false;
  return WaitForSingleObject(FrameWait.timer, INFINITE) == WAIT_OBJECT_0;
}

void FollowWakeLateness(double latenessMillis) {
  double wanted = std::max(latenessMillis, 0.0) * WakeLatenessShare + WakeMarginFloorMillis;
  FrameWait.wakeMarginMillis =
      std::min(std::max(wanted, FrameWait.wakeMarginMillis), WakeMarginCeilingMillis);
}

} // namespace

void OpenFrameWait() {
  FrameWait = FrameWaitRecord{};
  FrameWait.wakeMarginMillis = FirstWakeMarginMillis;
  FrameWait.timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                           TIMER_ALL_ACCESS);
  if (FrameWait.timer == nullptr) {
    FrameWait.raisedResolution = timeBeginPeriod(1) == TIMERR_NOERROR;
    FrameWait.timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  }
}

void WaitOutFrame(int64_t startTicks, double frameMillis) {
  int64_t now;
  if (!ReadFrameClockTicks(&now))
    return;
  double remaining = frameMillis - FrameClockMillisBetween(startTicks, now);
  // The margin narrows at every frame, also in frames that end without a sleep.
  FrameWait.wakeMarginMillis =
      std::max(FrameWait.wakeMarginMillis * WakeMarginShrink, WakeMarginFloorMillis);
  if (FrameWait.timer != nullptr && remaining > FrameWait.wakeMarginMillis) {
    double sleep = remaining - FrameWait.wakeMarginMillis;
    if (SleepFor(sleep)) {
      int64_t woken;
      if (!ReadFrameClockTicks(&woken))
        return;
      FollowWakeLateness(FrameClockMillisBetween(now, woken) - sleep);
      now = woken;
    }
  }
  while (FrameClockMillisBetween(startTicks, now) < frameMillis) {
    if (!ReadFrameClockTicks(&now))
      return;
  }
}

void CloseFrameWait() {
  if (FrameWait.timer != nullptr)
    CloseHandle(FrameWait.timer);
  if (FrameWait.raisedResolution)
    timeEndPeriod(1);
  FrameWait = FrameWaitRecord{};
}
