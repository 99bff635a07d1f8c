// Measures the real game loop of this build: runs WinMain in-process, with the real clock and
// Data/ from the working directory, times every presented frame and prints the frame period
// over 1,000 frames (median, 99th percentile, maximum) and the time from the start of the
// program to its first presented frame. Exits non-zero when the median is off 10 ms by the
// share given as the second argument (default 1%) or more.
#include "tests/app/swap_timer.h"

#include "platform/win32.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const size_t Periods = 1000;

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
  const char *build = argc > 1 ? argv[1] : "this build";
  double tolerance = argc > 2 ? std::atof(argv[2]) : 0.01;
  std::vector<SwapClock::time_point> swaps;
  swaps.reserve(Periods + 1);
  if (!TimeSwaps(&swaps, Periods + 1)) {
    std::fprintf(stderr, "%s: cannot hook SwapBuffers\n", build);
    return 2;
  }
  int code = WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW);
  if (swaps.size() < Periods + 1) {
    std::fprintf(stderr, "%s: the game ended after %zu frames (exit code %d)\n", build,
                 swaps.size(), code);
    return 2;
  }
  std::vector<double> periods;
  for (size_t i = 1; i <= Periods; ++i)
    periods.push_back(Millis(swaps[i] - swaps[i - 1]));
  std::sort(periods.begin(), periods.end());
  double median = Quantile(periods, 0.5), p99 = Quantile(periods, 0.99);
  std::printf("%s: first frame %.1f ms after start; frame period over %zu frames: median %.3f ms, "
              "p99 %.3f ms, max %.3f ms\n",
              build, Millis(swaps[0] - start), Periods, median, p99, periods.back());
  std::fflush(stdout);
  return median > 10 * (1 - tolerance) && median < 10 * (1 + tolerance) ? 0 : 1;
}
