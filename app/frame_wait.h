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
};

extern FrameWaitRecord FrameWait;

// Finds the sleep: under Wine its delay; elsewhere a high-resolution timer where the system has
// them, else an ordinary one with the system's timer resolution raised to 1 ms for the game's
// lifetime.
void OpenFrameWait();
// A frame's wait is its sleep and then its spin; between the two, a caller may do what should be
// as fresh as the frame's end: that time comes out of the margin instead of lengthening the frame.
// Sleeps until the margin before `frameMillis` have passed since the frame clock reading
// `startTicks`; returns at once when the frame is that far on already.
void SleepThroughFrame(int64_t startTicks, double frameMillis);
// Spins until `frameMillis` have passed since `startTicks`, and sets the next frame's margin from
// how late the spin began. A failed clock reading ends the wait early rather than never.
void SpinOutFrame(int64_t startTicks, double frameMillis);
// Releases the timer and the raised resolution.
void CloseFrameWait();
