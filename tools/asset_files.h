// The six files of Data/, built in memory so that the generator and its tests share one path.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AssetFile {
  std::string name; // as the game opens it, relative to Data/
  std::vector<std::uint8_t> bytes;
};

// The font folder holding the DejaVu faces, as installed by fonts-dejavu-core.
const char *DefaultFontDir();

// Builds Font.bmp, Image.bmp, freeze.wav, hourglass.wav, Die.wav and Complete.wav. The same
// fonts always give the same bytes. Returns false with a message when a face is missing.
bool BuildAssetFiles(const std::string &fontDir, std::vector<AssetFile> &files, std::string &error);

// Writes every file into the folder; false with a message naming the file that failed.
bool WriteAssetFiles(const std::string &folder, const std::vector<AssetFile> &files,
                     std::string &error);
