// The file and mapping rules the loader relies on, in both builds: the real kernel32's in the
// Windows build (under Wine), win32_core's over the platform's files natively. The file is 64 KiB
// and 100 bytes, so that a view may also begin at the second allocation granule.
#include "tests/gfx/loader_test_helpers.h"

#include "platform/win32.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

const DWORD Granule = 65536;
const DWORD FileSize = Granule + 100;

std::vector<uint8_t> FileContents() {
  std::vector<uint8_t> bytes(FileSize);
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
  return bytes;
}

std::string WriteTestFile(const std::string &name, const std::vector<uint8_t> &bytes) {
  std::string path = TempPath(name);
  EXPECT_TRUE(WriteFileBytes(path, bytes)) << path;
  return path;
}

HANDLE OpenForReading(const std::string &path) {
  return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                     nullptr);
}

class FileMapping : public LoaderTest {};

// A mapping keeps the file it was made from, and a view its mapping: each handle may be closed
// as soon as the next object is made.
TEST_F(FileMapping, AMappingOutlivesItsFileHandleAndAViewItsMapping) {
  const std::vector<uint8_t> bytes = FileContents();
  HANDLE file = OpenForReading(WriteTestFile("outlives.bin", bytes));
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(file, nullptr), FileSize);
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  ASSERT_NE(mapping, nullptr);
  EXPECT_TRUE(CloseHandle(file));
  const void *view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(CloseHandle(mapping));
  EXPECT_EQ(std::memcmp(view, bytes.data(), bytes.size()), 0);
  EXPECT_TRUE(UnmapViewOfFile(view));
  EXPECT_FALSE(UnmapViewOfFile(view));
}

// A read-only mapping covers the file or less of it; an empty file has nothing to map.
TEST_F(FileMapping, ARequestForAMappingIsMadeOnlyWithinAFileThatHoldsBytes) {
  struct Case {
    const char *what;
    DWORD fileSize;
    DWORD protect;
    DWORD maximumSize;
    bool made;
  } cases[] = {
      {"the whole file (size 0)", FileSize, PAGE_READONLY, 0, true},
      {"exactly the file's size", FileSize, PAGE_READONLY, FileSize, true},
      {"less than the file", FileSize, PAGE_READONLY, 10, true},
      {"more than the file", FileSize, PAGE_READONLY, FileSize + 1, false},
      {"writable, over a handle opened for reading", FileSize, PAGE_READWRITE, 0, false},
      {"an empty file", 0, PAGE_READONLY, 0, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bytes = FileContents();
    bytes.resize(c.fileSize);
    HANDLE file = OpenForReading(WriteTestFile("request.bin", bytes));
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    HANDLE mapping = CreateFileMappingA(file, nullptr, c.protect, 0, c.maximumSize, nullptr);
    EXPECT_EQ(mapping != nullptr, c.made);
    if (mapping != nullptr) {
      EXPECT_TRUE(CloseHandle(mapping));
    }
    EXPECT_TRUE(CloseHandle(file));
  }
}

// A view begins at a multiple of the allocation granularity inside the mapping, reads, and ends
// no later than the mapping; what it shows is the file's bytes from its offset.
TEST_F(FileMapping, AViewBeginsAtAGranuleInsideTheMappingAndEndsWithinIt) {
  struct Case {
    const char *what;
    DWORD access;
    DWORD offset;
    SIZE_T bytes; // 0: to the end
    bool made;
  } cases[] = {
      {"the whole mapping", FILE_MAP_READ, 0, 0, true},
      {"its first ten bytes", FILE_MAP_READ, 0, 10, true},
      {"from the second granule to the end", FILE_MAP_READ, Granule, 0, true},
      {"the hundred bytes of the second granule", FILE_MAP_READ, Granule, 100, true},
      {"a byte past the end", FILE_MAP_READ, Granule, 101, false},
      {"from an offset inside the first granule", FILE_MAP_READ, 4096, 0, false},
      {"from beyond the end", FILE_MAP_READ, 2 * Granule, 0, false},
      {"for writing", FILE_MAP_WRITE, 0, 0, false},
  };
  const std::vector<uint8_t> bytes = FileContents();
  HANDLE file = OpenForReading(WriteTestFile("views.bin", bytes));
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  ASSERT_NE(mapping, nullptr);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    const void *view = MapViewOfFile(mapping, c.access, 0, c.offset, c.bytes);
    EXPECT_EQ(view != nullptr, c.made);
    if (view == nullptr)
      continue;
    size_t shown = c.bytes != 0 ? c.bytes : FileSize - c.offset;
    EXPECT_EQ(std::memcmp(view, bytes.data() + c.offset, shown), 0);
    EXPECT_TRUE(UnmapViewOfFile(view));
  }
  EXPECT_TRUE(CloseHandle(mapping));
  EXPECT_TRUE(CloseHandle(file));
}

} // namespace
