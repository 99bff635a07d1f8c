// The icon files: the committed ones are what the generator makes, each PNG decodes to the
// painted picture, the .ico holds every size in the form Windows reads, and SDL reads the bitmap
// with its transparency. The picture itself: see-through corners, an opaque head in the middle.
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

#include "tools/icon_art.h"

namespace {

std::uint32_t U32At(const std::vector<std::uint8_t> &bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}
unsigned U16At(const std::vector<std::uint8_t> &bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8;
}

int AlphaAt(const RgbaPicture &picture, int x, int y) {
  return picture.rgba[(static_cast<std::size_t>(y) * picture.width + x) * 4 + 3];
}

TEST(IconFiles, CommittedFilesAreWhatTheGeneratorMakes) {
  for (const AssetFile &file : BuildIconFiles()) {
    std::ifstream in(std::string(ZELU_REPO_ROOT) + "/packaging/icons/" + file.name,
                     std::ios::binary);
    ASSERT_TRUE(in) << file.name << " is missing: run make assets";
    const std::vector<std::uint8_t> committed{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(committed == file.bytes) << file.name << " is stale: run make assets";
  }
}

TEST(IconPicture, CornersAreClearAndTheHeadIsOpaqueAtEverySize) {
  for (int size : {16, 48, 256}) {
    const RgbaPicture picture = BuildIconPicture(size);
    ASSERT_EQ(picture.rgba.size(), static_cast<std::size_t>(size * size * 4));
    for (int corner : {0, size - 1}) {
      EXPECT_EQ(AlphaAt(picture, corner, 0), 0) << size;
      EXPECT_EQ(AlphaAt(picture, corner, size - 1), 0) << size;
    }
    EXPECT_EQ(AlphaAt(picture, size / 2, size / 2), 255) << size;
    // The head spans most of the width: a row through the middle is opaque from near one edge
    // to near the other.
    EXPECT_EQ(AlphaAt(picture, size / 8, size / 2), 255) << size;
    EXPECT_EQ(AlphaAt(picture, size * 3 / 4, size / 2), 255) << size;
  }
}

TEST(IconFiles, EveryPngDecodesToThePaintedPicture) {
  for (int size : {48, 64, 128, 256}) {
    const RgbaPicture picture = BuildIconPicture(size);
    const std::vector<std::uint8_t> png = EncodePng(picture);
    int width = 0, height = 0, channels = 0;
    stbi_uc *decoded = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width,
                                             &height, &channels, 4);
    ASSERT_NE(decoded, nullptr) << size;
    EXPECT_EQ(width, size);
    EXPECT_EQ(height, size);
    EXPECT_EQ(channels, 4);
    EXPECT_EQ(std::memcmp(decoded, picture.rgba.data(), picture.rgba.size()), 0) << size;
    stbi_image_free(decoded);
  }
}

TEST(IconFiles, IcoHoldsBitmapsWithMasksAndAPngForTheLargestSize) {
  std::vector<RgbaPicture> pictures;
  for (int size : {16, 32, 256})
    pictures.push_back(BuildIconPicture(size));
  const std::vector<std::uint8_t> ico = EncodeIco(pictures);
  ASSERT_GE(ico.size(), 6u + 3 * 16);
  EXPECT_EQ(U16At(ico, 0), 0u);
  EXPECT_EQ(U16At(ico, 2), 1u); // icon
  ASSERT_EQ(U16At(ico, 4), 3u);

  std::size_t expectedOffset = 6 + 3 * 16;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const std::size_t entry = 6 + 16 * i;
    const int size = pictures[i].width;
    EXPECT_EQ(ico[entry], size & 0xFF);
    EXPECT_EQ(ico[entry + 1], size & 0xFF);
    EXPECT_EQ(U16At(ico, entry + 6), 32u);
    const std::uint32_t length = U32At(ico, entry + 8);
    const std::uint32_t offset = U32At(ico, entry + 12);
    EXPECT_EQ(offset, expectedOffset) << size;
    ASSERT_LE(offset + length, ico.size());
    expectedOffset = offset + length;
    if (size == 256) {
      EXPECT_EQ(std::memcmp(&ico[offset], "\x89PNG", 4), 0);
      continue;
    }
    EXPECT_EQ(U32At(ico, offset), 40u);
    EXPECT_EQ(U32At(ico, offset + 4), static_cast<std::uint32_t>(size));
    EXPECT_EQ(U32At(ico, offset + 8), static_cast<std::uint32_t>(size * 2));
    const std::size_t pixels = offset + 40, mask = pixels + size * size * 4;
    const std::size_t maskRow = (size + 31) / 32 * 4;
    EXPECT_EQ(length, 40 + size * size * 4 + maskRow * size);
    // Bottom-up rows: the last stored row is the top one. The top left corner is see-through
    // (alpha 0, mask bit set); the centre is opaque (alpha 255, mask bit clear).
    const std::size_t topLeft = pixels + static_cast<std::size_t>(size - 1) * size * 4;
    EXPECT_EQ(ico[topLeft + 3], 0);
    EXPECT_TRUE(ico[mask + (size - 1) * maskRow] & 0x80);
    const int c = size / 2;
    const std::size_t centre = pixels + (static_cast<std::size_t>(size - 1 - c) * size + c) * 4;
    EXPECT_EQ(ico[centre + 3], 255);
    EXPECT_EQ(ico[centre + 2], pictures[i].rgba[(c * size + c) * 4]); // red, stored as BGRA
    EXPECT_FALSE(ico[mask + (size - 1 - c) * maskRow + c / 8] & (0x80 >> (c % 8)));
  }
  EXPECT_EQ(expectedOffset, ico.size());
}

TEST(IconFiles, SdlReadsTheWindowBitmapWithItsTransparency) {
  const RgbaPicture picture = BuildIconPicture(64);
  const std::vector<std::uint8_t> bmp = EncodeBmp32(picture);
  SDL_Surface *loaded =
      SDL_LoadBMP_RW(SDL_RWFromConstMem(bmp.data(), static_cast<int>(bmp.size())), 1);
  ASSERT_NE(loaded, nullptr) << SDL_GetError();
  SDL_Surface *surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ABGR8888, 0);
  SDL_FreeSurface(loaded);
  ASSERT_NE(surface, nullptr) << SDL_GetError();
  ASSERT_EQ(surface->w, 64);
  ASSERT_EQ(surface->h, 64);
  // ABGR8888 is R, G, B, A in memory order on a little-endian machine, as the picture is.
  int differing = 0;
  for (int y = 0; y < 64; ++y)
    differing += std::memcmp(static_cast<std::uint8_t *>(surface->pixels) + y * surface->pitch,
                             &picture.rgba[static_cast<std::size_t>(y) * 64 * 4], 64 * 4) != 0;
  EXPECT_EQ(differing, 0) << "rows that differ from the painted picture";
  SDL_FreeSurface(surface);
}

} // namespace
