// The loader over the native platform: every platform call it makes failing in turn (its message,
// nothing left held, nothing called after it), the conversion's choices where the real GDI under
// Wine differs, and the GDI and file rules the loader relies on.
#include "tests/gfx/loader_test_helpers.h"

#include "platform/testing.h"
#include "platform/win32.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string OpenFailure(const std::string &name) {
  return "Failed to open DIB file " + name + ".\n";
}

std::vector<uint8_t> SmallBitmap() {
  BitmapFixture fixture;
  fixture.width = 3;
  fixture.height = 2;
  fixture.bitCount = 8;
  fixture.colors = {0x102030, 0x405060};
  fixture.clrUsed = 2;
  fixture.pixels = StoredRows(8, {{0, 1, 0}, {1, 1, 0}});
  return BitmapBytes(fixture);
}

std::string WriteSmallBitmap() {
  std::string path = TempPath("platform.bmp");
  EXPECT_TRUE(WriteFileBytes(path, SmallBitmap()));
  return path;
}

struct PlatformFailure {
  const char *function;
  int nth;
  const char *message; // null: the open-failure text
  const char *notCalled;
};

TEST(PlatformFailures, EachShowsItsMessageReleasesEverythingAndStops) {
  const PlatformFailure failures[] = {
      {"CreateFileA", 1, nullptr, "GetFileSize"},
      {"GetFileSize", 1, nullptr, "CreateFileMappingA"},
      {"CreateFileMappingA", 1, nullptr, "MapViewOfFile"},
      {"MapViewOfFile", 1, nullptr, "LocalAlloc"},
      {"LocalAlloc", 1, "Out of memory.", "CreateCompatibleDC"}, // the source description
      {"CreateCompatibleDC", 1, "Out of memory.", "CreateDIBSection"},
      {"LocalAlloc", 2, "Out of memory.", "CreateDIBSection"}, // the surface description
      {"CreateDIBSection", 1, "Out of memory.", "SelectObject"},
      {"SelectObject", 1, "Out of memory.", "SetDIBits"},
      {"SetDIBits", 1, "Image file conversion error.", "GdiFlush"},
  };
  std::string path = WriteSmallBitmap();
  for (const PlatformFailure &failure : failures) {
    SCOPED_TRACE(std::string(failure.function) + " #" + std::to_string(failure.nth));
    int held = TestHandlesHeld();
    StartRecordingBoxes();
    TestFailCall(failure.function, failure.nth);
    LoadOutcome out = TakeImage(LoadBitmapImage(path.c_str()));
    EXPECT_FALSE(out.loaded);
    EXPECT_EQ(TestHandlesHeld(), held);
    EXPECT_EQ(TestCallCount(failure.notCalled), 0);
    ASSERT_EQ(TestMessageBoxes().size(), 1u);
    const TestMessageBox &box = TestMessageBoxes()[0];
    EXPECT_EQ(box.text, failure.message ? failure.message : OpenFailure(path));
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.owner, GetFocus());
  }
}

TEST(PlatformFailures, WideOpenFailureNamesTheFile) {
  std::string path = WriteSmallBitmap();
  std::vector<WCHAR> wide(path.begin(), path.end());
  wide.push_back(0);
  StartRecordingBoxes();
  TestFailCall("CreateFileW");
  LoadOutcome out = TakeImage(ReadBitmapFile(wide.data(), true));
  EXPECT_FALSE(out.loaded);
  ASSERT_EQ(out.boxes.size(), 1u);
  EXPECT_EQ(out.boxes[0].text, OpenFailure(path));
  EXPECT_EQ(TestHandlesHeld(), 0);
}

// The real GDI under Wine repeats a narrow channel's bits only once (a 1-bit channel gives 192,
// a full 2-bit one 240), decodes any plane count and refuses an empty mask. We widen a channel of
// n bits so that its largest value gives 255, refuse planes other than 1 as the format requires,
// and let an empty mask give a channel of 0.
TEST(OwnConversion, NarrowChannelsRepeatTheirBitsPlanesMustBeOneEmptyMasksGiveZero) {
  BitmapFixture narrow;
  narrow.width = 6;
  narrow.bitCount = 16;
  narrow.compression = BI_BITFIELDS;
  narrow.masks = {0x0030, 0x000E, 0x0001}; // 2, 3 and 1 bits
  narrow.pixels = StoredRows(16, {{0x003F, 0x0010, 0x0020, 0x0002, 0x000C, 0x0001}});
  LoadOutcome widened = LoadBytes("narrow.bmp", BitmapBytes(narrow));
  EXPECT_EQ(widened.pixels,
            RgbBytes({{0xFFFFFF, 0x550000, 0xAA0000, 0x002400, 0x00DB00, 0x0000FF}}));

  BitmapFixture planes = narrow;
  planes.planes = 2;
  LoadOutcome refused = LoadBytes("planes.bmp", BitmapBytes(planes));
  EXPECT_FALSE(refused.loaded);
  ASSERT_EQ(refused.boxes.size(), 1u);
  EXPECT_EQ(refused.boxes[0].text, "Image file conversion error.");

  BitmapFixture empty = narrow;
  empty.width = 2;
  empty.masks = {0xFF00, 0x00FF, 0};
  empty.pixels = StoredRows(16, {{0x1234, 0xFFFF}});
  LoadOutcome noBlue = LoadBytes("empty mask.bmp", BitmapBytes(empty));
  EXPECT_EQ(noBlue.pixels, RgbBytes({{0x123400, 0xFFFF00}}));
}

// Run-length data is read no further than biSizeImage, a zero one being filled in as the
// uncompressed size (here 8 bytes); what it holds up to there is drawn. The real GDI under Wine
// draws nothing of data that ends before its end-of-bitmap code, throwing away what it decoded.
TEST(OwnConversion, RunLengthDataCutByItsSizeKeepsWhatWasDecoded) {
  BitmapFixture fixture;
  fixture.width = 8;
  fixture.bitCount = 8;
  fixture.compression = BI_RLE8;
  fixture.colors = {0x000001, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555};
  fixture.clrUsed = 6;
  fixture.pixels = {0x01, 0x01, 0x01, 0x02, 0x01, 0x03, 0x01, 0x04, 0x01, 0x05, 0x00, 0x01};
  struct Case {
    uint32_t sizeImage;
    std::vector<uint32_t> expected;
  } cases[] = {{0, {0x111111, 0x222222, 0x333333, 0x444444, 0, 0, 0, 0}},
               {4, {0x111111, 0x222222, 0, 0, 0, 0, 0, 0}},
               {5, {0x111111, 0x222222, 0, 0, 0, 0, 0, 0}}};
  for (const Case &c : cases) {
    SCOPED_TRACE("biSizeImage " + std::to_string(c.sizeImage));
    fixture.sizeImage = c.sizeImage;
    LoadOutcome out = LoadBytes("rle cut.bmp", BitmapBytes(fixture));
    EXPECT_EQ(out.pixels, RgbBytes({c.expected}));
  }
}

BITMAPINFOHEADER Header24(LONG width, LONG height) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  return header;
}

// A new memory context holds a stock bitmap, which SelectObject hands back; a section selected
// into a context cannot be deleted; deleting the context lets it go.
TEST(GdiObjects, SelectionAndDeletionFollowGdiRules) {
  int held = TestHandlesHeld();
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFOHEADER header = Header24(2, 2);
  void *bits = nullptr;
  HBITMAP section = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO *>(&header), DIB_RGB_COLORS,
                                     &bits, nullptr, 0);
  ASSERT_NE(section, nullptr);
  ASSERT_NE(bits, nullptr);
  HGDIOBJ stock = SelectObject(dc, section);
  EXPECT_NE(stock, nullptr);
  EXPECT_NE(stock, static_cast<HGDIOBJ>(section));
  EXPECT_FALSE(DeleteObject(section));
  EXPECT_EQ(SelectObject(dc, stock), static_cast<HGDIOBJ>(section));
  EXPECT_EQ(SelectObject(dc, section), stock);
  EXPECT_EQ(TestHandlesHeld(), held + 2);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(section));
  EXPECT_FALSE(DeleteObject(section));
  EXPECT_EQ(TestHandlesHeld(), held);
}

// SetDIBits places stored rows by their place in the picture, whichever way either side runs.
TEST(GdiObjects, SetDIBitsFillsTopDownSectionsTopRowFirst) {
  BITMAPINFOHEADER target = Header24(1, -3), source = Header24(1, 3);
  void *bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO *>(&target),
                                     DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(section, nullptr);
  const uint8_t stored[12] = {1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0}; // bottom row first
  EXPECT_EQ(SetDIBits(nullptr, section, 0, 3, stored, reinterpret_cast<BITMAPINFO *>(&source),
                      DIB_RGB_COLORS),
            3);
  const uint8_t *memory = static_cast<const uint8_t *>(bits);
  EXPECT_EQ(memory[0], 3); // the top row
  EXPECT_EQ(memory[4], 2);
  EXPECT_EQ(memory[8], 1);
  EXPECT_TRUE(DeleteObject(section));
}

// A section's memory is zero when made, also when it is a deleted section's memory taken again:
// sections of the same size, a smaller one and a larger one after a filled one.
TEST(GdiObjects, EveryNewSectionStartsBlackWhateverItsMemoryHeldBefore) {
  const LONG sides[][2] = {{64, 64}, {64, 64}, {16, 8}, {40, 30}, {200, 100}};
  for (const LONG *side : sides) {
    SCOPED_TRACE(std::to_string(side[0]) + " x " + std::to_string(side[1]));
    BITMAPINFOHEADER header = Header24(side[0], side[1]);
    void *bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO *>(&header),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(section, nullptr);
    const uint8_t *memory = static_cast<const uint8_t *>(bits);
    size_t bytes = static_cast<size_t>((3 * side[0] + 3) / 4 * 4) * static_cast<size_t>(side[1]);
    size_t nonZero = 0;
    for (size_t i = 0; i < bytes; ++i)
      nonZero += memory[i] != 0;
    EXPECT_EQ(nonZero, 0u);
    memset(bits, 0xA5, bytes); // what the next section must not see
    EXPECT_TRUE(DeleteObject(section));
  }
}

// As on Windows, CreateFileA opens existing files only, and no directory.
TEST(KernelFiles, OnlyExistingRegularFilesOpen) {
  std::string path = WriteSmallBitmap();
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(file, nullptr), SmallBitmap().size());
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_FALSE(CloseHandle(file));
  for (const std::string &name : {TempPath(""), TempPath("absent.bmp")})
    EXPECT_EQ(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                          nullptr),
              INVALID_HANDLE_VALUE)
        << name;
}

} // namespace
