// The frame's wait: asleep on a waitable timer for most of it, then a short spin on the frame
// clock to the exact end, which no sleep can hit to the microsecond.
#pragma once

#include "platform/win32.h"

#include <cstdint>

// All zero until OpenFrameWait.
struct FrameWaitRecord {
  HANDLE timer;            // the waitable timer; null when none could be made, and then it spins
  bool raisedResolution;   // timeBeginPeriod(1) is in force until CloseFrameWait
  double wakeMarginMillis; // how long before the end a sleep ends; follows how late wakes come
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
