// The frame timer over the performance counter, or over timeGetTime when there is no counter.
#include "app/frame_clock.h"

#include "platform/win32.h"

#include <cstring>

FrameClockRecord FrameClock;

namespace {

bool StartWithCounter() {
  LARGE_INTEGER count;
  if (!QueryPerformanceCounter(&count))
    return false;
  FrameClock.counterStart = count.QuadPart;
  FrameClock.usesCounter = true;
  FrameClock.secondsPerTick =
      static_cast<float>(1.0 / static_cast<double>(FrameClock.ticksPerSecond));
  FrameClock.counterLast = FrameClock.counterStart;
  return true;
}

void StartWithTimer() {
  FrameClock.usesCounter = false;
  FrameClock.timerStart = timeGetTime();
  FrameClock.secondsPerTick = 0.001f;
  FrameClock.ticksPerSecond = 1000;
  FrameClock.timerLast = FrameClock.timerStart;
}

} // namespace

void StartFrameClock() {
  std::memset(&FrameClock, 0, sizeof FrameClock);
  LARGE_INTEGER frequency;
  frequency.QuadPart = 0;
  BOOL hasCounter = QueryPerformanceFrequency(&frequency);
  FrameClock.ticksPerSecond = frequency.QuadPart;
  if (!hasCounter || frequency.QuadPart <= 0 || !StartWithCounter()) {
    std::memset(&FrameClock, 0, sizeof FrameClock);
    StartWithTimer();
  }
}

bool ReadFrameClockTicks(int64_t *ticks) {
  if (!FrameClock.usesCounter) {
    FrameClock.timerLast = timeGetTime();
    *ticks = FrameClock.timerLast;
    return true;
  }
  LARGE_INTEGER count;
  bool read = QueryPerformanceCounter(&count) != 0;
  if (read)
    FrameClock.counterLast = count.QuadPart;
  *ticks = FrameClock.counterLast;
  return read;
}

double FrameClockMillisBetween(int64_t from, int64_t to) {
  if (!FrameClock.usesCounter) {
    // Unsigned 32-bit arithmetic keeps the count right across the timer's wrap.
    return static_cast<double>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
  }
  return static_cast<double>(to - from) * 1000.0 / static_cast<double>(FrameClock.ticksPerSecond);
}

float FrameClockMillis() {
  int64_t now;
  ReadFrameClockTicks(&now);
  double elapsed;
  if (FrameClock.usesCounter) {
    elapsed = static_cast<double>(now - FrameClock.counterStart);
  } else {
    uint32_t millis = static_cast<uint32_t>(now) - FrameClock.timerStart;
    elapsed = static_cast<double>(millis);
  }
  return static_cast<float>(elapsed * static_cast<double>(FrameClock.secondsPerTick) * 1000.0);
}
