// Waitable timers, which CloseHandle in kernel.cpp releases with the other kernel objects. Their
// clock, MonotonicNanos, is the platform's (native_platform.h).
#pragma once

#include "platform/win32.h"

#include <cstdint>

// Releases `handle` when it is a timer of kernel_timer.cpp; false for any other handle.
bool ReleaseTimer(HANDLE handle);
