// Shared ground for the in-process tests of the application shell: the process-wide records back
// at their start values, the platform scripted (message boxes, sounds) and Data/ at hand.
#pragma once

#include "app/game_window.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <string>
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
