// The public BMP suite (good, questionable and bad files) through LoadBitmapImage: files with a
// 12- or 40-byte header are decoded as ImageMagick decodes them or refused as decided below,
// every other header size is refused as unknown, and no file is read out of bounds.
#include "tests/gfx/loader_test_helpers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char UnknownFormat[] = "Unknown DIB file format.";
const char ConversionError[] = "Image file conversion error.";
const char OutOfMemory[] = "Out of memory.";
const char DecodedByGdi[] = ""; // as the real GDI's outcome: decoded where ours refuses

// How a decoded picture is held against ImageMagick's.
enum class Check {
  Exact,
  // Pixels that the run-length data leaves unset, or whose index lies beyond the colour table,
  // are black here; ImageMagick shows them in the colour of entry 0.
  UnsetBlack,
  // Invalid runs, which decoders place and cut off differently (ImageMagick stops at the first
  // jump past the last row): every pixel that both set must be the same.
  SetPixels,
  // Bit-field channels compared at their own precision: ImageMagick shifts channels narrower
  // than 5 bits (a 2-bit 3 gives 192), where we repeat the bits (255), and rounds wide ones.
  ChannelBits,
};

struct Decision {
  const char *file;
  const char *message; // null: decoded
  const char
      *gdiMessage; // what the real GDI gives where it differs from ours (DecodedByGdi: decoded)
  Check check;
  const char *sameAs; // ImageMagick refuses the file: compare with its picture of this one
  int bits[3];        // ChannelBits: red, green and blue bits
};

Decision Decoded(const char *file, Check check = Check::Exact) {
  return {file, nullptr, nullptr, check, nullptr, {0, 0, 0}};
}
Decision DecodedLike(const char *file, const char *sameAs) {
  return {file, nullptr, nullptr, Check::Exact, sameAs, {0, 0, 0}};
}
Decision DecodedAtBits(const char *file, int red, int green, int blue) {
  return {file, nullptr, nullptr, Check::ChannelBits, nullptr, {red, green, blue}};
}
Decision Refused(const char *file, const char *message) {
  return {file, message, nullptr, Check::Exact, nullptr, {0, 0, 0}};
}
Decision OnRealGdi(Decision decision, const char *gdiMessage, const char *sameAs = nullptr) {
  decision.gdiMessage = gdiMessage;
  decision.sameAs = sameAs;
  return decision;
}

// What we decided for every questionable and bad file with a 12- or 40-byte header. Good files
// are decoded exactly; files with other headers are unknown formats.
const std::vector<Decision> &Decisions() {
  static const std::vector<Decision> decisions = {
      Decoded("q/pal1p1.bmp"), // index 1 of a one-entry table: black
      Refused("q/pal2.bmp", ConversionError),
      Refused("q/pal2color.bmp", ConversionError),
      Decoded("q/pal4rlecut.bmp", Check::UnsetBlack),
      Decoded("q/pal4rletrns.bmp", Check::UnsetBlack),
      Decoded("q/pal8offs.bmp"),
      Decoded("q/pal8os2-hs.bmp"),
      Decoded("q/pal8os2-sz.bmp"),
      Decoded("q/pal8os2sp.bmp"),
      Decoded("q/pal8os2v2-40sz.bmp"),
      DecodedLike("q/pal8oversizepal.bmp", "g/pal8.bmp"),
      Decoded("q/pal8rlecut.bmp", Check::UnsetBlack),
      Decoded("q/pal8rletrns.bmp", Check::UnsetBlack),
      DecodedAtBits("q/rgb16-231.bmp", 2, 3, 1),
      DecodedAtBits("q/rgb16-3103.bmp", 3, 10, 3),
      Decoded("q/rgb16faketrns.bmp"),
      Decoded("q/rgb24largepal.bmp"),
      DecodedAtBits("q/rgb32-111110.bmp", 11, 11, 10),
      DecodedAtBits("q/rgb32-7187.bmp", 7, 18, 7),
      Decoded("q/rgb32fakealpha.bmp"),
      Refused("q/rgba32abf.bmp", ConversionError),
      Refused("q/rgba64.bmp", ConversionError),
      Refused("b/badbitcount.bmp", ConversionError),
      Decoded("b/badbitssize.bmp"),
      Decoded("b/baddens1.bmp"),
      Decoded("b/baddens2.bmp"),
      DecodedLike("b/badfilesize.bmp", "g/pal1.bmp"),
      Refused("b/badpalettesize.bmp", ConversionError),
      OnRealGdi(Refused("b/badplanes.bmp", ConversionError), DecodedByGdi, "g/pal1.bmp"),
      Decoded("b/badrle.bmp", Check::SetPixels),
      Decoded("b/badrle4.bmp", Check::SetPixels),
      Decoded("b/badrle4bis.bmp", Check::SetPixels),
      Decoded("b/badrle4ter.bmp", Check::SetPixels),
      Decoded("b/badrlebis.bmp", Check::SetPixels),
      Decoded("b/badrleter.bmp", Check::SetPixels),
      Refused("b/badwidth.bmp", ConversionError),
      Decoded("b/pal8badindex.bmp", Check::UnsetBlack),
      Refused("b/reallybig.bmp", OutOfMemory),
      OnRealGdi(Decoded("b/rgb16-880.bmp"), ConversionError),
      Refused("b/rletopdown.bmp", ConversionError),
      Refused("b/shortfile.bmp", ConversionError),
  };
  return decisions;
}

std::vector<uint8_t> FileBytes(const std::string &path) {
  std::vector<uint8_t> bytes;
  FILE *file = fopen(path.c_str(), "rb");
  if (file == nullptr)
    return bytes;
  int c;
  while ((c = fgetc(file)) != EOF)
    bytes.push_back(static_cast<uint8_t>(c));
  fclose(file);
  return bytes;
}

uint32_t Dword(const std::vector<uint8_t> &bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
         (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

// Rows bottom first, as the loader gives them, turned top first, as ImageMagick gives them.
std::vector<uint8_t> TopRowFirst(const LoadOutcome &out) {
  std::vector<uint8_t> flipped;
  size_t stride = size_t{3} * out.width;
  for (int row = out.height - 1; row >= 0; --row)
    flipped.insert(flipped.end(), out.pixels.begin() + row * stride,
                   out.pixels.begin() + (row + 1) * stride);
  return flipped;
}

// The index of the first pixel that fails the check, or -1.
long FirstMismatch(const std::vector<uint8_t> &ours, const std::vector<uint8_t> &theirs,
                   const Decision &decision, const uint8_t entry0[3]) {
  for (size_t p = 0; p < ours.size(); p += 3) {
    const uint8_t *a = &ours[p], *b = &theirs[p];
    bool black = a[0] == 0 && a[1] == 0 && a[2] == 0, same = std::equal(a, a + 3, b);
    bool good = same;
    if (decision.check == Check::UnsetBlack)
      good = same || (black && std::equal(entry0, entry0 + 3, b));
    else if (decision.check == Check::SetPixels)
      good = same || black || std::equal(entry0, entry0 + 3, b);
    else if (decision.check == Check::ChannelBits)
      for (int c = 0; c < 3; ++c) {
        int n = decision.bits[c];
        good = (c == 0 || good) &&
               (n < 5 ? (a[c] >> (8 - n)) == (b[c] >> (8 - n)) : std::abs(a[c] - b[c]) <= 2);
      }
    if (!good)
      return static_cast<long>(p / 3);
  }
  return -1;
}

void ExpectLikeImageMagick(const std::string &file, const Decision &decision,
                           const LoadOutcome &out, const std::vector<uint8_t> &bytes) {
  std::vector<uint8_t> theirs = ImageMagickPicture(decision.sameAs ? decision.sameAs : file);
  ASSERT_EQ(theirs.size(), out.pixels.size()) << "ImageMagick's picture";
  std::vector<uint8_t> ours = TopRowFirst(out);
  size_t tableAt = 14 + Dword(bytes, 14); // entry 0 of the colour table: blue, green, red
  uint8_t entry0[3] = {0, 0, 0};
  if (tableAt + 3 <= bytes.size())
    entry0[0] = bytes[tableAt + 2], entry0[1] = bytes[tableAt + 1], entry0[2] = bytes[tableAt];
  long mismatch = FirstMismatch(ours, theirs, decision, entry0);
  EXPECT_EQ(mismatch, -1) << "first differing pixel: row " << mismatch / out.width
                          << " from the top, column " << mismatch % out.width;
}

Decision DecisionFor(const std::string &file) {
  for (const Decision &decision : Decisions())
    if (file == decision.file)
      return decision;
  return Decoded(nullptr);
}

void CheckSuiteFile(const std::string &file) {
  std::vector<uint8_t> bytes = FileBytes(SuitePath(file));
  ASSERT_GE(bytes.size(), 18u);
  uint32_t headerSize = Dword(bytes, 14);
  StartRecordingBoxes();
  long heldBefore = PlatformObjectsHeld();
  LoadOutcome out = TakeImage(LoadBitmapImage(SuitePath(file).c_str()));
  EXPECT_EQ(PlatformObjectsHeld(), heldBefore);
  Decision decision = DecisionFor(file);
  const char *message = decision.message;
  if (headerSize != 12 && headerSize != 40)
    message = UnknownFormat;
  else if (decision.file == nullptr && file[0] != 'g')
    ADD_FAILURE() << "no decision recorded for this file";
  else if (ConversionIsRealGdi() && decision.gdiMessage != nullptr)
    message = *decision.gdiMessage == 0 ? nullptr : decision.gdiMessage;
  EXPECT_EQ(out.loaded, message == nullptr);
  if (message != nullptr) {
    ASSERT_EQ(out.boxes.size(), 1u);
    EXPECT_EQ(out.boxes[0].text, message);
    EXPECT_EQ(out.boxes[0].caption, "Error");
    return;
  }
  EXPECT_TRUE(out.boxes.empty());
  if (out.loaded)
    ExpectLikeImageMagick(file, decision, out, bytes);
}

TEST(BmpSuite, EveryFileIsDecodedLikeImageMagickOrRefusedAsDecided) {
  const char *folders[] = {"g", "q", "b"};
  const size_t expectedCounts[] = {27, 41, 20}; // the suite's README
  for (int f = 0; f < 3; ++f) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(SuitePath(folders[f]), error))
      files.push_back(std::string(folders[f]) + "/" + entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files.size(), expectedCounts[f]) << SuitePath(folders[f]);
    for (const std::string &file : files) {
      SCOPED_TRACE(file);
      CheckSuiteFile(file);
    }
  }
}

} // namespace
