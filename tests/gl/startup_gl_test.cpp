// Start-up in a real window (run under Xvfb): the GL state every frame relies on.
#include "app/app.h"
#include "core/platform.h"
#include "core/quadrics.h"
#include "game/state.h"
#include "render/frame.h"

#include "gl_scene.h"
#include "vec3_print.h"

#include <GL/glut.h>

#include <cmath>
#include <utility>

namespace {

std::array<int, 4> viewport()
{
    std::array<int, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

std::array<float, 4> light(GLenum id, GLenum parameter)
{
    std::array<float, 4> v{};
    glGetLightfv(id, parameter, v.data());
    return v;
}

// gluPerspective(60, aspect, 1, 1500), written out by hand.
void expectPerspective(double aspect)
{
    const double f = 1.0 / std::tan(30.0 * M_PI / 180.0);
    const auto m = snapshot().projection;
    EXPECT_NEAR(m[0], f / aspect, 1e-5);
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[10], (1500.0 + 1.0) / (1.0 - 1500.0), 1e-5);
    EXPECT_NEAR(m[11], -1.0, 1e-6);
    EXPECT_NEAR(m[14], 2.0 * 1500.0 * 1.0 / (1.0 - 1500.0), 1e-5);
    EXPECT_EQ(m[15], 0.0f);
}

void noSwap() {}

int redisplays = 0;
void countRedisplay() { ++redisplays; }

}  // namespace

TEST(StartupGL, OpensTheWindowOnTheTitleScreenWithTwoLightsAndFlatShading)
{
    for (auto [name, value] : {std::pair{GLUT_WINDOW_WIDTH, 1000}, {GLUT_WINDOW_HEIGHT, 800},
                               {GLUT_WINDOW_CURSOR, GLUT_CURSOR_NONE}, {GLUT_WINDOW_DOUBLEBUFFER, 1}})
        EXPECT_EQ(glutGet(name), value) << name;
    EXPECT_GT(glutGet(GLUT_WINDOW_DEPTH_SIZE), 0);
    EXPECT_EQ(game.windowWidth, 1000);
    EXPECT_EQ(game.windowHeight, 800);
    EXPECT_TRUE(game.titleScreen);
    EXPECT_EQ(game.spawnInterval, 500.0f);
    EXPECT_EQ(game.camera.eye.x, -271.0f);
    EXPECT_NE(sphereQuadric, nullptr);
    EXPECT_NE(missileQuadric, nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    for (auto [flag, on] : {std::pair{GL_LIGHTING, true}, {GL_LIGHT0, true}, {GL_LIGHT1, true},
                            {GL_LIGHT2, false}, {GL_DEPTH_TEST, true}, {GL_NORMALIZE, true},
                            {GL_CULL_FACE, false}, {GL_BLEND, false}, {GL_FOG, false}})
        EXPECT_EQ(glIsEnabled(flag), on) << "flag " << flag;
    for (GLenum id : {GL_LIGHT0, GL_LIGHT1}) {
        EXPECT_EQ(light(id, GL_AMBIENT), (std::array<float, 4>{0.99f, 0.99f, 0.99f, 1}));
        EXPECT_EQ(light(id, GL_DIFFUSE), (std::array<float, 4>{0.64f, 0.64f, 0.64f, 1}));
        EXPECT_EQ(light(id, GL_SPECULAR), (std::array<float, 4>{0.64f, 0.64f, 0.64f, 1}));
    }
    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_FLAT);
    EXPECT_EQ(floats4(GL_COLOR_CLEAR_VALUE), (std::array<float, 4>{0, 0, 0, 1}));
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
}

TEST(StartupGL, ProjectionFollowsTheWindowButSurvivesAZeroHeight)
{
    const Platform saved = platform;
    platform.postRedisplay = countRedisplay;
    redisplays = 0;
    expectPerspective(1.25);
    EXPECT_EQ(viewport(), (std::array<int, 4>{0, 0, 1000, 800}));

    reshapeWindow(800, 400);
    expectPerspective(2.0);
    EXPECT_EQ(viewport(), (std::array<int, 4>{0, 0, 800, 400}));
    EXPECT_EQ(game.windowWidth, 800);
    EXPECT_EQ(game.windowHeight, 400);

    const auto before = snapshot().projection;
    reshapeWindow(640, 0);  // minimised
    EXPECT_EQ(game.windowWidth, 640);
    EXPECT_EQ(game.windowHeight, 0);
    EXPECT_EQ(snapshot().projection, before);
    EXPECT_EQ(viewport(), (std::array<int, 4>{0, 0, 800, 400}));
    reshapeWindow(0, 300);
    EXPECT_EQ(game.windowWidth, 0);
    EXPECT_EQ(snapshot().projection, before);

    reshapeWindow(1000, 800);
    expectPerspective(1.25);
    EXPECT_EQ(redisplays, 4);  // every reshape asks for a frame, a useless one too
    platform = saved;
}

TEST(StartupGL, FrameClearsTheDepthAndPlacesTheLightsInTheWorld)
{
    const Platform saved = platform;
    platform.swapBuffers = noSwap;  // read the frame back before it is shown
    const Camera savedCamera = game.camera;
    game.camera = Camera(0, 0, 0, 0, 0, 0);
    game.camera.updateView(0, 0);  // looking down -x from the origin

    // A depth buffer at the near plane hides everything unless the frame
    // clears it; whatever the frame draws lies farther out.
    glClearDepth(0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1);
    displayFrame();
    for (auto [x, y] : {std::pair{2, 2}, {997, 797}, {500, 400}, {2, 797}, {997, 2}}) {
        float depth = 0;
        glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_GT(depth, 0.0f) << "at " << x << ", " << y;
    }

    // Eye coordinates of the world lights, for an eye at the origin whose
    // right is world -z, up world y and back world x.
    // Both positional (w = 1).
    for (auto [id, expected] : {std::pair{GL_LIGHT0, Vec3{0, 10, 0}}, {GL_LIGHT1, Vec3{10, 10, 15}}}) {
        const auto p = light(id, GL_POSITION);
        EXPECT_TRUE(vecNear({p[0], p[1], p[2]}, expected, 1e-3f)) << id;
        EXPECT_EQ(p[3], 1.0f) << id;
    }

    const auto modelview = snapshot().modelview;
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f);

    game.camera = savedCamera;
    platform = saved;
}
