// Times every frame the game presents without changing the game: each build hooks its own
// SwapBuffers (the native platform through the test controls, Win32 through the import table).
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

using SwapClock = std::chrono::steady_clock;

// What the hook records. The CPU readings are the process's CPU time (every thread, user and
// system) in seconds, taken at the first and the last recorded swap only, so that reading it
// does not slow the frames in between.
struct SwapRecord {
  std::vector<SwapClock::time_point> times; // every swap, before it
  // When the first swap had presented its frame, on both clocks: the renderer may still draw
  // inside the swap.
  SwapClock::time_point firstPresented;
  std::chrono::system_clock::time_point firstPresentedWall;
  double cpuAtFirst = 0;
  double cpuAtLast = 0;
};

// From now on records every SwapBuffers into `record`; once `frames` have been recorded, asks
// the game to end as a player would, with Escape. False when the hook could not be installed.
bool TimeSwaps(SwapRecord *record, size_t frames);

// The CPU time this process has used so far, all threads together, in seconds.
double ProcessCpuSeconds();

// Notes one swap in `record`, with the CPU time at the first and at the `wanted`th; true when
// this swap is the `wanted`th, after which the hook asks the game to end.
inline bool NoteSwap(SwapRecord *record, size_t wanted) {
  record->times.push_back(SwapClock::now());
  if (record->times.size() == 1)
    record->cpuAtFirst = ProcessCpuSeconds();
  if (record->times.size() != wanted)
    return false;
  record->cpuAtLast = ProcessCpuSeconds();
  return true;
}

// Notes the moment the first swap returned, once it has.
inline void NotePresented(SwapRecord *record) {
  if (record->times.size() != 1)
    return;
  record->firstPresented = SwapClock::now();
  record->firstPresentedWall = std::chrono::system_clock::now();
}

// From now on the game finds nothing to sleep on (no waitable timer, nor Wine's delay), so that
// its frame's wait spins the whole 10 ms as it did before it slept: the old wait, measured beside
// the new one. False when that could not be arranged.
bool DenySleeps();
