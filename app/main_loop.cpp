// WinMain: opens the game window, starts the frame clock and runs passes until WM_QUIT, Escape
// or the frame function ends the game; each frame is drawn, presented, paced to 10 ms and then
// followed by the key polling, which reads the keyboard and the gamepad.
#include "app/frame_clock.h"
#include "app/frame_wait.h"
#include "app/gamepad.h"
#include "app/game_window.h"
#include "app/window_proc.h"
#include "game/game_state.h"
#include "game/scene.h"
#include "platform/win32.h"

namespace {

const char *const WindowTitle = "Zelu's Line Tutorial";
const int WindowWidth = 640;
const int WindowHeight = 480;
const int WindowBits = 16;
const double FramePaceMillis = 10.0; // the shortest frame

enum FrameOutcome { KeepGoing, EndAfterPass, ExitAtOnce };

// Closes the window and opens it again in the other mode; false when that failed.
bool SwitchDisplayMode() {
  KeyState[VK_F1] = false;
  CloseGameWindow();
  AppWindow.fullscreen = !AppWindow.fullscreen;
  return OpenGameWindow(WindowTitle, WindowWidth, WindowHeight, WindowBits, AppWindow.fullscreen);
}

// The first matching line wins; a refused key does not stop the lines after it. The test is
// against the heading, not a turn already pending, so a step never reverses the snake.
void SteerFromKeys() {
  Direction heading = GameState.direction;
  if (KeyDown(VK_RIGHT) && heading != Left)
    GameState.pendingTurn = Right + 1;
  else if (KeyDown(VK_UP) && heading != Down)
    GameState.pendingTurn = Up + 1;
  else if (KeyDown(VK_LEFT) && heading != Right)
    GameState.pendingTurn = Left + 1;
  else if (KeyDown(VK_DOWN) && heading != Up)
    GameState.pendingTurn = Down + 1;
}

void RestartOnSpace() {
  if (KeyDown(VK_SPACE) && (GameState.gameOver || GameState.completed || !AppWindow.active))
    RestartGame();
}

// One frame: draw (while active), present unless the game ends, wait out the pace, then poll.
// The frame that sees Escape is drawn but not presented; the rest of it still runs.
FrameOutcome RunFrame() {
  // Counted in the clock's own ticks: milliseconds since the clock's start lose the precision
  // a 10 ms wait needs after a few hours of play.
  int64_t start;
  ReadFrameStartTicks(&start);
  FrameOutcome outcome = KeepGoing;
  if ((AppWindow.active && !DrawFrame()) || KeyDown(VK_ESCAPE))
    outcome = EndAfterPass;
  else
    SwapBuffers(AppWindow.deviceContext);
  WaitOutFrame(start, FramePaceMillis);
  PollGamepad();
  if (KeyDown(VK_F1) && !SwitchDisplayMode())
    return ExitAtOnce;
  SteerFromKeys();
  RestartOnSpace();
  return outcome;
}

} // namespace

// Returns the code given to PostQuitMessage when the loop ends on WM_QUIT (0 when the window is
// closed), and 0 otherwise: when the window cannot be opened, at start or after F1, and when
// Escape ends the game. A key message's wParam is no exit status.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MSG message = {};
  int exitCode = 0;
  if (!OpenGameWindow(WindowTitle, WindowWidth, WindowHeight, WindowBits, AppWindow.fullscreen))
    return 0;
  StartFrameClock();
  OpenFrameWait();
  bool done = false;
  while (!done) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        exitCode = static_cast<int>(message.wParam);
        done = true;
      } else {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
      continue;
    }
    FrameOutcome outcome = RunFrame();
    if (outcome == ExitAtOnce) {
      CloseFrameWait();
      return 0;
    }
    done = outcome == EndAfterPass;
  }
  CloseFrameWait();
  CloseGameWindow();
  return exitCode;
}
