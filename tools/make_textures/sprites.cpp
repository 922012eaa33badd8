#include <algorithm>
#include <cmath>
#include <iterator>
#include <stdexcept>

#include "canvas.h"
#include "detmath.h"
#include "images.h"

namespace tex {
namespace {

// Sprite coordinates: (u, v) in [-1, 1] from the centre, v up.
struct SpritePoint {
    double u;
    double v;
    double r;
};

SpritePoint spritePoint(int x, int y, int size) {
    const double half = size / 2.0;
    const double u = (x + 0.5 - half) / half;
    const double v = (half - (y + 0.5)) / half;
    return {u, v, std::sqrt(u * u + v * v)};
}

// 1 inside r = inner, falling to exactly zero at r = edge, so that every
// sprite keeps a black frame (the edge pixels of a 64-pixel sprite sit at
// r >= 0.98).
double edgeWindow(double r, double inner, double edge) { return smoothstep(edge, inner, r); }

// Black through deep red, orange and yellow to white.
Rgb fireColour(double heat) {
    struct Stop {
        double at;
        Rgb colour;
    };
    static const Stop stops[] = {
        {0.00, {0.00, 0.00, 0.00}}, {0.22, {0.40, 0.04, 0.00}}, {0.45, {0.92, 0.30, 0.02}},
        {0.70, {1.00, 0.66, 0.12}}, {0.90, {1.00, 0.90, 0.45}}, {1.10, {1.00, 1.00, 0.90}},
    };
    if (heat <= 0.0) return {};
    for (std::size_t i = 1; i < std::size(stops); ++i)
        if (heat < stops[i].at)
            return mix(stops[i - 1].colour, stops[i].colour,
                       (heat - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
    return stops[std::size(stops) - 1].colour;
}

// Direction around the centre as a point on the unit circle, for noise that
// varies with the angle without a seam.
Vec3 around(const SpritePoint& p, double scale, double z) {
    if (p.r == 0.0) return {0.0, 0.0, z};
    return {p.u / p.r * scale, p.v / p.r * scale, z};
}

}  // namespace

Image makeGlow() {
    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const SpritePoint p = spritePoint(x, y, 64);
            const double f = clamp01(1.0 - p.r / 0.94);
            const double core = dexp(-(p.r * p.r) / (2.0 * 0.12 * 0.12));
            c.at(x, y) = Rgb{1.0, 0.98, 0.95} * ((0.7 * f * f + 0.45 * core) * edgeWindow(p.r, 0.7, 0.94));
        }
    }
    return toImage(c);
}

Image makeSmoke(int variant) {
    if (variant < 0 || variant > 2) throw std::invalid_argument("there are three smoke puffs");
    const std::uint32_t seed = 300u + static_cast<std::uint32_t>(variant) * 17u;
    const Rgb tints[] = {{0.56, 0.56, 0.56}, {0.58, 0.55, 0.51}, {0.50, 0.53, 0.58}};
    Dice dice(seed);
    // The second puff is a cluster of lumps.
    struct Lump {
        double u, v, radius;
    };
    Lump lumps[5];
    for (Lump& l : lumps) {
        const double a = dice.next() * kTwoPi;
        const double d = 0.15 + 0.3 * dice.next();
        l = {d * dcos(a), d * dsin(a), 0.22 + 0.16 * dice.next()};
    }

    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const SpritePoint p = spritePoint(x, y, 64);
            const Vec3 q{p.u * 2.2, p.v * 2.2, 0.37 * variant};
            double density = 0.0;
            if (variant == 0) {
                // One round billowy puff with a lumpy outline.
                const double outline = 0.72 + 0.22 * fbm3(around(p, 1.6, 3.0), seed, 3);
                const double body = clamp01(1.0 - p.r / outline);
                const double billow = 1.0 - std::fabs(fbm3(q, seed + 1u, 5));
                density = body * (0.35 + 0.75 * billow * billow);
            } else if (variant == 1) {
                for (const Lump& l : lumps) {
                    const double du = p.u - l.u;
                    const double dv = p.v - l.v;
                    density += dexp(-(du * du + dv * dv) / (2.0 * l.radius * l.radius * 0.45));
                }
                density = clamp01(density * 0.75) * (0.8 + 0.8 * fbm3(q * 1.3, seed + 2u, 5));
            } else {
                // Thin drifting wisps.
                const double wisps = ridged3({q.x * 0.8, q.y * 2.0, q.z}, seed + 3u, 4);
                const double body = clamp01(1.0 - p.r / 0.85);
                density = body * wisps * wisps * 1.3;
            }
            c.at(x, y) = tints[variant] * (clamp01(density) * edgeWindow(p.r, 0.7, 0.94));
        }
    }
    return toImage(c);
}

Image makePortal(int variant) {
    if (variant < 0 || variant > 1) throw std::invalid_argument("there are two bursts");
    const std::uint32_t seed = 500u + static_cast<std::uint32_t>(variant) * 29u;
    Canvas c(128, 128);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const SpritePoint p = spritePoint(x, y, 128);
            const Vec3 q{p.u * 3.0, p.v * 3.0, 1.7};
            double heat = 0.0;
            if (variant == 0) {
                // A starburst: rays of uneven length around a white-hot core.
                const double coarse = fbm3(around(p, 2.5, 0.5), seed, 3);
                const double fine = fbm3(around(p, 9.0, 4.5), seed + 1u, 3);
                const double reach = 0.58 + 0.6 * coarse + 0.5 * fine;
                const double rays = clamp01(1.0 - p.r / std::max(reach, 0.2));
                const double core = dexp(-(p.r * p.r) / (2.0 * 0.2 * 0.2));
                const double halo = 0.35 * clamp01(1.0 - p.r / 0.8);
                const double flicker = 0.75 + 0.5 * fbm3(q * 1.5, seed + 2u, 4);
                heat = 0.9 * rays * rays * flicker + 0.85 * core + halo * halo * flicker;
            } else {
                // A ring of fire with flame tongues and a faint centre.
                const double wobble = 0.09 * fbm3(around(p, 3.0, 2.5), seed, 3);
                const double ring = p.r - (0.52 + wobble);
                const double band = dexp(-(ring * ring) / (2.0 * 0.09 * 0.09));
                const double flames = 0.6 + 0.9 * fbm3(q * 1.4, seed + 1u, 5);
                const double core = 0.45 * dexp(-(p.r * p.r) / (2.0 * 0.22 * 0.22));
                heat = band * flames + core;
            }
            c.at(x, y) = fireColour(heat) * edgeWindow(p.r, 0.75, 0.96);
        }
    }
    return toImage(c);
}

Image makeCrosshair() {
    // Shapes in pixels about the centre (64, 64); each pixel is sampled
    // 4 x 4 times for smooth edges.
    auto ink = [](double dx, double dy) -> double {
        const double r = std::sqrt(dx * dx + dy * dy);
        const double ax = std::fabs(dx);
        const double ay = std::fabs(dy);
        if (r <= 2.2) return 1.0;                                         // centre dot
        if (std::fabs(r - 30.0) <= 1.1 && std::min(ax, ay) > 7.0) return 1.0;  // ring, broken at the ticks
        if (ay <= 1.0 && ax >= 14.0 && ax <= 46.0) return 1.0;             // horizontal ticks
        if (ax <= 1.0 && ay >= 14.0 && ay <= 46.0) return 1.0;             // vertical ticks
        if (std::fabs(r - 50.0) <= 0.6 && std::fabs(ax - ay) < 18.0) return 0.45;  // faint outer arcs
        return 0.0;
    };
    Mask shape(128, 128);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            double sum = 0.0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    sum += ink(x + (sx + 0.5) / 4.0 - 64.0, y + (sy + 0.5) / 4.0 - 64.0);
            shape.at(x, y) = sum / 16.0;
        }
    }
    const Mask glow = blurred(shape, 3.0);
    const Rgb colour{0.55, 1.0, 0.72};
    Canvas c(128, 128);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const double value = shape.at(x, y) + 0.55 * glow.at(x, y);
            c.at(x, y) = colour * value + Rgb{1.0, 1.0, 1.0} * (0.25 * shape.at(x, y));
        }
    }
    return toImage(c);
}

}  // namespace tex
