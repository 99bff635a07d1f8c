// Additive synthesis of the game's sounds: each note is a few harmonics under an envelope that
// starts and ends at silence, so no sound clicks when it starts, stops or loops.
#include "tools/sound_synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Rate = SoundSampleRate;

struct Timbre {
  const double *harmonics; // amplitude of partial 1, 2, ...
  int count;
  double attack;       // seconds to full level
  double decayTime;    // time constant of the exponential fall after the attack, 0 for none
  double sustainLevel; // level the fall approaches
  double release;      // seconds of the closing fade
  double vibratoRate;  // Hz
  double vibratoDepth; // fraction of the frequency
};

// 0 at x = 0, 1 at x = 1, flat at both ends.
double SmoothStep(double x) {
  x = std::clamp(x, 0.0, 1.0);
  return 0.5 - 0.5 * std::cos(Pi * x);
}

double Envelope(const Timbre &timbre, double t, double duration) {
  double level = SmoothStep(t / timbre.attack);
  if (timbre.decayTime > 0 && t > timbre.attack) {
    const double fall = std::exp(-(t - timbre.attack) / timbre.decayTime);
    level *= timbre.sustainLevel + (1.0 - timbre.sustainLevel) * fall;
  }
  return level * SmoothStep((duration - t) / timbre.release);
}

std::size_t SampleCount(double seconds) {
  return static_cast<std::size_t>(std::lround(seconds * Rate));
}

// Adds one note whose frequency may glide: frequency(t) = start × (end / start)^(t / duration).
void AddGlide(std::vector<double> &mix, double start, double duration, double fromHz, double toHz,
              const Timbre &timbre, double gain) {
  const std::size_t first = SampleCount(start);
  const std::size_t count = SampleCount(duration);
  if (mix.size() < first + count)
    mix.resize(first + count, 0.0);
  double phase = 0.0; // in periods of the fundamental
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / Rate;
    double hz = fromHz * std::pow(toHz / fromHz, t / duration);
    if (timbre.vibratoDepth > 0)
      hz *= 1.0 +
            timbre.vibratoDepth * SmoothStep(t / 0.25) * std::sin(2 * Pi * timbre.vibratoRate * t);
    double wave = 0.0;
    for (int k = 1; k <= timbre.count; ++k)
      if (k * hz < 0.45 * Rate)
        wave += timbre.harmonics[k - 1] * std::sin(2 * Pi * k * phase);
    mix[first + i] += gain * Envelope(timbre, t, duration) * wave;
    phase += hz / Rate;
    phase -= std::floor(phase);
  }
}

void AddNote(std::vector<double> &mix, double start, double duration, double hz,
             const Timbre &timbre, double gain) {
  AddGlide(mix, start, duration, hz, hz, timbre, gain);
}

// Scales the mix so that its loudest sample reaches peak (a fraction of full scale) and rounds.
std::vector<std::int16_t> Quantise(const std::vector<double> &mix, double peak) {
  double loudest = 0.0;
  for (double x : mix)
    loudest = std::max(loudest, std::fabs(x));
  const double scale = loudest > 0 ? peak * 32767.0 / loudest : 0.0;
  std::vector<std::int16_t> samples(mix.size());
  for (std::size_t i = 0; i < mix.size(); ++i)
    samples[i] = static_cast<std::int16_t>(std::lround(mix[i] * scale));
  return samples;
}

const double Mallet[] = {1.0, 0.0, 0.35, 0.0, 0.12, 0.0, 0.05};
const double Square[] = {1.0, 0.0, 0.33, 0.0, 0.2, 0.0, 0.14, 0.0, 0.11};
const double Reed[] = {1.0, 0.45, 0.3, 0.2, 0.14, 0.1, 0.07, 0.05, 0.035, 0.025};
const double Brass[] = {1.0, 0.7, 0.5, 0.35, 0.25, 0.17, 0.12, 0.08};

} // namespace

std::vector<std::int16_t> SynthesiseSpeedUpLoop() {
  // Beats of 0.2 s hold a whole number of periods of any multiple of 5 Hz.
  const Timbre pluck{Mallet, 7, 0.004, 0.05, 0.0, 0.03, 0, 0};
  const double beat = 0.2;
  const double notes[] = {660.0, 880.0, 1100.0, 1320.0};
  std::vector<double> mix(SampleCount(4 * beat), 0.0);
  for (int i = 0; i < 4; ++i)
    AddNote(mix, i * beat, beat, notes[i], pluck, 1.0);
  // An octave below on the first beat marks where the motif begins again.
  AddNote(mix, 0.0, beat, 330.0, pluck, 0.5);
  return Quantise(mix, 0.45);
}

std::vector<std::int16_t> SynthesiseFoodBlip() {
  const Timbre low{Square, 9, 0.002, 0.0, 1.0, 0.006, 0, 0};
  const Timbre high{Square, 9, 0.003, 0.03, 0.25, 0.015, 0, 0};
  std::vector<double> mix;
  AddNote(mix, 0.0, 0.045, 987.77, low, 0.8);   // B5
  AddNote(mix, 0.04, 0.085, 1318.5, high, 1.0); // E6
  return Quantise(mix, 0.6);
}

std::vector<std::int16_t> SynthesiseDeathSlide() {
  const Timbre wail{Reed, 10, 0.01, 0.0, 1.0, 0.35, 7.0, 0.025};
  std::vector<double> mix;
  AddGlide(mix, 0.0, 1.0, 520.0, 85.0, wail, 1.0);
  AddGlide(mix, 0.0, 1.0, 260.0, 42.5, wail, 0.35); // an octave below for weight
  return Quantise(mix, 0.65);
}

std::vector<std::int16_t> SynthesiseFanfare() {
  const Timbre horn{Brass, 8, 0.015, 0.08, 0.7, 0.05, 5.0, 0.006};
  const Timbre held{Brass, 8, 0.02, 0.3, 0.6, 0.5, 5.0, 0.006};
  const double G4 = 392.00, C5 = 523.25, E5 = 659.26, G5 = 783.99, C4 = 261.63;
  std::vector<double> mix;
  AddNote(mix, 0.00, 0.13, G4, horn, 0.8);
  AddNote(mix, 0.13, 0.13, C5, horn, 0.8);
  AddNote(mix, 0.26, 0.13, E5, horn, 0.8);
  AddNote(mix, 0.39, 0.30, G5, horn, 0.9);
  AddNote(mix, 0.71, 0.13, E5, horn, 0.8);
  // The closing chord: C major under the high G.
  AddNote(mix, 0.84, 1.16, G5, held, 0.9);
  AddNote(mix, 0.84, 1.16, E5, held, 0.45);
  AddNote(mix, 0.84, 1.16, C5, held, 0.45);
  AddNote(mix, 0.84, 1.16, C4, held, 0.5);
  return Quantise(mix, 0.7);
}
