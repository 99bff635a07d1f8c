// PlaySoundA over SDL2_mixer, on SDL's dummy audio driver, which plays in real time. The waits
// are long enough for a busy machine; only a hung call or a sound that never ends misses them.
#include "platform/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Writes a mono 16-bit WAV of `millis` milliseconds of a quiet tone.
std::string WriteWav(const std::string &name, int millis) {
  std::string path = testing::TempDir() + name;
  const uint32_t rate = 22050;
  uint32_t samples = rate * static_cast<uint32_t>(millis) / 1000;
  std::vector<int16_t> data(samples);
  for (uint32_t i = 0; i < samples; ++i)
    data[i] = static_cast<int16_t>((i % 50 < 25) ? 1000 : -1000);
  uint32_t dataBytes = samples * 2, riffBytes = 36 + dataBytes, fmtBytes = 16, byteRate = rate * 2;
  uint16_t pcm = 1, channels = 1, align = 2, bits = 16;
  FILE *file = fopen(path.c_str(), "wb");
  fwrite("RIFF", 1, 4, file);
  fwrite(&riffBytes, 4, 1, file);
  fwrite("WAVEfmt ", 1, 8, file);
  fwrite(&fmtBytes, 4, 1, file);
  fwrite(&pcm, 2, 1, file);
  fwrite(&channels, 2, 1, file);
  fwrite(&rate, 4, 1, file);
  fwrite(&byteRate, 4, 1, file);
  fwrite(&align, 2, 1, file);
  fwrite(&bits, 2, 1, file);
  fwrite("data", 1, 4, file);
  fwrite(&dataBytes, 4, 1, file);
  fwrite(data.data(), 2, samples, file);
  fclose(file);
  return path;
}

double MillisSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

const double HangMillis = 10000;

// Waits until no sound plays; false when one still plays after HangMillis.
bool SoundEnds() {
  Clock::time_point start = Clock::now();
  while (TestSoundPlaying()) {
    if (MillisSince(start) > HangMillis)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

class Sound : public ::testing::Test {
protected:
  static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
  void SetUp() override { TestReset(); }
  void TearDown() override { PlaySoundA(nullptr, nullptr, 0); }
};

TEST_F(Sound, SynchronousSoundReturnsWhenItHasEnded) {
  std::string path = WriteWav("sync.wav", 300);
  Clock::time_point start = Clock::now();
  EXPECT_TRUE(PlaySoundA(path.c_str(), nullptr, SND_SYNC));
  double took = MillisSince(start);
  EXPECT_GE(took, 250.0);
  EXPECT_LT(took, HangMillis);
  EXPECT_FALSE(TestSoundPlaying());
}

TEST_F(Sound, AsynchronousSoundReturnsWhileItPlaysAndEnds) {
  std::string path = WriteWav("async.wav", 1000);
  EXPECT_TRUE(PlaySoundA(path.c_str(), nullptr, SND_ASYNC));
  EXPECT_TRUE(TestSoundPlaying()) << "the call returned before the sound's end";
  EXPECT_TRUE(SoundEnds());
}

TEST_F(Sound, LoopingSoundRepeatsUntilTheNextCallReplacesIt) {
  std::string loop = WriteWav("loop.wav", 100);
  std::string blip = WriteWav("blip.wav", 100);
  ASSERT_TRUE(PlaySoundA(loop.c_str(), nullptr, SND_ASYNC | SND_LOOP));
  std::this_thread::sleep_for(std::chrono::milliseconds(450));
  EXPECT_TRUE(TestSoundPlaying()) << "a looping sound goes on past its length";
  ASSERT_TRUE(PlaySoundA(blip.c_str(), nullptr, SND_ASYNC));
  EXPECT_TRUE(SoundEnds()) << "the replacing sound plays once and the loop is gone";
}

TEST_F(Sound, MissingOrUnplayableFileFailsAndLeavesThePlayingSoundAlone) {
  std::string loop = WriteWav("loop2.wav", 100);
  std::string junk = testing::TempDir() + "junk.wav";
  FILE *file = fopen(junk.c_str(), "wb");
  fputs("not a wave file", file);
  fclose(file);
  ASSERT_TRUE(PlaySoundA(loop.c_str(), nullptr, SND_ASYNC | SND_LOOP));
  EXPECT_FALSE(PlaySoundA("no/such/file.wav", nullptr, SND_ASYNC));
  EXPECT_FALSE(PlaySoundA(junk.c_str(), nullptr, SND_SYNC));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(TestSoundPlaying());
}

TEST_F(Sound, RecordedSoundsPlayNothing) {
  TestRecordSounds();
  std::string path = WriteWav("recorded.wav", 10000);
  Clock::time_point start = Clock::now();
  EXPECT_TRUE(PlaySoundA(path.c_str(), nullptr, SND_SYNC));
  EXPECT_LT(MillisSince(start), HangMillis) << "returns without playing the 10 s sound";
  EXPECT_FALSE(TestSoundPlaying());
  ASSERT_EQ(1u, TestSounds().size());
  EXPECT_EQ(path, TestSounds()[0].name);
  EXPECT_EQ(static_cast<DWORD>(SND_SYNC), TestSounds()[0].flags);
}

} // namespace
