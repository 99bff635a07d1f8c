// Waitable timers, which CloseHandle in kernel.cpp releases with the other kernel objects, and
// the one monotonic clock that every reading of time here comes from.
#pragma once

#include "platform/win32.h"

#include <cstdint>

// Releases `handle` when it is a timer of kernel_timer.cpp; false for any other handle.
bool ReleaseTimer(HANDLE handle);

// CLOCK_MONOTONIC in nanoseconds: the clock of the performance counter, timeGetTime, message
// times and timers' due times.
uint64_t MonotonicNanos();
