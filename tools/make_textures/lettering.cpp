#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "canvas.h"
#include "detmath.h"
#include "fonts.h"
#include "images.h"

namespace tex {
namespace {

std::string fontPath(const std::string& dir, const char* file) { return dir + "/" + file; }

// Adds colour * coverage of a mask onto a canvas.
void paint(Canvas& c, const Mask& m, Rgb colour, double strength = 1.0) {
    for (int y = 0; y < c.height; ++y)
        for (int x = 0; x < c.width; ++x) c.at(x, y) = c.at(x, y) + colour * (m.at(x, y) * strength);
}

// A run of text in one colour, part of a line.
struct Run {
    std::string text;
    Rgb colour;
};

// Draws runs as one centred line; returns the combined coverage.
Mask drawLine(Canvas& c, const Font& font, const std::vector<Run>& runs, int baseline, double spacing) {
    std::string whole;
    for (const Run& r : runs) whole += r.text;
    double pen = std::floor((c.width - font.measure(whole, spacing, true)) / 2.0);
    Mask all(c.width, c.height);
    for (const Run& r : runs) {
        Mask m(c.width, c.height);
        pen = font.draw(m, r.text, pen, baseline, spacing, true) + spacing;
        paint(c, m, r.colour);
        for (std::size_t i = 0; i < m.v.size(); ++i) all.v[i] = std::max(all.v[i], m.v[i]);
    }
    return all;
}

// Additive images must end in black on every side, or the quad's outline
// shows; this fades the outermost `margin` pixels down to zero.
void fadeBorder(Canvas& c, double margin) {
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const double nearest = std::min(std::min(x, c.width - 1 - x), std::min(y, c.height - 1 - y));
            c.at(x, y) = c.at(x, y) * smoothstep(0.0, margin, nearest);
        }
    }
}

}  // namespace

// A 16 x 16 grid of 16-pixel cells; cell i holds character 32 + i with its
// baseline 12 pixels below the cell's top. The game advances text by 10 of
// the 16 units, so every glyph must stay in its cell's left 10 columns.
Image makeFontSheet(const std::string& fontDir) {
    Font font(fontPath(fontDir, "DejaVuSansMono-Bold.ttf"));
    font.setPixelSize(15);
    Mask sheet(256, 256);
    for (int i = 0; i < 95; ++i) {
        const char32_t code = static_cast<char32_t>(32 + i);
        const int cellX = (i % 16) * 16;
        const int cellY = (i / 16) * 16;
        const Glyph g = font.render(code, true);
        const int left = cellX + g.left;
        const int top = cellY + 12 - g.top;
        if (g.rows > 0 && (g.left < 0 || g.left + g.width > 10 || top < cellY || top + g.rows > cellY + 16))
            throw std::runtime_error("glyph " + std::to_string(32 + i) + " does not fit its font cell");
        for (int y = 0; y < g.rows; ++y)
            for (int x = 0; x < g.width; ++x)
                sheet.at(left + x, top + y) = g.coverage[static_cast<std::size_t>(y) * g.width + x] / 255.0;
    }
    Canvas c(256, 256);
    paint(c, sheet, {1.0, 1.0, 1.0});
    return toImage(c);
}

// The title: "QUORVANE" over the rim of a planet at sunrise. Stored
// mirrored, because the title screen shows it mirrored.
Image makeLogo(const std::string& fontDir) {
    const int size = 512;
    Canvas c(size, size);

    // The planet's limb: a huge circle below the picture's lower half.
    const double cx = 256.0, cy = 1010.0, radius = 640.0;
    Mask rim(size, size), haze(size, size), body(size, size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = y + 0.5 - cy;
            const double d = std::sqrt(dx * dx + dy * dy) - radius;  // < 0 inside
            // Fade toward the sides and the bottom so no edge is cut hard.
            const double sides = smoothstep(0.0, 120.0, x + 0.5) * smoothstep(0.0, 120.0, size - x - 0.5);
            const double bottom = smoothstep(size, size - 90.0, y + 0.5);
            const double fade = sides * bottom;
            rim.at(x, y) = fade * dexp(-(d * d) / (2.0 * 1.3 * 1.3));
            haze.at(x, y) = fade * (d > 0.0 ? dexp(-d / 14.0) : dexp(d / 5.0));
            body.at(x, y) = d < 0.0 ? fade * 0.12 * dexp(d / 60.0) * (0.7 + 0.6 * fbm3(Vec3{x / 40.0, y / 25.0, 0.5}, 7001u, 4)) : 0.0;
        }
    }
    paint(c, body, {0.25, 0.55, 1.0});
    paint(c, haze, {0.15, 0.45, 1.0}, 0.55);
    paint(c, rim, {0.7, 0.9, 1.0});

    // Sunrise at the top of the limb: a glow and a long flat streak.
    const double sunX = 300.0, sunY = cy - radius - 1.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - sunX;
            const double dy = y + 0.5 - sunY;
            const double glow = dexp(-(dx * dx + dy * dy) / (2.0 * 16.0 * 16.0)) +
                                0.35 * dexp(-(dx * dx + dy * dy) / (2.0 * 60.0 * 60.0));
            const double sides = smoothstep(0.0, 100.0, x + 0.5) * smoothstep(0.0, 100.0, size - x - 0.5);
            const double streak = sides * dexp(-(dy * dy) / (2.0 * 1.6 * 1.6)) * dexp(-(dx * dx) / (2.0 * 110.0 * 110.0));
            c.at(x, y) = c.at(x, y) + Rgb{1.0, 0.9, 0.7} * (0.9 * glow) + Rgb{0.9, 0.95, 1.0} * (0.8 * streak);
        }
    }

    // The name, with a warm gradient and glow.
    Font bold(fontPath(fontDir, "DejaVuSans-Bold.ttf"));
    const std::string name = "QUORVANE";
    const double spacing = 3.0;
    const int baseline = 250;
    // The largest size that leaves room for the glow at both sides.
    int pixels = 84;
    for (bold.setPixelSize(pixels); bold.measure(name, spacing, false) > 440.0; bold.setPixelSize(--pixels)) {
    }
    Mask letters(size, size);
    bold.draw(letters, name, std::floor((size - bold.measure(name, spacing, false)) / 2.0), baseline, spacing,
              false);
    const Mask glowNear = blurred(letters, 4.0);
    const Mask glowFar = blurred(letters, 14.0);
    paint(c, glowFar, {0.9, 0.35, 0.08}, 0.9);
    paint(c, glowNear, {1.0, 0.55, 0.15}, 0.8);
    for (int y = 0; y < size; ++y) {
        const double t = clamp01((y - (baseline - 62.0)) / 62.0);
        const Rgb fill = mix(Rgb{1.0, 0.98, 0.88}, Rgb{1.0, 0.62, 0.18}, t);
        for (int x = 0; x < size; ++x) {
            const double a = letters.at(x, y);
            c.at(x, y) = mix(c.at(x, y), fill, a);
        }
    }

    // A quiet line under the name.
    Font plain(fontPath(fontDir, "DejaVuSans.ttf"));
    plain.setPixelSize(17);
    drawLine(c, plain, {{"P L A N E T A R Y   D E F E N C E", {0.55, 0.78, 1.0}}}, baseline + 36, 0.0);

    fadeBorder(c, 24.0);
    return flopped(toImage(c));
}

// "Press SPACE to start" and the keys, stored mirrored like the logo.
Image makeTitleText(const std::string& fontDir) {
    Canvas c(512, 128);
    const Rgb white{1.0, 0.97, 0.9}, key{1.0, 0.72, 0.25}, note{0.68, 0.8, 0.98};

    Font bold(fontPath(fontDir, "DejaVuSans-Bold.ttf"));
    bold.setPixelSize(30);
    const Mask headline = drawLine(c, bold, {{"Press ", white}, {"SPACE", key}, {" to start", white}}, 46, 1.0);
    paint(c, blurred(headline, 3.0), {1.0, 0.5, 0.12}, 0.6);

    Font plain(fontPath(fontDir, "DejaVuSans-Bold.ttf"));
    plain.setPixelSize(15);
    drawLine(c, plain,
             {{"mouse", key}, {"  look       ", note}, {"w", key}, {" / ", note}, {"s", key},
              {"  speed       ", note}, {"space", key}, {"  fire", note}},
             86, 0.0);
    drawLine(c, plain,
             {{"l", key}, {"  aim lines       ", note}, {"r", key}, {"  title       ", note}, {"q", key},
              {"  quit", note}},
             110, 0.0);
    fadeBorder(c, 8.0);
    return flopped(toImage(c));
}

}  // namespace tex
