#pragma once

// Math that gives the same bits on every x86-64 machine. libm may pick a
// different code path per CPU (with or without FMA), which could flip the
// last bit of a result and with it a pixel, so the images use these plain
// polynomial versions instead. They need to be smooth, not exact.
namespace tex {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

double dsin(double x);
double dcos(double x);
double dexp(double x);
double datan2(double y, double x);  // in (-pi, pi]

inline double clamp01(double x) { return x < 0.0 ? 0.0 : (x > 1.0 ? 1.0 : x); }
inline double mix(double a, double b, double t) { return a + (b - a) * t; }

inline double smoothstep(double e0, double e1, double x) {
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace tex
