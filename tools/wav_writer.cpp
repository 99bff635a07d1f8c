// Writes sample buffers as plain PCM WAVE files, which every sound player accepts.
#include "tools/wav_writer.h"

#include "tools/byte_sink.h"

std::vector<std::uint8_t> EncodeWav16Mono(int sampleRate,
                                          const std::vector<std::int16_t> &samples) {
  constexpr unsigned Channels = 1;
  constexpr unsigned BytesPerSample = 2;
  const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * BytesPerSample);
  const std::uint32_t rate = static_cast<std::uint32_t>(sampleRate);

  std::vector<std::uint8_t> out;
  out.reserve(44 + dataSize);
  PutTag(out, "RIFF");
  PutU32(out, 36 + dataSize); // everything after this field
  PutTag(out, "WAVE");

  PutTag(out, "fmt ");
  PutU32(out, 16);
  PutU16(out, 1); // PCM
  PutU16(out, Channels);
  PutU32(out, rate);
  PutU32(out, rate * Channels * BytesPerSample);
  PutU16(out, Channels * BytesPerSample);
  PutU16(out, BytesPerSample * 8);

  PutTag(out, "data");
  PutU32(out, dataSize);
  for (std::int16_t sample : samples)
    PutU16(out, static_cast<std::uint16_t>(sample));
  return out;
}
