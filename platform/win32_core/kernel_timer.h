// Waitable timers, which CloseHandle in kernel.cpp releases with the other kernel objects, and
// the sleep beneath their waits, which each platform provides.
#pragma once

#include "platform/win32.h"

#include <cstdint>

// Releases `handle` when it is a timer of kernel_timer.cpp; false for any other handle.
bool ReleaseTimer(HANDLE handle);

// CLOCK_MONOTONIC in nanoseconds: the clock of the performance counter and of timers' due times.
uint64_t MonotonicNanos();

// Returns once CLOCK_MONOTONIC has reached `due` (nanoseconds), not before: the thread sleeps
// natively; the browser build gives the page the time instead of spinning through it.
void SleepUntilNanos(uint64_t due);
