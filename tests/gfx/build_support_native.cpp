// Loader test support for the native build: the platform's own test controls, and ImageMagick
// run on each suite file as it is needed.
#include "tests/gfx/build_support.h"

#include "platform/testing.h"

#include <cstdio>

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

bool ConversionIsRealGdi() {
  return false;
}

std::string SuitePath(const std::string &file) {
  return std::string(ZELU_BMPSUITE_DIR) + "/" + file;
}

std::vector<uint8_t> ImageMagickPicture(const std::string &file) {
  std::string command = "convert '" + SuitePath(file) + "' -depth 8 rgb:- 2>/dev/null";
  std::vector<uint8_t> picture;
  FILE *output = popen(command.c_str(), "r");
  if (output == nullptr)
    return picture;
  uint8_t buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, output)) > 0)
    picture.insert(picture.end(), buffer, buffer + got);
  pclose(output);
  return picture;
}
