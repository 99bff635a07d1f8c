// Controls that tests use to script and observe the native platform layer (platform/sdl).
// Game code never includes this header; it exists only in the native build.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <string>
#include <vector>

// Brings every control back to its default: no failures armed, message boxes shown for real,
// sounds played for real, the real clock, no queued input, no frame capture. Recordings and
// call counts are cleared.
void TestReset();

// --- Failures ---------------------------------------------------------------------------------
// Makes the nth call (1 = the next one) of the named platform function, counted from this
// request, fail the Win32 way. Names are the Win32 names ("CreateWindowExA", "SetDIBits", ...).
// Several failures may be armed at once, also for the same function.
void TestFailCall(const char *function, int nth = 1);
// How many times the named function has been called since the last TestReset.
int TestCallCount(const char *function);

// --- Message boxes ----------------------------------------------------------------------------
struct TestMessageBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT flags;
};
// From this call on, MessageBoxA shows nothing and returns the scripted answers in order; once
// they are used up it returns IDOK for MB_OK boxes and IDNO for MB_YESNO boxes.
void TestScriptMessageBoxes(const std::vector<int> &answers = {});
// Every box asked for since the last TestReset, scripted or real.
const std::vector<TestMessageBox> &TestMessageBoxes();

// --- Sounds -----------------------------------------------------------------------------------
struct TestSound {
  std::string name; // as passed; empty for a null name
  DWORD flags;
};
// From this call on, PlaySoundA records each call, plays nothing and returns TRUE at once.
void TestRecordSounds();
// Every PlaySoundA call since the last TestReset (recorded or played).
const std::vector<TestSound> &TestSounds();
// Whether a sound played by PlaySoundA is audible now.
bool TestSoundPlaying();

// --- Time -------------------------------------------------------------------------------------
// Switches QueryPerformanceCounter and timeGetTime to a virtual clock that starts at
// `startMicros`; every reading (either call) first advances it by `stepMicros`.
void TestUseVirtualClock(uint64_t startMicros = 0, uint64_t stepMicros = 0);
// Sets or advances the virtual clock.
void TestSetClockMicros(uint64_t micros);
void TestAdvanceClockMicros(uint64_t micros);
uint64_t TestClockMicros();
// Sets the value timeGetTime reports now (to test its wrap); later readings go on from there.
void TestSetTimeGetTime(DWORD millis);
// Frequency of the virtual performance counter, in counts per second (default 10,000,000).
void TestSetCounterFrequency(int64_t countsPerSecond);
// With `absent` true, QueryPerformanceFrequency reports that there is no counter.
void TestSetNoPerformanceCounter(bool absent);

// --- Input ------------------------------------------------------------------------------------
// Queued input reaches PeekMessageA as the messages the window system would send for it, in
// order, after any posted messages, for the game window.
void TestQueueKey(int virtualKey, bool down);
void TestQueueSysKey(int virtualKey, bool down, bool alt); // WM_SYSKEYDOWN/UP
void TestQueueMinimize();
void TestQueueRestore();
void TestQueueFocusLoss();
void TestQueueResize(int width, int height);
void TestQueueClose();
// Runs `action` when PeekMessageA finds the queue empty for the nth time from now (1 = next);
// lets a test act at a precise frame of a running WinMain.
void TestAtEmptyQueue(int nth, void (*action)(void *), void *context);

// --- Frames -----------------------------------------------------------------------------------
// With capture on, each SwapBuffers reads the back buffer (RGB, bottom row first) first.
void TestCaptureFrames(bool on);
int TestFramesPresented();
// The last captured frame; width and height are set; empty when none was captured.
std::vector<uint8_t> TestLastFrame(int *width, int *height);
// Runs `action` inside every SwapBuffers, before the swap, with the number of the frame (1 = the
// first since TestReset).
void TestOnSwap(void (*action)(int frame, void *), void *context);

// --- Resources --------------------------------------------------------------------------------
// Platform objects still held: files, mappings, views, local blocks, device contexts, bitmaps,
// rendering contexts, windows. Zero after a clean tear-down.
int TestHandlesHeld();
// Window state for assertions.
bool TestWindowExists(HWND window);
bool TestWindowFullscreen(HWND window);
bool TestWindowVisible(HWND window);
void TestClientSize(HWND window, int *width, int *height);
bool TestCursorVisible();
bool TestDisplayModeChanged();
