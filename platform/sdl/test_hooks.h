// What the platform calls ask of the test controls (platform/testing.h): armed failures, scripted
// message boxes, recorded sounds and the virtual clock. Internal to platform/sdl.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <vector>

// Counts a call of `function`; true when this call was armed to fail.
bool TestHookFails(const char *function);

// Platform objects held (files, mappings, views, local blocks, contexts, bitmaps, windows...):
// every call that obtains one adds 1, every release subtracts 1.
void TestHookHeld(int delta);

// Message boxes: record every box; when scripted, `answer` receives the scripted answer.
void TestHookRecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
bool TestHookScriptedBox(UINT type, int *answer);

// Sounds: record every call; true when sounds are recorded instead of played.
bool TestHookRecordSound(LPCSTR name, DWORD flags);

// The virtual clock: true (with the time in microseconds, after its per-reading step) when the
// virtual clock stands in for the real one.
bool TestHookVirtualMicros(uint64_t *micros);
// True when the virtual clock stands in for the real one (reads nothing).
bool TestHookClockIsVirtual();
// The virtual clock's time in microseconds, without a reading's step.
uint64_t TestHookVirtualNow();
// A wait on the virtual clock: moves it on to `dueMicros` (when that is later) and then by the
// wake-up lateness the tests asked for.
void TestHookWaitVirtual(uint64_t dueMicros);
// True when the tests made CreateWaitableTimerExW refuse the high-resolution flag.
bool TestHookNoHighResolutionTimer();
// The offset in milliseconds that the tests added to timeGetTime (to reach its wrap).
DWORD TestHookTimeGetTimeOffset();
// True when the tests switched the performance counter off.
bool TestHookNoPerformanceCounter();
// Counter frequency of the virtual clock.
int64_t TestHookCounterFrequency();

// Implemented by mmsystem.cpp for the controls: whether a sound plays now.
bool SoundIsPlaying();

// --- Input, the empty queue and frames (asked by the window layer and wgl) -------------------
// One queued test input (TestQueueKey ... TestQueueClose in platform/testing.h).
struct TestInput {
  enum Kind { Key, SysKey, Minimize, Restore, FocusLoss, Resize, Close } kind;
  int virtualKey; // Key, SysKey
  bool down;      // Key, SysKey
  bool alt;       // SysKey
  int width;      // Resize
  int height;     // Resize
};
// The oldest queued test input, left in the queue; false when none is queued.
bool TestHookPeekInput(TestInput *input);
// Removes the oldest queued test input.
void TestHookDropInput();
// PeekMessageA found no message: counts that and runs the actions due now.
void TestHookQueueFoundEmpty();
// Frames: whether SwapBuffers reads the back buffer first, where it leaves what it read, the
// action that runs before each swap, and the count of frames presented.
bool TestHookCapturingFrames();
void TestHookStoreFrame(std::vector<uint8_t> pixels, int width, int height);
void TestHookBeforeSwap();
void TestHookFramePresented();
