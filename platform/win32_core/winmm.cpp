// Multimedia services: the millisecond timer over the one monotonic clock, its resolution
// requests, and PlaySoundA's rules over the platform's player.
#include "platform/win32.h"
#include "platform/win32_core/kernel_timer.h"
#include "platform/win32_core/native_platform.h"
#include "platform/win32_core/test_hooks.h"

DWORD WINAPI timeGetTime(void) {
  uint64_t micros;
  if (HookVirtualMicros(&micros))
    return static_cast<DWORD>(micros / 1000) + HookTimeGetTimeOffset();
  return static_cast<DWORD>(MonotonicNanos() / 1000000u);
}

// The platforms' timers already wake to well under a millisecond (or as the browser lets them):
// a request only has to be valid. Each timeBeginPeriod is to be matched by a timeEndPeriod of the
// same period.
MMRESULT WINAPI timeBeginPeriod(UINT period) {
  if (HookFails(PlatformCall::timeBeginPeriod) || period == 0)
    return TIMERR_NOCANDO;
  return TIMERR_NOERROR;
}

MMRESULT WINAPI timeEndPeriod(UINT period) {
  if (HookFails(PlatformCall::timeEndPeriod) || period == 0)
    return TIMERR_NOCANDO;
  return TIMERR_NOERROR;
}

// One sound at a time: a new one stops the one that plays. SND_ASYNC returns at once, else the
// call returns when the sound has ended; a null name stops the sound.
BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE, DWORD flags) {
  if (HookRecordSound(sound, flags))
    return TRUE;
  if (HookFails(PlatformCall::PlaySoundA) || !NativeSoundReady())
    return FALSE;
  if (sound == nullptr) {
    StopNativeSound();
    return TRUE;
  }
  // A repeating sound must be asynchronous, as on Windows.
  if ((flags & SND_LOOP) && !(flags & SND_ASYNC))
    return FALSE;
  return PlayNativeSound(sound, (flags & SND_LOOP) != 0, !(flags & SND_ASYNC)) ? TRUE : FALSE;
}
