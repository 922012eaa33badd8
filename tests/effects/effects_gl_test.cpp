// The effects drawn in the flat view: the missile model (aim line, trail and
// the lit model turned toward its target), the shot sprite and the particle
// drawing (what the emitter routines hand their drawer, the drawer's squares
// and images, and the state it leaves for the next drawing).
#include "assets/textures.h"
#include "effects/missile_model.h"
#include "effects/particles.h"
#include "effects/shot_sprite.h"
#include "game/missiles.h"
#include "game/shots.h"
#include "game/state.h"
#include "gl_scene.h"

#include <cstdlib>
#include <memory>
#include <tuple>

namespace {

// Under the flat view's light the nose-and-fins material shows yellow, the
// body's purple.
bool yellow(const Rgb& c) { return c.r > 60 && std::abs(c.r - c.g) <= 3 && c.b < c.r - 20; }
bool purple(const Rgb& c) { return c.r > c.g + 30 && c.b > c.g + 30; }
bool drawn(const Rgb& c) { return !(c == kBackground); }

// Four sprites of three images in a row, their upper halves over a nearer
// rectangle; the last one's image is neither the first nor the highest.
const std::vector<ParticleSprite> kShown = {{13, {-6, 3, 0}}, {9, {-2, 3, 0}}, {13, {2, 3, 0}}, {8, {6, 3, 0}}};
constexpr Rgb kRect{0, 0, 90};

Rgb base(unsigned slot) { return {7 * int(slot), 0, 120 - 7 * int(slot)}; }

std::vector<ParticleSprite> given;

// Keeps what the routine hands over and draws kShown instead, with the real
// drawer in the state the routine set up.
void drawShown(const std::vector<ParticleSprite>& sprites, float halfSize)
{
    given = sprites;
    drawSpritesByTexture(kShown, halfSize);
}

}  // namespace

using Effects = FlatView;

// Nose toward +x at (3, -2): the nose tip 1.5 ahead, the body (radius 0.75)
// back to the tail 7.5 behind, the fins 1.5 out over the tail's last 3 units;
// no aim line. The trail's one particle ends its life in the first frame and
// is reborn at the missile, where the second frame draws it; a nearer
// rectangle over the nose tip hides the model but not the particle. From
// above (world z up the window) the horizontal fin shows. Climbing at 45
// degrees it is thinner by sqrt(1/2) and half as long; at its target it is
// not drawn.
TEST_F(Effects, MissileShowsItsColoursAndFinsWhereItIsOverItsTrail)
{
    for (GLuint slot = TEX_TRAIL_0; slot <= TEX_TRAIL_3; ++slot)
        solidTexture(slot, {0, 0, 160});
    Missile m;
    m.start = {-5, 5, 0};
    m.position = {3, -2, 0};
    m.target = {103, -2, 0};
    m.trail = std::make_unique<ParticleEmitter>(1, m.start, Vec3{0, 0, -100});
    m.trail->particles[0].life = 0;
    drawMissile(m);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    fillRect(3.25f, -3, 6, -1, 20, {0, 90, 0});
    drawMissile(m);
    expectPixels(readFrame(), {{px(3.1f), py(-2), {}, yellow}, {px(3.4f), py(-2), {0, 90, 160}},  // nose, particle
                               {px(5), py(-2), {0, 90, 0}}, {px(8), py(-2), kBackground},  // no aim line beyond
                               {px(8), py(-2) - 1, kBackground}, {px(0), py(-1.7f), {}, purple},
                               {px(-4), py(-1.7f), {}, purple}, {px(-3), py(-0.8f), {}, yellow},  // body, fin
                               {px(-1), py(-0.8f), kBackground}, {px(-3), py(-0.2f), kBackground},
                               {px(-4.8f), py(-2), kBackground}, {px(-5), py(5), kBackground}});

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glRotatef(90, 1, 0, 0);
    m.trail.reset();
    m.position = {3, 0, 2};
    m.target = {103, 0, 2};
    drawMissile(m);
    expectPixels(readFrame(), {{px(-3), py(-0.8f), {}, yellow}});

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    m.position = {3, -2, 0};
    m.target = {103, 98, 0};
    drawMissile(m);
    m.position = m.target = {-6, 4, 0};  // at its target: no direction, no model
    drawMissile(m);
    expectPixels(readFrame(), {{px(0.6f), py(-4.4f), {}, drawn}, {px(0.2f), py(-4.8f), kBackground},
                               {px(3.71f), py(-1.29f), kBackground}, {px(-6), py(4), kBackground}});
}

// A level shot (direction - position = (0, 0, -10)) is the unit square
// facing the viewer, its image upside down; one behind it, drawn later, is
// hidden where they overlap, and a nearer rectangle hides its top right. A
// steep one ((0, -10, -10)) is sqrt(1/2) wide and, tilted 45 degrees, half
// that high. A vertical or zero direction draws nothing.
TEST_F(Effects, ShotAddsItsImageOverWhatIsBehindUnlessSomethingIsNearer)
{
    constexpr Rgb kBase{100, 0, 0};
    const Rgb behind = kBackground;
    markedTexture(TEX_BLAST_0, kBase);
    solidTexture(TEX_BLAST_1, {0, 200, 0});  // left bound: the sprite binds its own
    fillRect(2.3f, 1.3f, 4, 3, 5, {0, 0, 90});
    glDisable(GL_TEXTURE_2D);  // and turns texturing on itself
    drawShot(Shot{0.5f, {2, 1, 0}, {2, 1, -10}});
    drawShot(Shot{0.5f, {2, 0.3f, -1}, {2, 0.3f, -11}});
    drawShot(Shot{0.5f, {-3, 0, 0}, {-3, -10, -10}});
    drawShot(Shot{0.5f, {-6, -4, 0}, {-6, 6, 0}});
    drawShot(Shot{0.5f, {-6, -4, 0}, {-6, -4, 0}});
    glEnable(GL_TEXTURE_2D);
    expectPixels(readFrame(), {
        {px(1.55f), py(1.45f), behind + marked(kBase, 0, 0)}, {px(2.45f), py(1.45f), {0, 0, 90}},
        {px(1.55f), py(0.55f), behind + marked(kBase, 0, 1)},  // over the later shot
        {px(2.45f), py(0.55f), behind + marked(kBase, 1, 1)}, {px(1.8f), py(0), behind + marked(kBase, 0, 1)},
        {px(1.45f), py(1), behind}, {px(2.55f), py(0.7f), behind}, {px(2), py(1.55f), behind},
        {px(-2.7f), py(-0.1f), behind + marked(kBase, 1, 1)}, {px(-2.9f), py(0.2f), behind + marked(kBase, 1, 0)},
        {px(-2.6f), py(-0.1f), behind}, {px(-2.9f), py(0.3f), behind}, {px(-6), py(-4), behind},
    });
}

// Additive, unlit, textured and blind to depth, whatever the flags were; the
// explosion's squares are 1.8 wide, the trail's 1, each quadrant of a square
// showing its own image's quadrant. Each routine hands over one sprite per
// particle, of its own images, at the particle's place before the move.
TEST_F(Effects, ParticleSquaresShowTheirImagesUprightOverEverything)
{
    for (unsigned slot : {8u, 9u, 13u})
        markedTexture(slot, base(slot));
    const std::tuple<void (*)(ParticleEmitter&), unsigned, unsigned, float> kinds[] = {
        {drawExplosion, 12, 3, 0.9f}, {[](ParticleEmitter& e) { drawTrail(e, {1, 1, 1}); }, 8, 4, 0.5f}};
    spriteDrawer = drawShown;
    for (const auto& [draw, first, count, h] : kinds) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        fillRect(-10, 3, 10, 8, 50, kRect);
        glDisable(GL_TEXTURE_2D);
        ParticleEmitter emitter(3, {7, 7, 7}, {0, 0, -100});
        draw(emitter);
        glEnable(GL_TEXTURE_2D);
        EXPECT_EQ(given.size(), 3u);
        for (const ParticleSprite& s : given)
            EXPECT_TRUE(s.center == (Vec3{7, 7, 7}) && s.slot >= first && s.slot < first + count);
        std::vector<Probe> probes;
        for (const auto& [slot, c] : kShown) {  // just inside each corner, just beyond each side
            for (int right : {0, 1})
                for (int top : {0, 1})
                    probes.push_back({px(c.x + (2 * right - 1) * (h - 0.1f)), py(c.y + (2 * top - 1) * (h - 0.1f)),
                                      (top ? kRect : kBackground) + marked(base(slot), right, top)});
            for (const auto& [x, y] : {std::pair{-h - 0.1f, -0.5f}, {h + 0.1f, -0.5f}, {0, -h - 0.1f}, {0, h + 0.1f}})
                probes.push_back({px(c.x + x), py(c.y + y), y > 0 ? kRect : kBackground});
        }
        expectPixels(readFrame(), probes);
    }
    spriteDrawer = drawSpritesByTexture;

    // The next drawing, a vertical missile's aim line, takes the last sprite's
    // image at the last corner drawn, (0, 0); it runs from the missile up.
    game.showAimLines = true;
    Missile vertical;
    vertical.position = {8.01f, -6, 0};
    vertical.target = {8.01f, 100, 0};
    drawMissile(vertical);
    expectPixels(readFrame(), {{px(8.01f), py(-5), marked(base(8), 0, 0)}, {px(8.01f), py(-6.5f), kBackground}});
}
