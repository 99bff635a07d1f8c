// What the loader tests need from the build they run in: message boxes answered and recorded
// without anyone looking, and a count of the platform objects the process holds.
#pragma once

#include <string>
#include <vector>

struct RecordedBox {
  std::string text;
  std::string caption;
};

// From now on every message box is answered with OK at once and recorded; earlier records go.
void StartRecordingBoxes();
// The boxes shown since StartRecordingBoxes, in order.
std::vector<RecordedBox> RecordedBoxes();

// Platform objects held by the process (files, mappings, views, local blocks, contexts, bitmaps,
// as far as the build can count them): the same before and after a read that released all.
long PlatformObjectsHeld();
