#include "canvas.h"

#include <cmath>

#include "detmath.h"

namespace tex {
namespace {

std::uint8_t toByte(double c) {
    if (!(c > 0.0)) return 0;
    if (c >= 1.0) return 255;
    return static_cast<std::uint8_t>(std::floor(c * 255.0 + 0.5));
}

std::vector<double> gaussianKernel(double sigma, int radius) {
    std::vector<double> k(static_cast<std::size_t>(2 * radius + 1));
    double sum = 0.0;
    for (int i = -radius; i <= radius; ++i) {
        const double w = dexp(-(i * i) / (2.0 * sigma * sigma));
        k[static_cast<std::size_t>(i + radius)] = w;
        sum += w;
    }
    for (double& w : k) w /= sum;
    return k;
}

}  // namespace

Image toImage(const Canvas& canvas) {
    Image image(canvas.width, canvas.height);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const Rgb& c = canvas.at(x, y);
            std::uint8_t* p = image.pixel(x, y);
            p[0] = toByte(c.r);
            p[1] = toByte(c.g);
            p[2] = toByte(c.b);
        }
    }
    return image;
}

Image flopped(const Image& image) {
    Image out(image.width, image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* src = image.pixel(image.width - 1 - x, y);
            std::uint8_t* dst = out.pixel(x, y);
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    return out;
}

// One pass of the separable blur, along x (dx = 1) or y (dy = 1); samples
// outside the mask count as zero.
static Mask blurPass(const Mask& mask, const std::vector<double>& k, int radius, int dx, int dy) {
    Mask out(mask.width, mask.height);
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            double sum = 0.0;
            for (int i = -radius; i <= radius; ++i) {
                const int sx = x + i * dx;
                const int sy = y + i * dy;
                if (sx >= 0 && sx < mask.width && sy >= 0 && sy < mask.height)
                    sum += k[static_cast<std::size_t>(i + radius)] * mask.at(sx, sy);
            }
            out.at(x, y) = sum;
        }
    }
    return out;
}

Mask blurred(const Mask& mask, double sigma) {
    const int radius = static_cast<int>(std::ceil(sigma * 3.0));
    const std::vector<double> k = gaussianKernel(sigma, radius);
    return blurPass(blurPass(mask, k, radius, 1, 0), k, radius, 0, 1);
}

double rowLatitude(int y, int height) { return kPi / 2.0 - (y + 0.5) * kPi / height; }

Vec3 sphereDirection(int x, int y, int width, int height) {
    const double lat = rowLatitude(y, height);
    const double lon = (x + 0.5) * kTwoPi / width;
    const double c = dcos(lat);
    return {c * dcos(lon), c * dsin(lon), dsin(lat)};
}

}  // namespace tex
