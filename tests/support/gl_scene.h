// Drawing tests in the game's real 1000 x 800 window (run under Xvfb from the
// repo root): every GL test program links gl_scene.cpp, whose global
// environment starts the game once; frames are read back from the back
// buffer before they would be shown.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

// ---- types -----------------------------------------------------------------

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool black() const { return r == 0 && g == 0 && b == 0; }
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

// One read-back of the whole window.
struct Frame {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    Rgb at(int x, int y) const;  // window pixels, y up from the bottom
    bool allBlack(int step) const;  // every step-th pixel both ways
};

// ---- fixtures --------------------------------------------------------------

// Swaps become no-ops (the back buffer stays readable), the colour is white
// again, lists are empty and the window is 1000 x 800; everything, the
// game's images included, is put back afterwards.
class GlScene : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A flat view for drawing one object: orthographic, 50 pixels per world
// unit, the world origin at window pixel (500, 400), looking down -z, one
// light in front of the viewer.
class FlatView : public GlScene {
protected:
    void SetUp() override;
};

// ---- functions -------------------------------------------------------------

GlSnapshot snapshot();
Frame readFrame();
GLint integer(GLenum name);
std::array<float, 4> floats4(GLenum name);
std::array<float, 4> material(GLenum face, GLenum parameter);

// Probes of a frame: one channel's value at a pixel, and pixels that must be
// lit and black (edges are probed one pixel either side).
struct Probe {
    int x, y, value;
};
using Pixels = std::initializer_list<std::pair<int, int>>;
void expectChannel(const Frame& f, int Rgb::*channel, std::initializer_list<Probe> probes);
void expectLit(const Frame& f, Pixels lit, Pixels black);

// Window pixel of a world point in the flat view.
inline int px(float worldX) { return 500 + static_cast<int>(worldX * 50); }
inline int py(float worldY) { return 400 + static_cast<int>(worldY * 50); }

// Puts the two sets of enable flags the routines are tested from: the
// frame's own, and its opposite for every flag a routine might touch.
void enableFramesFlags();
void enableOppositeFlags();

// Draws from both sets of flags, each time after `prepare` and a push of the
// modelview, and expects the matrices, their stacks and the flags back.
void expectRestored(const std::function<void()>& prepare, const std::function<void()>& draw);

// The front and back material: black ambient, shininess 0.25.
void expectMaterial(const std::array<float, 4>& diffuse, const std::array<float, 4>& specular);

// A solid texture in a slot (tests replace images with ones whose every
// pixel is known; GlScene loads the game's images back).
void solidTexture(GLuint slot, int width, int height, Rgb colour);
void uploadTexture(GLuint slot, int width, int height, const std::vector<std::uint8_t>& rgb);

// The modelview of a camera at `eye` looking at `at` with y up, under the
// game's own perspective.
void lookAt(float eyeX, float eyeY, float eyeZ, float atX, float atY, float atZ);
