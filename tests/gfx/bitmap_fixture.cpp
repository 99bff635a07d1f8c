// Small bitmap files built by the tests (see bitmap_fixture.h).
#include "tests/gfx/bitmap_fixture.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

void Put(std::vector<uint8_t> *out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutHeader(std::vector<uint8_t> *out, const BitmapFixture &f) {
  Put(out, f.headerSize, 4);
  if (f.headerSize == 12) {
    Put(out, static_cast<uint16_t>(f.width), 2);
    Put(out, static_cast<uint16_t>(f.height), 2);
    Put(out, f.planes, 2);
    Put(out, f.bitCount, 2);
    return;
  }
  Put(out, static_cast<uint32_t>(f.width), 4);
  Put(out, static_cast<uint32_t>(f.height), 4);
  Put(out, f.planes, 2);
  Put(out, f.bitCount, 2);
  Put(out, f.compression, 4);
  Put(out, f.sizeImage, 4);
  Put(out, 2835, 4); // 72 dots per inch, both ways
  Put(out, 2835, 4);
  Put(out, f.clrUsed, 4);
  Put(out, 0, 4);
  while (out->size() < f.headerSize)
    out->push_back(0);
}

} // namespace

std::vector<uint8_t> BitmapBytes(const BitmapFixture &f) {
  std::vector<uint8_t> dib;
  PutHeader(&dib, f);
  for (uint32_t mask : f.masks)
    Put(&dib, mask, 4);
  for (uint32_t color : f.colors)
    Put(&dib, color, f.headerSize == 12 ? 3 : 4); // blue, green, red (and a zero)
  if (!f.fileHeader) {
    dib.insert(dib.end(), f.pixels.begin(), f.pixels.end());
    return dib;
  }
  uint64_t offset = f.pixelOffset >= 0 ? static_cast<uint64_t>(f.pixelOffset) : dib.size() + 14;
  std::vector<uint8_t> file = {'B', 'M'};
  Put(&file, 14 + dib.size() + f.pixels.size(), 4);
  Put(&file, 0, 4);
  Put(&file, offset, 4);
  file.insert(file.end(), dib.begin(), dib.end());
  if (file.size() < offset)
    file.resize(offset, 0xEE); // a gap that must not be read as pixels
  file.insert(file.end(), f.pixels.begin(), f.pixels.end());
  return file;
}

std::vector<uint8_t> StoredRows(int bitCount, const std::vector<std::vector<uint32_t>> &rows) {
  std::vector<uint8_t> out;
  for (const std::vector<uint32_t> &row : rows) {
    size_t start = out.size();
    if (bitCount < 8) {
      int perByte = 8 / bitCount;
      for (size_t x = 0; x < row.size(); ++x) {
        if (x % perByte == 0)
          out.push_back(0);
        out.back() |= static_cast<uint8_t>(row[x] << (8 - bitCount * (x % perByte + 1)));
      }
    } else {
      for (uint32_t value : row)
        Put(&out, value, bitCount / 8);
    }
    while ((out.size() - start) % 4 != 0)
      out.push_back(0);
  }
  return out;
}

bool WriteFileBytes(const std::string &path, const std::vector<uint8_t> &bytes) {
  FILE *file = fopen(path.c_str(), "wb");
  if (file == nullptr)
    return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

bool MakeDirectory(const std::string &path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return std::filesystem::is_directory(path, error);
}

std::vector<uint8_t> RgbBytes(const std::vector<std::vector<uint32_t>> &rows) {
  std::vector<uint8_t> out;
  for (const std::vector<uint32_t> &row : rows)
    for (uint32_t color : row) {
      out.push_back(static_cast<uint8_t>(color >> 16));
      out.push_back(static_cast<uint8_t>(color >> 8));
      out.push_back(static_cast<uint8_t>(color));
    }
  return out;
}
