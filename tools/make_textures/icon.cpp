#include <cmath>

#include "canvas.h"
#include "detmath.h"
#include "icon.h"

namespace tex {
namespace {

// Distance from p to the segment a-b, and how far along it p lies (0..1).
double segmentDistance(double px, double py, double ax, double ay, double bx, double by, double& along) {
    const double dx = bx - ax, dy = by - ay;
    along = clamp01(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy));
    const double qx = ax + dx * along - px, qy = ay + dy * along - py;
    return std::sqrt(qx * qx + qy * qy);
}

// A missile as the game shows it: a hot head with a smoke trail behind it.
Rgb streak(double x, double y, double tailX, double tailY, double headX, double headY) {
    double along = 0.0;
    const double d = segmentDistance(x, y, tailX, tailY, headX, headY, along);
    const double width = 1.5 + 4.0 * along;
    const double trail = along * along * dexp(-(d * d) / (2.0 * width * width));
    const double hx = x - headX, hy = y - headY;
    const double head = dexp(-(hx * hx + hy * hy) / (2.0 * 5.0 * 5.0));
    return Rgb{0.75, 0.6, 0.5} * (1.6 * trail) + Rgb{1.0, 0.75, 0.35} * (1.4 * head);
}

// A shot's hit: a round flash with four spikes.
Rgb burst(double x, double y, double cx, double cy) {
    const double dx = x - cx, dy = y - cy;
    const double r2 = dx * dx + dy * dy;
    const double core = dexp(-r2 / (2.0 * 9.0 * 9.0)) + 0.5 * dexp(-r2 / (2.0 * 26.0 * 26.0));
    const double spikes = dexp(-(dx * dx) / 8.0) * dexp(-std::fabs(dy) / 22.0) +
                          dexp(-(dy * dy) / 8.0) * dexp(-std::fabs(dx) / 22.0);
    return Rgb{1.0, 0.85, 0.55} * core + Rgb{1.0, 0.7, 0.4} * (0.8 * spikes);
}

// The planet below the action, lit from the upper left, with clouds.
Rgb planet(double x, double y, double& cover) {
    const double cx = 168.0, cy = 176.0, radius = 86.0;
    const double dx = (x - cx) / radius, dy = (y - cy) / radius;
    const double r = std::sqrt(dx * dx + dy * dy);
    cover = smoothstep(1.0 + 1.0 / radius, 1.0 - 1.0 / radius, r);
    const double halo = r > 1.0 ? dexp(-(r - 1.0) * radius / 5.0) * clamp01(0.4 - 0.6 * (dx + dy)) : 0.0;
    const Rgb rim = Rgb{0.35, 0.65, 1.0} * halo;
    if (r >= 1.0) return rim;
    const double dz = std::sqrt(1.0 - r * r);
    const double light = clamp01(-0.55 * dx - 0.6 * dy + 0.58 * dz);
    const double land = fbm3(Vec3{dx * 2.2, dy * 2.2, dz * 2.2}, 4242u, 4);
    const double clouds = clamp01(fbm3(Vec3{dx * 4.0, dy * 5.0, dz * 4.0}, 777u, 4) * 1.6 + 0.1);
    Rgb surface = land > 0.08 ? mix(Rgb{0.2, 0.45, 0.18}, Rgb{0.55, 0.5, 0.3}, clamp01(land * 2.0))
                              : Rgb{0.05, 0.2, 0.55};
    surface = mix(surface, Rgb{0.95, 0.97, 1.0}, clouds * 0.8);
    const double edge = dexp(-dz * 6.0);  // atmosphere along the limb
    return surface * (0.08 + 0.95 * light) + Rgb{0.3, 0.6, 1.0} * (edge * (0.2 + light)) + rim;
}

// The whole icon at one size in linear colour, with the round plate's alpha.
void drawIcon(Canvas& c, Mask& alpha) {
    const double size = c.width;
    const double plate = size / 2.0 - 2.0;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            // Positions in units of the 256-pixel design.
            const double u = (x + 0.5) * 256.0 / size, v = (y + 0.5) * 256.0 / size;
            const double px = x + 0.5 - size / 2.0, py = y + 0.5 - size / 2.0;
            const double fromCentre = std::sqrt(px * px + py * py);
            alpha.at(x, y) = smoothstep(plate + 0.5, plate - 0.5, fromCentre);

            const double twinkle = hash3(x, y, 0, 99u) % 151 == 0 ? 0.6 : 0.0;
            Rgb colour = mix(Rgb{0.02, 0.03, 0.1}, Rgb{0.06, 0.04, 0.16}, v / 256.0) + Rgb{1, 1, 1} * twinkle;
            double cover = 0.0;
            const Rgb world = planet(u, v, cover);
            colour = mix(colour, world, cover) + world * (1.0 - cover);
            colour = colour + streak(u, v, 20.0, 40.0, 112.0, 118.0) + streak(u, v, 150.0, 14.0, 164.0, 78.0);
            colour = colour + burst(u, v, 88.0, 66.0);
            c.at(x, y) = colour;
        }
    }
}

std::uint8_t toByte(double value) {
    const double v = std::sqrt(clamp01(value));  // a rough gamma for display
    return static_cast<std::uint8_t>(std::lround(v * 255.0));
}

}  // namespace

RgbaImage makeIcon(int size) {
    Canvas c(size, size);
    Mask alpha(size, size);
    drawIcon(c, alpha);
    RgbaImage image(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const Rgb& rgb = c.at(x, y);
            std::uint8_t* p = image.pixel(x, y);
            const double a = alpha.at(x, y);
            p[0] = a > 0.0 ? toByte(rgb.r) : 0;
            p[1] = a > 0.0 ? toByte(rgb.g) : 0;
            p[2] = a > 0.0 ? toByte(rgb.b) : 0;
            p[3] = static_cast<std::uint8_t>(std::lround(a * 255.0));
        }
    }
    return image;
}

}  // namespace tex
