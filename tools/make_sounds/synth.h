#pragma once

// The building blocks of the game's sounds: a mono buffer of samples in
// [-1, 1], oscillators, noise, envelopes and filters. Everything is plain
// arithmetic and the polynomial maths of detmath, so a run gives the same
// bits on every x86-64 machine.
#include <cstdint>
#include <vector>

namespace snd {

constexpr int kRate = 22050;  // samples a second, mono

// ---- types -----------------------------------------------------------------

struct Sound {
    std::vector<double> samples;  // [-1, 1] once normalised
};

// White noise from a seeded xorshift; the sounds' only randomness.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1) {}
    double next();  // uniform in [-1, 1)

private:
    std::uint32_t state_;
};

// ---- functions -------------------------------------------------------------

Sound silence(double seconds);
inline double timeOf(int i) { return static_cast<double>(i) / kRate; }

// Phase-accurate oscillators at a time in seconds.
double sine(double hz, double t);
double saw(double hz, double t);  // band-limited to eight harmonics

// Attack then exponential decay, 1 at the end of the attack.
double strike(double t, double attack, double decay);

// One-pole low-pass in place; `cutoff` in Hz may change per sample.
void lowPass(std::vector<double>& x, double cutoff);
// Run twice so the filter's state at the start equals its state at the end:
// a loop made of the result has no seam.
void lowPassLooped(std::vector<double>& x, double cutoff);

// Scales the sound so its largest sample is `peak` (0 to 1).
void normalise(Sound& sound, double peak);

}  // namespace snd
