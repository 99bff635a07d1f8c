// The synthesised sounds: lengths the game expects, no clipping, no click at either end, and a
// speed-up loop whose end runs smoothly into its start.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "tools/sound_synth.h"

namespace {

struct SoundCase {
  const char *name;
  std::vector<std::int16_t> (*synthesise)();
  double shortest, longest; // seconds
};

void PrintTo(const SoundCase &c, std::ostream *os) {
  *os << c.name;
}

int Peak(const std::vector<std::int16_t> &s, std::size_t from, std::size_t to) {
  int peak = 0;
  for (std::size_t i = from; i < to; ++i)
    peak = std::max(peak, std::abs(static_cast<int>(s[i])));
  return peak;
}

class Sound : public testing::TestWithParam<SoundCase> {};

TEST_P(Sound, HasItsLengthAndLevelAndFadesInAndOut) {
  const SoundCase c = GetParam();
  const std::vector<std::int16_t> s = c.synthesise();
  const double seconds = static_cast<double>(s.size()) / SoundSampleRate;
  EXPECT_GE(seconds, c.shortest);
  EXPECT_LE(seconds, c.longest);

  const int peak = Peak(s, 0, s.size());
  EXPECT_GT(peak, 8000) << "too quiet to hear over the game";
  EXPECT_LT(peak, 32000) << "clipped";

  // Half a millisecond at either end stays well below the peak: no step from or into silence.
  const std::size_t edge = SoundSampleRate / 2000;
  EXPECT_LT(std::abs(s.front()), 100);
  EXPECT_LT(std::abs(s.back()), 100);
  EXPECT_LT(Peak(s, 0, edge), peak / 4) << "starts with a click";
  EXPECT_LT(Peak(s, s.size() - edge, s.size()), peak / 4) << "ends with a click";
}

INSTANTIATE_TEST_SUITE_P(All, Sound,
                         testing::Values(SoundCase{"freeze", SynthesiseSpeedUpLoop, 0.5, 1.0},
                                         SoundCase{"hourglass", SynthesiseFoodBlip, 0.1, 0.15},
                                         SoundCase{"Die", SynthesiseDeathSlide, 0.8, 1.2},
                                         SoundCase{"Complete", SynthesiseFanfare, 1.7, 2.3}),
                         [](const testing::TestParamInfo<SoundCase> &info) {
                           return std::string(info.param.name);
                         });

TEST(SpeedUpLoop, WrapsWithoutAJump) {
  const std::vector<std::int16_t> s = SynthesiseSpeedUpLoop();
  ASSERT_GT(s.size(), 2u);
  // Played back to back, last → first must look like any step inside a quiet stretch: both the
  // level and the slope carry on.
  const int wrapStep = s.front() - s.back();
  const int slopeBefore = s[s.size() - 1] - s[s.size() - 2];
  const int slopeAfter = s[1] - s[0];
  EXPECT_LT(std::abs(wrapStep), 64);
  EXPECT_LT(std::abs(slopeAfter - slopeBefore), 64);
}

} // namespace
