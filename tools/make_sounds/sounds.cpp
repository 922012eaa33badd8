#include "sounds.h"

#include "../make_textures/detmath.h"

namespace snd {

// Every sound peaks at the same level; the game sets each one's loudness.
constexpr double kPeak = 0.7;

using tex::dexp;

static Sound finish(Sound sound)
{
    normalise(sound, kPeak);
    return sound;
}

// A far-off rocket lighting: a rising rumble that fades.
Sound makeLaunch()
{
    Sound s = silence(1.2);
    Noise noise(11);
    for (double& v : s.samples)
        v = noise.next();
    lowPass(s.samples, 900);
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        const double tone = sine(70 + 90 * t, t) * 0.5;
        s.samples[i] = (s.samples[i] + tone) * strike(t, 0.08, 0.35);
    }
    return finish(s);
}

// Noise filtered round a loop of `count` samples, so it repeats without a
// click.
static std::vector<double> loopedNoise(std::size_t count, std::uint32_t seed, double cutoff)
{
    Noise noise(seed);
    std::vector<double> values(count);
    for (double& v : values)
        v = noise.next();
    lowPassLooped(values, cutoff);
    return values;
}

// One second of a buzzing motor: every partial completes whole cycles in
// the loop, and the noise is filtered round the loop, so it repeats without
// a click. The 110 Hz fundamental carries the Doppler shift.
Sound makeEngine()
{
    Sound s = silence(1.0);
    const std::vector<double> hiss = loopedNoise(s.samples.size(), 23, 600);
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        const double flutter = 1 + 0.15 * sine(6, t);
        s.samples[i] = saw(110, t) * flutter + 0.8 * hiss[i];
    }
    return finish(s);
}

// A short falling blip.
Sound makeZap()
{
    Sound s = silence(0.18);
    double phase = 0;
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        const double hz = 300 + 1500 * dexp(-t / 0.04);
        phase += hz / kRate;
        s.samples[i] = sine(1, phase) * strike(t, 0.003, 0.05);
    }
    return finish(s);
}

// A burst of noise whose brightness falls with it, over a low thump.
Sound makeExplosion()
{
    Sound s = silence(1.5);
    Noise noise(37);
    double state = 0;
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        const double cutoff = 200 + 3000 * dexp(-t / 0.15);
        const double a = 1.0 - dexp(-tex::kTwoPi * cutoff / kRate);
        state += a * (noise.next() - state);
        const double thump = sine(55, t) * strike(t, 0.005, 0.2);
        s.samples[i] = (2.5 * state + thump) * strike(t, 0.004, 0.4);
    }
    return finish(s);
}

// Deep and long: a falling sub-bass hit and a rumble.
Sound makeImpact()
{
    Sound s = silence(2.0);
    Noise noise(41);
    for (double& v : s.samples)
        v = noise.next();
    lowPass(s.samples, 180);
    lowPass(s.samples, 180);
    double phase = 0;
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        phase += (35 + 45 * dexp(-t / 0.3)) / kRate;
        const double boom = sine(1, phase) * strike(t, 0.01, 0.6);
        s.samples[i] = boom + 6 * s.samples[i] * strike(t, 0.02, 0.7);
    }
    return finish(s);
}

// Harsh: bright noise and clanging inharmonic partials.
Sound makeCrash()
{
    Sound s = silence(1.0);
    Noise noise(53);
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        const double clang = sine(233, t) + 0.7 * sine(587, t) + 0.5 * sine(1311, t);
        s.samples[i] = (noise.next() + 0.6 * clang) * strike(t, 0.002, 0.25);
    }
    return finish(s);
}

// Three falling notes.
Sound makeGameOver()
{
    constexpr double kNotes[] = {392.0, 311.13, 233.08};  // G4, E-flat 4, B-flat 3
    constexpr double kNote = 0.55;                        // seconds each; the last rings on
    Sound s = silence(2.4);
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        const int n = t < 2 * kNote ? static_cast<int>(t / kNote) : 2;
        const double since = t - n * kNote;
        const double decay = n == 2 ? 0.6 : 0.25;
        s.samples[i] = saw(kNotes[n], t) * strike(since, 0.01, decay);
    }
    return finish(s);
}

// Four seconds of a soft chord that swells twice, with a breath of wind:
// every period divides the loop.
Sound makeTitle()
{
    Sound s = silence(4.0);
    const std::vector<double> wind = loopedNoise(s.samples.size(), 67, 300);
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        const double chord = sine(110, t) + 0.6 * sine(165, t) + 0.4 * sine(220, t) + 0.25 * sine(277.25, t);
        const double swell = 0.75 + 0.25 * sine(0.5, t);
        s.samples[i] = chord * swell + 1.5 * wind[i];
    }
    return finish(s);
}

}  // namespace snd
