#include "detmath.h"

#include <cmath>

namespace tex {
namespace {

// Taylor series on [-pi/4, pi/4]; the error is far below one 8-bit step.
double sinKernel(double r) {
    const double r2 = r * r;
    return r * (1.0 + r2 * (-1.0 / 6.0 + r2 * (1.0 / 120.0 + r2 * (-1.0 / 5040.0 +
           r2 * (1.0 / 362880.0 + r2 * (-1.0 / 39916800.0 + r2 * (1.0 / 6227020800.0)))))));
}

double cosKernel(double r) {
    const double r2 = r * r;
    return 1.0 + r2 * (-0.5 + r2 * (1.0 / 24.0 + r2 * (-1.0 / 720.0 + r2 * (1.0 / 40320.0 +
           r2 * (-1.0 / 3628800.0 + r2 * (1.0 / 479001600.0))))));
}

// atan for |x| <= 1: two half-angle steps bring x below tan(pi/16), where
// the series converges fast.
double atanKernel(double x) {
    for (int i = 0; i < 2; ++i) x = x / (1.0 + std::sqrt(1.0 + x * x));
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 12; ++n) {
        term *= -x2;
        sum += term / (2 * n + 1);
    }
    return 4.0 * sum;
}

}  // namespace

double datan2(double y, double x) {
    if (x == 0.0 && y == 0.0) return 0.0;
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    double a = ay <= ax ? atanKernel(ay / ax) : kPi / 2.0 - atanKernel(ax / ay);
    if (x < 0.0) a = kPi - a;
    return y < 0.0 ? -a : a;
}

double dsin(double x) {
    // floor, multiplication and subtraction are exact IEEE operations.
    const double k = std::floor(x * (2.0 / kPi) + 0.5);
    const double r = x - k * (kPi / 2.0);
    const long long quadrant = static_cast<long long>(k) & 3;
    switch (quadrant) {
        case 0: return sinKernel(r);
        case 1: return cosKernel(r);
        case 2: return -sinKernel(r);
        default: return -cosKernel(r);
    }
}

double dcos(double x) { return dsin(x + kPi / 2.0); }

double dexp(double x) {
    if (x < -700.0) return 0.0;
    constexpr double kLn2 = 0.69314718055994530942;
    const double k = std::floor(x / kLn2 + 0.5);
    const double r = x - k * kLn2;  // |r| <= ln2 / 2
    double term = 1.0;
    double sum = 1.0;
    for (int i = 1; i <= 14; ++i) {
        term *= r / i;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

}  // namespace tex
