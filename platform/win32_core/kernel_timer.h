// Waitable timers, which CloseHandle in kernel.cpp releases with the other kernel objects, and
// the clock and the sleep beneath their waits, which each platform provides.
#pragma once

#include "platform/win32.h"

#include <cstdint>

// Releases `handle` when it is a timer of kernel_timer.cpp; false for any other handle.
bool ReleaseTimer(HANDLE handle);

// The platform's clock in nanoseconds, the clock of the performance counter and of timers' due
// times: CLOCK_MONOTONIC natively; in the browser the game's clock, paced by the display's frames.
uint64_t MonotonicNanos();

// Returns once MonotonicNanos has reached `due` (nanoseconds), not before: the thread sleeps
// natively; the browser build gives the page the time until a display frame makes it due.
void SleepUntilNanos(uint64_t due);
