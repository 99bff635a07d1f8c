// Loader test support for the native build: the platform's own test controls.
#include "tests/gfx/loader_test_support.h"

#include "platform/testing.h"

void StartRecordingBoxes() {
  TestReset();
  TestScriptMessageBoxes();
}

std::vector<RecordedBox> RecordedBoxes() {
  std::vector<RecordedBox> boxes;
  for (const TestMessageBox &box : TestMessageBoxes())
    boxes.push_back({box.text, box.caption});
  return boxes;
}

long PlatformObjectsHeld() {
  return TestHandlesHeld();
}
