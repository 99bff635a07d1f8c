// zelu-assets: writes the game's images and sounds into a folder (the project's Data/).
// Usage: zelu-assets OUTPUT_DIR [FONT_DIR]
#include <cstdio>
#include <string>
#include <vector>

#include "tools/asset_files.h"

namespace {

bool WriteFile(const std::string &path, const std::vector<std::uint8_t> &bytes) {
  std::FILE *file = std::fopen(path.c_str(), "wb");
  if (file == nullptr)
    return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR [FONT_DIR]\n", argv[0]);
    return 2;
  }
  const std::string outputDir = argv[1];
  const std::string fontDir = argc == 3 ? argv[2] : DefaultFontDir();

  std::vector<AssetFile> files;
  std::string error;
  if (!BuildAssetFiles(fontDir, files, error)) {
    std::fprintf(stderr, "zelu-assets: %s\n", error.c_str());
    return 1;
  }
  for (const AssetFile &file : files) {
    const std::string path = outputDir + "/" + file.name;
    if (!WriteFile(path, file.bytes)) {
      std::fprintf(stderr, "zelu-assets: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s (%zu bytes)\n", path.c_str(), file.bytes.size());
  }
  return 0;
}
