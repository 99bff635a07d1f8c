// The frame's wait: asleep on a waitable timer for most of it, then a short spin on the frame
// clock to the exact end, which no sleep can hit to the microsecond.
#pragma once

#include "platform/win32.h"

#include <cstdint>

// How many of the latest frames' wakes the margin follows.
const int WakeHistoryLength = 16;

// All zero until OpenFrameWait.
struct FrameWaitRecord {
  HANDLE timer;            // the waitable timer; null when none could be made, and then it spins
  bool raisedResolution;   // timeBeginPeriod(1) is in force until CloseFrameWait
  double wakeMarginMillis; // how long before the end a sleep ends; follows how late wakes come
  // How late the latest frames woke, in ms, 0 for a frame without a sleep: a ring of which the
  // first `wakesNoted` entries are valid and `nextWake` is written next.
  double wakeLatenessMillis[WakeHistoryLength];
  int wakesNoted;
  int nextWake;
};

extern FrameWaitRecord FrameWait;

// Makes the timer: a high-resolution one where the system has them, else an ordinary one with
// the system's timer resolution raised to 1 ms for the game's lifetime.
void OpenFrameWait();
// Returns once `frameMillis` have passed since the frame clock reading `startTicks`; at once when
// they have already. A failed clock reading ends the wait early rather than never.
void WaitOutFrame(int64_t startTicks, double frameMillis);
// Releases the timer and the raised resolution.
void CloseFrameWait();
