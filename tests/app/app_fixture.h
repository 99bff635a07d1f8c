// Shared ground for the in-process tests of the application shell: the process-wide records back
// at their start values, the platform scripted (message boxes, sounds) and Data/ at hand.
#pragma once

#include "app/game_window.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A message box as the tests expect it: always without an owner window.
struct ExpectedBox {
  std::string text;
  std::string caption;
  UINT flags;
};

// The boxes asked for since the last TestReset, compared as a whole with their order.
void ExpectBoxes(const std::vector<ExpectedBox> &expected);

// The game's own Data/ folder is in the working directory unless a test moves away from it.
class AppTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Makes a fresh empty directory the working directory: no Data/ there.
  void MoveToEmptyDirectory();
  // Platform objects held when the test began; a test ends with no more than these.
  int heldAtStart = 0;
};

// The records as they are when the process starts (fullscreen and active true, nothing held,
// no key down, a fresh game).
void ResetAppRecords();

// Steps that run at chosen frames of a running WinMain: the step for frame k runs when
// PeekMessageA finds the queue empty for the k-th time, just before frame k.
class FrameScript {
public:
  void At(int frame, std::function<void()> step) { steps.emplace_back(frame, std::move(step)); }
  void Arm() {
    if (!steps.empty())
      TestAtEmptyQueue(steps[0].first, Run, this);
  }

private:
  static void Run(void *context) {
    FrameScript *self = static_cast<FrameScript *>(context);
    size_t current = self->next++;
    if (self->next < self->steps.size())
      TestAtEmptyQueue(self->steps[self->next].first - self->steps[current].first, Run, self);
    self->steps[current].second();
  }
  std::vector<std::pair<int, std::function<void()>>> steps;
  size_t next = 0;
};
