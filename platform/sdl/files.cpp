// Files natively: POSIX descriptors, and read-only views of them that mmap makes.
#include "platform/win32_core/native_platform.h"

#include <sanitizer/asan_interface.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

struct NativeFile {
  int fd;
};

namespace {

// Bytes from the end of a view of `length` bytes to the end of its last page.
size_t PageTail(size_t length) {
  size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  return (page - length % page) % page;
}

} // namespace

NativeFile *OpenNativeFile(const char *path) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return nullptr;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return nullptr;
  }
  return new NativeFile{fd};
}

bool NativeFileSize(NativeFile *file, uint64_t *size) {
  struct stat info;
  if (fstat(file->fd, &info) != 0)
    return false;
  *size = static_cast<uint64_t>(info.st_size);
  return true;
}

const void *MapNativeFile(NativeFile *file, uint64_t offset, size_t length) {
  void *view = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file->fd, static_cast<off_t>(offset));
  if (view == MAP_FAILED)
    return nullptr;
  // The rest of the view's last page reads as zeros; under AddressSanitizer it is poisoned, so
  // that a read past the end of the file is reported.
  ASAN_POISON_MEMORY_REGION(static_cast<char *>(view) + length, PageTail(length));
  return view;
}

void UnmapNativeFile(const void *view, size_t length) {
  ASAN_UNPOISON_MEMORY_REGION(static_cast<const char *>(view) + length, PageTail(length));
  munmap(const_cast<void *>(view), length);
}

void CloseNativeFile(NativeFile *file) {
  close(file->fd);
  delete file;
}
