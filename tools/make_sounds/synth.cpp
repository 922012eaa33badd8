#include "synth.h"

#include "../make_textures/detmath.h"

namespace snd {

using tex::dexp;
using tex::dsin;
using tex::kTwoPi;

double Noise::next()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
}

Sound silence(double seconds)
{
    return Sound{std::vector<double>(static_cast<std::size_t>(seconds * kRate), 0.0)};
}

double sine(double hz, double t) { return dsin(kTwoPi * hz * t); }

double saw(double hz, double t)
{
    double sum = 0;
    for (int k = 1; k <= 8; ++k)
        sum += sine(hz * k, t) / k;
    return sum * 0.55;
}

double strike(double t, double attack, double decay)
{
    if (t < attack)
        return t / attack;
    return dexp(-(t - attack) / decay);
}

static double lowPassStep(double& state, double in, double cutoff)
{
    const double a = 1.0 - dexp(-kTwoPi * cutoff / kRate);
    state += a * (in - state);
    return state;
}

void lowPass(std::vector<double>& x, double cutoff)
{
    double state = 0;
    for (double& v : x)
        v = lowPassStep(state, v, cutoff);
}

void lowPassLooped(std::vector<double>& x, double cutoff)
{
    double state = 0;
    for (double v : x)
        lowPassStep(state, v, cutoff);
    for (double& v : x)
        v = lowPassStep(state, v, cutoff);
}

void normalise(Sound& sound, double peak)
{
    double largest = 0;
    for (double v : sound.samples)
        largest = v > largest ? v : (-v > largest ? -v : largest);
    if (largest == 0)
        return;
    for (double& v : sound.samples)
        v *= peak / largest;
}

}  // namespace snd
