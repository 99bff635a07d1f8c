// Files in the browser: Data/, embedded in the program (embedded_files.cpp), read in place. The
// program has no other file system: beneath CreateFileA and its mappings, and beneath the C
// library's read-only calls (open, read, seek, close), which its fopen, fgetc and fclose make.
// Console output keeps Emscripten's own write, which goes to the page's console.
#include "platform/web/platform.h"
#include "platform/win32_core/native_platform.h"

#include <wasi/api.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>

struct NativeFile {
  const EmbeddedFile *embedded;
};

namespace {

// The C library's open files, by descriptor from FirstDescriptor (0 to 2 are the console's); a
// free slot has no file.
struct Stream {
  const EmbeddedFile *file;
  uint64_t position;
};

const __wasi_fd_t FirstDescriptor = 3;
Stream streams[8];

Stream *StreamOf(__wasi_fd_t fd) {
  if (fd < FirstDescriptor || fd - FirstDescriptor >= sizeof streams / sizeof streams[0])
    return nullptr;
  Stream *stream = &streams[fd - FirstDescriptor];
  return stream->file != nullptr ? stream : nullptr;
}

} // namespace

const EmbeddedFile *FindEmbeddedFile(const char *path) {
  while (path[0] == '/' || (path[0] == '.' && path[1] == '/'))
    path += path[0] == '/' ? 1 : 2;
  for (unsigned i = 0; i < EmbeddedFileCount; ++i)
    if (std::strcmp(path, EmbeddedFiles[i].path) == 0)
      return &EmbeddedFiles[i];
  return nullptr;
}

NativeFile *OpenNativeFile(const char *path) {
  const EmbeddedFile *embedded = FindEmbeddedFile(path);
  return embedded != nullptr ? new NativeFile{embedded} : nullptr;
}

bool NativeFileSize(NativeFile *file, uint64_t *size) {
  *size = file->embedded->size;
  return true;
}

const void *MapNativeFile(NativeFile *file, uint64_t offset, size_t) {
  return file->embedded->bytes + offset;
}

void UnmapNativeFile(const void *, size_t) {}

void CloseNativeFile(NativeFile *file) {
  delete file;
}

// The C library's calls beneath its streams, which would otherwise reach Emscripten's file
// system: a read-only file system of the embedded files.
extern "C" {

long __syscall_open(long path, long flags, ...) {
  if ((flags & O_ACCMODE) != O_RDONLY)
    return -EROFS;
  const EmbeddedFile *file = FindEmbeddedFile(reinterpret_cast<const char *>(path));
  if (file == nullptr)
    return -ENOENT;
  for (Stream &stream : streams) {
    if (stream.file == nullptr) {
      stream = {file, 0};
      return FirstDescriptor + static_cast<long>(&stream - streams);
    }
  }
  return -EMFILE;
}

__wasi_errno_t __wasi_fd_read(__wasi_fd_t fd, const __wasi_iovec_t *iovs, size_t iovsLen,
                              __wasi_size_t *nread) {
  Stream *stream = StreamOf(fd);
  if (stream == nullptr)
    return __WASI_ERRNO_BADF;
  *nread = 0;
  for (size_t i = 0; i < iovsLen && stream->position < stream->file->size; ++i) {
    size_t count = stream->file->size - static_cast<size_t>(stream->position);
    if (count > iovs[i].buf_len)
      count = iovs[i].buf_len;
    std::memcpy(iovs[i].buf, stream->file->bytes + stream->position, count);
    stream->position += count;
    *nread += count;
  }
  return __WASI_ERRNO_SUCCESS;
}

__wasi_errno_t __wasi_fd_seek(__wasi_fd_t fd, __wasi_filedelta_t offset, __wasi_whence_t whence,
                              __wasi_filesize_t *newoffset) {
  Stream *stream = StreamOf(fd);
  if (stream == nullptr)
    return __WASI_ERRNO_BADF;
  int64_t from = whence == __WASI_WHENCE_SET   ? 0
                 : whence == __WASI_WHENCE_CUR ? static_cast<int64_t>(stream->position)
                 : whence == __WASI_WHENCE_END ? static_cast<int64_t>(stream->file->size)
                                               : -1;
  if (from < 0 || from + offset < 0)
    return __WASI_ERRNO_INVAL;
  stream->position = static_cast<uint64_t>(from + offset);
  *newoffset = stream->position;
  return __WASI_ERRNO_SUCCESS;
}

__wasi_errno_t __wasi_fd_close(__wasi_fd_t fd) {
  Stream *stream = StreamOf(fd);
  if (stream == nullptr)
    return __WASI_ERRNO_BADF;
  stream->file = nullptr;
  return __WASI_ERRNO_SUCCESS;
}

} // extern "C"
