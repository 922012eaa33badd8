// Start-up in a real window (run under Xvfb): the GL state every frame relies
// on, the projection, and where a frame puts the lights.
#include "app/app.h"
#include "core/platform.h"
#include "game/state.h"
#include "render/frame.h"

#include "gl_scene.h"
#include "vec3_print.h"

#include <cmath>

namespace {

std::array<float, 4> light(GLenum id, GLenum parameter)
{
    std::array<float, 4> v{};
    glGetLightfv(id, parameter, v.data());
    return v;
}

std::array<float, 4> floats4(GLenum name)
{
    std::array<float, 4> v{};
    glGetFloatv(name, v.data());
    return v;
}

GLint integer(GLenum name) { return static_cast<GLint>(floats4(name)[0]); }

// gluPerspective(60, width / height, 1, 1500) over the whole window.
void expectProjection(int width, int height)
{
    const double f = 1.0 / std::tan(30.0 * M_PI / 180.0);
    const auto m = snapshot().projection;
    EXPECT_NEAR(m[0], f * height / width, 1e-5);
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[10], 1501.0 / -1499.0, 1e-5);
    EXPECT_NEAR(m[14], 3000.0 / -1499.0, 1e-5);
    std::array<int, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<int, 4>{0, 0, width, height}));
}

int redisplays = 0;

}  // namespace

// Texturing stays on from the font's build, the last image loaded bound.
TEST(StartupGL, LeavesTwoLightsFlatShadingAndTexturingOn)
{
    for (auto [flag, on] : {std::pair{GL_LIGHTING, true}, {GL_LIGHT0, true}, {GL_LIGHT1, true}, {GL_LIGHT2, false},
                            {GL_DEPTH_TEST, true}, {GL_NORMALIZE, true}, {GL_TEXTURE_2D, true},
                            {GL_CULL_FACE, false}, {GL_BLEND, false}, {GL_FOG, false}})
        EXPECT_EQ(glIsEnabled(flag), on) << "flag " << flag;
    using Colour = std::array<float, 4>;
    for (GLenum id : {GL_LIGHT0, GL_LIGHT1})
        for (auto [parameter, grey] : {std::pair{GL_AMBIENT, 0.99f}, {GL_DIFFUSE, 0.64f}, {GL_SPECULAR, 0.64f}})
            EXPECT_EQ(light(id, parameter), (Colour{grey, grey, grey, 1})) << id << ", " << parameter;
    EXPECT_EQ(std::tuple(integer(GL_SHADE_MODEL), integer(GL_MATRIX_MODE), integer(GL_TEXTURE_BINDING_2D),
                         floats4(GL_COLOR_CLEAR_VALUE)),
              std::tuple(GL_FLAT, GL_MODELVIEW, 18, Colour{0, 0, 0, 1}));
}

// Every reshape stores the size and asks for a frame; a minimised window
// keeps the last projection and viewport.
TEST_F(GlScene, ProjectionFollowsTheWindowButSurvivesAZeroSize)
{
    redisplays = 0;
    platform.postRedisplay = [] { ++redisplays; };
    expectProjection(1000, 800);
    reshapeWindow(800, 400);
    expectProjection(800, 400);
    reshapeWindow(640, 0);
    reshapeWindow(0, 300);
    EXPECT_EQ(std::pair(game.windowWidth, game.windowHeight), std::pair(0, 300));
    expectProjection(800, 400);
    reshapeWindow(1000, 800);
    EXPECT_EQ(redisplays, 4);
}

// The lights are fixed in the world, placed after the camera: for an eye at
// the origin looking down -x, world (x, y, z) is eye (-z, y, x).
TEST_F(GlScene, FramePlacesTheLightsInTheWorld)
{
    game.camera = Camera(0, 0, 0, 0, 0, 0);
    game.camera.updateView(0, 0);
    displayFrame();
    for (auto [id, expected] : {std::pair{GL_LIGHT0, Vec3{0, 10, 0}}, {GL_LIGHT1, Vec3{10, 10, 15}}}) {
        const auto p = light(id, GL_POSITION);
        EXPECT_TRUE(vecNear({p[0], p[1], p[2]}, expected, 1e-3f)) << id;
        EXPECT_EQ(p[3], 1.0f) << id;  // positional
    }
}
