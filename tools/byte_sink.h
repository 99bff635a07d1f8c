// Little-endian field writers shared by the BMP and WAV encoders.
#pragma once

#include <cstdint>
#include <vector>

inline void PutU16(std::vector<std::uint8_t> &out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

inline void PutU32(std::vector<std::uint8_t> &out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

inline void PutTag(std::vector<std::uint8_t> &out, const char *tag) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<std::uint8_t>(tag[i]));
}
