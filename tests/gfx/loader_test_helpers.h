// Helpers shared by the loader tests: reading a file with every box recorded, and taking an
// image's pixels over from the loader.
#pragma once

#include "gfx/bitmap_loader.h"
#include "tests/gfx/bitmap_fixture.h"
#include "tests/gfx/build_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

// What one read gave: the picture (empty when none) and the boxes it showed.
struct LoadOutcome {
  bool loaded = false;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
  std::vector<RecordedBox> boxes;
};

// Copies the image out and frees it as its owner must: the pixel block, then the record.
inline LoadOutcome TakeImage(RgbImage *image) {
  LoadOutcome outcome;
  outcome.boxes = RecordedBoxes();
  if (image == nullptr)
    return outcome;
  outcome.loaded = true;
  outcome.width = image->width;
  outcome.height = image->height;
  if (image->width > 0 && image->height > 0)
    outcome.pixels.assign(image->pixels, image->pixels + size_t{3} * image->width * image->height);
  free(image->pixels);
  free(image);
  return outcome;
}

// A path in the test's temporary folder.
inline std::string TempPath(const std::string &name) {
  return testing::TempDir() + name;
}

// Writes the bytes to a temporary file and reads it with LoadBitmapImage.
inline LoadOutcome LoadBytes(const std::string &name, const std::vector<uint8_t> &bytes) {
  std::string path = TempPath(name);
  EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
  StartRecordingBoxes();
  return TakeImage(LoadBitmapImage(path.c_str()));
}

// Every test starts recording boxes and ends with the platform holding what it held before.
class LoaderTest : public ::testing::Test {
protected:
  void SetUp() override {
    StartRecordingBoxes();
    heldBefore = PlatformObjectsHeld();
  }
  void TearDown() override {
    EXPECT_EQ(PlatformObjectsHeld(), heldBefore) << "platform objects left behind";
  }
  long heldBefore = 0;
};
