// Particle drawing in a real window (run under Xvfb from the repo root): the
// batched drawing against the particle-by-particle routine, pixel for pixel
// and in the state it leaves behind.
#include "core/random.h"
#include "effects/particles.h"
#include "gl_scene.h"
#include "particle_reference.h"

#include <GL/glu.h>

namespace {

// The state a particle routine may leave behind that later drawing sees.
struct LeftState {
    std::array<GLint, 7> integers{};  // texture, stack depth, blend, shading, hints
    std::array<GLboolean, 4> flags{};  // depth test, blend, texture, lighting
    std::array<float, 4> texCoord{}, colour{};
    std::array<float, 16> modelview{};
    bool operator==(const LeftState&) const = default;
};

LeftState leftState()
{
    LeftState s;
    int i = 0;
    for (GLenum name : {GL_TEXTURE_BINDING_2D, GL_MODELVIEW_STACK_DEPTH, GL_BLEND_SRC, GL_BLEND_DST,
                        GL_SHADE_MODEL, GL_PERSPECTIVE_CORRECTION_HINT, GL_POINT_SMOOTH_HINT})
        s.integers[i++] = integer(name);
    i = 0;
    for (GLenum flag : {GL_DEPTH_TEST, GL_BLEND, GL_TEXTURE_2D, GL_LIGHTING})
        s.flags[i++] = glIsEnabled(flag);
    s.texCoord = floats4(GL_CURRENT_TEXTURE_COORDS);
    s.colour = floats4(GL_CURRENT_COLOR);
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview.data());
    return s;
}

// What the frame has set up when the particle routines run: the camera's
// view, depth test and lighting on, flat shading, some texture bound.
void prepareFrame(const Vec3& eye, const Vec3& center)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye.x, eye.y, eye.z, center.x, center.y, center.z, 0, 1, 0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glShadeModel(GL_FLAT);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_DONT_CARE);
    glHint(GL_POINT_SMOOTH_HINT, GL_DONT_CARE);
    glBindTexture(GL_TEXTURE_2D, 5);
    glTexCoord2f(0.25f, 0.75f);
}

// The per-frame routine drawing every particle with its own bind and strip.
void referenceDraw(ParticleEmitter& e, bool explosion, const Vec3& at)
{
    const float h = explosion ? 0.9f : 0.5f;
    glPushMatrix();
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glShadeModel(GL_SMOOTH);
    referenceFrame(e, explosion, at, [h](unsigned slot, const Vec3& c) {
        glBindTexture(GL_TEXTURE_2D, slot);
        glBegin(GL_TRIANGLE_STRIP);
        glTexCoord2f(1, 1); glVertex3f(c.x + h, c.y + h, c.z);
        glTexCoord2f(0, 1); glVertex3f(c.x - h, c.y + h, c.z);
        glTexCoord2f(1, 0); glVertex3f(c.x + h, c.y - h, c.z);
        glTexCoord2f(0, 0); glVertex3f(c.x - h, c.y - h, c.z);
        glEnd();
    });
    glPopMatrix();
    glPopAttrib();
}

struct Drawn {
    std::vector<std::uint8_t>  pixels;
    LeftState                  state;
    ParticleEmitter            emitter;
    std::uint32_t              random;
};

// Draws the same frames of the same emitter both ways from the same
// generator state; the last frame of each is kept. Earlier frames go to a
// one-pixel viewport: only their rules matter, and they cost no filling.
template <typename DrawFrame>
Drawn drawFrames(ParticleEmitter emitter, int frames, const Vec3& eye, DrawFrame draw)
{
    setRandomState(1234);
    for (int f = 0; f < frames; ++f) {
        const bool last = f == frames - 1;
        glViewport(0, 0, last ? 1000 : 1, last ? 800 : 1);
        prepareFrame(eye, emitter.position);
        draw(emitter, f);
    }
    Drawn d{readFrame().rgb, leftState(), std::move(emitter), randomState()};
    return d;
}

void expectSameFrames(const ParticleEmitter& start, bool explosion, int frames, const Vec3& eye)
{
    const auto trailAt = [](int f) { return Vec3{0.05f * float(f), 2, 0}; };
    const Drawn reference = drawFrames(start, frames, eye, [&](ParticleEmitter& e, int f) {
        referenceDraw(e, explosion, trailAt(f));
    });
    const Drawn batched = drawFrames(start, frames, eye, [&](ParticleEmitter& e, int f) {
        if (explosion)
            drawExplosion(e);
        else
            drawTrail(e, trailAt(f));
    });

    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(batched.random, reference.random) << "the same draws";
    EXPECT_TRUE(sameParticles(batched.emitter, reference.emitter));
    std::size_t unsaturated = 0, differ = 0;
    for (std::size_t i = 0; i < reference.pixels.size(); ++i) {
        unsaturated += reference.pixels[i] != 0 && reference.pixels[i] != 255;
        differ += reference.pixels[i] != batched.pixels[i];
    }
    EXPECT_GT(unsaturated, 10000u) << "enough of the picture is neither black nor burnt out";
    EXPECT_EQ(differ, 0u) << "bytes differing of " << reference.pixels.size();
    EXPECT_TRUE(batched.state == reference.state) << "the state left behind";
}

}  // namespace

TEST(ParticlesGL, ExplosionDrawsAsParticleByParticle)
{
    glColor4f(1, 1, 1, 1);
    // A few particles, so that few overlap, up close, by frame 60 with many
    // first lives over and some second lives ended.
    const ParticleEmitter blast(60, Vec3{-50, 50, 50}, Vec3{0, -0.3f, 0});
    expectSameFrames(blast, true, 60, Vec3{-50, 51, 56});
    // All 1500, faint enough not to burn out where they pile up.
    glColor4f(1, 1, 1, 0.02f);
    const ParticleEmitter full(1500, Vec3{-50, 50, 50}, Vec3{0, -0.3f, 0});
    expectSameFrames(full, true, 50, Vec3{-50, 51, 60});
    glColor4f(1, 1, 1, 1);
}

TEST(ParticlesGL, TintedTrailDrawsAsParticleByParticle)
{
    glColor4f(1, 0, 0, 0.8f);  // the crash colour: alpha takes part in the blend
    const ParticleEmitter trail(40, Vec3{0, 2, 0}, Vec3{0, 0, -100});
    expectSameFrames(trail, false, 60, Vec3{4, 2.5f, 5});
    glColor4f(1, 1, 1, 1);
}

TEST(ParticlesGL, EmptyEmitterLeavesTextureAndCoordinateAlone)
{
    ParticleEmitter none(0, Vec3{}, Vec3{});
    prepareFrame(Vec3{0, 0, 10}, Vec3{});
    drawExplosion(none);
    const LeftState s = leftState();
    EXPECT_EQ(s.integers[0], 5);
    EXPECT_EQ(s.texCoord, (std::array<float, 4>{0.25f, 0.75f, 0, 1}));
    EXPECT_EQ(s.integers[2], GL_SRC_ALPHA) << "the blend function is set all the same";
    EXPECT_TRUE(s.flags[0]);
}
