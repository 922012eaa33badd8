#include "noise.h"

#include <cmath>

namespace tex {
namespace {

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }
double lerp(double a, double b, double t) { return a + (b - a) * t; }

// The twelve edge directions of a cube, as in improved Perlin noise.
double gradDot(std::uint32_t h, double x, double y, double z) {
    switch (h % 12u) {
        case 0: return x + y;
        case 1: return -x + y;
        case 2: return x - y;
        case 3: return -x - y;
        case 4: return x + z;
        case 5: return -x + z;
        case 6: return x - z;
        case 7: return -x - z;
        case 8: return y + z;
        case 9: return -y + z;
        case 10: return y - z;
        default: return -y - z;
    }
}

}  // namespace

Vec3 normalized(Vec3 v) {
    const double len = std::sqrt(dot(v, v));
    return len > 0.0 ? v * (1.0 / len) : Vec3{0.0, 0.0, 1.0};
}

std::uint32_t hash32(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

std::uint32_t hash3(int x, int y, int z, std::uint32_t seed) {
    std::uint32_t h = hash32(seed + 0x9e3779b9u);
    h = hash32(h ^ static_cast<std::uint32_t>(x));
    h = hash32(h ^ static_cast<std::uint32_t>(y) * 0x85ebca6bu);
    h = hash32(h ^ static_cast<std::uint32_t>(z) * 0xc2b2ae35u);
    return h;
}

double Dice::next() { return nextInt(0x1000000u) / 16777216.0; }

std::uint32_t Dice::nextInt(std::uint32_t bound) {
    const std::uint32_t h = hash32(hash32(seed_ * 0x27d4eb2fu + 0x165667b1u) ^ counter_++);
    return (h >> 8) % bound;
}

double noise3(Vec3 p, std::uint32_t seed) {
    const double fx = std::floor(p.x);
    const double fy = std::floor(p.y);
    const double fz = std::floor(p.z);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const int iz = static_cast<int>(fz);
    const double x = p.x - fx;
    const double y = p.y - fy;
    const double z = p.z - fz;

    auto corner = [&](int dx, int dy, int dz) {
        return gradDot(hash3(ix + dx, iy + dy, iz + dz, seed), x - dx, y - dy, z - dz);
    };
    const double u = fade(x);
    const double v = fade(y);
    const double w = fade(z);
    const double x00 = lerp(corner(0, 0, 0), corner(1, 0, 0), u);
    const double x10 = lerp(corner(0, 1, 0), corner(1, 1, 0), u);
    const double x01 = lerp(corner(0, 0, 1), corner(1, 0, 1), u);
    const double x11 = lerp(corner(0, 1, 1), corner(1, 1, 1), u);
    return lerp(lerp(x00, x10, v), lerp(x01, x11, v), w);
}

double fbm3(Vec3 p, std::uint32_t seed, int octaves, double gain) {
    double sum = 0.0;
    double amp = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * noise3(p, seed + 1013u * static_cast<std::uint32_t>(i));
        total += amp;
        amp *= gain;
        p = p * 2.03;  // not exactly 2: keeps octave lattices from aligning
    }
    return sum / total;
}

double ridged3(Vec3 p, std::uint32_t seed, int octaves, double gain) {
    double sum = 0.0;
    double amp = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        const double n = 1.0 - std::fabs(noise3(p, seed + 7919u * static_cast<std::uint32_t>(i)));
        sum += amp * n * n;
        total += amp;
        amp *= gain;
        p = p * 2.03;
    }
    return sum / total;
}

}  // namespace tex
