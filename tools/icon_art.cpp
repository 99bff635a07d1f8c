// Paints the icon from the snake head's painter and writes it in three file formats.
#include "tools/icon_art.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "tools/byte_sink.h"
#include "tools/sprite_designs.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace {

// The head's outline closes a little outside its 40 × 30 cell (it continues into the body
// there), so the icon frames the painter's points from -3 to 41 across and around the middle.
constexpr double FrameLeft = -3.0;
constexpr double FrameSize = 44.0;
constexpr double FrameTop = 15.0 - FrameSize / 2;

// Samples per pixel along each axis: large sizes need fewer to look as smooth.
int SamplesPerAxisFor(int size) {
  return size <= 64 ? 8 : 4;
}

bool IsPainted(Colour c) {
  return c.r != 0.0 || c.g != 0.0 || c.b != 0.0; // the painters leave exact black outside
}

std::uint8_t ToByte(double value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0));
}

void AppendBytes(void *context, void *data, int size) {
  auto *out = static_cast<std::vector<std::uint8_t> *>(context);
  const auto *bytes = static_cast<const std::uint8_t *>(data);
  out->insert(out->end(), bytes, bytes + size);
}

const std::uint8_t *PixelOf(const RgbaPicture &picture, int x, int y) {
  return &picture.rgba[(static_cast<std::size_t>(y) * picture.width + x) * 4];
}

// Rows bottom-up as blue, green, red, alpha: the pixel array of both bitmap forms.
void PutBgraRows(std::vector<std::uint8_t> &out, const RgbaPicture &picture) {
  for (int y = picture.height - 1; y >= 0; --y)
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t *p = PixelOf(picture, x, y);
      out.insert(out.end(), {p[2], p[1], p[0], p[3]});
    }
}

constexpr std::uint32_t PixelsPerMetre = 2835; // 72 dots per inch

// An icon image as Windows stores it: the info header with twice the height, the colour
// pixels, then the 1-bit AND mask (set where the icon is see-through) in rows of 4 bytes.
std::vector<std::uint8_t> EncodeIconBitmap(const RgbaPicture &picture) {
  const std::uint32_t maskRow = ((static_cast<std::uint32_t>(picture.width) + 31) / 32) * 4;
  const std::uint32_t pixels = static_cast<std::uint32_t>(picture.width * picture.height) * 4;
  std::vector<std::uint8_t> out;
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(picture.width));
  PutU32(out, static_cast<std::uint32_t>(picture.height) * 2);
  PutU16(out, 1);  // planes
  PutU16(out, 32); // bits per pixel
  PutU32(out, 0);  // BI_RGB
  PutU32(out, pixels + maskRow * static_cast<std::uint32_t>(picture.height));
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, 0);
  PutBgraRows(out, picture);
  for (int y = picture.height - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskRow, 0);
    for (int x = 0; x < picture.width; ++x)
      if (PixelOf(picture, x, y)[3] < 128)
        row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

} // namespace

RgbaPicture BuildIconPicture(int size) {
  RgbaPicture picture;
  picture.width = picture.height = size;
  picture.rgba.assign(static_cast<std::size_t>(size) * size * 4, 0);
  const double step = FrameSize / size;
  const int samples = SamplesPerAxisFor(size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      Colour sum{0, 0, 0};
      int painted = 0;
      for (int j = 0; j < samples; ++j)
        for (int i = 0; i < samples; ++i) {
          const Point p{FrameLeft + (x + (i + 0.5) / samples) * step,
                        FrameTop + (y + (j + 0.5) / samples) * step};
          const Colour c = PaintHeadRight(p);
          if (!IsPainted(c))
            continue;
          sum.r += c.r;
          sum.g += c.g;
          sum.b += c.b;
          ++painted;
        }
      if (painted == 0)
        continue;
      std::uint8_t *out = &picture.rgba[(static_cast<std::size_t>(y) * size + x) * 4];
      out[0] = ToByte(sum.r / painted);
      out[1] = ToByte(sum.g / painted);
      out[2] = ToByte(sum.b / painted);
      out[3] = ToByte(static_cast<double>(painted) / (samples * samples));
    }
  return picture;
}

std::vector<std::uint8_t> EncodePng(const RgbaPicture &picture) {
  // Every row filtered by the pixel to its left (PNG's Sub) and a longer search for repeats: the
  // icon's flat areas and soft edges then take a fifth less than with stb's own choices.
  stbi_write_force_png_filter = 1;
  stbi_write_png_compression_level = 128;
  std::vector<std::uint8_t> out;
  stbi_write_png_to_func(AppendBytes, &out, picture.width, picture.height, 4, picture.rgba.data(),
                         picture.width * 4);
  return out;
}

std::vector<std::uint8_t> EncodeIco(const std::vector<RgbaPicture> &pictures) {
  std::vector<std::vector<std::uint8_t>> images;
  for (const RgbaPicture &picture : pictures)
    images.push_back(picture.width >= 256 ? EncodePng(picture) : EncodeIconBitmap(picture));

  std::vector<std::uint8_t> out;
  PutU16(out, 0); // reserved
  PutU16(out, 1); // an icon, not a cursor
  PutU16(out, static_cast<unsigned>(pictures.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(pictures.size());
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    out.push_back(static_cast<std::uint8_t>(pictures[i].width & 0xFF)); // 0 means 256
    out.push_back(static_cast<std::uint8_t>(pictures[i].height & 0xFF));
    out.push_back(0); // no palette
    out.push_back(0);
    PutU16(out, 1);  // planes
    PutU16(out, 32); // bits per pixel
    PutU32(out, static_cast<std::uint32_t>(images[i].size()));
    PutU32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const std::vector<std::uint8_t> &image : images)
    out.insert(out.end(), image.begin(), image.end());
  return out;
}

std::vector<std::uint8_t> EncodeBmp32(const RgbaPicture &picture) {
  constexpr std::uint32_t FileHeaderSize = 14, InfoHeaderSize = 108; // BITMAPV4HEADER
  const std::uint32_t pixels = static_cast<std::uint32_t>(picture.width * picture.height) * 4;
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  PutU32(out, FileHeaderSize + InfoHeaderSize + pixels);
  PutU32(out, 0);
  PutU32(out, FileHeaderSize + InfoHeaderSize);

  PutU32(out, InfoHeaderSize);
  PutU32(out, static_cast<std::uint32_t>(picture.width));
  PutU32(out, static_cast<std::uint32_t>(picture.height)); // bottom-up
  PutU16(out, 1);
  PutU16(out, 32);
  PutU32(out, 3); // BI_BITFIELDS
  PutU32(out, pixels);
  PutU32(out, PixelsPerMetre);
  PutU32(out, PixelsPerMetre);
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, 0x00FF0000); // red
  PutU32(out, 0x0000FF00); // green
  PutU32(out, 0x000000FF); // blue
  PutU32(out, 0xFF000000); // alpha
  PutTag(out, "BGRs");     // LCS_sRGB, stored little-endian
  for (int i = 0; i < 12; ++i)
    PutU32(out, 0); // end points and gamma, unused with sRGB
  PutBgraRows(out, picture);
  return out;
}

std::vector<AssetFile> BuildIconFiles() {
  std::map<int, RgbaPicture> pictures;
  for (int size : {16, 24, 32, 48, 64, 128, 192, 256, 512})
    pictures[size] = BuildIconPicture(size);
  std::vector<AssetFile> files;
  for (int size : {48, 64, 128, 192, 256, 512})
    files.push_back({"zelu-line-" + std::to_string(size) + ".png", EncodePng(pictures[size])});
  std::vector<RgbaPicture> windowsSizes;
  for (int size : {16, 24, 32, 48, 64, 256})
    windowsSizes.push_back(pictures[size]);
  files.push_back({"zelu-line.ico", EncodeIco(windowsSizes)});
  files.push_back({"zelu-line-64.bmp", EncodeBmp32(pictures[64])});
  return files;
}
