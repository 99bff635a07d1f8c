// Measures the real game loop of this build: runs WinMain in-process, with the real clock and
// Data/ from the working directory, times every presented frame and prints, as `name=value`
// fields on one line, the time from the program's start and the wall-clock moment of its first
// presented frame, and for the given number of frame periods after it (default 1,000; 0 ends
// at the first frame) their median, 99th percentile and maximum, and the CPU time the process
// used per second of play and per frame. With a second argument `spin` the game finds nothing to
// sleep on and its frame's wait spins, as it did before it slept. Exits 2 when the game ended
// early or could not be timed.
#include "bench/swap_timer.h"

#include "platform/win32.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

double Millis(SwapClock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The value below which `share` of the sorted values lie.
double Quantile(const std::vector<double> &sorted, double share) {
  size_t index = static_cast<size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(index, sorted.size() - 1)];
}

} // namespace

int main(int argc, char **argv) {
  SwapClock::time_point start = SwapClock::now();
  long requested = argc > 1 ? std::atol(argv[1]) : 1000;
  size_t periods = requested > 0 ? static_cast<size_t>(requested) : 0;
  SwapRecord record;
  record.times.reserve(periods + 1);
  if (!TimeSwaps(&record, periods + 1)) {
    std::fprintf(stderr, "frame_pace_probe: cannot hook SwapBuffers\n");
    return 2;
  }
  if (argc > 2 && std::strcmp(argv[2], "spin") == 0 && !DenySleeps()) {
    std::fprintf(stderr, "frame_pace_probe: cannot take the sleeps away\n");
    return 2;
  }
  int code = WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW);
  if (record.times.size() < periods + 1) {
    std::fprintf(stderr, "frame_pace_probe: the game ended after %zu frames (exit code %d)\n",
                 record.times.size(), code);
    return 2;
  }
  if (record.firstPresented == SwapClock::time_point{}) {
    std::fprintf(stderr, "frame_pace_probe: the first frame's swap did not present it\n");
    return 2;
  }
  long long firstWallMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                                  record.firstPresentedWall.time_since_epoch())
                                  .count();
  std::printf("first_frame_ms=%.1f first_frame_epoch_us=%lld",
              Millis(record.firstPresented - start), firstWallMicros);
  if (periods > 0) {
    std::vector<double> lengths;
    for (size_t i = 1; i <= periods; ++i)
      lengths.push_back(Millis(record.times[i] - record.times[i - 1]));
    std::sort(lengths.begin(), lengths.end());
    double played = Millis(record.times[periods] - record.times[0]) / 1000;
    double cpu = record.cpuAtLast - record.cpuAtFirst;
    std::printf(" periods=%zu median_ms=%.3f p99_ms=%.3f max_ms=%.3f cpu_per_s=%.3f"
                " cpu_ms_per_frame=%.3f",
                periods, Quantile(lengths, 0.5), Quantile(lengths, 0.99), lengths.back(),
                cpu / played, cpu * 1000 / static_cast<double>(periods));
  }
  std::printf("\n");
  std::fflush(stdout);
  return 0;
}
