// What the native platform's calls cost beside the SDL or POSIX call each stands on, in the
// build the game ships: the test controls' seam must add nothing a player pays for.
#include "platform/win32.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

namespace {

void BM_QueryPerformanceCounter(benchmark::State &state) {
  LARGE_INTEGER count;
  for (auto _ : state) {
    QueryPerformanceCounter(&count);
    benchmark::DoNotOptimize(count);
  }
}
BENCHMARK(BM_QueryPerformanceCounter);

void BM_SDL_GetPerformanceCounter(benchmark::State &state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(SDL_GetPerformanceCounter());
}
BENCHMARK(BM_SDL_GetPerformanceCounter);

void BM_QueryPerformanceFrequency(benchmark::State &state) {
  LARGE_INTEGER frequency;
  for (auto _ : state) {
    QueryPerformanceFrequency(&frequency);
    benchmark::DoNotOptimize(frequency);
  }
}
BENCHMARK(BM_QueryPerformanceFrequency);

void BM_SDL_GetPerformanceFrequency(benchmark::State &state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(SDL_GetPerformanceFrequency());
}
BENCHMARK(BM_SDL_GetPerformanceFrequency);

void BM_timeGetTime(benchmark::State &state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(timeGetTime());
}
BENCHMARK(BM_timeGetTime);

void BM_clock_gettime(benchmark::State &state) {
  timespec now;
  for (auto _ : state) {
    clock_gettime(CLOCK_MONOTONIC, &now);
    benchmark::DoNotOptimize(now);
  }
}
BENCHMARK(BM_clock_gettime);

// Opening and closing a file: the handle bookkeeping comes on top of the system calls.
void BM_CreateFileA_CloseHandle(benchmark::State &state) {
  for (auto _ : state) {
    HANDLE file = CreateFileA("/proc/self/exe", GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      state.SkipWithError("CreateFileA failed");
      break;
    }
    CloseHandle(file);
  }
}
BENCHMARK(BM_CreateFileA_CloseHandle);

void BM_open_fstat_close(benchmark::State &state) {
  for (auto _ : state) {
    int fd = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      state.SkipWithError("open failed");
      break;
    }
    struct stat info;
    fstat(fd, &info);
    benchmark::DoNotOptimize(info);
    close(fd);
  }
}
BENCHMARK(BM_open_fstat_close);

} // namespace

BENCHMARK_MAIN();
