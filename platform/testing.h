// Controls that tests use to script and observe the native platform layer (platform/sdl).
// Game code never includes this header; it exists only in the native build, and its functions
// only in the zelu_platform_testing library that test programs link.
#pragma once

#include "platform/win32.h"

#include <cstdint>
#include <string>
#include <vector>

// Brings every control back to its default: no failures armed, message boxes shown for real,
// sounds played for real, the real clock, no queued input, no frame capture. Recordings, call
// counts and the frame count are cleared. The window system returns to its state at process
// start as far as a finished run can have changed it: the message queue is emptied (a pending
// quit included), window classes that no window uses are forgotten, the desktop display mode
// and the cursor come back. Windows and other objects still held stay (see TestHandlesHeld).
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
// Waits (WaitForSingleObject on a waitable timer) on the virtual clock move it on to their end
// at once; with a lateness set, every such wait ends that many microseconds after its due time,
// as a loaded scheduler wakes a sleeper late.
void TestSetWaitLatenessMicros(uint64_t micros);
// The virtual time that waits have moved the clock on by since the last TestReset.
uint64_t TestWaitedMicros();
// With `absent` true, CreateWaitableTimerExW refuses CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, as
// Windows before 10 1803 does.
void TestSetNoHighResolutionTimer(bool absent);

// --- Input ------------------------------------------------------------------------------------
// Queued input reaches PeekMessageA as the messages the window system would send for it, in
// order, after any posted messages and before SDL's own events. Input queued while no window
// exists waits for one. Keys go to the window with the keyboard focus (system keys, when none
// has it, to the active window); while no window has it, after a minimise or a focus loss, they
// are lost, as they would reach another program. The rest goes to the active window, or else to
// the newest one:
//   key:        WM_KEYDOWN / WM_KEYUP, wParam the code, lParam repeat 1 | bit 30 when the key
//               was down before | bit 31 on release
//   system key: WM_SYSKEYDOWN / WM_SYSKEYUP, the same with bit 29 when `alt`
//   minimise:   WM_ACTIVATE (WA_INACTIVE, high word 1), WM_SIZE (SIZE_MINIMIZED, 0 x 0)
//   restore:    WM_ACTIVATE (WA_ACTIVE, high word 0), WM_SIZE (SIZE_RESTORED, client size);
//               for a window that is not minimised, only the WM_ACTIVATE, if it was inactive
//   focus loss: WM_ACTIVATE (WA_INACTIVE, high word 0); GetFocus is null afterwards
//   resize:     the client area changes; WM_SIZE (SIZE_RESTORED, width x height)
//   close:      WM_SYSCOMMAND (SC_CLOSE), which DefWindowProcA turns into WM_CLOSE
void TestQueueKey(int virtualKey, bool down);
void TestQueueSysKey(int virtualKey, bool down, bool alt); // WM_SYSKEYDOWN/UP
void TestQueueMinimize();
void TestQueueRestore();
void TestQueueFocusLoss();
void TestQueueResize(int width, int height);
void TestQueueClose();
// Runs `action` when PeekMessageA finds the queue empty for the nth time from now (1 = next);
// lets a test act at a precise frame of a running WinMain. PeekMessageA still returns FALSE
// from that call, so the action runs just before the frame that the empty queue lets run; what
// it queues comes out of the next call. Several actions may wait at once; an action may arm
// the next one.
void TestAtEmptyQueue(int nth, void (*action)(void *), void *context);

// --- Gamepads ---------------------------------------------------------------------------------
// Virtual game controllers with the Xbox layout, which XInputGetState reads as it reads real
// ones. A pad attaches with nothing pressed and its sticks at rest; TestReset detaches them all.
// Returns the pad's number for the calls below.
int TestAttachGamepad();
// Holds exactly these XINPUT_GAMEPAD_* buttons.
void TestSetGamepadButtons(int pad, WORD buttons);
// Moves the left stick: -32768 to 32767 each, x growing rightwards and y downwards, as the device
// itself reports it.
void TestSetGamepadStick(int pad, int x, int y);
void TestDetachGamepad(int pad);

// --- Frames -----------------------------------------------------------------------------------
// With capture on, each SwapBuffers reads the back buffer (RGB, bottom row first) first.
void TestCaptureFrames(bool on);
int TestFramesPresented();
// The last captured frame; width and height are set; empty when none was captured.
std::vector<uint8_t> TestLastFrame(int *width, int *height);
// Runs `action` inside every SwapBuffers, after the capture and before the swap, with the number
// of the frame (1 = the first since TestReset). A null action removes it.
void TestOnSwap(void (*action)(int frame, void *), void *context);
// Runs `action` when a SwapBuffers has presented its frame, with the frame's number as above. A
// null action removes it.
void TestOnPresented(void (*action)(int frame, void *), void *context);

// --- Resources --------------------------------------------------------------------------------
// Platform objects still held: files, mappings, views, local blocks, device contexts, bitmaps,
// rendering contexts, windows. Zero after a clean tear-down.
int TestHandlesHeld();
// Window state for assertions.
bool TestWindowExists(HWND window);
bool TestWindowFullscreen(HWND window);
bool TestWindowVisible(HWND window);
// The client area as the program sees it (logical pixels), and as the screen has it.
void TestClientSize(HWND window, int *width, int *height);
void TestScreenSize(HWND window, int *width, int *height);
bool TestCursorVisible();
bool TestDisplayModeChanged();

// --- Desktop scale ----------------------------------------------------------------------------
// Windows created from now on that are not in a changed display mode are `scale` (1 to 8) times
// larger on the screen than the program sees them, as for a desktop scaled that much; 0 goes
// back to what the desktop says (ZELU_SCALE, GDK_SCALE, Xft.dpi). TestReset sets 0.
void TestSetDesktopScale(float scale);
// The factor that these settings give: ZELU_SCALE's and GDK_SCALE's texts (null when unset) and
// the Xft.dpi resource (0 when unset).
float TestDesktopScaleFrom(const char *zeluScale, const char *gdkScale, int xftDpi);
