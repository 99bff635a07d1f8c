// The native floor: the least an SDL2 program does to show a 640 x 480 OpenGL frame, and to pace
// frames of 200 textured quads to 10 ms (an absolute sleep to 0.3 ms before the frame's end, then
// a spin). The game's own figures are read against these. Usage: floor_probe [FRAMES [fullscreen]];
// 0 frames (the default) presents one frame and ends; `fullscreen` shows the window fullscreen in
// a 640 x 480 mode, as the game starts. With ZELU_FLOOR_STEPS set, prints the first frame's steps.
#include "bench/floor_scene.h"
#include "bench/floor_stats.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <sys/resource.h>
#include <time.h>

#include <cstdlib>
#include <cstring>

namespace {

const double FrameNanos = 10e6;
const double SpinNanos = 0.3e6;

double CpuSeconds() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

long long NowNanos() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000000000LL + now.tv_nsec;
}

void SleepUntil(long long nanos) {
  timespec until = {static_cast<time_t>(nanos / 1000000000), static_cast<long>(nanos % 1000000000)};
  clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
}

} // namespace

int main(int argc, char **argv) {
  FloorClock::time_point start = FloorClock::now();
  long frames = argc > 1 ? std::atol(argv[1]) : 0;
  bool steps = std::getenv("ZELU_FLOOR_STEPS") != nullptr;
  std::vector<FloorClock::time_point> swaps;
  swaps.reserve(static_cast<size_t>(frames) + 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0)
    return 2;
  FloorClock::time_point initialised = FloorClock::now();
  bool fullscreen = argc > 2 && std::strcmp(argv[2], "fullscreen") == 0;
  SDL_Window *window = SDL_CreateWindow(
      "floor", 0, 0, 640, 480, SDL_WINDOW_OPENGL | (fullscreen ? SDL_WINDOW_FULLSCREEN : 0));
  FloorClock::time_point windowMade = FloorClock::now();
  SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
  if (context == nullptr)
    return 2;
  SDL_GL_SetSwapInterval(0);
  FloorClock::time_point contextMade = FloorClock::now();
  MakeTexture();
  FloorFirstFrame first;
  double cpuAtFirst = 0, cpuAtLast = 0;
  // Each frame as the game runs one: draw, swap, then wait out 10 ms from the frame's start.
  for (long frame = 0; frame <= frames; ++frame) {
    long long frameStart = NowNanos();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    DrawQuads(static_cast<int>(frame));
    swaps.push_back(FloorClock::now());
    if (frame == 0)
      cpuAtFirst = CpuSeconds();
    if (frame == frames)
      cpuAtLast = CpuSeconds();
    SDL_GL_SwapWindow(window);
    if (frame == 0)
      first = NoteFirstFrame();
    if (frame == 0 && steps)
      std::fprintf(
          stderr, "SDL_Init %.1f ms, window %.1f ms, context %.1f ms, draw and swap %.1f ms\n",
          FloorMillis(initialised - start), FloorMillis(windowMade - initialised),
          FloorMillis(contextMade - windowMade), FloorMillis(FloorClock::now() - contextMade));
    if (frame == frames)
      break;
    long long end = frameStart + static_cast<long long>(FrameNanos);
    SleepUntil(end - static_cast<long long>(SpinNanos));
    while (NowNanos() < end) {
    }
  }
  PrintFloorFigures(start, first, swaps, cpuAtLast - cpuAtFirst);
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
