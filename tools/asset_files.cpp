// Puts the font, the sprites and the sounds into their file formats under their game names.
#include "tools/asset_files.h"

#include <cstdio>

#include "tools/bmp_writer.h"
#include "tools/font_atlas.h"
#include "tools/sound_synth.h"
#include "tools/sprite_atlas.h"
#include "tools/wav_writer.h"

const char *DefaultFontDir() {
  return ZELU_FONT_DIR;
}

bool BuildAssetFiles(const std::string &fontDir, std::vector<AssetFile> &files,
                     std::string &error) {
  Picture font;
  if (!BuildFontPicture(fontDir, font, error))
    return false;
  files.clear();
  files.push_back({"Font.bmp", EncodeBmp24(font)});
  files.push_back({"Image.bmp", EncodeBmp24(BuildSpritePicture())});
  files.push_back({"freeze.wav", EncodeWav16Mono(SoundSampleRate, SynthesiseSpeedUpLoop())});
  files.push_back({"hourglass.wav", EncodeWav16Mono(SoundSampleRate, SynthesiseFoodBlip())});
  files.push_back({"Die.wav", EncodeWav16Mono(SoundSampleRate, SynthesiseDeathSlide())});
  files.push_back({"Complete.wav", EncodeWav16Mono(SoundSampleRate, SynthesiseFanfare())});
  return true;
}

bool WriteAssetFiles(const std::string &folder, const std::vector<AssetFile> &files,
                     std::string &error) {
  for (const AssetFile &file : files) {
    const std::string path = folder + "/" + file.name;
    std::FILE *out = std::fopen(path.c_str(), "wb");
    bool written = out != nullptr;
    if (out != nullptr) {
      written = std::fwrite(file.bytes.data(), 1, file.bytes.size(), out) == file.bytes.size();
      written = std::fclose(out) == 0 && written;
    }
    if (!written) {
      error = "cannot write " + path;
      return false;
    }
  }
  return true;
}
