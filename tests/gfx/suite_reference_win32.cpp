// The BMP suite for the Windows tests under Wine: ImageMagick, a Linux program, cannot be started
// from there, so a setup test has run it on every file and left its pictures in a folder.
#include "tests/gfx/suite_reference.h"

#include <cstdio>

std::string SuitePath(const std::string &file) {
  return std::string(ZELU_BMPSUITE_DIR) + "/" + file;
}

// "g/pal8.bmp" was written as "g-pal8.bmp.rgb".
std::vector<uint8_t> ImageMagickPicture(const std::string &file) {
  std::string name = file;
  for (char &c : name)
    if (c == '/')
      c = '-';
  std::vector<uint8_t> picture;
  FILE *input = fopen((std::string(ZELU_REFERENCE_DIR) + "/" + name + ".rgb").c_str(), "rb");
  if (input == nullptr)
    return picture;
  uint8_t buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, input)) > 0)
    picture.insert(picture.end(), buffer, buffer + got);
  fclose(input);
  return picture;
}

bool ConversionIsRealGdi() {
  return true;
}
