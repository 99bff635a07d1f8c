// What the loader tests need from the build they run in: message boxes answered and recorded
// without anyone looking, a count of the platform objects held, the BMP suite's files and an
// independent decoder's (ImageMagick's) pictures of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RecordedBox {
  std::string text;
  std::string caption;
};

// From now on every message box is closed at once and recorded; earlier records go.
void StartRecordingBoxes();
// The boxes shown since StartRecordingBoxes, in order.
std::vector<RecordedBox> RecordedBoxes();

// Platform objects held by the process (files, mappings, views, local blocks, contexts, bitmaps,
// as far as the build can count them): the same before and after a read that released all.
long PlatformObjectsHeld();

// Whether the DIB conversion is the real GDI's (the Windows build) rather than our own.
bool ConversionIsRealGdi();

// The path of a suite file named by folder and name ("g/pal8.bmp"), as the loader is given it.
std::string SuitePath(const std::string &file);

// ImageMagick's picture of a suite file: 8-bit red, green, blue, top row first; empty when it
// cannot decode the file.
std::vector<uint8_t> ImageMagickPicture(const std::string &file);
