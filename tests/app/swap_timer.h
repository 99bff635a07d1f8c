// Times every frame the game presents without changing the game: each build hooks its own
// SwapBuffers (the native platform through the test controls, Win32 through the import table).
#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

using SwapClock = std::chrono::steady_clock;

// From now on records the moment of every SwapBuffers (before the swap) into `times`; once
// `frames` have been recorded, asks the game to end as a player would, with Escape. False when
// the hook could not be installed.
bool TimeSwaps(std::vector<SwapClock::time_point> *times, size_t frames);
