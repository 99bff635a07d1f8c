// The loader's refusals: each with its one message box (caption "Error"), no image and nothing
// left held; the silent cases; and the open-failure text for narrow, wide and overlong names.
#include "tests/gfx/loader_test_helpers.h"

#include "platform/win32.h"

#include <string>
#include <vector>

namespace {

const char UnknownFormat[] = "Unknown DIB file format.";
const char ConversionError[] = "Image file conversion error.";
const char OutOfMemory[] = "Out of memory.";

// A 24-bit image with all its rows (mid grey), or, for sizes beyond a few pixels, none at all.
BitmapFixture Plain24(int width, int height) {
  BitmapFixture fixture;
  fixture.width = width;
  fixture.height = height;
  int rows = height < 0 ? -height : height;
  if (width > 0 && width <= 16 && rows <= 16)
    fixture.pixels.assign(static_cast<size_t>((3 * width + 3) / 4 * 4 * rows), 0x40);
  return fixture;
}

BitmapFixture Paletted8() {
  BitmapFixture fixture = Plain24(4, 2);
  fixture.bitCount = 8;
  fixture.colors.assign(256, 0x336699);
  fixture.pixels.assign(8, 7);
  return fixture;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t size) {
  bytes.resize(size);
  return bytes;
}

void PutDword(std::vector<uint8_t> *bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    (*bytes)[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

struct RefusalCase {
  const char *name;
  std::vector<uint8_t> bytes;
  const char *message;
};

std::vector<RefusalCase> RefusalCases() {
  std::vector<RefusalCase> cases;
  for (uint32_t size : {16u, 52u, 64u, 108u, 124u}) {
    BitmapFixture later = Plain24(2, 2);
    later.headerSize = size;
    cases.push_back({"header size not 12 or 40", BitmapBytes(later), UnknownFormat});
  }
  BitmapFixture bare = Plain24(2, 2);
  bare.fileHeader = false;
  BitmapFixture core = Plain24(2, 2);
  core.headerSize = 12;
  core.fileHeader = false;
  cases.push_back({"too short for a size field", {40, 0}, UnknownFormat});
  cases.push_back({"info header cut", Cut(BitmapBytes(bare), 36), UnknownFormat});
  cases.push_back(
      {"info header cut behind a file header", Cut(BitmapBytes(Plain24(2, 2)), 30), UnknownFormat});
  cases.push_back({"core header cut", Cut(BitmapBytes(core), 11), UnknownFormat});
  cases.push_back(
      {"colour table cut", Cut(BitmapBytes(Paletted8()), 14 + 40 + 1000), ConversionError});
  std::vector<uint8_t> whole = BitmapBytes(Paletted8());
  cases.push_back({"last pixel row one byte short", Cut(whole, whole.size() - 1), ConversionError});
  std::vector<uint8_t> farOffset = whole;
  PutDword(&farOffset, 10, static_cast<uint32_t>(whole.size()) + 10);
  cases.push_back({"pixel offset past the end", farOffset, ConversionError});
  std::vector<uint8_t> hugeOffset = whole;
  PutDword(&hugeOffset, 10, 0xFFFFFFF0);
  cases.push_back({"pixel offset near 4 GiB", hugeOffset, ConversionError});
  cases.push_back({"width 0", BitmapBytes(Plain24(0, 2)), ConversionError});
  cases.push_back({"negative width", BitmapBytes(Plain24(-2, 2)), ConversionError});
  cases.push_back({"height 0", BitmapBytes(Plain24(2, 0)), ConversionError});
  BitmapFixture manyColours = Paletted8();
  manyColours.clrUsed = 65536;
  cases.push_back({"biClrUsed of 65536", BitmapBytes(manyColours), ConversionError});
  for (uint16_t bitCount : {2, 3, 64}) {
    BitmapFixture odd = Plain24(4, 2);
    odd.bitCount = bitCount;
    odd.pixels.assign(64, 0);
    cases.push_back({"unsupported bit count", BitmapBytes(odd), ConversionError});
  }
  for (uint32_t compression : {4u, 5u, 6u, 99u}) { // JPEG, PNG, alpha bit fields, nothing
    BitmapFixture odd = Plain24(4, 2);
    odd.bitCount = 32;
    odd.compression = compression;
    odd.pixels.assign(64, 0);
    cases.push_back({"unsupported compression", BitmapBytes(odd), ConversionError});
  }
  BitmapFixture rleTopDown = Paletted8();
  rleTopDown.compression = BI_RLE8;
  rleTopDown.height = -2;
  rleTopDown.pixels = {0x04, 0x01, 0x00, 0x00, 0x04, 0x02, 0x00, 0x01};
  cases.push_back({"run-length data stored top-down", BitmapBytes(rleTopDown), ConversionError});
  BitmapFixture rleEmpty = rleTopDown;
  rleEmpty.height = 2;
  rleEmpty.pixels.clear();
  cases.push_back({"run-length data missing", BitmapBytes(rleEmpty), ConversionError});
  // Sizes that overflow 32 bits are refused before anything is allocated for them.
  cases.push_back({"3000000 x 2000000", BitmapBytes(Plain24(3000000, 2000000)), OutOfMemory});
  cases.push_back({"32768 x 32768", BitmapBytes(Plain24(32768, 32768)), OutOfMemory});
  cases.push_back({"top-down 32768 x 32768", BitmapBytes(Plain24(32768, -32768)), OutOfMemory});
  return cases;
}

class Refusal : public LoaderTest {};

TEST_F(Refusal, EachShowsItsMessageAndReturnsNothing) {
  for (const RefusalCase &c : RefusalCases()) {
    SCOPED_TRACE(c.name);
    LoadOutcome out = LoadBytes("refused.bmp", c.bytes);
    EXPECT_FALSE(out.loaded);
    ASSERT_EQ(out.boxes.size(), 1u);
    EXPECT_EQ(out.boxes[0].text, c.message);
    EXPECT_EQ(out.boxes[0].caption, "Error");
  }
}

// A directory named like an image cannot be opened as a file: silent like a missing one.
TEST_F(Refusal, NullPathMissingFileAndDirectoryAreSilent) {
  std::string directory = TempPath("folder.bmp");
  ASSERT_TRUE(MakeDirectory(directory)) << directory;
  StartRecordingBoxes();
  EXPECT_EQ(LoadBitmapImage(nullptr), nullptr);
  EXPECT_EQ(LoadBitmapImage(TempPath("no such file.bmp").c_str()), nullptr);
  EXPECT_EQ(LoadBitmapImage(directory.c_str()), nullptr);
  EXPECT_TRUE(RecordedBoxes().empty());
}

std::string OpenFailure(const std::string &name) {
  return "Failed to open DIB file " + name + ".\n";
}

// The reader itself reports a file it cannot open, a directory among them; an empty file passes
// the fopen probe but cannot be mapped.
TEST_F(Refusal, FileThatCannotBeOpenedOrMappedIsNamedInTheMessage) {
  std::string missing = TempPath("missing.bmp");
  LoadOutcome direct = TakeImage(ReadBitmapFile(missing.c_str()));
  std::string directory = TempPath("directory.bmp");
  ASSERT_TRUE(MakeDirectory(directory)) << directory;
  StartRecordingBoxes();
  LoadOutcome ofDirectory = TakeImage(ReadBitmapFile(directory.c_str()));
  std::string empty = TempPath("empty.bmp");
  ASSERT_TRUE(WriteFileBytes(empty, {}));
  StartRecordingBoxes();
  LoadOutcome viaLoad = TakeImage(LoadBitmapImage(empty.c_str()));
  EXPECT_FALSE(direct.loaded);
  EXPECT_FALSE(ofDirectory.loaded);
  EXPECT_FALSE(viaLoad.loaded);
  ASSERT_EQ(direct.boxes.size(), 1u);
  EXPECT_EQ(direct.boxes[0].text, OpenFailure(missing));
  EXPECT_EQ(direct.boxes[0].caption, "Error");
  ASSERT_EQ(ofDirectory.boxes.size(), 1u);
  EXPECT_EQ(ofDirectory.boxes[0].text, OpenFailure(directory));
  ASSERT_EQ(viaLoad.boxes.size(), 1u);
  EXPECT_EQ(viaLoad.boxes[0].text, OpenFailure(empty));
}

// However long the name, the text fits its 256-character buffer, ending in ".\n".
TEST_F(Refusal, OverlongNameIsCutToFitTheBuffer) {
  std::string name = TempPath("") + std::string(400, 'n') + ".bmp";
  LoadOutcome out = TakeImage(ReadBitmapFile(name.c_str()));
  ASSERT_EQ(out.boxes.size(), 1u);
  EXPECT_EQ(out.boxes[0].text, OpenFailure(name.substr(0, 229)));
  EXPECT_EQ(out.boxes[0].text.size(), 255u);
}

std::vector<WCHAR> Wide(const std::string &narrow) {
  std::vector<WCHAR> wide(narrow.begin(), narrow.end());
  wide.push_back(0);
  return wide;
}

TEST_F(Refusal, WideNamesOpenAndAppearInTheMessage) {
  BitmapFixture fixture = Plain24(3, 1);
  std::string present = TempPath("wide.bmp");
  ASSERT_TRUE(WriteFileBytes(present, BitmapBytes(fixture)));
  LoadOutcome opened = TakeImage(ReadBitmapFile(Wide(present).data(), true));
  EXPECT_TRUE(opened.loaded);
  EXPECT_EQ(opened.pixels, std::vector<uint8_t>(9, 0x40));
  std::string missing = TempPath("wide missing.bmp"), overlong = TempPath(std::string(300, 'w'));
  TakeImage(ReadBitmapFile(Wide(missing).data(), true));
  TakeImage(ReadBitmapFile(Wide(overlong).data(), true));
  std::vector<RecordedBox> boxes = RecordedBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, OpenFailure(missing));
  EXPECT_EQ(boxes[1].text, OpenFailure(overlong.substr(0, 76)));
}

} // namespace
