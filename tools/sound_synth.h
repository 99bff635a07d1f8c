// The game's four sounds, synthesised: a looping speed-up motif, a food blip, a falling death
// sound and a completion fanfare, as 16-bit mono samples at SoundSampleRate.
#pragma once

#include <cstdint>
#include <vector>

constexpr int SoundSampleRate = 22050;

// freeze.wav: repeats for as long as the faster pace lasts, so it is exactly four beats whose
// notes each fit a whole number of periods and fade to silence before the loop wraps.
std::vector<std::int16_t> SynthesiseSpeedUpLoop();
// hourglass.wav: a short rising two-note blip.
std::vector<std::int16_t> SynthesiseFoodBlip();
// Die.wav: about a second of a tone sliding down.
std::vector<std::int16_t> SynthesiseDeathSlide();
// Complete.wav: about two seconds of a rising arpeggio ending on a held chord.
std::vector<std::int16_t> SynthesiseFanfare();
