#pragma once
#include <vector>

#include "bmp.h"
#include "noise.h"

namespace tex {

struct Rgb {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Rgb mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Linear colour in [0, 1] per channel, rows from the top down.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Rgb> px;

    Canvas(int w, int h) : width(w), height(h), px(static_cast<std::size_t>(w) * h) {}
    Rgb& at(int x, int y) { return px[static_cast<std::size_t>(y) * width + x]; }
    const Rgb& at(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
};

// One value per pixel: text coverage, densities, glows.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<double> v;

    Mask(int w, int h) : width(w), height(h), v(static_cast<std::size_t>(w) * h, 0.0) {}
    double& at(int x, int y) { return v[static_cast<std::size_t>(y) * width + x]; }
    double at(int x, int y) const { return v[static_cast<std::size_t>(y) * width + x]; }
};

// Rounds to 8 bits; anything at or below zero stays pure black.
Image toImage(const Canvas& canvas);

// Left-right mirror, for pictures the game shows mirrored.
Image flopped(const Image& image);

// Gaussian blur with the given standard deviation in pixels; pixels
// outside the mask count as zero.
Mask blurred(const Mask& mask, double sigma);

// Unit direction of a pixel centre of an equirectangular picture: the top
// row is the +z pole, longitude runs once around from the left edge, so the
// left and right edges meet without a seam.
Vec3 sphereDirection(int x, int y, int width, int height);

// Latitude of a row's centre in radians (+pi/2 at the top).
double rowLatitude(int y, int height);

// Runs fn(x, y, direction) over every pixel of an equirectangular canvas.
template <typename Fn>
void forEachSpherePixel(Canvas& canvas, Fn fn) {
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            canvas.at(x, y) = fn(x, y, sphereDirection(x, y, canvas.width, canvas.height));
}

}  // namespace tex
