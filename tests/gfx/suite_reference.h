// The BMP suite as the loader tests see it: where its files are, and each picture as an
// independent decoder (ImageMagick) gives it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The path of a suite file named by folder and name ("g/pal8.bmp"), as the loader is given it.
std::string SuitePath(const std::string &file);

// ImageMagick's picture of a suite file: 8-bit red, green, blue, top row first; empty when it
// cannot decode the file.
std::vector<uint8_t> ImageMagickPicture(const std::string &file);

// Whether the DIB conversion is the real GDI's (the Windows build) rather than our own.
bool ConversionIsRealGdi();
