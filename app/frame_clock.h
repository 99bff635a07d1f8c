// The frame timer: milliseconds since it was started, counted with the performance counter when
// the platform has one and with the multimedia timer's millisecond count otherwise.
#pragma once

#include <cstdint>

// All zero until StartFrameClock; exactly one of the two start readings is meaningful.
struct FrameClockRecord {
  int64_t ticksPerSecond; // counts per second of the source: the counter's frequency, or 1000
  float secondsPerTick;   // 1 / ticksPerSecond for the counter, 0.001 for the multimedia timer
  uint32_t timerStart;    // timeGetTime at the start, in ms; set only for the multimedia timer
  uint32_t timerLast;     // equal to timerStart; nothing reads it
  bool usesCounter;       // true when the performance counter is the source
  int64_t counterStart;   // the counter's reading at the start; set only for the counter
  int64_t counterLast;    // equal to counterStart; nothing reads it
};

extern FrameClockRecord FrameClock;

// Chooses the time source and takes the start reading; a second call starts counting anew.
void StartFrameClock();
// Milliseconds since StartFrameClock as a single-precision float; 0 before it ran.
float FrameClockMillis();
