// The BMP suite for the native tests: ImageMagick is run on each file as it is needed.
#include "tests/gfx/suite_reference.h"

#include <cstdio>

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

bool ConversionIsRealGdi() {
  return false;
}
