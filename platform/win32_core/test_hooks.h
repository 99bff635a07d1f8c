// The seam through which the test controls (platform/testing.h, linked into test programs only)
// script and observe the platform calls. The game links no controls: the table stays null and
// every hook below is one test of a pointer. Internal to platform/.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <vector>

// The calls that tests can make fail and count, by their Win32 names. A call listed here asks
// HookFails(PlatformCall::Name) on entry; TestFailCall("Name") and TestCallCount("Name") then
// reach it.
#define ZELU_PLATFORM_CALLS(X)                                                                     \
  X(AdjustWindowRectEx)                                                                            \
  X(ChangeDisplaySettingsA)                                                                        \
  X(ChoosePixelFormat)                                                                             \
  X(CloseHandle)                                                                                   \
  X(CreateCompatibleDC)                                                                            \
  X(CreateDIBSection)                                                                              \
  X(CreateFileA)                                                                                   \
  X(CreateFileMappingA)                                                                            \
  X(CreateFileW)                                                                                   \
  X(CreateWaitableTimerExW)                                                                        \
  X(CreateWindowExA)                                                                               \
  X(DeleteDC)                                                                                      \
  X(DeleteObject)                                                                                  \
  X(DestroyWindow)                                                                                 \
  X(GdiFlush)                                                                                      \
  X(GetDC)                                                                                         \
  X(GetFileSize)                                                                                   \
  X(GetModuleHandleA)                                                                              \
  X(LoadCursorA)                                                                                   \
  X(LoadIconA)                                                                                     \
  X(LocalAlloc)                                                                                    \
  X(LocalFree)                                                                                     \
  X(MapViewOfFile)                                                                                 \
  X(MessageBoxA)                                                                                   \
  X(PlaySoundA)                                                                                    \
  X(QueryPerformanceCounter)                                                                       \
  X(QueryPerformanceFrequency)                                                                     \
  X(RegisterClassA)                                                                                \
  X(ReleaseDC)                                                                                     \
  X(SelectObject)                                                                                  \
  X(SetDIBits)                                                                                     \
  X(SetFocus)                                                                                      \
  X(SetForegroundWindow)                                                                           \
  X(SetPixelFormat)                                                                                \
  X(SetWaitableTimer)                                                                              \
  X(SwapBuffers)                                                                                   \
  X(UnmapViewOfFile)                                                                               \
  X(UnregisterClassA)                                                                              \
  X(WaitForSingleObject)                                                                           \
  X(wglCreateContext)                                                                              \
  X(wglDeleteContext)                                                                              \
  X(timeBeginPeriod)                                                                               \
  X(timeEndPeriod)                                                                                 \
  X(wglMakeCurrent)

enum class PlatformCall {
#define ZELU_PLATFORM_CALL_ENUM(name) name,
  ZELU_PLATFORM_CALLS(ZELU_PLATFORM_CALL_ENUM)
#undef ZELU_PLATFORM_CALL_ENUM
      Count
};

// What the controls answer; every entry is set when the table is installed.
struct PlatformHooks {
  // Counts a call; true when this call was armed to fail.
  bool (*callFails)(PlatformCall call);
  // Platform objects held (files, mappings, views, local blocks, contexts, bitmaps, windows...):
  // every call that obtains one adds 1, every release subtracts 1.
  void (*objectsHeld)(int delta);
  // Message boxes: every box is recorded; when boxes are scripted, true with the answer.
  bool (*messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type, int *answer);
  // Sounds: every call is recorded; true when sounds are recorded instead of played.
  bool (*playSound)(LPCSTR name, DWORD flags);
  // The virtual clock: true, with the time in microseconds after its per-reading step, when it
  // stands in for the real one.
  bool (*virtualMicros)(uint64_t *micros);
  // True when the virtual clock stands in for the real one (reads nothing).
  bool (*clockIsVirtual)();
  // The virtual clock's time in microseconds, without a reading's step.
  uint64_t (*virtualNow)();
  // A wait on the virtual clock: moves it on to `dueMicros` (when that is later) and then by the
  // wake-up lateness the tests asked for.
  void (*waitVirtual)(uint64_t dueMicros);
  // True when the tests made CreateWaitableTimerExW refuse the high-resolution flag.
  bool (*noHighResolutionTimer)();
  // The offset in milliseconds that the tests added to timeGetTime (to reach its wrap).
  DWORD (*timeGetTimeOffset)();
  // True when the tests switched the performance counter off.
  bool (*noPerformanceCounter)();
  // Counter frequency of the virtual clock.
  int64_t (*counterFrequency)();
  // Turns the oldest queued test input into messages; false when none can be delivered yet.
  bool (*takeInput)();
  // PeekMessageA found no message: counts that and runs the actions due now.
  void (*queueFoundEmpty)();
  // Frames: SwapBuffers of a window that the current context draws to offers its frame to be
  // read first; then the action that runs before each swap, and the count of frames presented.
  void (*frameDrawn)(HWND window);
  void (*beforeSwap)();
  void (*framePresented)();
  // The desktop scale that the tests set for windows created from now on; 0 when the desktop's.
  float (*desktopScale)();
};

// Null in the game; the test controls set it before main.
extern const PlatformHooks *platformHooks;

inline bool HookFails(PlatformCall call) {
  return platformHooks != nullptr && platformHooks->callFails(call);
}
inline void HookHeld(int delta) {
  if (platformHooks != nullptr)
    platformHooks->objectsHeld(delta);
}
inline bool HookScriptedBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type, int *answer) {
  return platformHooks != nullptr && platformHooks->messageBox(owner, text, caption, type, answer);
}
inline bool HookRecordSound(LPCSTR name, DWORD flags) {
  return platformHooks != nullptr && platformHooks->playSound(name, flags);
}
inline bool HookVirtualMicros(uint64_t *micros) {
  return platformHooks != nullptr && platformHooks->virtualMicros(micros);
}
inline bool HookClockIsVirtual() {
  return platformHooks != nullptr && platformHooks->clockIsVirtual();
}
inline uint64_t HookVirtualNow() {
  return platformHooks != nullptr ? platformHooks->virtualNow() : 0;
}
inline void HookWaitVirtual(uint64_t dueMicros) {
  if (platformHooks != nullptr)
    platformHooks->waitVirtual(dueMicros);
}
inline bool HookNoHighResolutionTimer() {
  return platformHooks != nullptr && platformHooks->noHighResolutionTimer();
}
inline DWORD HookTimeGetTimeOffset() {
  return platformHooks != nullptr ? platformHooks->timeGetTimeOffset() : 0;
}
inline bool HookNoPerformanceCounter() {
  return platformHooks != nullptr && platformHooks->noPerformanceCounter();
}
inline int64_t HookCounterFrequency() {
  return platformHooks != nullptr ? platformHooks->counterFrequency() : 0;
}
inline bool HookTakeInput() {
  return platformHooks != nullptr && platformHooks->takeInput();
}
inline void HookQueueFoundEmpty() {
  if (platformHooks != nullptr)
    platformHooks->queueFoundEmpty();
}
inline void HookFrameDrawn(HWND window) {
  if (platformHooks != nullptr)
    platformHooks->frameDrawn(window);
}
inline void HookBeforeSwap() {
  if (platformHooks != nullptr)
    platformHooks->beforeSwap();
}
inline void HookFramePresented() {
  if (platformHooks != nullptr)
    platformHooks->framePresented();
}
inline float HookDesktopScale() {
  return platformHooks != nullptr ? platformHooks->desktopScale() : 0;
}

// --- For the test controls only ---------------------------------------------------------------
// Resets and readings of win32_core's own state, each beside the state it touches.
// Empties the thread's queue: posted messages, the quit request, pending input.
void ClearMessageQueue();
// Forgets every registered class that no window uses.
void ForgetUnusedClasses();
// Brings the desktop mode and the cursor back.
void RestoreDisplayAndCursor();
bool DisplayModeChanged();
// ShowCursor's display count; the cursor shows while it is 0 or more.
int CursorDisplayCount();

// What each platform answers for the controls (its test_queries.cpp, linked into test programs
// only, beside the window queries of platform/testing.h).
// Reads the back buffer that the current context draws to (the picture as the program drew it,
// at the logical size): RGB, rows packed, bottom row first.
std::vector<uint8_t> ReadNativeFrame(HWND window, int *width, int *height);
// Gives the window this client size on the screen, as a user's resizing would.
void ResizeNativeWindow(HWND window, int screenWidth, int screenHeight);
// Whether a sound plays now.
bool NativeSoundPlaying();
// Detaches every gamepad the tests attached (TestReset).
void DetachNativeTestGamepads();
