// Waitable timers, which CloseHandle in kernel.cpp releases with the other kernel objects.
#pragma once

#include "platform/win32.h"

// Releases `handle` when it is a timer of kernel_timer.cpp; false for any other handle.
bool ReleaseTimer(HANDLE handle);
