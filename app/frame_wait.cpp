// The frame's wait: a sleep that ends a margin before the frame's end, then a spin on the frame
// clock. The margin follows how late the spin began in the last few frames.
#include "app/frame_wait.h"

#include "app/frame_clock.h"

#include <algorithm>
#include <cmath>

FrameWaitRecord FrameWait;

namespace {

// Where a wake's lateness is not known yet: enough for a 1 ms timer resolution.
const double FirstWakeMarginMillis = 2.0;
// The margin is one and a half times the second latest wake of the last WakeHistoryLength frames
// plus the floor. Late wakes that recur (two within the history) widen it at once, and keep it
// wide while they keep coming; a single late wake among punctual ones does not: that one frame
// ends late, rather than some 16 frames spinning for it. Wakes come late now and then on any
// machine, and spinning for each of them cost more than all the rest of the wait.
const double WakeLatenessShare = 1.5;
const double WakeMarginFloorMillis = 0.05;
// The most of a frame ever spun. Wakes later than this come from a machine too busy for a spin
// to help: its frames come late either way, and a spinning core would take time from drawing.
const double WakeMarginCeilingMillis = 4.0;
// A frame that begins within this of the last frame's end counts from that end. The loop's work
// between frames takes some 10 us natively and 60 us under Wine (its message queue lives in
// another process); a pass that handles a window message instead of a frame is as quick.
const double FrameResumeMillis = 1.0;

// Under Wine a wait on a waitable timer ends on a whole millisecond of the wineserver's clock, up
// to 1 ms late, which the spin would have to make up; ntdll's non-alertable delay ends within
// some 0.1 ms there. On Windows itself the delay keeps to the system's timer tick, as coarse as
// 15.6 ms, and the high-resolution timer is the finer: so the delay is taken under Wine only.
DelayCall FindWineDelay() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr)
    return nullptr;
  FARPROC delay = GetProcAddress(ntdll, "NtDelayExecution");
  return reinterpret_cast<DelayCall>(reinterpret_cast<void (*)()>(delay));
}

bool CanSleep() {
  return FrameWait.wineDelay != nullptr || FrameWait.timer != nullptr;
}

// Sleeps for `millis`; false when the sleep could not be had.
bool SleepFor(double millis) {
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(std::llround(millis * 10000.0)); // 100 ns units, relative
  if (FrameWait.wineDelay != nullptr)
    return FrameWait.wineDelay(FALSE, &due) == 0; // STATUS_SUCCESS
  if (!SetWaitableTimer(FrameWait.timer, &due, 0, nullptr, nullptr, FALSE))
    return false;
  return WaitForSingleObject(FrameWait.timer, INFINITE) == WAIT_OBJECT_0;
}

// Notes how late this frame's spin began and sets the next margin.
void FollowWakeLateness(double latenessMillis) {
  FrameWait.wakeLatenessMillis[FrameWait.nextWake] = std::max(latenessMillis, 0.0);
  FrameWait.nextWake = (FrameWait.nextWake + 1) % WakeHistoryLength;
  FrameWait.wakesNoted = std::min(FrameWait.wakesNoted + 1, WakeHistoryLength);
  double latest = 0, secondLatest = 0;
  for (int i = 0; i < FrameWait.wakesNoted; ++i) {
    double lateness = FrameWait.wakeLatenessMillis[i];
    if (lateness > latest) {
      secondLatest = latest;
      latest = lateness;
    } else if (lateness > secondLatest) {
      secondLatest = lateness;
    }
  }
  FrameWait.wakeMarginMillis =
      std::min(secondLatest * WakeLatenessShare + WakeMarginFloorMillis, WakeMarginCeilingMillis);
}

} // namespace

void OpenFrameWait() {
  FrameWait = FrameWaitRecord{};
  FrameWait.wakeMarginMillis = FirstWakeMarginMillis;
  FrameWait.wineDelay = FindWineDelay();
  if (FrameWait.wineDelay != nullptr)
    return;
  FrameWait.timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                           TIMER_ALL_ACCESS);
  if (FrameWait.timer == nullptr) {
    FrameWait.raisedResolution = timeBeginPeriod(1) == TIMERR_NOERROR;
    FrameWait.timer = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
  }
}

bool ReadFrameStartTicks(int64_t *startTicks) {
  int64_t now;
  bool read = ReadFrameClockTicks(&now);
  double sinceEnd = FrameWait.spinEnded ? FrameClockMillisBetween(FrameWait.spinEndTicks, now) : -1;
  *startTicks =
      read && sinceEnd >= 0 && sinceEnd < FrameResumeMillis ? FrameWait.spinEndTicks : now;
  return read;
}

void WaitOutFrame(int64_t startTicks, double frameMillis) {
  SleepThroughFrame(startTicks, frameMillis);
  SpinOutFrame(startTicks, frameMillis);
}

void SleepThroughFrame(int64_t startTicks, double frameMillis) {
  FrameWait.spinEnded = false; // until this wait's spin ends with a reading
  FrameWait.sleptMillis = 0;
  FrameWait.sleepTimed = ReadFrameClockTicks(&FrameWait.sleepStartTicks);
  if (!FrameWait.sleepTimed || !CanSleep())
    return;
  double sleep = frameMillis - FrameClockMillisBetween(startTicks, FrameWait.sleepStartTicks) -
                 FrameWait.wakeMarginMillis;
  if (sleep > 0 && SleepFor(sleep))
    FrameWait.sleptMillis = sleep;
}

void SpinOutFrame(int64_t startTicks, double frameMillis) {
  int64_t now;
  if (!FrameWait.sleepTimed || !ReadFrameClockTicks(&now))
    return;
  // Every frame counts in the history, also one that did not sleep: the margin narrows.
  FollowWakeLateness(FrameClockMillisBetween(FrameWait.sleepStartTicks, now) -
                     FrameWait.sleptMillis);
  while (FrameClockMillisBetween(startTicks, now) < frameMillis) {
    if (!ReadFrameClockTicks(&now))
      return;
  }
  FrameWait.spinEnded = true;
  FrameWait.spinEndTicks = now;
}

void CloseFrameWait() {
  if (FrameWait.timer != nullptr)
    CloseHandle(FrameWait.timer);
  if (FrameWait.raisedResolution)
    timeEndPeriod(1);
  FrameWait = FrameWaitRecord{};
}
