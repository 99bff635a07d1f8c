// The BMP and WAV encoders: header fields, sizes, row order and filler, sample byte order.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tools/bmp_writer.h"
#include "tools/wav_writer.h"

namespace {

std::uint32_t U32At(const std::vector<std::uint8_t> &b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
unsigned U16At(const std::vector<std::uint8_t> &b, std::size_t at) {
  return b[at] | b[at + 1] << 8;
}
std::string TagAt(const std::vector<std::uint8_t> &b, std::size_t at) {
  return std::string(b.begin() + at, b.begin() + at + 4);
}

// Every channel of every pixel distinct, so that a swapped channel or row shows.
Picture NumberedPicture(int width, int height) {
  Picture picture = MakePicture(width, height);
  for (std::size_t i = 0; i < picture.rgb.size(); ++i)
    picture.rgb[i] = static_cast<std::uint8_t>(i + 1);
  return picture;
}

struct BmpCase {
  int width, height;
  std::uint32_t storedRow; // bytes per stored row, filler included
};

class BmpLayout : public testing::TestWithParam<BmpCase> {};

TEST_P(BmpLayout, HeadersSizesAndRowsMatchTheFormat) {
  const BmpCase c = GetParam();
  const Picture picture = NumberedPicture(c.width, c.height);
  const std::vector<std::uint8_t> file = EncodeBmp24(picture);
  const std::uint32_t imageSize = c.storedRow * c.height;

  ASSERT_EQ(file.size(), 54 + imageSize);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32At(file, 2), file.size());
  EXPECT_EQ(U32At(file, 10), 54u);
  EXPECT_EQ(U32At(file, 14), 40u);
  EXPECT_EQ(U32At(file, 18), static_cast<std::uint32_t>(c.width));
  EXPECT_EQ(U32At(file, 22), static_cast<std::uint32_t>(c.height));
  EXPECT_EQ(U16At(file, 26), 1u);
  EXPECT_EQ(U16At(file, 28), 24u);
  EXPECT_EQ(U32At(file, 30), 0u); // BI_RGB
  EXPECT_EQ(U32At(file, 34), imageSize);
  EXPECT_EQ(U32At(file, 46), 0u); // no colour table

  for (int stored = 0; stored < c.height; ++stored) {
    const std::size_t row = 54 + static_cast<std::size_t>(stored) * c.storedRow;
    const int y = c.height - 1 - stored; // bottom-up
    for (int x = 0; x < c.width; ++x) {
      const std::uint8_t *rgb = &picture.rgb[(static_cast<std::size_t>(y) * c.width + x) * 3];
      EXPECT_EQ(file[row + x * 3 + 0], rgb[2]) << "blue of " << x << "," << y;
      EXPECT_EQ(file[row + x * 3 + 1], rgb[1]);
      EXPECT_EQ(file[row + x * 3 + 2], rgb[0]);
    }
    for (std::uint32_t pad = c.width * 3; pad < c.storedRow; ++pad)
      EXPECT_EQ(file[row + pad], 0) << "filler byte " << pad << " of stored row " << stored;
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, BmpLayout,
                         testing::Values(BmpCase{1, 1, 4}, BmpCase{2, 3, 8}, BmpCase{3, 2, 12},
                                         BmpCase{4, 2, 12}, BmpCase{5, 2, 16},
                                         BmpCase{256, 2, 768}),
                         [](const testing::TestParamInfo<BmpCase> &info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

TEST(WavEncoding, HeaderDescribesSixteenBitMonoPcmAndDataFollows) {
  const std::vector<std::int16_t> samples{0, 1, -1, 32767, -32768, 0x1234};
  const std::vector<std::uint8_t> file = EncodeWav16Mono(22050, samples);

  ASSERT_EQ(file.size(), 44 + samples.size() * 2);
  EXPECT_EQ(TagAt(file, 0), "RIFF");
  EXPECT_EQ(U32At(file, 4), file.size() - 8);
  EXPECT_EQ(TagAt(file, 8), "WAVE");
  EXPECT_EQ(TagAt(file, 12), "fmt ");
  EXPECT_EQ(U32At(file, 16), 16u);
  EXPECT_EQ(U16At(file, 20), 1u); // PCM
  EXPECT_EQ(U16At(file, 22), 1u); // mono
  EXPECT_EQ(U32At(file, 24), 22050u);
  EXPECT_EQ(U32At(file, 28), 44100u); // bytes per second
  EXPECT_EQ(U16At(file, 32), 2u);     // bytes per frame
  EXPECT_EQ(U16At(file, 34), 16u);
  EXPECT_EQ(TagAt(file, 36), "data");
  EXPECT_EQ(U32At(file, 40), samples.size() * 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    EXPECT_EQ(static_cast<std::int16_t>(U16At(file, 44 + 2 * i)), samples[i]) << "sample " << i;
  EXPECT_EQ(file[44 + 10], 0x34); // little-endian
}

} // namespace
