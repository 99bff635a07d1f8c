// Kernel services: the module handle and the performance counter.
#include "platform/win32.h"
#include "platform/sdl/test_hooks.h"

#include <SDL.h>

namespace {

// Any non-null value serves: the game passes it back to the class and window calls only.
struct ModuleTag {
  int unused;
} moduleTag;

int64_t CountsFromMicros(uint64_t micros, int64_t frequency) {
  uint64_t f = static_cast<uint64_t>(frequency);
  return static_cast<int64_t>((micros / 1000000) * f + (micros % 1000000) * f / 1000000);
}

} // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
  if (moduleName != nullptr || TestHookFails("GetModuleHandleA"))
    return nullptr;
  return reinterpret_cast<HMODULE>(&moduleTag);
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER *frequency) {
  if (TestHookFails("QueryPerformanceFrequency") || TestHookNoPerformanceCounter()) {
    frequency->QuadPart = 0;
    return FALSE;
  }
  if (TestHookClockIsVirtual())
    frequency->QuadPart = TestHookCounterFrequency();
  else
    frequency->QuadPart = static_cast<LONGLONG>(SDL_GetPerformanceFrequency());
  return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER *count) {
  uint64_t micros;
  if (TestHookFails("QueryPerformanceCounter"))
    return FALSE;
  if (TestHookVirtualMicros(&micros))
    count->QuadPart = CountsFromMicros(micros, TestHookCounterFrequency());
  else
    count->QuadPart = static_cast<LONGLONG>(SDL_GetPerformanceCounter());
  return TRUE;
}
