#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas.h"
#include "detmath.h"
#include "images.h"

namespace tex {
namespace {

// The Milky Way of this sky: a great circle where stars crowd and the
// nebula gathers. The star and nebula spheres share their mapping.
const Vec3 kGalacticPole = normalized({0.35, -0.45, 0.82});

double bandWeight(Vec3 dir, double width) {
    const double off = dot(dir, kGalacticPole);
    return dexp(-(off * off) / (2.0 * width * width));
}

struct Star {
    Vec3 dir;
    double brightness;
    double sigma;  // radians
    Rgb colour;
};

Vec3 randomDirection(Dice& dice) {
    const double z = 2.0 * dice.next() - 1.0;
    const double lon = kTwoPi * dice.next();
    const double c = std::sqrt(std::max(0.0, 1.0 - z * z));
    return {c * dcos(lon), c * dsin(lon), z};
}

Rgb starColour(double pick) {
    const Rgb white{1.0, 1.0, 1.0};
    if (pick < 0.18) return mix(white, Rgb{0.62, 0.74, 1.0}, 0.8);  // hot blue
    if (pick < 0.55) return mix(white, Rgb{0.85, 0.9, 1.0}, 0.5);
    if (pick < 0.82) return mix(white, Rgb{1.0, 0.88, 0.66}, 0.7);  // sun-like
    return mix(white, Rgb{1.0, 0.66, 0.42}, 0.8);                   // cool red
}

// Adds a star as a small Gaussian measured on the sphere, so that stars near
// the poles are widened across the stretched rows instead of squashed.
void splat(Canvas& sky, const Star& s) {
    const int w = sky.width;
    const int h = sky.height;
    const double texel = kPi / h;
    const double reach = 3.5 * s.sigma;
    const double lat = datan2(s.dir.z, std::sqrt(s.dir.x * s.dir.x + s.dir.y * s.dir.y));
    double lon = datan2(s.dir.y, s.dir.x);
    if (lon < 0.0) lon += kTwoPi;
    const int row = std::clamp(static_cast<int>((kPi / 2.0 - lat) / texel), 0, h - 1);
    const int col = static_cast<int>(lon / kTwoPi * w) % w;
    const int rowReach = static_cast<int>(std::ceil(reach / texel)) + 1;
    for (int y = std::max(0, row - rowReach); y <= std::min(h - 1, row + rowReach); ++y) {
        const double cosLat = std::max(dcos(rowLatitude(y, h)), 1e-3);
        const int colReach = std::min(w / 2 - 1, static_cast<int>(std::ceil(reach / (texel * cosLat))) + 1);
        for (int dx = -colReach; dx <= colReach; ++dx) {
            const int x = ((col + dx) % w + w) % w;
            const Vec3 d = sphereDirection(x, y, w, h) - s.dir;
            const double amount = s.brightness * dexp(-dot(d, d) / (2.0 * s.sigma * s.sigma));
            sky.at(x, y) = sky.at(x, y) + s.colour * amount;
        }
    }
}

}  // namespace

Image makeStars() {
    Canvas sky(2048, 1024);
    const double texel = kPi / sky.height;

    Dice dice(1001u);
    std::vector<Star> stars;
    // Stars spread evenly over the sphere, most of them faint.
    for (int i = 0; i < 3200; ++i) {
        const Vec3 dir = randomDirection(dice);
        const double u = dice.next();
        const double b = 0.22 + 0.9 * u * u * u * u * u * u;
        stars.push_back({dir, b, texel * (0.42 + 0.35 * u), starColour(dice.next())});
    }
    // Many more faint ones crowding along the band.
    while (stars.size() < 7200) {
        const Vec3 dir = randomDirection(dice);
        const double keep = dice.next();
        const double b = 0.12 + 0.25 * dice.next();
        const Rgb colour = starColour(dice.next());
        if (keep < bandWeight(dir, 0.16)) stars.push_back({dir, b, texel * 0.42, colour});
    }
    for (const Star& s : stars) splat(sky, s);

    // The brightest get a soft halo.
    for (const Star& s : stars) {
        if (s.brightness < 0.75) continue;
        Star halo = s;
        halo.brightness = 0.10 * s.brightness;
        halo.sigma = texel * 2.2;
        splat(sky, halo);
    }

    // A very faint glow of unresolved stars along the band.
    for (int y = 0; y < sky.height; ++y) {
        for (int x = 0; x < sky.width; ++x) {
            const Vec3 dir = sphereDirection(x, y, sky.width, sky.height);
            const double band = bandWeight(dir, 0.12);
            if (band < 0.01) continue;
            const double clumps = clamp01(0.5 + fbm3(dir * 6.0, 1002u, 5));
            const double glow = 0.05 * band * clumps;
            sky.at(x, y) = sky.at(x, y) + Rgb{0.9, 0.9, 1.0} * glow;
        }
    }
    return toImage(sky);
}

Image makeNebula() {
    Canvas c(1024, 512);
    forEachSpherePixel(c, [](int, int, Vec3 dir) {
        const Vec3 p = dir * 1.7;
        const Vec3 warp{fbm3(p, 2001u, 4), fbm3(p + Vec3{5.2, 1.3, 2.8}, 2002u, 4),
                        fbm3(p + Vec3{1.7, 9.2, 3.1}, 2003u, 4)};
        const Vec3 q = p + warp * 2.2;
        const double cloud = fbm3(q, 2004u, 6);
        const double threads = ridged3(q * 1.8, 2005u, 5);
        const double band = bandWeight(dir, 0.32);

        double density = smoothstep(-0.04, 0.3, cloud + 0.2 * band - 0.08);
        density *= 0.35 + 0.9 * threads * threads * threads;
        density *= 0.3 + 0.7 * band;

        // Colour drifts slowly across the sky: magenta, blue, teal, ember.
        const double hue = clamp01(0.5 + 1.6 * fbm3(dir * 1.1, 2006u, 3));
        Rgb colour;
        if (hue < 0.33) colour = mix(Rgb{0.95, 0.25, 0.65}, Rgb{0.45, 0.25, 0.95}, hue / 0.33);
        else if (hue < 0.66) colour = mix(Rgb{0.45, 0.25, 0.95}, Rgb{0.15, 0.6, 0.85}, (hue - 0.33) / 0.33);
        else colour = mix(Rgb{0.15, 0.6, 0.85}, Rgb{0.95, 0.45, 0.25}, (hue - 0.66) / 0.34);
        return colour * (0.85 * density);
    });
    return toImage(c);
}

}  // namespace tex
