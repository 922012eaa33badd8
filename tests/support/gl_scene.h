// Drawing tests in the game's real 1000 x 800 window (run under Xvfb from the
// repo root): every GL test program links gl_scene.cpp, whose global
// environment starts the game once; frames are read back from the back
// buffer before they would be shown.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

// ---- types -----------------------------------------------------------------

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// The state every drawing routine must hand back as it found it.
struct GlSnapshot {
    GLint modelviewDepth = 0;
    GLint projectionDepth = 0;
    GLint matrixMode = 0;
    std::array<float, 16> modelview{};
    std::array<float, 16> projection{};
    std::vector<GLboolean> flags;
    bool operator==(const GlSnapshot&) const = default;
};

// One read-back of the window's bottom left 1000 x 800 pixels.
struct Frame {
    std::vector<std::uint8_t> rgb;
    Rgb at(int x, int y) const { return {rgb[3 * (y * 1000 + x)], rgb[3 * (y * 1000 + x) + 1], rgb[3 * (y * 1000 + x) + 2]}; }
};

// A window pixel and the colour expected there, or what it must be like.
struct Probe {
    int x, y;
    Rgb colour;
    bool (*is)(const Rgb&) = nullptr;
};

// ---- fixtures --------------------------------------------------------------

// Swaps become no-ops (the back buffer stays readable), the colour is white,
// the flags are the frame's, lists are empty, the window is 1000 x 800 and
// the title screen shows without aim lines; the game's images are put back
// afterwards.
class GlScene : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A flat view for drawing objects: orthographic, 50 pixels per world unit,
// the world origin at window pixel (500, 400), looking down -z with one light
// at the viewer and one behind the scene, cleared to a grey (kBackground) that
// shows what is added to it.
class FlatView : public GlScene {
protected:
    void SetUp() override;
};

constexpr Rgb kBackground{40, 40, 40};

// ---- functions -------------------------------------------------------------

GlSnapshot snapshot();
Frame readFrame();

inline std::ostream& operator<<(std::ostream& os, const Rgb& c) { return os << c.r << "/" << c.g << "/" << c.b; }

// Additive blending, saturating at 255.
inline Rgb operator+(const Rgb& a, const Rgb& b) { return {std::min(a.r + b.r, 255), std::min(a.g + b.g, 255), std::min(a.b + b.b, 255)}; }

// A texel added in the crash colour, red at alpha 0.8.
inline Rgb crashTint(const Rgb& texel) { return {static_cast<int>(std::lround(0.8 * texel.r)), 0, 0}; }

// Every probe's colour, each channel give or take 1 for rounding, or its
// likeness.
void expectPixels(const Frame& f, const std::vector<Probe>& probes);

// Window pixel of a world point in the flat view.
inline int px(float worldX) { return 500 + static_cast<int>(worldX * 50); }
inline int py(float worldY) { return 400 + static_cast<int>(worldY * 50); }

// Images whose every texel is known: texel(x, y) with y = 0 the bottom row
// (t = 0). A marked texture is 2 x 2: base red and blue, its green telling
// the quadrant (s, t) apart, so a mirrored or upside-down image shows.
void texture(GLuint slot, int width, int height, const std::function<Rgb(int x, int y)>& texel);
inline Rgb marked(const Rgb& base, int s, int t) { return {base.r, 30 + 50 * s + 100 * t, base.b}; }
inline void markedTexture(GLuint slot, const Rgb& base) { texture(slot, 2, 2, [&](int s, int t) { return marked(base, s, t); }); }
inline void solidTexture(GLuint slot, const Rgb& colour) { texture(slot, 1, 1, [&](int, int) { return colour; }); }

// An unlit, untextured rectangle at depth z that writes depth: something for
// depth-tested drawing to hide behind.
void fillRect(float x0, float y0, float x1, float y1, float z, const Rgb& colour);

// Draws from the frame's flags and from their opposite, each time under a
// moved modelview pushed once, and expects the matrices, their stacks and the
// flags back.
void expectRestored(const std::function<void()>& draw);
