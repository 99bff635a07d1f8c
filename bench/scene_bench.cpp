// Time per frame of DrawFrame followed by glFinish on the software renderer, with the committed
// Data/ images, for the shortest snake (length 1) and the longest (167, a whole board but one
// cell). A frame's drawing must stay far inside the game's 10 ms frame.
#include "game/game_state.h"
#include "game/scene.h"
#include "gfx/render_state.h"
#include "tests/game/game_driver.h"
#include "tests/render/gl_window.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace {

// The snake laid along the board's Hamiltonian cycle, head first, with the food on a free cell.
// The game runs, but every measured frame finds the next step still ten frames away, so the board
// never changes and no sound starts.
void LayOutSnake(int length) {
  RestartGame();
  GameState.length = length;
  for (int i = 0; i < length; ++i)
    CycleCell(100 - i, &GameState.segmentX[i], &GameState.segmentY[i]);
  CycleCell(101, &GameState.foodColumn, &GameState.foodRow);
  GameState.foodKind = 1;
  GameState.score = length - 1;
  GameState.framesPerStep = 20;
}

void DrawFrameAndFinish(benchmark::State &state) {
  LayOutSnake(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    GameState.frameCounter = 10;
    DrawFrame();
    glFinish();
  }
  state.counters["segments"] = static_cast<double>(GameState.length);
}
// CPU time counts every thread of the process: the software renderer draws on threads of its own.
BENCHMARK(DrawFrameAndFinish)
    ->Arg(1)
    ->Arg(167)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// The same frame with the completed screen's text on top, as the game shows it at length 167.
void DrawCompletedFrameAndFinish(benchmark::State &state) {
  LayOutSnake(167);
  GameState.completed = true;
  for (auto _ : state) {
    DrawFrame();
    glFinish();
  }
}
BENCHMARK(DrawCompletedFrameAndFinish)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  std::filesystem::current_path(ZELU_SOURCE_DIR); // the game finds Data/ in its working directory
  GlWindow gl;
  if (!OpenGlWindow(&gl) || !InitRenderState()) {
    std::fprintf(stderr, "scene_bench: no OpenGL context or no Data/ images\n");
    return 1;
  }
  const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
  benchmark::AddCustomContext("renderer", renderer != nullptr ? renderer : "unknown");
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  CloseGlWindow(&gl);
  return 0;
}
