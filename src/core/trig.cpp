#include "core/trig.h"

#include <cmath>

// ---- types -----------------------------------------------------------------

namespace {

// An unevaluated sum hi + lo with |lo| at most half an ulp of hi.
struct Wide {
    double hi = 0, lo = 0;
};

}  // namespace

// ---- state -----------------------------------------------------------------

// pi/2 in four pieces; the first three have 33 significant bits, so n times
// each of them is exact for the small quadrant counts n met here.
constexpr double kHalfPi1 = 1.57079632673412561417e+00;
constexpr double kHalfPi2 = 6.07710050630396597660e-11;
constexpr double kHalfPi3 = 2.02226624871116645580e-21;
constexpr double kHalfPi4 = 8.47842766036889956997e-32;
constexpr double kTwoOverPi = 6.36619772367581382433e-01;
constexpr int    kTerms = 28;  // Taylor terms: (pi/4)^56 / 56! is far below 2^-110

// ---- functions -------------------------------------------------------------

static Wide twoSum(double a, double b)
{
    const double s = a + b;
    const double v = s - a;
    return {s, (a - (s - v)) + (b - v)};
}

// Dekker's exact product, without fused multiply-add.
static Wide twoProduct(double a, double b)
{
    constexpr double kSplit = 134217729.0;  // 2^27 + 1
    const double p = a * b;
    const double ca = kSplit * a, cb = kSplit * b;
    const double ah = ca - (ca - a), al = a - ah;
    const double bh = cb - (cb - b), bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

static Wide add(const Wide& a, const Wide& b)
{
    const Wide s = twoSum(a.hi, b.hi);
    const Wide t = twoSum(a.lo, b.lo);
    Wide u = twoSum(s.hi, s.lo + t.hi);
    return twoSum(u.hi, u.lo + t.lo);
}

static Wide negate(const Wide& a) { return {-a.hi, -a.lo}; }

static Wide multiply(const Wide& a, const Wide& b)
{
    const Wide p = twoProduct(a.hi, b.hi);
    return twoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

static Wide divide(const Wide& a, double b)
{
    const double q = a.hi / b;
    const Wide p = twoProduct(q, b);
    const double r = ((a.hi - p.hi) - p.lo + a.lo) / b;
    return twoSum(q, r);
}

// x minus n quarter turns, and n modulo 4.
static Wide reduce(double x, int& quadrant)
{
    const double n = std::nearbyint(x * kTwoOverPi);
    quadrant = static_cast<int>(std::fmod(n, 4.0));
    if (quadrant < 0)
        quadrant += 4;
    Wide r{x, 0};
    r = add(r, negate(twoProduct(n, kHalfPi1)));
    r = add(r, negate(twoProduct(n, kHalfPi2)));
    r = add(r, negate(twoProduct(n, kHalfPi3)));
    return add(r, Wide{-n * kHalfPi4, 0});
}

// sin r (odd) or cos r (even) for |r| <= pi/4, by Taylor series.
static Wide series(const Wide& r, bool odd)
{
    const Wide r2 = multiply(r, r);
    Wide term = odd ? r : Wide{1, 0};
    Wide sum = term;
    for (int k = odd ? 2 : 1; k < kTerms * 2; k += 2) {
        term = divide(negate(multiply(term, r2)), static_cast<double>(k) * (k + 1));
        sum = add(sum, term);
    }
    return sum;
}

// sin x when sine, else cos x, as sin(x) = sin(r + n pi/2).
static Wide sinOrCos(double x, bool sine)
{
    int quadrant = 0;
    const Wide r = reduce(x, quadrant);
    if (!sine)
        quadrant = (quadrant + 1) % 4;
    const Wide v = series(r, quadrant % 2 == 0);
    return quadrant >= 2 ? negate(v) : v;
}

// hi is hi + lo rounded to double already; a float between two halves needs
// lo to break the tie.
static float nearestFloat(const Wide& v)
{
    const float f = static_cast<float>(v.hi);
    const double below = v.hi - static_cast<double>(f);
    if (below == 0 || v.lo == 0)
        return f;
    const float other = std::nextafter(f, below > 0 ? INFINITY : -INFINITY);
    const double beyond = static_cast<double>(other) - v.hi;
    if (beyond != below)
        return f;
    return (v.lo > 0) == (below > 0) ? other : f;
}

double exactSin(double x) { return sinOrCos(x, true).hi; }
double exactCos(double x) { return sinOrCos(x, false).hi; }
float  exactSin(float x) { return nearestFloat(sinOrCos(x, true)); }
float  exactCos(float x) { return nearestFloat(sinOrCos(x, false)); }
