// The bitmap file loader: maps the file, normalises its header into an info header with its
// colour table, lets the platform's DIB conversion turn the stored rows into a 24-bit surface and
// copies that out as packed RGB rows.
#include "gfx/bitmap_loader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char *const Caption = "Error";
const char *const OutOfMemory = "Out of memory.";
const char *const UnknownFormat = "Unknown DIB file format.";
const char *const ConversionError = "Image file conversion error.";

const WORD FileType = 0x4D42; // "BM"
const DWORD FileHeaderBytes = 14;
const DWORD CoreHeaderBytes = 12;
const DWORD InfoHeaderBytes = 40;
// The surface and the pixel block must stay within the 32-bit sizes of their descriptions.
const uint64_t MaxImageBytes = 0x7FFFFFFF;

// Everything one read obtains, in the order it obtains it, and what it learns of the file.
struct BitmapRead {
  HANDLE file;
  HANDLE mapping;
  const BYTE *view;
  DWORD fileSize;
  bool hasFileHeader;
  DWORD headerAt; // offset of the DIB header in the file
  DWORD pixelsAt; // offset of the stored pixels
  WORD colorCount;
  BITMAPINFO *source;
  HDC dc;
  BITMAPINFO *surfaceInfo;
  HBITMAP surface;
  void *surfaceBits;
  BYTE *pixels;
  RgbImage *image;
  bool openFailed;
};

WORD ReadWord(const BYTE *at) {
  return static_cast<WORD>(at[0] | (at[1] << 8));
}

DWORD ReadDword(const BYTE *at) {
  return static_cast<DWORD>(at[0]) | (static_cast<DWORD>(at[1]) << 8) |
         (static_cast<DWORD>(at[2]) << 16) | (static_cast<DWORD>(at[3]) << 24);
}

// Whether `bytes` bytes from `offset` lie inside the file.
bool FileHolds(const BitmapRead &read, uint64_t offset, uint64_t bytes) {
  return offset <= read.fileSize && bytes <= read.fileSize - offset;
}

bool Fail(const char *text) {
  MessageBoxA(GetFocus(), text, Caption, MB_OK);
  return false;
}

// Opens and maps the whole file; on failure the message waits until everything is released.
bool OpenAndMap(BitmapRead *read, const void *name, bool wideName) {
  if (wideName)
    read->file = CreateFileW(static_cast<LPCWSTR>(name), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  else
    read->file = CreateFileA(static_cast<LPCSTR>(name), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  if (read->file != INVALID_HANDLE_VALUE) {
    read->fileSize = GetFileSize(read->file, nullptr); // 4 GiB and more only shortens it
    if (read->fileSize != INVALID_FILE_SIZE)
      read->mapping = CreateFileMappingA(read->file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  }
  if (read->mapping != nullptr)
    read->view = static_cast<const BYTE *>(MapViewOfFile(read->mapping, FILE_MAP_READ, 0, 0, 0));
  read->openFailed = read->view == nullptr;
  return !read->openFailed;
}

// Finds the DIB header and, behind a file header, the stored pixels. The header's size field,
// and as much of the header as the colour count reads, must be in the file.
bool LocateHeader(BitmapRead *read) {
  read->hasFileHeader = read->fileSize >= 2 && ReadWord(read->view) == FileType;
  read->headerAt = read->hasFileHeader ? FileHeaderBytes : 0;
  if (!FileHolds(*read, read->headerAt, 4))
    return Fail(UnknownFormat);
  if (read->hasFileHeader)
    read->pixelsAt = ReadDword(read->view + 10);
  DWORD headerSize = ReadDword(read->view + read->headerAt);
  DWORD countedBytes = headerSize == CoreHeaderBytes ? CoreHeaderBytes : InfoHeaderBytes;
  if (!FileHolds(*read, read->headerAt, countedBytes))
    return Fail(UnknownFormat);
  return true;
}

// The three colour masks that follow a 40-byte header of a 16- or 32-bit bit-field image.
DWORD MaskCount(const BYTE *header) {
  if (ReadDword(header) != InfoHeaderBytes || ReadDword(header + 16) != BI_BITFIELDS)
    return 0;
  WORD bitCount = ReadWord(header + 14);
  return bitCount == 16 || bitCount == 32 ? 3 : 0;
}

BYTE *ColourTable(BITMAPINFO *info) {
  return reinterpret_cast<BYTE *>(info) + sizeof(BITMAPINFOHEADER);
}

bool NormaliseCoreHeader(BitmapRead *read, const BYTE *header) {
  WORD colorCount = read->colorCount;
  BITMAPINFOHEADER &info = read->source->bmiHeader;
  info.biSize = InfoHeaderBytes;
  info.biWidth = ReadWord(header + 4);
  info.biHeight = ReadWord(header + 6);
  info.biPlanes = ReadWord(header + 8);
  info.biBitCount = ReadWord(header + 10);
  info.biCompression = BI_RGB;
  info.biSizeImage = 0;
  info.biXPelsPerMeter = 0;
  info.biYPelsPerMeter = 0;
  info.biClrUsed = colorCount;
  info.biClrImportant = colorCount;
  DWORD tableAt = read->headerAt + CoreHeaderBytes;
  if (!FileHolds(*read, tableAt, 3 * DWORD{colorCount}))
    return Fail(ConversionError);
  const BYTE *from = read->view + tableAt;
  BYTE *to = ColourTable(read->source);
  for (DWORD i = 0; i < colorCount; ++i, from += 3, to += 4) {
    memcpy(to, from, 3); // blue, green, red
    to[3] = 0;
  }
  if (!read->hasFileHeader)
    read->pixelsAt = tableAt + 3 * DWORD{colorCount};
  return true;
}

bool NormaliseInfoHeader(BitmapRead *read, const BYTE *header, DWORD masks) {
  WORD colorCount = read->colorCount;
  BITMAPINFOHEADER &info = read->source->bmiHeader;
  info.biSize = ReadDword(header);
  info.biWidth = static_cast<LONG>(ReadDword(header + 4));
  info.biHeight = static_cast<LONG>(ReadDword(header + 8));
  info.biPlanes = ReadWord(header + 12);
  info.biBitCount = ReadWord(header + 14);
  info.biCompression = ReadDword(header + 16);
  info.biSizeImage = ReadDword(header + 20);
  info.biXPelsPerMeter = static_cast<LONG>(ReadDword(header + 24));
  info.biYPelsPerMeter = static_cast<LONG>(ReadDword(header + 28));
  info.biClrUsed = ReadDword(header + 32);
  info.biClrImportant = ReadDword(header + 36);
  // The colour count keeps 16 bits: a larger table could not be copied in full.
  if (info.biClrUsed > 0xFFFF)
    return Fail(ConversionError);
  DWORD tableAt = read->headerAt + InfoHeaderBytes;
  DWORD tableBytes = 4 * (masks + colorCount); // the masks, then the colour table
  if (!FileHolds(*read, tableAt, tableBytes))
    return Fail(ConversionError);
  memcpy(ColourTable(read->source), read->view + tableAt, tableBytes);
  if (!read->hasFileHeader)
    read->pixelsAt = tableAt + tableBytes;
  return true;
}

// Counts the colours, allocates the source description and fills it from the file's header.
bool DescribeSource(BitmapRead *read) {
  const BYTE *header = read->view + read->headerAt;
  read->colorCount = BitmapColorCount(header);
  DWORD masks = MaskCount(header);
  SIZE_T bytes = sizeof(BITMAPINFOHEADER) + sizeof(RGBQUAD) * (masks + read->colorCount + 1);
  read->source = static_cast<BITMAPINFO *>(LocalAlloc(LMEM_FIXED, bytes));
  if (read->source == nullptr)
    return Fail(OutOfMemory);
  DWORD headerSize = ReadDword(header);
  if (headerSize == CoreHeaderBytes)
    return NormaliseCoreHeader(read, header);
  if (headerSize == InfoHeaderBytes)
    return NormaliseInfoHeader(read, header, masks);
  return Fail(UnknownFormat);
}

void FillIn(BitmapRead *read) {
  BITMAPINFOHEADER &info = read->source->bmiHeader;
  if (info.biSizeImage == 0) // bounds run-length data only; 32-bit arithmetic as stored
    info.biSizeImage = (info.biBitCount * static_cast<DWORD>(info.biWidth) + 7) / 8 *
                       static_cast<DWORD>(info.biHeight);
  if (info.biClrUsed == 0)
    info.biClrUsed = read->colorCount;
}

// Refuses dimensions that cannot make a surface or whose sizes overflow, before anything large
// is allocated, and stored pixels that the file does not hold. Run-length data is bounded by the
// bytes there are.
bool CheckStoredPixels(BitmapRead *read) {
  BITMAPINFOHEADER &info = read->source->bmiHeader;
  bool runLength = info.biCompression == BI_RLE8 || info.biCompression == BI_RLE4;
  if (info.biWidth <= 0 || info.biHeight == 0 || info.biHeight == INT32_MIN ||
      (runLength && info.biHeight < 0))
    return Fail(ConversionError);
  uint64_t rows = info.biHeight < 0 ? -static_cast<int64_t>(info.biHeight) : info.biHeight;
  uint64_t surfaceStride = (3 * static_cast<uint64_t>(info.biWidth) + 3) / 4 * 4;
  if (surfaceStride * rows > MaxImageBytes)
    return Fail(OutOfMemory);
  if (runLength) {
    if (read->pixelsAt >= read->fileSize)
      return Fail(ConversionError);
    DWORD there = read->fileSize - read->pixelsAt;
    if (info.biSizeImage > there)
      info.biSizeImage = there;
    return true;
  }
  uint64_t storedStride = (uint64_t{info.biBitCount} * info.biWidth + 31) / 32 * 4;
  if (storedStride > read->fileSize || !FileHolds(*read, read->pixelsAt, storedStride * rows))
    return Fail(ConversionError);
  return true;
}

// A memory context with a 24-bit surface of the image's size selected into it. The surface is
// always bottom-up, so that also a top-down file comes out bottom row first.
bool MakeSurface(BitmapRead *read) {
  const BITMAPINFOHEADER &source = read->source->bmiHeader;
  read->dc = CreateCompatibleDC(nullptr);
  if (read->dc == nullptr)
    return Fail(OutOfMemory);
  read->surfaceInfo =
      static_cast<BITMAPINFO *>(LocalAlloc(LMEM_ZEROINIT, sizeof(BITMAPINFOHEADER)));
  if (read->surfaceInfo == nullptr)
    return Fail(OutOfMemory);
  BITMAPINFOHEADER &info = read->surfaceInfo->bmiHeader;
  info.biSize = sizeof(BITMAPINFOHEADER);
  info.biWidth = source.biWidth;
  info.biHeight = source.biHeight < 0 ? -source.biHeight : source.biHeight;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(info.biHeight) * static_cast<DWORD>(info.biWidth) * 3;
  read->surface =
      CreateDIBSection(read->dc, read->surfaceInfo, DIB_RGB_COLORS, &read->surfaceBits, nullptr, 0);
  if (read->surface == nullptr || SelectObject(read->dc, read->surface) == nullptr)
    return Fail(OutOfMemory);
  return true;
}

bool ConvertPixels(BitmapRead *read) {
  UINT rows = static_cast<UINT>(read->surfaceInfo->bmiHeader.biHeight);
  if (SetDIBits(read->dc, read->surface, 0, rows, read->view + read->pixelsAt, read->source,
                DIB_RGB_COLORS) == 0)
    return Fail(ConversionError);
  GdiFlush(); // the surface memory is read next
  return true;
}

// Copies the surface as red, green, blue, dropping each row's filler (width mod 4 bytes).
bool CopyOut(BitmapRead *read) {
  const BITMAPINFOHEADER &info = read->surfaceInfo->bmiHeader;
  read->pixels = static_cast<BYTE *>(malloc(info.biSizeImage));
  if (read->pixels == nullptr)
    return Fail(OutOfMemory);
  const BYTE *from = static_cast<const BYTE *>(read->surfaceBits);
  BYTE *to = read->pixels;
  for (LONG row = 0; row < info.biHeight; ++row) {
    for (LONG column = 0; column < info.biWidth; ++column, from += 3, to += 3) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
    from += info.biWidth % 4;
  }
  return true;
}

bool MakeRecord(BitmapRead *read) {
  read->image = static_cast<RgbImage *>(malloc(sizeof(RgbImage)));
  if (read->image == nullptr)
    return Fail(OutOfMemory);
  read->image->width = read->surfaceInfo->bmiHeader.biWidth;
  read->image->height = read->surfaceInfo->bmiHeader.biHeight;
  read->image->pixels = read->pixels;
  return true;
}

// Releases in a fixed order, whatever was obtained.
void Release(BitmapRead *read) {
  if (read->dc != nullptr)
    DeleteDC(read->dc);
  if (read->surface != nullptr)
    DeleteObject(read->surface);
  if (read->surfaceInfo != nullptr)
    LocalFree(read->surfaceInfo);
  if (read->source != nullptr)
    LocalFree(read->source);
  if (read->view != nullptr)
    UnmapViewOfFile(read->view);
  if (read->mapping != nullptr)
    CloseHandle(read->mapping);
  if (read->file != INVALID_HANDLE_VALUE)
    CloseHandle(read->file);
}

// The name is cut so that the text fits its buffer: 24 + 229 + 2 characters and the terminator.
// A wide character can take up to three bytes as narrow text, hence 76 of them.
void ShowOpenFailure(const void *name, bool wideName) {
  char text[256];
  if (wideName)
    wsprintfA(text, "Failed to open DIB file %.76ws.\n", static_cast<LPCWSTR>(name));
  else
    wsprintfA(text, "Failed to open DIB file %.229s.\n", static_cast<LPCSTR>(name));
  Fail(text);
}

} // namespace

RgbImage *LoadBitmapImage(const char *path) {
  if (path == nullptr)
    return nullptr;
  FILE *probe = fopen(path, "r"); // only whether the file is there and readable
  if (probe == nullptr)
    return nullptr;
  // A directory is no readable file: the Windows C runtime refuses to open one, while POSIX
  // opens it and fails only at the first read. An empty file reads as end-of-file, no error.
  bool readable = fgetc(probe) != EOF || !ferror(probe);
  fclose(probe);
  if (!readable)
    return nullptr;
  return ReadBitmapFile(path);
}

RgbImage *ReadBitmapFile(const void *name, bool wideName) {
  BitmapRead read = {};
  read.file = INVALID_HANDLE_VALUE;
  if (OpenAndMap(&read, name, wideName) && LocateHeader(&read) && DescribeSource(&read)) {
    FillIn(&read);
    if (CheckStoredPixels(&read) && MakeSurface(&read) && ConvertPixels(&read) && CopyOut(&read))
      MakeRecord(&read);
  }
  Release(&read);
  if (read.image != nullptr)
    return read.image;
  free(read.pixels);
  if (read.openFailed)
    ShowOpenFailure(name, wideName);
  return nullptr;
}

WORD BitmapColorCount(const void *header) {
  const BYTE *at = static_cast<const BYTE *>(header);
  WORD bitCount;
  if (ReadDword(at) == CoreHeaderBytes) {
    bitCount = ReadWord(at + 10);
  } else {
    DWORD used = ReadDword(at + 32);
    if (used != 0)
      return static_cast<WORD>(used & 0xFFFF);
    bitCount = ReadWord(at + 14);
  }
  switch (bitCount) {
  case 1:
    return 2;
  case 4:
    return 16;
  case 8:
    return 256;
  default:
    return 0;
  }
}
