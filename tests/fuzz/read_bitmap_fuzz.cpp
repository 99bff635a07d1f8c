// libFuzzer target: ReadBitmapFile on arbitrary bytes. Whatever it decides, a read must touch
// nothing outside the file and its own blocks (AddressSanitizer; the view's tail is poisoned) and
// leave nothing held.
#include "gfx/bitmap_loader.h"
#include "platform/testing.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

uint32_t Dword(const uint8_t *at) {
  return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

// Images that the loader accepts can take up to 2 GiB twice from a few bytes of run-length data;
// they only cost time here (the size limits have their own tests), so the largest are skipped.
bool DeclaresHugeImage(const uint8_t *data, size_t size) {
  size_t header = size >= 2 && data[0] == 'B' && data[1] == 'M' ? 14 : 0;
  if (size < header + 12)
    return false;
  uint64_t width, height;
  if (Dword(data + header) == 12) {
    width = data[header + 4] | (data[header + 5] << 8);
    height = data[header + 6] | (data[header + 7] << 8);
  } else {
    width = Dword(data + header + 4);
    int64_t rows = static_cast<int32_t>(Dword(data + header + 8));
    height = static_cast<uint64_t>(rows < 0 ? -rows : rows);
  }
  uint64_t bytes = width * height * 3;
  return bytes > (uint64_t{4} << 20) && bytes < (uint64_t{1} << 31) && width < (1u << 31);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // One in-memory file, opened again by name for every input.
  static const int file = memfd_create("bitmap", 0);
  static const std::string name = "/proc/self/fd/" + std::to_string(file);
  if (DeclaresHugeImage(data, size))
    return -1;
  if (ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != static_cast<ssize_t>(size))
    abort();
  TestReset();
  TestScriptMessageBoxes();
  RgbImage *image = ReadBitmapFile(name.c_str());
  if (image != nullptr) {
    free(image->pixels);
    free(image);
  }
  if (TestHandlesHeld() != 0 || (image == nullptr) == TestMessageBoxes().empty())
    abort(); // something left held, or a refusal without its message (or a success with one)
  return 0;
}
