// What the floor programs print, in the fields that frame_pace_probe prints for the game, so that
// a bench section reads both alike: the first frame's time from the program's start and its
// wall-clock moment, and for a paced run the period's median, 99th percentile and maximum and
// the CPU time per second of play and per frame.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using FloorClock = std::chrono::steady_clock;

// The value below which `share` of the sorted values lie.
inline double FloorQuantile(const std::vector<double> &sorted, double share) {
  size_t index = static_cast<size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(index, sorted.size() - 1)];
}

inline double FloorMillis(FloorClock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The moment the first swap had presented its frame, on both clocks: the renderer may still draw
// inside the swap.
struct FloorFirstFrame {
  FloorClock::time_point presented;
  std::chrono::system_clock::time_point presentedWall;
};

inline FloorFirstFrame NoteFirstFrame() {
  return {FloorClock::now(), std::chrono::system_clock::now()};
}

// `swaps` holds the moment before every swap, the first one included; `cpuSeconds` the CPU time
// used between the first and the last of them.
inline void PrintFloorFigures(FloorClock::time_point start, const FloorFirstFrame &first,
                              const std::vector<FloorClock::time_point> &swaps, double cpuSeconds) {
  long long wallMicros =
      std::chrono::duration_cast<std::chrono::microseconds>(first.presentedWall.time_since_epoch())
          .count();
  std::printf("first_frame_ms=%.1f first_frame_epoch_us=%lld", FloorMillis(first.presented - start),
              wallMicros);
  if (swaps.size() > 1) {
    std::vector<double> lengths;
    for (size_t i = 1; i < swaps.size(); ++i)
      lengths.push_back(FloorMillis(swaps[i] - swaps[i - 1]));
    std::sort(lengths.begin(), lengths.end());
    double played = FloorMillis(swaps.back() - swaps.front()) / 1000;
    std::printf(" periods=%zu median_ms=%.3f p99_ms=%.3f max_ms=%.3f cpu_per_s=%.3f"
                " cpu_ms_per_frame=%.3f",
                lengths.size(), FloorQuantile(lengths, 0.5), FloorQuantile(lengths, 0.99),
                lengths.back(), cpuSeconds / played,
                cpuSeconds * 1000 / static_cast<double>(lengths.size()));
  }
  std::printf("\n");
  std::fflush(stdout);
}
