// zelu-assets: writes the game's images and sounds into a folder (the project's Data/) and,
// when given a second folder, the icon files (the project's packaging/icons/).
// Usage: zelu-assets DATA_DIR [ICON_DIR [FONT_DIR]]
#include <cstdio>
#include <string>
#include <vector>

#include "tools/asset_files.h"
#include "tools/icon_art.h"

namespace {

bool Write(const std::string &folder, const std::vector<AssetFile> &files) {
  std::string error;
  if (!WriteAssetFiles(folder, files, error)) {
    std::fprintf(stderr, "zelu-assets: %s\n", error.c_str());
    return false;
  }
  for (const AssetFile &file : files)
    std::printf("%s/%s (%zu bytes)\n", folder.c_str(), file.name.c_str(), file.bytes.size());
  return true;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: %s DATA_DIR [ICON_DIR [FONT_DIR]]\n", argv[0]);
    return 2;
  }
  const std::string fontDir = argc == 4 ? argv[3] : DefaultFontDir();

  std::vector<AssetFile> files;
  std::string error;
  if (!BuildAssetFiles(fontDir, files, error)) {
    std::fprintf(stderr, "zelu-assets: %s\n", error.c_str());
    return 1;
  }
  if (!Write(argv[1], files))
    return 1;
  if (argc >= 3 && !Write(argv[2], BuildIconFiles()))
    return 1;
  return 0;
}
