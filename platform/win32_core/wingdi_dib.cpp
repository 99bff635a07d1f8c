// GDI's memory device contexts and 24-bit DIB sections, and SetDIBits, which converts stored DIB
// rows (1, 4, 8 bits with a colour table, 16, 24, 32 bits, bit fields, RLE8, RLE4) into them.
#include "platform/win32.h"
#include "platform/win32_core/test_hooks.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

struct MemoryDc;

// A section's rows are 3 x width bytes filled up to a multiple of four, blue, green, red, bottom
// row first for a positive height (top row first for a negative one), zero-filled when made.
struct DibSection {
  LONG width;
  LONG height;
  size_t stride;
  BYTE *bits;
  size_t capacity; // bytes at `bits`, at least stride x rows
  MemoryDc *selectedInto;
};

struct MemoryDc {
  DibSection *selected; // null while the stock bitmap is selected
};

// The stock one-pixel bitmap that a new memory context holds; only its address is used.
int stockBitmap;

// The largest section, in bytes, as the sizes of a BITMAPINFOHEADER can express it.
const uint64_t MaxSectionBytes = 0x7FFFFFFF;

// The memory of the last section deleted, kept for the next section that fits in it: a program
// that reads its images one after another then writes into pages it has already touched, instead
// of the heap shrinking after each image and every page of the next one faulting in afresh.
struct SpareMemory {
  BYTE *bits;
  size_t capacity;
};
SpareMemory spare;
// Larger sections give their memory back at once.
const size_t MaxSpareBytes = 4u << 20;

// `bytes` of zeroed memory and the capacity it has; null when there is none.
BYTE *TakeZeroedMemory(size_t bytes, size_t *capacity) {
  if (spare.bits != nullptr && spare.capacity >= bytes) {
    BYTE *bits = spare.bits;
    *capacity = spare.capacity;
    spare = SpareMemory{nullptr, 0};
    memset(bits, 0, bytes);
    return bits;
  }
  *capacity = bytes;
  return static_cast<BYTE *>(calloc(1, bytes));
}

// Keeps the larger of the spare and this memory, within MaxSpareBytes, and frees the other.
void GiveBackMemory(BYTE *bits, size_t capacity) {
  if (capacity > MaxSpareBytes || capacity <= spare.capacity) {
    free(bits);
    return;
  }
  free(spare.bits);
  spare = SpareMemory{bits, capacity};
}

std::set<MemoryDc *> &LiveContexts() {
  static std::set<MemoryDc *> contexts;
  return contexts;
}

std::set<DibSection *> &LiveSections() {
  static std::set<DibSection *> sections;
  return sections;
}

MemoryDc *FindContext(HDC dc) {
  MemoryDc *context = reinterpret_cast<MemoryDc *>(dc);
  return LiveContexts().count(context) != 0 ? context : nullptr;
}

DibSection *FindSection(const void *object) {
  DibSection *section = static_cast<DibSection *>(const_cast<void *>(object));
  return LiveSections().count(section) != 0 ? section : nullptr;
}

// What SetDIBits needs to know of a source description, with its colours ready to copy: the
// colour table as blue, green, red (indices beyond the table stay black) or the three masks.
struct SourceFormat {
  LONG width;
  LONG height; // negative: stored top row first
  WORD bitCount;
  DWORD compression;
  uint64_t stride; // bytes per stored row when not run-length encoded
  DWORD dataBytes; // run-length data: the bytes that may be read
  BYTE colors[256][3];
  DWORD masks[3]; // red, green, blue
};

bool FormatIsHandled(WORD bitCount, DWORD compression, LONG height) {
  switch (compression) {
  case BI_RGB:
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
  case BI_RLE8:
    return bitCount == 8 && height > 0; // run-length data is always stored bottom-up
  case BI_RLE4:
    return bitCount == 4 && height > 0;
  case BI_BITFIELDS:
    return bitCount == 16 || bitCount == 32;
  default:
    return false;
  }
}

void ReadColours(const BITMAPINFO *info, SourceFormat *format) {
  const BITMAPINFOHEADER &header = info->bmiHeader;
  const BYTE *table = reinterpret_cast<const BYTE *>(info) + header.biSize;
  DWORD count = 1u << format->bitCount;
  if (header.biClrUsed != 0 && header.biClrUsed < count)
    count = header.biClrUsed;
  memset(format->colors, 0, sizeof format->colors);
  for (DWORD i = 0; i < count; ++i)
    memcpy(format->colors[i], table + 4 * i, 3);
}

void ReadMasks(const BITMAPINFO *info, SourceFormat *format) {
  static const DWORD rgb16[3] = {0x7C00, 0x03E0, 0x001F};
  static const DWORD rgb32[3] = {0xFF0000, 0x00FF00, 0x0000FF};
  if (format->compression == BI_BITFIELDS) // right behind the first 40 bytes of any info header
    memcpy(format->masks, reinterpret_cast<const BYTE *>(info) + 40, sizeof format->masks);
  else
    memcpy(format->masks, format->bitCount == 16 ? rgb16 : rgb32, sizeof format->masks);
}

bool DescribeSource(const BITMAPINFO *info, SourceFormat *format) {
  const BITMAPINFOHEADER &header = info->bmiHeader;
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biWidth <= 0 ||
      header.biHeight == 0 || header.biHeight == INT32_MIN ||
      !FormatIsHandled(header.biBitCount, header.biCompression, header.biHeight))
    return false;
  format->width = header.biWidth;
  format->height = header.biHeight;
  format->bitCount = header.biBitCount;
  format->compression = header.biCompression;
  format->stride = (static_cast<uint64_t>(header.biBitCount) * header.biWidth + 31) / 32 * 4;
  format->dataBytes = header.biSizeImage;
  if (format->bitCount <= 8)
    ReadColours(info, format);
  else
    ReadMasks(info, format);
  return true;
}

// A channel of `bits` bits widened to eight by repeating its bits, so that its largest value
// gives 255 (five bits: (v << 3) | (v >> 2)); wider channels keep their top eight bits.
BYTE WidenChannel(DWORD value, int bits) {
  if (bits == 0)
    return 0;
  if (bits >= 8)
    return static_cast<BYTE>(value >> (bits - 8));
  DWORD out = 0;
  for (int shift = 8 - bits; shift > -bits; shift -= bits)
    out |= shift >= 0 ? value << shift : value >> -shift;
  return static_cast<BYTE>(out);
}

int LowestBit(DWORD mask) {
  int bit = 0;
  while (bit < 32 && (mask & (1u << bit)) == 0)
    ++bit;
  return bit;
}

int BitLength(DWORD value) {
  int bits = 0;
  for (; value != 0; value >>= 1)
    ++bits;
  return bits;
}

void ConvertMaskedRow(const SourceFormat &format, const BYTE *row, LONG count, BYTE *out) {
  int shift[3], bits[3];
  for (int c = 0; c < 3; ++c) {
    shift[c] = LowestBit(format.masks[c]);
    bits[c] = shift[c] < 32 ? BitLength(format.masks[c] >> shift[c]) : 0;
  }
  int bytes = format.bitCount / 8;
  for (LONG x = 0; x < count; ++x, row += bytes, out += 3) {
    DWORD pixel = row[0] | (row[1] << 8);
    if (bytes == 4)
      pixel |= (static_cast<DWORD>(row[2]) << 16) | (static_cast<DWORD>(row[3]) << 24);
    for (int c = 0; c < 3; ++c) { // out is blue, green, red: channel 2 - c
      DWORD value = bits[c] != 0 ? (pixel & format.masks[c]) >> shift[c] : 0;
      out[2 - c] = WidenChannel(value, bits[c]);
    }
  }
}

// The colour table as blue | green << 8 | red << 16, so that a pixel is one load.
struct PackedColours {
  uint32_t value[256];
};

void PackColours(const SourceFormat &format, PackedColours *packed) {
  for (int i = 0; i < 256; ++i)
    packed->value[i] = format.colors[i][0] | (format.colors[i][1] << 8) |
                       (static_cast<uint32_t>(format.colors[i][2]) << 16);
}

void StoreWord(BYTE *out, uint32_t word) {
  out[0] = static_cast<BYTE>(word);
  out[1] = static_cast<BYTE>(word >> 8);
  out[2] = static_cast<BYTE>(word >> 16);
  out[3] = static_cast<BYTE>(word >> 24);
}

// A whole 8-bit row: four pixels at a time make three words of blue, green, red.
void ConvertByteRow(const PackedColours &packed, const BYTE *row, LONG count, BYTE *out) {
  LONG x = 0;
  for (; x + 4 <= count; x += 4, out += 12) {
    uint32_t a = packed.value[row[x]], b = packed.value[row[x + 1]];
    uint32_t c = packed.value[row[x + 2]], d = packed.value[row[x + 3]];
    StoreWord(out, a | b << 24);
    StoreWord(out + 4, b >> 8 | c << 16);
    StoreWord(out + 8, c >> 16 | d << 8);
  }
  for (; x < count; ++x, out += 3) {
    uint32_t v = packed.value[row[x]];
    out[0] = static_cast<BYTE>(v);
    out[1] = static_cast<BYTE>(v >> 8);
    out[2] = static_cast<BYTE>(v >> 16);
  }
}

void ConvertIndexedRow(const SourceFormat &format, const BYTE *row, LONG count, BYTE *out) {
  int bits = format.bitCount, perByte = 8 / bits, mask = (1 << bits) - 1;
  for (LONG x = 0; x < count; ++x, out += 3) {
    int shift = 8 - bits * (x % perByte + 1); // the leftmost pixel takes the high bits
    memcpy(out, format.colors[(row[x / perByte] >> shift) & mask], 3);
  }
}

// Writes `count` pixels of one stored row as blue, green, red.
void ConvertRow(const SourceFormat &format, const BYTE *row, LONG count, BYTE *out) {
  if (format.bitCount <= 8)
    ConvertIndexedRow(format, row, count, out);
  else if (format.bitCount == 24)
    memcpy(out, row, 3 * static_cast<size_t>(count));
  else
    ConvertMaskedRow(format, row, count, out);
}

// The section's row `y` counted from the bottom of the picture, or null outside it.
BYTE *SectionRow(const DibSection &section, LONG y) {
  LONG rows = section.height < 0 ? -section.height : section.height;
  if (y < 0 || y >= rows)
    return nullptr;
  LONG index = section.height > 0 ? y : rows - 1 - y;
  return section.bits + static_cast<size_t>(index) * section.stride;
}

// Rows `start` to `start + lines - 1` of the stored order; both pictures share their bottom-left
// corner, and what lies outside the section is dropped.
int ConvertStoredRows(DibSection *section, const SourceFormat &format, UINT start, UINT lines,
                      const BYTE *bits) {
  LONG rows = format.height < 0 ? -format.height : format.height;
  if (start >= static_cast<UINT>(rows))
    return 0;
  UINT count = std::min(lines, static_cast<UINT>(rows) - start);
  LONG width = std::min(format.width, section->width);
  // 8-bit rows, the common indexed kind, go through a packed table made once per call.
  PackedColours packed;
  if (format.bitCount == 8)
    PackColours(format, &packed);
  for (UINT k = 0; k < count; ++k) {
    LONG stored = static_cast<LONG>(start + k);
    BYTE *out = SectionRow(*section, format.height > 0 ? stored : rows - 1 - stored);
    if (out == nullptr)
      continue;
    if (format.bitCount == 8)
      ConvertByteRow(packed, bits + k * format.stride, width, out);
    else
      ConvertRow(format, bits + k * format.stride, width, out);
  }
  return static_cast<int>(count);
}

// Decoding state of run-length data: the bytes that may be read and where the next pixel goes.
struct RleCursor {
  const BYTE *data;
  DWORD size;
  DWORD at;
  LONG x;
  LONG y;
  LONG width;  // pixels that land in both the picture and the section
  LONG height; // rows of the picture
};

void PutRlePixels(DibSection *section, const SourceFormat &format, RleCursor *cursor,
                  const BYTE *values, LONG count, bool nibbles) {
  BYTE *row = SectionRow(*section, cursor->y);
  LONG shown = std::min(count, cursor->width - cursor->x);
  for (LONG i = 0; row != nullptr && i < shown; ++i) {
    BYTE index = nibbles ? (values[i / 2] >> (i % 2 == 0 ? 4 : 0)) & 0xF : values[i];
    memcpy(row + 3 * (cursor->x + i), format.colors[index], 3);
  }
  // Pixels past the end of the row are dropped; the position stops at the row's end.
  cursor->x = static_cast<LONG>(std::min<int64_t>(int64_t{cursor->x} + count, cursor->width));
}

// One escape (a zero count byte followed by `code`); false at the end of the picture.
bool RleEscape(DibSection *section, const SourceFormat &format, RleCursor *cursor, BYTE code) {
  bool nibbles = format.compression == BI_RLE4;
  if (code == 0) { // end of line
    cursor->x = 0;
    return ++cursor->y < cursor->height;
  }
  if (code == 1) // end of bitmap
    return false;
  if (code == 2) { // delta: right and up
    if (cursor->size - cursor->at < 2)
      return false;
    cursor->x = std::min(cursor->x + cursor->data[cursor->at], cursor->width);
    cursor->y += cursor->data[cursor->at + 1];
    cursor->at += 2;
    return cursor->y < cursor->height;
  }
  // Absolute run of `code` pixels, padded to a 16-bit boundary.
  DWORD bytes = nibbles ? (code + 1u) / 2 : code;
  if (cursor->size - cursor->at < bytes)
    return false;
  PutRlePixels(section, format, cursor, cursor->data + cursor->at, code, nibbles);
  cursor->at += std::min(bytes + (bytes & 1), cursor->size - cursor->at);
  return true;
}

// Run-length data never reads past `dataBytes`; pixels it does not set come out black.
int ConvertRunLength(DibSection *section, const SourceFormat &format, const BYTE *data) {
  RleCursor cursor = {
      data, format.dataBytes, 0, 0, 0, std::min(format.width, section->width), format.height};
  for (LONG y = 0; y < format.height; ++y) {
    BYTE *row = SectionRow(*section, y);
    if (row != nullptr)
      memset(row, 0, 3 * static_cast<size_t>(cursor.width));
  }
  bool nibbles = format.compression == BI_RLE4;
  while (cursor.size - cursor.at >= 2) {
    BYTE count = data[cursor.at], value = data[cursor.at + 1];
    cursor.at += 2;
    if (count != 0) {
      BYTE run[256]; // the pixels of an encoded run: one value, or two nibbles taking turns
      memset(run, value, nibbles ? (count + 1) / 2 : count);
      PutRlePixels(section, format, &cursor, run, count, nibbles);
    } else if (!RleEscape(section, format, &cursor, value)) {
      break;
    }
  }
  return format.height;
}

} // namespace

HDC WINAPI CreateCompatibleDC(HDC) {
  if (HookFails(PlatformCall::CreateCompatibleDC))
    return nullptr;
  MemoryDc *context = new MemoryDc{nullptr};
  LiveContexts().insert(context);
  HookHeld(+1);
  return reinterpret_cast<HDC>(context);
}

BOOL WINAPI DeleteDC(HDC dc) {
  MemoryDc *context = FindContext(dc);
  if (HookFails(PlatformCall::DeleteDC) || context == nullptr)
    return FALSE;
  if (context->selected != nullptr)
    context->selected->selectedInto = nullptr;
  LiveContexts().erase(context);
  delete context;
  HookHeld(-1);
  return TRUE;
}

// 24-bit sections of our own memory only (no file-mapping sections).
HBITMAP WINAPI CreateDIBSection(HDC, const BITMAPINFO *info, UINT usage, void **bits,
                                HANDLE section, DWORD) {
  if (bits != nullptr)
    *bits = nullptr;
  if (HookFails(PlatformCall::CreateDIBSection) || info == nullptr || usage != DIB_RGB_COLORS ||
      section != nullptr)
    return nullptr;
  const BITMAPINFOHEADER &header = info->bmiHeader;
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biBitCount != 24 ||
      header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0 ||
      header.biHeight == INT32_MIN)
    return nullptr;
  uint64_t stride = (3 * static_cast<uint64_t>(header.biWidth) + 3) / 4 * 4;
  uint64_t rows = header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight;
  if (stride * rows > MaxSectionBytes)
    return nullptr;
  // Within the limit above, so the sizes fit a 32-bit size_t too.
  size_t capacity = 0;
  BYTE *memory = TakeZeroedMemory(static_cast<size_t>(stride * rows), &capacity);
  if (memory == nullptr)
    return nullptr;
  DibSection *dib = new DibSection{header.biWidth, header.biHeight, static_cast<size_t>(stride),
                                   memory,         capacity,        nullptr};
  LiveSections().insert(dib);
  HookHeld(+1);
  if (bits != nullptr)
    *bits = memory;
  return reinterpret_cast<HBITMAP>(dib);
}

// Selects a section (or the stock bitmap) into a memory context and returns the one it held.
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
  MemoryDc *context = FindContext(dc);
  DibSection *section = FindSection(object);
  if (HookFails(PlatformCall::SelectObject) || context == nullptr ||
      (section == nullptr && object != &stockBitmap))
    return nullptr;
  if (section != nullptr && section->selectedInto != nullptr && section->selectedInto != context)
    return nullptr; // a bitmap is selected into one context at a time
  HGDIOBJ previous = context->selected != nullptr ? static_cast<HGDIOBJ>(context->selected)
                                                  : static_cast<HGDIOBJ>(&stockBitmap);
  if (context->selected != nullptr)
    context->selected->selectedInto = nullptr;
  context->selected = section;
  if (section != nullptr)
    section->selectedInto = context;
  return previous;
}

// Returns the number of rows converted, 0 for a format it does not handle.
int WINAPI SetDIBits(HDC, HBITMAP bitmap, UINT startScan, UINT scanLines, const void *bits,
                     const BITMAPINFO *info, UINT colorUse) {
  DibSection *section = FindSection(bitmap);
  SourceFormat format;
  if (HookFails(PlatformCall::SetDIBits) || section == nullptr || bits == nullptr ||
      info == nullptr || colorUse != DIB_RGB_COLORS || scanLines == 0 ||
      !DescribeSource(info, &format))
    return 0;
  const BYTE *data = static_cast<const BYTE *>(bits);
  if (format.compression == BI_RLE8 || format.compression == BI_RLE4)
    return ConvertRunLength(section, format, data);
  return ConvertStoredRows(section, format, startScan, scanLines, data);
}

// Conversions finish before SetDIBits returns, so there is never anything left to flush.
BOOL WINAPI GdiFlush(void) {
  return HookFails(PlatformCall::GdiFlush) ? FALSE : TRUE;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
  DibSection *section = FindSection(object);
  if (HookFails(PlatformCall::DeleteObject) || section == nullptr ||
      section->selectedInto != nullptr)
    return FALSE; // not ours, or still selected into a context
  LiveSections().erase(section);
  GiveBackMemory(section->bits, section->capacity);
  delete section;
  HookHeld(-1);
  return TRUE;
}
