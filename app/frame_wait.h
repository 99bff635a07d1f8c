// The frame's wait: asleep for most of it (on a waitable timer, or under Wine on ntdll's delay),
// then a short spin on the frame clock to the exact end, which no sleep can hit to the microsecond.
#pragma once

#include "platform/win32.h"

#include <cstdint>

// How many of the latest frames' wakes the margin follows.
const int WakeHistoryLength = 16;

// ntdll's NtDelayExecution: sleeps for a relative interval in 100 ns units (a negative count).
typedef LONG(WINAPI *DelayCall)(BYTE alertable, LARGE_INTEGER *interval);

// All zero until OpenFrameWait.
struct FrameWaitRecord {
  HANDLE timer;            // the waitable timer; null when none could be made, and then it spins
  bool raisedResolution;   // timeBeginPeriod(1) is in force until CloseFrameWait
  DelayCall wineDelay;     // under Wine, the sleep in place of the timer; null elsewhere
  double wakeMarginMillis; // how long before the end a sleep ends; follows how late wakes come
  // How late the final spin of the latest frames began, in ms: the wake's lateness and the time
  // taken between the sleep and the spin. A ring of which the first `wakesNoted` entries are valid
  // and `nextWake` is written next.
  double wakeLatenessMillis[WakeHistoryLength];
  int wakesNoted;
  int nextWake;
  // The current frame's sleep, for its spin: when it began (no reading: `sleepTimed` false) and
  // how long it lasted (0 when it did not sleep).
  bool sleepTimed;
  int64_t sleepStartTicks;
  double sleptMillis;
  // Where the latest frame's spin ended, for the next frame's start; `spinEnded` false when no
  // frame has waited yet or its wait had no reading of its end.
  bool spinEnded;
  int64_t spinEndTicks;
};

extern FrameWaitRecord FrameWait;

// Finds the sleep: under Wine its delay; elsewhere a high-resolution timer where the system has
// them, else an ordinary one with the system's timer resolution raised to 1 ms for the game's
// lifetime.
void OpenFrameWait();
// Reads the frame clock for a frame's start into `startTicks`; false when the reading failed (the
// clock's last good reading is taken, as ReadFrameClockTicks does). A frame that begins within
// FrameResumeMillis of the end of the last frame's spin starts at that end, so that the loop's own
// work between frames (taking the keys, reading the pad) comes out of the next frame instead of
// lengthening every one. A frame that begins later was held up (a message, a display-mode switch)
// and starts at its own reading: the frames after it are not rushed to catch up.
bool ReadFrameStartTicks(int64_t *startTicks);
// Waits until `frameMillis` have passed since the frame's start `startTicks`: SleepThroughFrame,
// then SpinOutFrame.
void WaitOutFrame(int64_t startTicks, double frameMillis);
// A frame's wait is its sleep and then its spin; time taken between the two comes out of the
// margin instead of lengthening the frame.
// Sleeps until the margin before `frameMillis` have passed since the frame clock reading
// `startTicks`; returns at once when the frame is that far on already.
void SleepThroughFrame(int64_t startTicks, double frameMillis);
// Spins until `frameMillis` have passed since `startTicks`, and sets the next frame's margin from
// how late the spin began. A failed clock reading ends the wait early rather than never.
void SpinOutFrame(int64_t startTicks, double frameMillis);
// Releases the timer and the raised resolution.
void CloseFrameWait();
