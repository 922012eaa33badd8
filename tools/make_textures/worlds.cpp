#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "canvas.h"
#include "detmath.h"
#include "images.h"

namespace tex {
namespace {

Vec3 latLon(double latDeg, double lonDeg) {
    const double lat = latDeg * kPi / 180.0;
    const double lon = lonDeg * kPi / 180.0;
    return {dcos(lat) * dcos(lon), dcos(lat) * dsin(lon), dsin(lat)};
}

// Turns p about the axis through the origin and centre, by an angle that
// is largest at the centre and fades out with the distance from it: a
// vortex, with its east-west size stretched by `oval`.
Vec3 swirl(Vec3 p, Vec3 centre, double radius, double turns, double oval) {
    const Vec3 east = normalized(cross({0.0, 0.0, 1.0}, centre));
    const Vec3 north = cross(centre, east);
    const Vec3 off = p - centre;
    const double u = dot(off, east) / oval;
    const double v = dot(off, north);
    const double w = dot(off, centre);
    // The depth term keeps the far side of the sphere out of the vortex.
    const double d2 = (u * u + v * v + w * w) / (radius * radius);
    if (d2 > 12.0) return p;
    const double angle = turns * kTwoPi * dexp(-d2);
    const double c = dcos(angle);
    const double s = dsin(angle);
    const double ru = (u * c - v * s) * oval;
    const double rv = u * s + v * c;
    return centre + east * ru + north * rv + centre * w;
}

// Value below which the given share of the sphere's area lies.
double areaQuantile(const std::vector<double>& values, int width, int height, double share) {
    std::vector<std::pair<double, double>> weighted;
    weighted.reserve(values.size());
    for (int y = 0; y < height; ++y) {
        const double area = dcos(rowLatitude(y, height));
        for (int x = 0; x < width; ++x)
            weighted.emplace_back(values[static_cast<std::size_t>(y) * width + x], area);
    }
    std::sort(weighted.begin(), weighted.end());
    double total = 0.0;
    for (const auto& v : weighted) total += v.second;
    double sum = 0.0;
    for (const auto& v : weighted) {
        sum += v.second;
        if (sum >= share * total) return v.first;
    }
    return weighted.back().first;
}

// Latitude as a share of a right angle: 0 at the equator, 1 at a pole.
double polarShare(Vec3 dir) {
    return datan2(std::fabs(dir.z), std::sqrt(dir.x * dir.x + dir.y * dir.y)) / (kPi / 2.0);
}

double planetHeight(Vec3 dir) {
    const Vec3 p = dir * 1.2;
    const Vec3 warp{fbm3(p, 3001u, 4), fbm3(p + Vec3{3.1, 7.7, 1.9}, 3002u, 4),
                    fbm3(p + Vec3{8.3, 2.2, 5.4}, 3003u, 4)};
    const double land = fbm3(dir * 1.3 + warp * 0.5, 3004u, 8) + 0.3 * fbm3(dir * 0.6, 3005u, 2);
    // Mountain chains: sharp ridges that only rise where the land is high.
    const double ridges = ridged3(dir * 3.0 + warp * 0.3, 3006u, 5);
    return land + 0.12 * ridges * ridges * smoothstep(0.0, 0.25, land);
}

}  // namespace

Image makePlanet() {
    const int w = 1024;
    const int h = 512;
    std::vector<double> height(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            height[static_cast<std::size_t>(y) * w + x] = planetHeight(sphereDirection(x, y, w, h));
    // About two thirds ocean, however the noise falls.
    const double sea = areaQuantile(height, w, h, 0.66);
    const double top = areaQuantile(height, w, h, 0.998);
    auto heightAt = [&](int x, int y) {
        x = (x + w) % w;
        y = std::clamp(y, 0, h - 1);
        return height[static_cast<std::size_t>(y) * w + x];
    };

    const Rgb deep{0.02, 0.06, 0.20}, shallow{0.06, 0.32, 0.45};
    const Rgb desert{0.76, 0.64, 0.42}, steppe{0.55, 0.52, 0.30}, grass{0.30, 0.42, 0.16};
    const Rgb forest{0.09, 0.27, 0.09}, taiga{0.13, 0.24, 0.15}, tundra{0.45, 0.44, 0.37};
    const Rgb rock{0.40, 0.35, 0.30}, snow{0.93, 0.95, 0.98};

    Canvas c(w, h);
    forEachSpherePixel(c, [&](int x, int y, Vec3 dir) {
        const double e = heightAt(x, y) - sea;
        const double polar = polarShare(dir);
        Rgb colour;
        if (e < 0.0) {
            const double depth = std::sqrt(clamp01(-e / 0.25));
            colour = mix(shallow, deep, depth) * (0.92 + 0.16 * fbm3(dir * 9.0, 3010u, 3));
        } else {
            const double elev = clamp01(e / (top - sea));
            double moisture = 0.72 + 1.3 * fbm3(dir * 2.2, 3011u, 5) + 0.25 * smoothstep(0.1, 0.0, e);
            // Dry belts near 25 degrees, as on Earth.
            moisture -= 0.4 * dexp(-((polar - 0.28) * (polar - 0.28)) / (2.0 * 0.08 * 0.08));
            const double warmth = 1.0 - 1.1 * polar - 0.45 * elev + 0.12 * fbm3(dir * 4.0, 3012u, 3);
            colour = mix(desert, steppe, smoothstep(0.15, 0.35, moisture));
            colour = mix(colour, grass, smoothstep(0.35, 0.55, moisture));
            colour = mix(colour, forest, smoothstep(0.6, 0.85, moisture));
            colour = mix(colour, taiga, smoothstep(0.45, 0.32, warmth) * smoothstep(0.3, 0.5, moisture));
            colour = mix(colour, tundra, smoothstep(0.3, 0.18, warmth));
            colour = mix(colour, rock, smoothstep(0.35, 0.65, elev));
            colour = mix(colour, snow, smoothstep(0.12, 0.04, warmth) + smoothstep(0.86, 0.96, elev));
            // Relief lit from the north-west; columns narrow toward the poles.
            const double cosLat = std::max(std::sqrt(1.0 - dir.z * dir.z), 0.05);
            const double gx = (heightAt(x + 1, y) - heightAt(x - 1, y)) / cosLat;
            const double gy = heightAt(x, y - 1) - heightAt(x, y + 1);
            colour = colour * std::clamp(1.0 + 7.0 * (gy - gx), 0.65, 1.3);
            // The coast fades into the shallows over a narrow strip.
            colour = mix(shallow, colour, smoothstep(0.0, 0.008, e));
        }
        // Ice caps, larger in the south, with ragged edges and some texture.
        const double ragged = 0.09 * fbm3(dir * 6.0, 3013u, 5);
        const double capEdge = dir.z > 0.0 ? 0.86 : 0.82;
        const double ice = smoothstep(capEdge - 0.01, capEdge + 0.02, polar + ragged);
        const Rgb iceColour = mix(Rgb{0.80, 0.86, 0.93}, Rgb{0.97, 0.98, 1.0},
                                  clamp01(0.6 + 1.5 * fbm3(dir * 12.0, 3014u, 4)));
        return mix(colour, iceColour, ice);
    });
    return toImage(c);
}

Image makeClouds() {
    const Vec3 storms[] = {latLon(48.0, 40.0), latLon(-52.0, 160.0), latLon(38.0, 250.0),
                           latLon(-18.0, 300.0)};
    const double spin[] = {0.55, -0.5, 0.45, -0.4};
    Canvas c(1024, 512);
    forEachSpherePixel(c, [&](int, int, Vec3 dir) {
        Vec3 p = dir;
        for (int i = 0; i < 4; ++i) p = swirl(p, storms[i], 0.2, spin[i], 1.3);
        // Squeezed along the pole axis: weather runs in east-west streaks.
        const Vec3 q{p.x * 2.4, p.y * 2.4, p.z * 5.0};
        const Vec3 warp{fbm3(q, 4001u, 4), fbm3(q + Vec3{4.4, 1.1, 7.3}, 4002u, 4), 0.0};
        const double n = fbm3(q + warp * 1.2, 4003u, 7, 0.55);

        const double lat = std::fabs(dir.z);
        double cover = 0.01 + 0.1 * fbm3(dir * 2.0, 4004u, 2);
        cover += 0.12 * dexp(-(dir.z * dir.z) / (2.0 * 0.08 * 0.08));          // tropical belt
        cover -= 0.10 * dexp(-((lat - 0.45) * (lat - 0.45)) / (2.0 * 0.1 * 0.1));  // dry subtropics
        cover += 0.08 * smoothstep(0.6, 0.85, lat);                            // storm tracks
        const double cloud = smoothstep(-0.04, 0.3, n + cover);
        const double detail = 0.75 + 0.35 * fbm3(q * 4.0, 4005u, 3);
        return Rgb{0.96, 0.97, 1.0} * clamp01(cloud * detail);
    });
    return toImage(c);
}

namespace {

// Light zones and dark belts of uneven width from pole to pole, indexed by
// the sine of the latitude.
class BandTable {
public:
    BandTable() {
        const Rgb zones[] = {{0.93, 0.87, 0.74}, {0.97, 0.93, 0.84}, {0.88, 0.78, 0.62}};
        const Rgb belts[] = {{0.66, 0.44, 0.28}, {0.52, 0.33, 0.21}, {0.74, 0.50, 0.32}, {0.60, 0.45, 0.36}};
        Dice dice(5100u);
        double edge = -1.0;
        bool zone = true;
        while (edge < 1.0) {
            const double width = 0.05 + 0.11 * dice.next();
            const Rgb base = zone ? zones[dice.nextInt(3)] : belts[dice.nextInt(4)];
            bands_.push_back({edge, base * (0.92 + 0.16 * dice.next())});
            edge += width;
            zone = !zone;
        }
    }

    Rgb at(double s) const {
        std::size_t i = 0;
        while (i + 1 < bands_.size() && bands_[i + 1].start <= s) ++i;
        Rgb colour = bands_[i].colour;
        // Blend into the next band over a short stretch before its start.
        if (i + 1 < bands_.size()) {
            const double t = smoothstep(bands_[i + 1].start - 0.02, bands_[i + 1].start + 0.008, s);
            colour = mix(colour, bands_[i + 1].colour, t);
        }
        return colour;
    }

private:
    struct Band {
        double start;
        Rgb colour;
    };
    std::vector<Band> bands_;
};

Vec3 turnAboutPole(Vec3 p, double angle) {
    const double c = dcos(angle);
    const double s = dsin(angle);
    return {p.x * c - p.y * s, p.x * s + p.y * c, p.z};
}

}  // namespace

Image makeGasPlanet() {
    const Vec3 spot = latLon(-22.0, 200.0);
    const Vec3 east = normalized(cross({0.0, 0.0, 1.0}, spot));
    const Vec3 north = cross(spot, east);
    const Vec3 ovals[] = {latLon(-40.0, 30.0), latLon(-40.0, 85.0), latLon(-40.0, 300.0),
                          latLon(33.0, 150.0), latLon(15.0, 260.0)};
    const BandTable bands;

    Canvas c(1024, 512);
    forEachSpherePixel(c, [&](int, int, Vec3 dir) {
        Vec3 p = swirl(dir, spot, 0.14, 0.7, 1.8);
        for (const Vec3& o : ovals) p = swirl(p, o, 0.04, 0.6, 1.5);
        // Jets that alternate with latitude shear the eddies east and west.
        p = turnAboutPole(p, 0.25 * dsin(p.z * 23.0));
        const Vec3 turb{p.x * 5.0, p.y * 5.0, p.z * 12.0};
        const Vec3 warp{fbm3(turb, 5006u, 3), fbm3(turb + Vec3{2.7, 6.1, 0.4}, 5007u, 3), 0.0};
        const double s = p.z + 0.045 * fbm3(turb + warp * 1.5, 5001u, 5) + 0.008 * fbm3(turb * 3.0, 5002u, 3);
        Rgb colour = bands.at(s);
        colour = colour * (0.92 + 0.14 * fbm3(Vec3{p.x * 10.0, p.y * 10.0, p.z * 40.0}, 5003u, 4));

        // The great storm: a red oval in a pale collar, on the near side only.
        const Vec3 off = dir - spot;
        const double u = dot(off, east) / 1.8;
        const double v = dot(off, north);
        const double r = std::sqrt(u * u + v * v + dot(off, spot) * dot(off, spot)) / 0.12;
        const double collar = smoothstep(1.45, 1.1, r) * smoothstep(0.75, 1.05, r);
        const double redness = smoothstep(1.0, 0.6, r) * clamp01(0.75 + 0.6 * fbm3(p * 25.0, 5004u, 4));
        colour = mix(colour, Rgb{0.97, 0.92, 0.84}, 0.55 * collar);
        colour = mix(colour, Rgb{0.80, 0.33, 0.17}, redness);

        // Darker, greyer, mottled poles.
        const double polar = smoothstep(0.72, 0.95, std::fabs(dir.z));
        const Rgb cap = Rgb{0.42, 0.40, 0.42} * (0.85 + 0.3 * fbm3(dir * 10.0, 5005u, 4));
        return mix(colour, cap, 0.75 * polar);
    });
    return toImage(c);
}

Image makeAtmosphere() {
    Canvas c(512, 256);
    forEachSpherePixel(c, [](int, int, Vec3 dir) {
        const double haze = 0.8 + 0.5 * fbm3(Vec3{dir.x * 2.0, dir.y * 2.0, dir.z * 6.0}, 6001u, 4);
        return Rgb{0.09, 0.11, 0.16} * haze;
    });
    return toImage(c);
}

}  // namespace tex
