// The frame timer: milliseconds since it was started, counted with the performance counter when
// the platform has one and with the multimedia timer's millisecond count otherwise.
#pragma once

#include <cstdint>

// All zero until StartFrameClock; exactly one of the two start readings is meaningful.
struct FrameClockRecord {
  int64_t ticksPerSecond; // counts per second of the source: the counter's frequency, or 1000
  float secondsPerTick;   // 1 / ticksPerSecond for the counter, 0.001 for the multimedia timer
  uint32_t timerStart;    // timeGetTime at the start, in ms; set only for the multimedia timer
  uint32_t timerLast;     // the multimedia timer's latest reading
  bool usesCounter;       // true when the performance counter is the source
  int64_t counterStart;   // the counter's reading at the start; set only for the counter
  int64_t counterLast;    // the counter's latest good reading, which stands in for a failed one
};

extern FrameClockRecord FrameClock;

// Chooses the time source and takes the start reading; a second call starts counting anew. A
// counter that cannot be read at the start is no counter: the multimedia timer counts instead.
void StartFrameClock();
// Milliseconds since StartFrameClock as a single-precision float; 0 before it ran. The game no
// longer calls it (a deliberate keep, docs/DESIGN.md): past 2^24 ms (4.7 hours) the float's steps
// are 2 ms and more, so a frame's length is measured with the two calls below.
float FrameClockMillis();

// The source's count now: the counter's value, or timeGetTime's. False when the counter failed;
// `ticks` then gets the latest good reading, so that a caller never sees an unset value.
bool ReadFrameClockTicks(int64_t *ticks);
// Milliseconds from the reading `from` to the later reading `to`, in double precision; exact
// across the multimedia timer's wrap for spans under 2^32 ms.
double FrameClockMillisBetween(int64_t from, int64_t to);
