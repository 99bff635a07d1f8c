// wsprintfA, Win32's formatting of text into a buffer of at most 1024 bytes.
#include "platform/win32.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// wsprintfA writes at most this many bytes, the terminator included.
const size_t WsprintfLimit = 1024;

// UTF-16 to UTF-8, stopping after `limit` code units (a precision counts units, as on Windows).
std::string NarrowFromWide(const WCHAR *text, size_t limit) {
  std::string out;
  for (size_t i = 0; i < limit && text[i] != 0; ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < limit && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Formats one conversion `spec` (flags, width and precision, without the type) of `type`.
std::string FormatOne(const std::string &spec, char type, bool wide, va_list *args) {
  char piece[WsprintfLimit];
  std::string format = "%" + spec;
  switch (type) {
  case 's': {
    if (wide) {
      const WCHAR *text = va_arg(*args, const WCHAR *);
      size_t dot = spec.find('.');
      size_t limit = dot == std::string::npos ? SIZE_MAX : std::stoul("0" + spec.substr(dot + 1));
      std::string narrow = text ? NarrowFromWide(text, limit) : "(null)";
      snprintf(piece, sizeof piece, (format + "s").c_str(), narrow.c_str());
    } else {
      const char *text = va_arg(*args, const char *);
      snprintf(piece, sizeof piece, (format + "s").c_str(), text ? text : "(null)");
    }
    break;
  }
  case 'c':
    snprintf(piece, sizeof piece, (format + "c").c_str(), va_arg(*args, int));
    break;
  case 'd':
  case 'i':
    snprintf(piece, sizeof piece, (format + "d").c_str(), va_arg(*args, int));
    break;
  case 'u':
  case 'x':
  case 'X':
    snprintf(piece, sizeof piece, (format + type).c_str(), va_arg(*args, unsigned));
    break;
  default:
    return std::string(1, type); // unknown conversions are copied, as Windows does
  }
  return piece;
}

} // namespace

int WINAPIV wsprintfA(LPSTR out, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  std::string result;
  for (const char *p = format; *p != 0 && result.size() < WsprintfLimit; ++p) {
    if (*p != '%') {
      result += *p;
      continue;
    }
    ++p;
    std::string spec;
    while (*p != 0 && strchr("-+ 0#.123456789", *p) != nullptr)
      spec += *p++;
    bool wide = false;
    if (*p == 'w' || *p == 'l') {
      wide = *p == 'w' || p[1] == 's';
      ++p;
    } else if (*p == 'h') {
      ++p;
    }
    if (*p == 0)
      break;
    if (*p == '%')
      result += '%';
    else
      result += FormatOne(spec, *p, wide, &args);
  }
  va_end(args);
  result.resize(std::min(result.size(), WsprintfLimit - 1));
  memcpy(out, result.c_str(), result.size() + 1);
  return static_cast<int>(result.size());
}
