// Writes pictures as uncompressed 24-bit bitmaps, the form every bitmap reader handles.
#include "tools/bmp_writer.h"

#include "tools/byte_sink.h"

namespace {

constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;
// 72 dots per inch, as most painting programs store it; readers ignore it.
constexpr std::uint32_t PixelsPerMetre = 2835;

std::uint32_t StoredRowSize(int width) {
  return (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
}

} // namespace

Picture MakePicture(int width, int height) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.rgb.assign(static_cast<std::size_t>(width) * height * 3, 0);
  return picture;
}

std::vector<std::uint8_t> EncodeBmp24(const Picture &picture) {
  const std::uint32_t rowSize = StoredRowSize(picture.width);
  const std::uint32_t imageSize = rowSize * static_cast<std::uint32_t>(picture.height);
  const std::uint32_t pixelOffset = FileHeaderSize + InfoHeaderSize;

  std::vector<std::uint8_t> out;
  out.reserve(pixelOffset + imageSize);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, pixelOffset + imageSize);
  PutU32(out, 0); // two reserved 16-bit fields
  PutU32(out, pixelOffset);

  PutU32(out, InfoHeaderSize);
  PutU32(out, static_cast<std::uint32_t>(picture.width));
  PutU32(out, static_cast<std::uint32_t>(picture.height)); // positive: stored bottom-up
  PutU16(out, 1);                                          // planes
  PutU16(out, 24);                                         // bits per pixel
  PutU32(out, 0);                                          // BI_RGB
  PutU32(out, imageSize);
  PutU32(out, PixelsPerMetre);
  PutU32(out, PixelsPerMetre);
  PutU32(out, 0); // colours used: no table
  PutU32(out, 0); // colours important

  for (int y = picture.height - 1; y >= 0; --y) {
    const std::uint8_t *row = &picture.rgb[static_cast<std::size_t>(y) * picture.width * 3];
    for (int x = 0; x < picture.width; ++x) {
      out.push_back(row[x * 3 + 2]);
      out.push_back(row[x * 3 + 1]);
      out.push_back(row[x * 3 + 0]);
    }
    for (std::uint32_t pad = static_cast<std::uint32_t>(picture.width) * 3; pad < rowSize; ++pad)
      out.push_back(0);
  }
  return out;
}
