// Encoding of 16-bit mono PCM sound as a RIFF WAVE file.
#pragma once

#include <cstdint>
#include <vector>

// The whole file: RIFF header, a 16-byte "fmt " chunk (PCM, one channel, 16 bits) and the
// "data" chunk with the samples in little-endian order.
std::vector<std::uint8_t> EncodeWav16Mono(int sampleRate, const std::vector<std::int16_t> &samples);
