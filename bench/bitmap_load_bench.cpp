// Time to read a 256 x 256 bitmap file at 8 and at 24 bits with the game's loader and with
// stb_image, and to read the game's two data images as start-up does.
#include "gfx/bitmap_loader.h"
#include "tests/gfx/bitmap_fixture.h"

#include <benchmark/benchmark.h>
#include <stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

namespace {

const int Side = 256;

// A 256 x 256 picture of noise (worst case for nothing) at 8 or 24 bits, written once.
std::string BenchFile(int bitCount) {
  std::mt19937 random(bitCount);
  BitmapFixture fixture;
  fixture.width = Side;
  fixture.height = Side;
  fixture.bitCount = static_cast<uint16_t>(bitCount);
  if (bitCount == 8)
    for (uint32_t i = 0; i < 256; ++i)
      fixture.colors.push_back(random() & 0xFFFFFF);
  std::vector<std::vector<uint32_t>> rows(Side, std::vector<uint32_t>(Side));
  for (std::vector<uint32_t> &row : rows)
    for (uint32_t &value : row)
      value = random() & (bitCount == 8 ? 0xFF : 0xFFFFFF);
  fixture.pixels = StoredRows(bitCount, rows);
  std::string path =
      "/tmp/zelu_bench_" + std::to_string(getpid()) + "_" + std::to_string(bitCount) + ".bmp";
  if (!WriteFileBytes(path, BitmapBytes(fixture)))
    abort();
  return path;
}

void FreeImage(RgbImage *image) {
  free(image->pixels);
  free(image);
}

void LoaderRead(benchmark::State &state) {
  std::string path = BenchFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    RgbImage *image = LoadBitmapImage(path.c_str());
    if (image == nullptr) {
      state.SkipWithError("the loader refused the file");
      break;
    }
    benchmark::DoNotOptimize(image->pixels[0]);
    FreeImage(image);
  }
  remove(path.c_str());
}

void StbImageRead(benchmark::State &state) {
  std::string path = BenchFile(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    int width, height, channels;
    unsigned char *pixels = stbi_load(path.c_str(), &width, &height, &channels, 3);
    if (pixels == nullptr) {
      state.SkipWithError("stb_image refused the file");
      break;
    }
    benchmark::DoNotOptimize(pixels[0]);
    stbi_image_free(pixels);
  }
  remove(path.c_str());
}

// Both images that start-up reads, one after the other.
void DataImagesRead(benchmark::State &state) {
  const std::string font = ZELU_DATA_DIR "/Font.bmp", sprites = ZELU_DATA_DIR "/Image.bmp";
  for (auto _ : state) {
    RgbImage *images[2] = {LoadBitmapImage(font.c_str()), LoadBitmapImage(sprites.c_str())};
    if (images[0] == nullptr || images[1] == nullptr) {
      state.SkipWithError("Data/Font.bmp or Data/Image.bmp is missing");
      break;
    }
    FreeImage(images[0]);
    FreeImage(images[1]);
  }
}

} // namespace

BENCHMARK(LoaderRead)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(StbImageRead)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);
BENCHMARK(DataImagesRead)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
