// What a platform beneath win32_core provides: every call below, and nothing more. win32_core
// implements the Win32 calls on top of them, so that each Win32 rule is written once; a platform
// only makes windows, turns its input into the calls of winuser_state.h, enters and leaves a
// display mode, drives rendering contexts, plays a sound, asks a question, tells the time, sleeps,
// reads its gamepads and reads its files. platform/sdl and platform/web each implement the list,
// one file per group (window.cpp, input.cpp, display.cpp, gl_context.cpp, sound.cpp, dialogs.cpp,
// sleep.cpp, gamepad.cpp, files.cpp). Internal to platform/.
#pragma once

#include "platform/win32.h"

#include <cstdint>

struct WindowRecord; // winuser_state.h
// The platform's own window behind a record: an SDL window, or the page's canvas.
struct NativeWindow;
// The platform's own rendering context behind an HGLRC.
struct NativeContext;
// The platform's own open file behind a file handle and the mappings made from it.
struct NativeFile;

// --- Windows ----------------------------------------------------------------------------------
// A hidden window for a new record (its client size, styles and fullscreen flag are set); null
// when the platform cannot make one.
NativeWindow *CreateNativeWindow(const WindowRecord &record, const char *title, int x, int y);
void DestroyNativeWindow(NativeWindow *native);
void ShowNativeWindow(NativeWindow *native, bool visible);
// Brings the window to the front; gives it the window system's keyboard focus.
void RaiseNativeWindow(NativeWindow *native);
void FocusNativeWindow(NativeWindow *native);
// DefWindowProcA's SC_MINIMIZE, SC_MAXIMIZE and SC_RESTORE.
void NativeSystemCommand(NativeWindow *native, WPARAM command);
// The factor by which a plain (not fullscreen) window is larger on the screen than the program
// sees it; 1 where the platform does not scale.
float PlainWindowScale();

// --- Input ------------------------------------------------------------------------------------
// Turns the next piece of window-system input into messages, through the input calls of
// winuser_state.h (KeyInput, FocusGainedInput, ...); false when there is none.
bool TakePlatformInput();

// --- Display mode and cursor ------------------------------------------------------------------
// Starts the platform's display (and its input) on first use; false when there is none.
bool EnsureVideo();
// The desktop's size, for a display-mode request that names no width or height; false when the
// platform takes only requests that name both.
bool NativeDesktopSize(int *width, int *height);
// Enters a whole-screen mode of this size; `temporary` is CDS_FULLSCREEN (the mode ends with the
// program). DISP_CHANGE_SUCCESSFUL, or DISP_CHANGE_BADMODE / DISP_CHANGE_FAILED as Win32 answers.
// Windows made in the mode afterwards are fullscreen (their record says so).
LONG EnterNativeDisplayMode(int width, int height, bool temporary);
// Returns the screen to the desktop's mode (its fullscreen windows have left it already).
void LeaveNativeDisplayMode();
// A fullscreen window becomes a plain window of its size.
void LeaveNativeFullscreen(NativeWindow *native);
// Shows or hides the pointer over the program's windows.
void ShowNativeCursor(bool visible);

// --- Rendering contexts and presenting --------------------------------------------------------
// A rendering context for the window's pixel format, leaving the thread's current context as it
// was; null when none can be made.
NativeContext *CreateNativeContext(WindowRecord *window);
// Makes the context current on the window; false when it cannot be.
bool MakeNativeContextCurrent(WindowRecord *window, NativeContext *context);
// Leaves the thread with no current context.
void ReleaseNativeContext();
// Deletes a context that is not current; what it owns goes with it.
void DeleteNativeContext(NativeContext *context);
// Called when a window's logical client size changes: what it draws to takes the size.
void FitWindowSurface(WindowRecord *record);
// Shows the window's back buffer; `current` when this thread's context draws to the window.
void PresentNativeWindow(WindowRecord *window, bool current);
// The current context's swap interval, for WGL_EXT_swap_control: whether the platform has one to
// choose at all (the extension is offered only then), a change (false when refused), its value.
bool NativeOffersSwapInterval();
bool SetNativeSwapInterval(int interval);
int NativeSwapInterval();

// --- Sound ------------------------------------------------------------------------------------
// Opens the sound output on first use; false when there is none (every sound then fails).
bool NativeSoundReady();
// Stops the sound that plays and plays the named file, repeating it when `loop`; when `wait`,
// returns once it has ended. False when the file cannot be played.
bool PlayNativeSound(const char *path, bool loop, bool wait);
void StopNativeSound();

// --- Message boxes ----------------------------------------------------------------------------
// Asks the player and waits for the answer: IDOK for an OK box, IDYES or IDNO for a Yes/No box.
// A box must reach the player: when the platform's own box fails, it tells the player another
// way and answers the default button (IDYES or IDOK) itself. `icon` is MB_ICONERROR,
// MB_ICONEXCLAMATION or another MB_ICON value; `owner` may be null.
int AskNativeQuestion(NativeWindow *owner, const char *caption, const char *text, bool yesNo,
                      UINT icon);

// --- Clock and sleep --------------------------------------------------------------------------
// The clock in nanoseconds that every reading of time comes from (the performance counter,
// timeGetTime, message times, timers' due times): CLOCK_MONOTONIC natively; in the browser the
// game's clock, which moves on in whole 10 ms frames as the display's frames come.
uint64_t MonotonicNanos();
// Returns once MonotonicNanos has reached `due`, not before: the thread sleeps natively; the
// browser build gives the page the time until a display frame makes it due.
void SleepUntilNanos(uint64_t due);

// --- Gamepads ---------------------------------------------------------------------------------
// Beneath XInputGetState (xinput.cpp, which keeps XInput's arguments and packet number): the pad
// with this user index (0 to 3) in XInput's layout and units, sticks with y growing upwards;
// false when none is connected there. A pad connected since the last call counts at once.
bool ReadPlatformPad(DWORD userIndex, XINPUT_GAMEPAD *pad);

// --- Files ------------------------------------------------------------------------------------
// Beneath CreateFileA and its mappings (kernel.cpp keeps Win32's rules: what opens, sizes,
// offsets, which object outlives which): files read-only, natively the file system's, in the
// browser Data/, which is embedded in the program.
// An existing regular file, open for reading; null when there is none at `path` (a folder is
// none).
NativeFile *OpenNativeFile(const char *path);
// The file's size in bytes now; false when it cannot be told.
bool NativeFileSize(NativeFile *file, uint64_t *size);
// A read-only view of `length` (> 0) bytes of the file from `offset` (a multiple of 65,536), all
// within the file; null when the platform cannot make it. The view stays valid until
// UnmapNativeFile, also after CloseNativeFile.
const void *MapNativeFile(NativeFile *file, uint64_t offset, size_t length);
void UnmapNativeFile(const void *view, size_t length);
void CloseNativeFile(NativeFile *file);
