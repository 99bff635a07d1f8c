// Kernel services: the module handle, files and read-only mappings over the platform's files,
// local memory blocks, and the performance counter over the platform's monotonic clock (no library
// is loaded, so GetProcAddress finds nothing). Waitable timers are in kernel_timer.cpp.
#include "platform/win32.h"
#include "platform/win32_core/kernel_timer.h"
#include "platform/win32_core/native_platform.h"
#include "platform/win32_core/test_hooks.h"

#include <cstdlib>
#include <map>
#include <set>
#include <string>

namespace {

// Any non-null value serves: the game passes it back to the class and window calls only.
struct ModuleTag {
  int unused;
} moduleTag;

int64_t CountsFromMicros(uint64_t micros, int64_t frequency) {
  uint64_t f = static_cast<uint64_t>(frequency);
  return static_cast<int64_t>((micros / 1000000) * f + (micros % 1000000) * f / 1000000);
}

// The performance counter counts nanoseconds of the monotonic clock.
const int64_t CounterFrequency = 1000000000;

// Files and mappings are kernel objects that CloseHandle releases. A file handle and the mappings
// made from it share the platform's file, which stays open while any of them holds it: a mapping
// outlives the file handle it was made from, as on Windows. Views outlive their mapping.
enum class ObjectKind { File, Mapping };

struct OpenFile {
  NativeFile *native;
  int holders;
};

struct KernelObject {
  ObjectKind kind;
  OpenFile *file;
  uint64_t size; // mappings only: the bytes a view may cover
};

void ReleaseFile(OpenFile *file) {
  if (--file->holders > 0)
    return;
  CloseNativeFile(file->native);
  delete file;
}

// Live objects, views (address to length) and local blocks, so that releases can check what
// they are given and views can be unmapped by address alone.
std::set<KernelObject *> &LiveObjects() {
  static std::set<KernelObject *> objects;
  return objects;
}

std::map<const void *, size_t> &LiveViews() {
  static std::map<const void *, size_t> views;
  return views;
}

std::set<void *> &LiveBlocks() {
  static std::set<void *> blocks;
  return blocks;
}

KernelObject *FindObject(HANDLE handle, ObjectKind kind) {
  KernelObject *object = static_cast<KernelObject *>(handle);
  auto found = LiveObjects().find(object);
  if (found == LiveObjects().end() || (*found)->kind != kind)
    return nullptr;
  return object;
}

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(const WCHAR *text) {
  std::string out;
  for (size_t i = 0; text[i] != 0; ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    else if (c >= 0xD800 && c < 0xE000)
      c = 0xFFFD;
    int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    static const unsigned char lead[] = {0x00, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(lead[extra] | (c >> (6 * extra)));
    for (int k = extra - 1; k >= 0; --k)
      out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
  }
  return out;
}

// The one kind of opening the game asks for: an existing regular file, read-only. Directories
// fail, as CreateFile without backup semantics does on Windows.
HANDLE OpenExistingForReading(const char *path, DWORD access, DWORD disposition) {
  if (path == nullptr || access != GENERIC_READ || disposition != OPEN_EXISTING)
    return INVALID_HANDLE_VALUE;
  NativeFile *native = OpenNativeFile(path);
  if (native == nullptr)
    return INVALID_HANDLE_VALUE;
  KernelObject *file = new KernelObject{ObjectKind::File, new OpenFile{native, 1}, 0};
  LiveObjects().insert(file);
  HookHeld(+1);
  return file;
}

} // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
  if (moduleName != nullptr || HookFails(PlatformCall::GetModuleHandleA))
    return nullptr;
  return reinterpret_cast<HMODULE>(&moduleTag);
}

FARPROC WINAPI GetProcAddress(HMODULE, LPCSTR) {
  return nullptr;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER *frequency) {
  if (HookFails(PlatformCall::QueryPerformanceFrequency) || HookNoPerformanceCounter()) {
    frequency->QuadPart = 0;
    return FALSE;
  }
  if (HookClockIsVirtual())
    frequency->QuadPart = HookCounterFrequency();
  else
    frequency->QuadPart = CounterFrequency;
  return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER *count) {
  uint64_t micros;
  if (HookFails(PlatformCall::QueryPerformanceCounter))
    return FALSE;
  if (HookVirtualMicros(&micros))
    count->QuadPart = CountsFromMicros(micros, HookCounterFrequency());
  else
    count->QuadPart = static_cast<LONGLONG>(MonotonicNanos());
  return TRUE;
}

HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                          DWORD creationDisposition, DWORD, HANDLE) {
  if (HookFails(PlatformCall::CreateFileA))
    return INVALID_HANDLE_VALUE;
  return OpenExistingForReading(fileName, desiredAccess, creationDisposition);
}

HANDLE WINAPI CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD, LPSECURITY_ATTRIBUTES,
                          DWORD creationDisposition, DWORD, HANDLE) {
  if (HookFails(PlatformCall::CreateFileW) || fileName == nullptr)
    return INVALID_HANDLE_VALUE;
  return OpenExistingForReading(Utf8FromUtf16(fileName).c_str(), desiredAccess,
                                creationDisposition);
}

DWORD WINAPI GetFileSize(HANDLE file, DWORD *fileSizeHigh) {
  KernelObject *object = FindObject(file, ObjectKind::File);
  uint64_t size;
  if (HookFails(PlatformCall::GetFileSize) || object == nullptr ||
      !NativeFileSize(object->file->native, &size))
    return INVALID_FILE_SIZE;
  if (fileSizeHigh != nullptr)
    *fileSizeHigh = static_cast<DWORD>(size >> 32);
  return static_cast<DWORD>(size);
}

// Read-only, unnamed mappings of no more than the file holds; an empty file cannot be mapped.
HANDLE WINAPI CreateFileMappingA(HANDLE file, LPSECURITY_ATTRIBUTES, DWORD protect,
                                 DWORD maximumSizeHigh, DWORD maximumSizeLow, LPCSTR name) {
  KernelObject *object = FindObject(file, ObjectKind::File);
  uint64_t fileSize;
  if (HookFails(PlatformCall::CreateFileMappingA) || object == nullptr ||
      protect != PAGE_READONLY || name != nullptr ||
      !NativeFileSize(object->file->native, &fileSize))
    return nullptr;
  uint64_t size = (static_cast<uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
  if (size == 0)
    size = fileSize;
  if (size == 0 || size > fileSize)
    return nullptr;
  ++object->file->holders;
  KernelObject *mapping = new KernelObject{ObjectKind::Mapping, object->file, size};
  LiveObjects().insert(mapping);
  HookHeld(+1);
  return mapping;
}

LPVOID WINAPI MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD offsetHigh, DWORD offsetLow,
                            SIZE_T bytesToMap) {
  KernelObject *object = FindObject(mapping, ObjectKind::Mapping);
  if (HookFails(PlatformCall::MapViewOfFile) || object == nullptr || desiredAccess != FILE_MAP_READ)
    return nullptr;
  uint64_t offset = (static_cast<uint64_t>(offsetHigh) << 32) | offsetLow;
  const uint64_t granularity = 65536; // Windows' allocation granularity
  if (offset % granularity != 0 || offset >= object->size)
    return nullptr;
  uint64_t length = bytesToMap != 0 ? bytesToMap : object->size - offset;
  if (length > object->size - offset)
    return nullptr;
  const void *view = MapNativeFile(object->file->native, offset, static_cast<size_t>(length));
  if (view == nullptr)
    return nullptr;
  LiveViews()[view] = static_cast<size_t>(length);
  HookHeld(+1);
  return const_cast<void *>(view);
}

BOOL WINAPI UnmapViewOfFile(const void *baseAddress) {
  auto found = LiveViews().find(baseAddress);
  if (HookFails(PlatformCall::UnmapViewOfFile) || found == LiveViews().end())
    return FALSE;
  UnmapNativeFile(baseAddress, found->second);
  LiveViews().erase(found);
  HookHeld(-1);
  return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
  if (HookFails(PlatformCall::CloseHandle))
    return FALSE;
  if (ReleaseTimer(handle))
    return TRUE;
  KernelObject *object = static_cast<KernelObject *>(handle);
  auto found = LiveObjects().find(object);
  if (found == LiveObjects().end())
    return FALSE;
  ReleaseFile(object->file);
  LiveObjects().erase(found);
  delete object;
  HookHeld(-1);
  return TRUE;
}

// Fixed blocks only (a fixed block's handle is its address), optionally zero-filled.
HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
  if (HookFails(PlatformCall::LocalAlloc) ||
      (flags & ~static_cast<UINT>(LMEM_ZEROINIT)) != LMEM_FIXED)
    return nullptr;
  size_t size = bytes != 0 ? bytes : 1;
  void *block = (flags & LMEM_ZEROINIT) != 0 ? calloc(1, size) : malloc(size);
  if (block == nullptr)
    return nullptr;
  LiveBlocks().insert(block);
  HookHeld(+1);
  return block;
}

// NULL on success; the block itself when it cannot be freed.
HLOCAL WINAPI LocalFree(HLOCAL memory) {
  if (memory == nullptr)
    return nullptr;
  auto found = LiveBlocks().find(memory);
  if (HookFails(PlatformCall::LocalFree) || found == LiveBlocks().end())
    return memory;
  LiveBlocks().erase(found);
  free(memory);
  HookHeld(-1);
  return nullptr;
}
