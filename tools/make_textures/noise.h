#pragma once
#include <cstdint>

namespace tex {

struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 normalized(Vec3 v);

// Integer hashing: the only source of "randomness" in the images.
std::uint32_t hash32(std::uint32_t x);
std::uint32_t hash3(int x, int y, int z, std::uint32_t seed);

// Uniform doubles in [0, 1) drawn from a seeded counter.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : seed_(seed) {}
    double next();
    std::uint32_t nextInt(std::uint32_t bound);

private:
    std::uint32_t seed_;
    std::uint32_t counter_ = 0;
};

// Gradient noise, roughly in [-1, 1], zero on lattice points.
double noise3(Vec3 p, std::uint32_t seed);

// Sum of octaves; each octave has its own seed so that the lattice zeros of
// the octaves do not line up. Divided by the total amplitude.
double fbm3(Vec3 p, std::uint32_t seed, int octaves, double gain = 0.5);

// 1 - |noise| folded and squared per octave: sharp bright ridges.
double ridged3(Vec3 p, std::uint32_t seed, int octaves, double gain = 0.5);

}  // namespace tex
