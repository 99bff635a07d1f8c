// The frame timer over the performance counter, or over timeGetTime when there is no counter.
#include "app/frame_clock.h"

#include "platform/win32.h"

#include <cstring>

FrameClockRecord FrameClock;

namespace {

void StartWithCounter() {
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  FrameClock.counterStart = count.QuadPart;
  FrameClock.usesCounter = true;
  FrameClock.secondsPerTick =
      static_cast<float>(1.0 / static_cast<double>(FrameClock.ticksPerSecond));
  FrameClock.counterLast = FrameClock.counterStart;
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
  if (hasCounter)
    StartWithCounter();
  else
    StartWithTimer();
}

float FrameClockMillis() {
  double elapsed;
  if (FrameClock.usesCounter) {
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    elapsed = static_cast<double>(count.QuadPart - FrameClock.counterStart);
  } else {
    // Unsigned 32-bit arithmetic keeps the count right across the timer's wrap.
    uint32_t millis = static_cast<uint32_t>(timeGetTime()) - FrameClock.timerStart;
    elapsed = static_cast<double>(millis);
  }
  return static_cast<float>(elapsed * static_cast<double>(FrameClock.secondsPerTick) * 1000.0);
}
